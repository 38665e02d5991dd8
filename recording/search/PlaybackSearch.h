#pragma once
// The playback search's request to the DVR ("/SearchPlayBack.cgi"): a search
// from a moment in time or for an event of one kind on one channel, on one
// disk or all of them; and the dialog's items for the disks and channels.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "recording/search/DiskMap.h"

namespace recording {

inline constexpr const char* kAllDisksItem = "ALL";

struct PlaybackSearchRequest {
    bool eventSearch = true;
    unsigned channelIndex = 0;  // position of the channel item: channel 1 is 0
    bool alarm = true;          // event type "ALARM", else motion
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    std::optional<std::uint8_t> disk;  // nullopt: every disk
};

// The parameters after the cookie, in order: searchType (channelNum and
// eventType for an event search), year - 2000, month, day, hour, min, sec,
// hddNum (the disk's number, or "ALL").
std::vector<std::pair<std::string, std::string>> PlaybackSearchParameters(const PlaybackSearchRequest& request);

// 4 for R43T, 8 for R42T, 16 for R41T, else 0 (the dialog cannot start).
unsigned PlaybackChannelCount(std::string_view productId);

// The disk selector's items, sorted as the selector keeps them: the present
// disks' names and "ALL"; each with its disk (nullopt for "ALL").
std::vector<std::pair<std::string, std::optional<std::uint8_t>>> PlaybackDiskItems(const DiskMap& disks);

}  // namespace recording
