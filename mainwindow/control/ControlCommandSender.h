#pragma once
// Sending RS-485 commands to the control devices linked to the logged-in
// device: "/RS485Cmd.cgi" whose query names the target on the device's bus
// and whose body carries the bytes. These run on the device-command worker;
// the caller shows the outcome's message.

#include <cstdint>
#include <span>
#include <stop_token>

#include "platform/Timing.h"
#include "session/devices/ControlFile.h"
#include "session/net/CgiRequest.h"

namespace session {
class AppData;
}

namespace mainwindow {

inline constexpr unsigned kMsgCommandUnsupported = 4084;  // empty or unusable template
inline constexpr unsigned kMsgCommandNotSent = 4065;
inline constexpr unsigned kMsgNoProtocol = 4093;           // no CtrlFile.ini record for the type

// messageId 0: nothing to show (sent, or stopped by the program's close).
struct ControlOutcome {
    bool sent = false;
    unsigned messageId = 0;
    friend bool operator==(const ControlOutcome&, const ControlOutcome&) = default;
};

// What the bus target depends on.
struct BusTargetFacts {
    bool multiChannelDvr = false;  // DVR family with the multi-channel flag
    bool serverFamily = false;     // video server, N5H or G66M
    bool currentIsMaster = false;
    std::uint8_t ordinal = 0;      // ControlDeviceList::GetCurrentOrdinal
    std::uint8_t currentType = 0;
    std::uint8_t slaveType = 0;    // GetSlaveType(ordinal)
    std::uint8_t lastMasterType = 0;
};
BusTargetFacts BusTargetFactsOf(const session::AppData& app);

// Which masters of a video server get the Pelco parameters: the panel's
// commands give them to Pelco and Pelco-D masters, click-to-position only to Pelco.
enum class PelcoMasters { PelcoAndPelcoD, PelcoOnly };

// "/RS485Cmd.cgi" with Control=R41T, the bus target, then the Cookie when set.
session::CgiRequest Rs485Request(const BusTargetFacts& facts, std::uint16_t buttonFlags, PelcoMasters pelco,
                                 std::string_view cookie);
// The same with "MASTER" = "1" as the target (the recorder itself).
session::CgiRequest Rs485MasterRequest(std::string_view cookie);

// Sends a request with its body; status 200 is success, else 4065.
ControlOutcome SendRs485(session::AppData& app, const session::CgiRequest& request,
                         std::span<const std::uint8_t> body, platform::Timing::ms timeout, std::stop_token stop);

// Fills the record's template for the current control device and sends it
// (20 s). An empty or unusable template: 4084 and nothing is sent.
ControlOutcome SendControlCommand(session::AppData& app, const ControlProtocolRecord& record,
                                  const ControlCommandTemplate& command, std::uint8_t repeat,
                                  std::uint16_t buttonFlags, const platform::Timing& timing,
                                  std::stop_token stop = {});

// A control-panel key: the current type's template of that panel index with
// the button's flags; repeated by the turbo step when `turbo`. 4093 when no
// record serves the type.
ControlOutcome SendPanelCommand(session::AppData& app, bool turbo, std::uint16_t panelIndex,
                                const platform::Timing& timing, std::stop_token stop = {});

}  // namespace mainwindow
