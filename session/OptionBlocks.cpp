#include "session/OptionBlocks.h"

#include <algorithm>

#include "session/DeviceFamily.h"

namespace session {

namespace {

constexpr std::uint8_t kShortOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16};
constexpr std::uint8_t kLongOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15};

constexpr std::size_t FixedLength(std::span<const std::uint8_t> order) {
    std::size_t length = 0;
    for (auto option : order)
        length += kSysCfgOptions[option].size;
    return length;
}
static_assert(FixedLength(kShortOrder) == 1136);
static_assert(FixedLength(kLongOrder) == 2044);

}  // namespace

std::span<std::uint8_t> SysCfgBlock(SysCfgBlocks& b, std::uint8_t option, bool newPppoeLayout) {
    switch (option) {
    case 0: return b.by_SysCfgOption0;
    case 1: return b.by_SysCfgOption1;
    case 2: return b.by_SysCfgOption2;
    case 3: return b.by_SysCfgOption3;
    case 4: return b.by_SysCfgOption4;
    case 5: return b.by_SysCfgOption5;
    case 6: return newPppoeLayout ? std::span<std::uint8_t>(b.by_SysCfgOption6New)
                                  : std::span<std::uint8_t>(b.by_SysCfgOption6);
    case 7: return b.by_SysCfgOption7;
    case 8: return b.by_SysCfgOption8;
    case 10: return b.by_SysCfgOption10;
    case 11: return b.by_SysCfgOption11;
    case 12: return b.by_SysCfgOption12;
    case 13: return b.by_SysCfgOption13;
    case 15: return b.by_SysCfgOption15;
    case 16: return b.by_SysCfgOption16;
    default: return {};  // IMG and DVROSD are not kept; ALL is no block
    }
}

SysCfgOrder SysCfgOrderFor(std::string_view productId) {
    return IsVideoServerFamily(productId) || IsN5HFamily(productId) || IsG66MFamily(productId)
               ? SysCfgOrder::Short
               : SysCfgOrder::Long;
}

std::span<const std::uint8_t> SysCfgOrderOptions(SysCfgOrder order) {
    if (order == SysCfgOrder::Short)
        return kShortOrder;
    return kLongOrder;
}

std::size_t SysCfgFixedLength(SysCfgOrder order) { return FixedLength(SysCfgOrderOptions(order)); }

std::string_view PppoeVersionGate(SysCfgOrder order) {
    return order == SysCfgOrder::Short ? "1007" : "1052";
}

bool UsesNewPppoeLayout(SysCfgOrder order, std::string_view firmwareVersion) {
    return CompareFirmwareVersion(std::string(PppoeVersionGate(order)),
                                  std::string(firmwareVersion)) != 2;
}

bool SplitAllReply(std::span<const std::uint8_t> reply, SysCfgOrder order, bool newPppoeLayout,
                   SysCfgBlocks& blocks) {
    const std::size_t fixed = SysCfgFixedLength(order);
    if (reply.size() < fixed)
        return false;
    std::size_t offset = 0;
    for (auto option : SysCfgOrderOptions(order)) {
        const std::size_t size = kSysCfgOptions[option].size;
        const auto block = SysCfgBlock(blocks, option, newPppoeLayout);
        std::copy_n(reply.begin() + offset, block.size(), block.begin());
        offset += size;
    }
    auto& online = blocks.by_SysCfgOption12;
    online.fill(0);
    if (const auto rest = reply.subspan(fixed); rest.size() <= online.size())
        std::copy(rest.begin(), rest.end(), online.begin());
    return true;
}

bool CopyOptionReply(std::span<const std::uint8_t> reply, std::span<std::uint8_t> block) {
    if (reply.size() > block.size())
        return false;
    std::copy(reply.begin(), reply.end(), block.begin());
    std::fill(block.begin() + reply.size(), block.end(), 0);
    return true;
}

}  // namespace session
