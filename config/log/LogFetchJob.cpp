#include "config/log/LogFetchJob.h"

#include <algorithm>
#include <array>
#include <string>

#include "config/DeviceRequest.h"
#include "config/dvr/KeyValueReply.h"
#include "config/sheet/SheetProgress.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"

namespace config {

namespace {

constexpr std::size_t kCountReplyArea = 256;
// A page is received whole into its own area; only the records that still
// fit the log's 2,048 are kept.
constexpr std::size_t kPageArea = kLogMaxRecords * kLogRecordSize;

}  // namespace

std::optional<std::uint32_t> ParseLogCount(std::string_view reply) {
    const auto key = reply.find("COUNT=");
    if (key == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = reply.substr(key + 6);
    const auto end = rest.find(';');
    const std::string_view digits = rest.substr(0, end);
    if (end == std::string_view::npos || digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return ParseDecimalLowBits(digits);
}

LogFetchResult FetchDeviceLog(session::AppData& app, const platform::Timing& timing, std::uint32_t maxEvents,
                              SheetProgress& progress, std::stop_token stop) {
    LogFetchResult result;
    const std::string cookie = app.SessionCookie.Get();
    auto countRequest = RequestWithCookie(session::CMD_GET_LOG, cookie);
    countRequest.AddParam("STATE", "COUNT");
    std::array<std::uint8_t, kCountReplyArea> countReply{};
    std::uint32_t length = 0;
    if (!SendDeviceRequest(app, timing, countRequest, stop, countReply, &length)) {
        result.outcome = stop.stop_requested() ? LogFetchResult::Outcome::Cancelled : LogFetchResult::Outcome::Failed;
        return result;
    }
    const auto count = ParseLogCount(std::string_view(reinterpret_cast<const char*>(countReply.data()), length));
    if (!count)
        return result;
    if (*count == 0) {
        result.outcome = LogFetchResult::Outcome::Empty;
        return result;
    }
    const std::uint32_t wanted = std::min(*count, maxEvents);
    progress.Begin();
    progress.SetRange(wanted);

    std::vector<std::uint8_t> page(kPageArea);
    std::size_t total = 0;
    bool first = true;
    for (;;) {
        if (stop.stop_requested()) {
            progress.End();
            result.outcome = LogFetchResult::Outcome::Cancelled;
            return result;
        }
        auto request = RequestWithCookie(session::CMD_GET_LOG, cookie);
        request.AddParam("STATE", first ? "LAST" : "PRE");
        first = false;
        if (!SendDeviceRequest(app, timing, request, stop, page, &length) || stop.stop_requested()) {
            progress.End();
            result.outcome = stop.stop_requested() ? LogFetchResult::Outcome::Cancelled
                                                   : LogFetchResult::Outcome::Failed;
            return result;
        }
        const std::size_t received = length / kLogRecordSize;
        if (received == 0)
            break;
        const std::size_t kept = std::min(received, kLogMaxRecords - std::min(total, kLogMaxRecords));
        for (std::size_t i = 0; i < kept; ++i)
            result.records.push_back(DeviceLogRecord::Parse(
                std::span<const std::uint8_t, kLogRecordSize>(page.data() + i * kLogRecordSize, kLogRecordSize)));
        total += received;
        if (received < kLogPageSize)
            break;
        progress.SetPos(static_cast<std::uint32_t>(std::min<std::size_t>(total, UINT32_MAX)));
        if (total >= kLogMaxRecords || total >= wanted)
            break;
    }
    result.records.resize(std::min({total, kLogMaxRecords, std::size_t{wanted}}));
    progress.End();
    result.outcome = LogFetchResult::Outcome::Records;
    return result;
}

bool LogFetchJob::Start(session::AppData& app, const platform::Timing& timing, std::uint32_t maxEvents,
                        SheetProgress& progress, Done done) {
    if (worker_.Running())
        return false;
    worker_.Join();
    return worker_.Start([&app, timing, maxEvents, &progress, done = std::move(done)](std::stop_token stop) {
        LogFetchResult result = FetchDeviceLog(app, timing, maxEvents, progress, stop);
        if (result.outcome != LogFetchResult::Outcome::Cancelled && !stop.stop_requested())
            done(std::move(result));
    });
}

void LogFetchJob::Cancel() { worker_.Stop(); }

}  // namespace config
