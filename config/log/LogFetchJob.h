#pragma once
// Reads the device's event log on a worker of its own, so a long fetch never
// holds up the other device commands: "/Getlog.cgi" with STATE=COUNT, then the
// newest page (LAST) and the pages before it (PRE) until a short or empty
// page, the count asked for or 2,048 records. The sheet's progress strip
// follows it. A cancel ends a request in flight at once; a cancelled fetch
// reports nothing.

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string_view>
#include <vector>

#include "config/log/DeviceLogRecord.h"
#include "platform/Timing.h"
#include "platform/WorkerThread.h"

namespace session {
class AppData;
}

namespace config {

class SheetProgress;

struct LogFetchResult {
    enum class Outcome { Records, Empty, Failed, Cancelled };
    Outcome outcome = Outcome::Failed;
    std::vector<DeviceLogRecord> records;  // in the order they came, at most 2,048
};

// The number of a "COUNT=<digits>;" reply; none without one.
std::optional<std::uint32_t> ParseLogCount(std::string_view reply);

// The fetch itself, on the calling thread.
LogFetchResult FetchDeviceLog(session::AppData& app, const platform::Timing& timing, std::uint32_t maxEvents,
                              SheetProgress& progress, std::stop_token stop);

class LogFetchJob {
public:
    using Done = std::function<void(LogFetchResult)>;

    ~LogFetchJob() { Cancel(); }

    // Starts a fetch; `done` runs on the worker with the result (not after a
    // cancel). False when a fetch still runs or no thread can be started.
    bool Start(session::AppData& app, const platform::Timing& timing, std::uint32_t maxEvents,
               SheetProgress& progress, Done done);
    // Stops a running fetch and joins it.
    void Cancel();
    bool Running() const { return worker_.Running(); }

private:
    platform::WorkerThread worker_;
};

}  // namespace config
