#pragma once
// The searches' device requests, each with the session's cookie first and
// the ordinary command time-outs, on the calling thread (the device-command
// worker): the disk map, one search-list page, the playback search.

#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

#include "platform/Timing.h"
#include "recording/search/DiskMap.h"
#include "recording/search/PlaybackSearch.h"
#include "recording/search/SearchList.h"

namespace session {
class AppData;
}

namespace recording {

// "/GetDvrHDD.cgi"; nullopt when the request failed or the body is over the reply area.
std::optional<DiskMap> FetchDiskMap(session::AppData& app, const platform::Timing& timing, std::stop_token stop);

// One "/GetSearchList.cgi" page's body; nullopt when the request failed or
// the body is over the page's reply area.
std::optional<std::vector<std::uint8_t>> FetchSearchPage(session::AppData& app, const platform::Timing& timing,
                                                         bool firstPage, unsigned disk,
                                                         std::optional<ListType> listType, std::stop_token stop);

// The whole search on the device: pages until the maximum or a short page,
// the progress of the stored entries to the sheet's strip; the pause after
// the last page ends early on a stop.
SearchListResult RunSearchList(session::AppData& app, const platform::Timing& timing, unsigned maxNumber,
                               unsigned disk, std::optional<ListType> listType, std::stop_token stop);

// "/SearchPlayBack.cgi": true for status 200 (the body is not read).
bool SendPlaybackSearch(session::AppData& app, const platform::Timing& timing, const PlaybackSearchRequest& search,
                        std::stop_token stop);

}  // namespace recording
