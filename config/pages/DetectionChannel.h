#pragma once
// Before the detection page's row editor opens, the edited channel is
// brought onto the live picture, so the editor can show it: when the current
// control device is a master and the device a DVR, the DVR's panel key of
// the channel goes out while it shows one channel at a time or its
// multi-channel view; otherwise a multi-channel DVR's channel bar switches.

#include <cstdint>
#include <stop_token>

#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace config {

struct DetectionChannelRoute {
    enum class Kind { None, PanelCommand, SwitchChannel };
    Kind kind = Kind::None;
    int number = 0;  // the panel command number, or the bar's channel
    friend bool operator==(const DetectionChannelRoute&, const DetectionChannelRoute&) = default;
};

// Row i (from 0): panel command number i, or the bar's channel i + 1.
DetectionChannelRoute DetectionChannelRouteFor(bool currentIsMaster, bool isDvr, std::uint8_t multiChannel,
                                               std::uint8_t barChannel, int row);
DetectionChannelRoute DetectionChannelRouteOf(const session::AppData& app, int row);

// Runs the route on the device-command worker: the channel bar reports its
// own failure; a panel key's failure is the message id returned (0: none).
unsigned BringChannelOnPicture(session::AppData& app, const DetectionChannelRoute& route,
                               const platform::Timing& timing, std::stop_token stop);

}  // namespace config
