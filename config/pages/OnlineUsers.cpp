#include "config/pages/OnlineUsers.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "config/DeviceFacts.h"
#include "config/blocks/FieldCodec.h"
#include "res/StringTable.h"

namespace config {

namespace {

bool MultiChannelDvr(const DeviceFacts& facts) { return facts.IsDvr() && facts.multiChannel != 0; }

// Size texts by code; of each pair the first when the size family is non-zero.
using SizeTexts = std::array<std::array<const char*, 2>, 3>;
constexpr SizeTexts kServerSizes{{{"704*576", "704*480"}, {"352*288", "352*240"}, {"176*144", "176*120"}}};
constexpr SizeTexts kG66MSizes{{{"640*480", "640*480"}, {"320*240", "320*240"}, {"160*120", "160*120"}}};
constexpr SizeTexts kDvrSizes{{{"640*552", "640*456"}, {"320*276", "320*228"}, {"160*138", "160*114"}}};

std::string SizeText(const DeviceFacts& facts, std::uint8_t code, std::uint8_t sizeFamily) {
    const SizeTexts& table = facts.IsVideoServer() || facts.IsN5H() ? kServerSizes
                             : facts.IsG66M()                       ? kG66MSizes
                                                                    : kDvrSizes;
    return code < table.size() ? table[code][sizeFamily != 0 ? 0 : 1] : std::string();
}

std::string LevelText(std::uint8_t code) {
    constexpr std::pair<std::uint8_t, unsigned> kLevels[] = {{30, 3011}, {20, 8332}, {10, 3012}, {0, 3013}};
    for (const auto& [level, id] : kLevels)
        if (level == code)
            return std::string(res::LoadString(id));
    return {};
}

std::string QualityText(std::uint8_t code) {
    return code <= 2 ? std::string(res::LoadString(2107 + code)) : std::string();
}

}  // namespace

std::vector<OnlineColumn> OnlineColumns(const DeviceFacts& facts) {
    if (MultiChannelDvr(facts))
        return {{2100, 40}, {2101, 80}, {2102, 60}, {2111, 60}, {2112, 50}, {8572, 40}};
    return {{2100, 40}, {2101, 80}, {2102, 80}, {2111, 80}, {2112, 80}};
}

std::vector<std::vector<std::string>> OnlineRows(std::span<const std::uint8_t> block, const DeviceFacts& facts,
                                                 std::uint8_t videoSizeFamily) {
    constexpr BlockField kName{12, "name", 0, 16, FieldCodec::Text};
    std::vector<std::vector<std::string>> rows;
    for (std::size_t n = 0; n < kOnlineRecords && (n + 1) * kOnlineRecordSize <= block.size(); ++n) {
        const auto record = block.subspan(n * kOnlineRecordSize, kOnlineRecordSize);
        std::vector<std::string> row{ReadText(record, kName)};
        if (row[0].empty())
            continue;
        char address[16];
        std::snprintf(address, sizeof address, "%d.%d.%d.%d", record[16], record[17], record[18], record[19]);
        row.push_back(address);
        row.push_back(LevelText(record[20]));
        row.push_back(SizeText(facts, record[22], videoSizeFamily));
        row.push_back(QualityText(record[23]));
        if (MultiChannelDvr(facts)) {
            char channel[8];
            std::snprintf(channel, sizeof channel, "%2d", record[21]);
            row.push_back(record[21] == 0 ? std::string("DVR") : std::string(channel));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace config
