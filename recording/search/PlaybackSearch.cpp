#include "recording/search/PlaybackSearch.h"

#include <algorithm>

namespace recording {

std::vector<std::pair<std::string, std::string>> PlaybackSearchParameters(const PlaybackSearchRequest& r) {
    std::vector<std::pair<std::string, std::string>> params;
    if (r.eventSearch) {
        params = {{"searchType", "event"},
                  {"channelNum", std::to_string(r.channelIndex)},
                  {"eventType", r.alarm ? "0" : "1"}};
    } else {
        params = {{"searchType", "time"}};
    }
    const std::pair<const char*, int> time[] = {{"year", r.year - 2000}, {"month", r.month}, {"day", r.day},
                                                {"hour", r.hour},        {"min", r.minute},  {"sec", r.second}};
    for (const auto& [name, value] : time)
        params.emplace_back(name, std::to_string(value));
    params.emplace_back("hddNum", r.disk ? std::to_string(*r.disk) : kAllDisksItem);
    return params;
}

unsigned PlaybackChannelCount(std::string_view productId) {
    if (productId == "R43T")
        return 4;
    if (productId == "R42T")
        return 8;
    if (productId == "R41T")
        return 16;
    return 0;
}

std::vector<std::pair<std::string, std::optional<std::uint8_t>>> PlaybackDiskItems(const DiskMap& disks) {
    std::vector<std::pair<std::string, std::optional<std::uint8_t>>> items;
    for (const std::uint8_t disk : disks.Disks())
        items.emplace_back(DiskName(disk), disk);
    items.emplace_back(kAllDisksItem, std::nullopt);
    std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return items;
}

}  // namespace recording
