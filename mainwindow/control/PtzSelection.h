#pragma once
// Handing the control panel to one of a recorder's PTZ slaves and back: the
// number check, the request bodies, and the selection itself, committed
// (current device, mouse mode) only after the device took the request.
// Runs on the device-command worker.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stop_token>
#include <string_view>
#include <vector>

#include "mainwindow/control/ControlCommandSender.h"
#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace mainwindow {

inline constexpr unsigned kMsgBadPtzNumber = 4095;

// PtzSelectDialog's results.
inline constexpr int kPtzSelectOk = 1;
inline constexpr int kPtzSelectCancel = 2;
inline constexpr int kPtzSelectExit = 20;

// {2, a, b, 1, 50}: slaves 1-9 give a = 5, b = n + 5; 10-16 a = 6, b = n - 5.
std::vector<std::uint8_t> PtzSelectionBody(int n);
// {1, 0x10, 1, 50}: back to the recorder.
std::vector<std::uint8_t> PtzExitBody();

// n in 1-16 with a valid slave n - 1 of a known type.
bool PtzNumberValid(const session::AppData& app, int n);

// Refreshes the listed slaves from a "/PTZReset.cgi" reply (SetSlave; no entries added).
void RefreshSlaves(session::AppData& app, std::string_view reply);

// The mouse mode for a PTZ of this type: click-to-position for the PTZ slave
// types; a DVR from firmware "1035" also needs capability bit 0x2.
std::uint8_t MouseModeForPtz(const session::AppData& app, std::uint8_t type);

struct PtzSelectionOutcome {
    ControlOutcome outcome;
    bool wasMaster = false;  // the device current before the selection was a master
};

// Selects slave n (kPtzSelectOk) or gives the panel back to the first master
// (kPtzSelectExit): the request (Control=R41T, MASTER=1, Cookie) with its
// body, 15 s. Only on status 200 the list's current device and the mouse
// mode change; a failure sets the marker countdown to 2 and gives 4065.
PtzSelectionOutcome SendPtzSelection(session::AppData& app, int result, int n, const platform::Timing& timing,
                                     std::stop_token stop = {});

}  // namespace mainwindow
