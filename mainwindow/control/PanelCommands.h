#pragma once
// The control panel's commands below the widgets: what each panel key does,
// who may press the menu and PTZ keys, and the requests of the R.E.T.R.,
// power and channel keys. The requests run on the device-command worker and
// return the message for the window to show.

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "mainwindow/control/ControlCommandSender.h"
#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace mainwindow {

inline constexpr unsigned kMsgNoStream = 4034;

enum class PanelKeyAction { Send, SendTurbo, Menu, RecordSearch, Turbo, PtzControl, Retr, ActionPreset };
PanelKeyAction PanelKeyActionOf(std::size_t panelIndex);

// Guests and users of the DVR family may not press the joystick menu or the
// PTZ control key.
bool RecorderKeyAllowed(std::uint8_t userLevelRow, std::string_view productId);

// "/SetRetr.cgi": SET=0 while the device reports R.E.T.R. on, else 1 (15 s).
// The held state follows the frame headers only.
ControlOutcome SendRetr(session::AppData& app, const platform::Timing& timing, std::stop_token stop = {});

// The power key: 4034 without a running stream, 4093 without a record for
// the current type, else the record's power template (repeat 1, no flags).
ControlOutcome SendPower(session::AppData& app, const platform::Timing& timing, std::stop_token stop = {});

// "/PTZReset.cgi" with the Cookie when set (15 s); the reply text, a longer
// one cut to its first 1,024 bytes. nullopt when the request fails.
std::optional<std::string> QueryPtzReset(session::AppData& app, const platform::Timing& timing, std::stop_token stop);

// The same request with its reply left unread (after a cancelled PTZ
// selection); 4065 when it fails.
ControlOutcome SendPtzReset(session::AppData& app, const platform::Timing& timing, std::stop_token stop);

// Before a channel switch of a multi-channel DVR: the list becomes the first
// master again and the reply's channel devices as masters (2400). Nothing
// for other devices; 4065 and the list unchanged when the request fails.
ControlOutcome QueryChannelPtzDevices(session::AppData& app, const platform::Timing& timing,
                                      std::stop_token stop = {});

}  // namespace mainwindow
