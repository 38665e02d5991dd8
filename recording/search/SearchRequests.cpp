#include "recording/search/SearchRequests.h"

#include <array>

#include "config/sheet/SheetProgress.h"
#include "platform/SyncObjects.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/DeviceRequest.h"

namespace recording {

namespace {

session::CgiRequest RequestWith(session::AppData& app, std::uint8_t command,
                                const std::vector<std::pair<std::string, std::string>>& params) {
    session::CgiRequest request = session::RequestWithCookie(command, app.SessionCookie.Get());
    for (const auto& [key, value] : params)
        request.AddParam(key, value);
    return request;
}

}  // namespace

std::optional<DiskMap> FetchDiskMap(session::AppData& app, const platform::Timing& timing, std::stop_token stop) {
    std::array<std::uint8_t, kDiskReplyBytes> reply{};
    std::uint32_t length = 0;
    if (!session::SendDeviceRequest(app, timing, RequestWith(app, session::CMD_GET_DVR_HDD, {}), std::move(stop),
                                    reply, &length))
        return std::nullopt;
    return ParseDiskReply(std::span(reply.data(), length));
}

std::optional<std::vector<std::uint8_t>> FetchSearchPage(session::AppData& app, const platform::Timing& timing,
                                                         bool firstPage, unsigned disk,
                                                         std::optional<ListType> listType, std::stop_token stop) {
    std::array<std::uint8_t, kSearchPageBytes> reply{};
    std::uint32_t length = 0;
    const auto request = RequestWith(app, session::CMD_GET_SEARCH_LIST, SearchListParameters(firstPage, disk, listType));
    if (!session::SendDeviceRequest(app, timing, request, std::move(stop), reply, &length))
        return std::nullopt;
    return std::vector<std::uint8_t>(reply.begin(), reply.begin() + length);
}

SearchListResult RunSearchList(session::AppData& app, const platform::Timing& timing, unsigned maxNumber,
                               unsigned disk, std::optional<ListType> listType, std::stop_token stop) {
    SearchListHooks hooks;
    hooks.fetchPage = [&](bool firstPage) -> std::optional<std::vector<std::uint8_t>> {
        if (stop.stop_requested())
            return std::nullopt;
        return FetchSearchPage(app, timing, firstPage, disk, listType, stop);
    };
    hooks.progress = [](std::size_t stored) { config::g_lpSheetProgress().SetPos(static_cast<std::uint32_t>(stored)); };
    hooks.pause = [&](std::chrono::milliseconds pause) { return platform::SleepFor(pause, stop); };
    SearchListResult result = LoadSearchList(maxNumber, hooks);
    if (result.end == SearchListResult::End::Failed && stop.stop_requested())
        result.end = SearchListResult::End::Stopped;
    return result;
}

bool SendPlaybackSearch(session::AppData& app, const platform::Timing& timing, const PlaybackSearchRequest& search,
                        std::stop_token stop) {
    const auto request = RequestWith(app, session::CMD_SEARCH_PLAYBACK, PlaybackSearchParameters(search));
    std::array<std::uint8_t, kDiskReplyBytes> reply{};
    std::uint32_t length = 0;
    return session::SendDeviceRequest(app, timing, request, std::move(stop), reply, &length) == 1;
}

}  // namespace recording
