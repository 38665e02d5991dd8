#include "mainwindow/control/PtzSelection.h"

#include "mainwindow/WindowSkin.h"
#include "mainwindow/control/ControlCommandBody.h"
#include "mainwindow/control/PtzResetReply.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"

namespace mainwindow {

namespace {

constexpr int kMaxSlaves = 16;
constexpr std::uint16_t kFailedMarkerCountdown = 2;

}  // namespace

std::vector<std::uint8_t> PtzSelectionBody(int n) {
    const bool low = n <= 9;
    return {2, static_cast<std::uint8_t>(low ? 5 : 6), static_cast<std::uint8_t>(low ? n + 5 : n - 5), 1,
            kRepeatInterval};
}

std::vector<std::uint8_t> PtzExitBody() { return {1, 0x10, 1, kRepeatInterval}; }

bool PtzNumberValid(const session::AppData& app, int n) {
    return n >= 1 && n <= kMaxSlaves && app.C_ControlD.GetSlaveType(static_cast<std::uint8_t>(n - 1)) != 0;
}

void RefreshSlaves(session::AppData& app, std::string_view reply) {
    const auto devices = ParsePtzResetReply(reply);
    for (std::size_t i = 0; i < devices.size(); ++i)
        app.C_ControlD.SetSlave(static_cast<std::uint8_t>(i), devices[i].type, devices[i].address);
}

std::uint8_t MouseModeForPtz(const session::AppData& app, std::uint8_t type) {
    const bool dvrFrom1035 = session::IsDvrFamily(app.str_ProductID.Get()) &&
                             session::CompareFirmwareVersion("1035", app.str_FWVersion.Get()) != 2;
    return MouseModeFor(type, dvrFrom1035, (app.dw_DeviceCapability.load() & 0x2) != 0);
}

PtzSelectionOutcome SendPtzSelection(session::AppData& app, int result, int n, const platform::Timing& timing,
                                     std::stop_token stop) {
    PtzSelectionOutcome selection;
    selection.wasMaster = app.C_ControlD.IsCurrentMaster();
    const bool exit = result == kPtzSelectExit && !selection.wasMaster;
    if (!exit && !PtzNumberValid(app, n)) {
        selection.outcome = {false, kMsgBadPtzNumber};
        return selection;
    }
    const auto body = exit ? PtzExitBody() : PtzSelectionBody(n);
    selection.outcome = SendRs485(app, Rs485MasterRequest(app.SessionCookie.Get()), body, timing.commandTimeout, stop);
    if (!selection.outcome.sent) {
        app.w_MarkerCountdown.store(kFailedMarkerCountdown);
        return selection;
    }
    if (exit) {
        app.C_ControlD.MakeCurrent(kControlDeviceMaster, 0);
        if (app.by_MouseMode.load() == 2)
            app.by_MouseMode.store(1);
    } else {
        app.C_ControlD.MakeCurrent(kControlDeviceSlave, static_cast<std::uint8_t>(n - 1));
        app.by_MouseMode.store(MouseModeForPtz(app, app.C_ControlD.GetSlaveType(static_cast<std::uint8_t>(n - 1))));
    }
    return selection;
}

}  // namespace mainwindow
