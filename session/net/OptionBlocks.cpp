#include "session/net/OptionBlocks.h"

#include <algorithm>

#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CgiRequest.h"
#include "session/net/CommandSender.h"
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

// The reply area of a query: the largest "ALL" reply (2,044 + 240) fits.
constexpr std::size_t kQueryReplyArea = 4096;

CommandOptions Options(const platform::Timing& timing, platform::Timing::ms timeout,
                       std::stop_token stop) {
    CommandOptions options;
    options.connectTimeout = timing.connectTimeout;
    options.sendTimeout = timeout;
    options.receiveTimeout = timeout;
    options.stop = std::move(stop);
    return options;
}

AppData* App() { return g_lpApp; }


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

std::string SysCfgQueryRequest(std::uint8_t option, std::uint32_t size, std::string_view cookie) {
    if (option >= kOptionCount)
        return {};
    CgiRequest request(CMD_GET_SYS_CFG);
    request.AddParam("Option", kSysCfgOptions[option].name);
    request.AddParam("Size", std::to_string(size));
    if (!cookie.empty())
        request.AddParam("Cookie", cookie);
    return std::string(request.Text());
}

std::string SysCfgStoreRequest(std::uint8_t option, bool refresh, std::string_view cookie) {
    if (option >= kOptionCount)
        return {};
    CgiRequest request(CMD_SET_SYS_CFG);
    request.AddParam("Option", kSysCfgOptions[option].name);
    if (option == kOptionDns)
        request.AddParam("Refresh", refresh ? "True" : "False");
    if (!cookie.empty())
        request.AddParam("Cookie", cookie);
    return std::string(request.Text());
}

int QuerySystemConfig(AppData& app, const platform::Timing& timing, std::uint8_t option,
                      std::span<std::uint8_t> destination, std::uint32_t size,
                      std::stop_token stop) {
    if (option >= kOptionCount)
        return 0;
    const std::string target = SysCfgQueryRequest(option, size, app.SessionCookie.Get());
    std::array<std::uint8_t, kQueryReplyArea> area;
    std::uint32_t length = 0;
    if (!SorelSendCommand(app, Options(timing, timing.sysCfgQueryTimeout, std::move(stop)),
                          CMD_GET_SYS_CFG, target, nullptr, 0, nullptr, area, &length))
        return 0;
    const auto reply = std::span<const std::uint8_t>(area).first(std::min<std::size_t>(length, area.size()));

    if (option == kOptionAll) {
        const auto order = SysCfgOrderFor(app.str_ProductID.Get());
        const bool newPppoe = UsesNewPppoeLayout(order, app.str_FWVersion.Get());
        bool split = false;
        app.SysCfg.Update([&](SysCfgBlocks& blocks) {
            split = SplitAllReply(reply, order, newPppoe, blocks);
        });
        return split ? 1 : 0;
    }
    const auto block = destination.first(std::min<std::size_t>(size, destination.size()));
    if (option == kOptionOnline) {
        // A list of variable length: as much as the block holds.
        return CopyOptionReply(reply.first(std::min(reply.size(), block.size())), block) ? 1 : 0;
    }
    return CopyOptionReply(reply, block) ? 1 : 0;
}

int QuerySystemConfig(std::uint8_t option, std::span<std::uint8_t> destination, std::uint32_t size) {
    AppData* app = App();
    return app ? QuerySystemConfig(*app, platform::Timing{}, option, destination, size) : 0;
}

int QuerySystemConfigBlock(AppData& app, const platform::Timing& timing, std::uint8_t option,
                           std::stop_token stop) {
    if (option == kOptionAll)
        return QuerySystemConfig(app, timing, option, {}, 0, std::move(stop));
    const bool newPppoe = UsesNewPppoeLayout(SysCfgOrderFor(app.str_ProductID.Get()),
                                             app.str_FWVersion.Get());
    SysCfgBlocks scratch;
    const auto block = SysCfgBlock(scratch, option, newPppoe);
    if (block.empty())
        return 0;
    if (!QuerySystemConfig(app, timing, option, block, static_cast<std::uint32_t>(block.size()),
                           std::move(stop)))
        return 0;
    app.SysCfg.Update([&](SysCfgBlocks& blocks) {
        const auto kept = SysCfgBlock(blocks, option, newPppoe);
        std::copy(block.begin(), block.end(), kept.begin());
    });
    return 1;
}

int QuerySystemConfigBlock(std::uint8_t option) {
    AppData* app = App();
    return app ? QuerySystemConfigBlock(*app, platform::Timing{}, option) : 0;
}

int StoreSystemConfig(AppData& app, const platform::Timing& timing, std::uint8_t option,
                      std::span<const std::uint8_t> block, std::int32_t size, bool refresh,
                      std::stop_token stop) {
    if (option >= kOptionCount || size < 0 || static_cast<std::size_t>(size) > block.size())
        return 0;
    const std::string target = SysCfgStoreRequest(option, refresh, app.SessionCookie.Get());
    return SorelSendCommand(app, Options(timing, timing.commandTimeout, std::move(stop)),
                            CMD_SET_SYS_CFG, target, block.data(),
                            static_cast<std::uint32_t>(size), nullptr, {}, nullptr) == 1
               ? 1
               : 0;
}

int StoreSystemConfig(std::uint8_t option, std::span<const std::uint8_t> block, std::int32_t size,
                      bool refresh) {
    AppData* app = App();
    return app ? StoreSystemConfig(*app, platform::Timing{}, option, block, size, refresh) : 0;
}

}  // namespace session
