#pragma once
// The device side of the main window's start, run as one job on the
// device-command worker: the channel clamp, the capability word, the device
// information and its reading, the family check, the device name, the alarm
// block's default, the current control device, the record-search fact, the
// user-level row and the model token of a supervisor's device.

#include <cstdint>
#include <optional>
#include <stop_token>

#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace mainwindow {

// String ids of the two ends of a start that cannot go on.
inline constexpr unsigned kDeviceInfoFailedMessage = 4034;
inline constexpr unsigned kUnknownProductMessage = 4031;

struct StartOutcome {
    unsigned failureMessage = 0;           // 0: the window may start
    std::optional<std::uint8_t> retrState;  // the R.E.T.R. state of the reply, kept for later
};

StartOutcome RunMainWindowStart(session::AppData& app, const platform::Timing& timing, std::stop_token stop);

// The linked-device types whose record-search button firmware older than
// "1078" lacks.
bool LacksRecordSearch(std::uint8_t type);

}  // namespace mainwindow
