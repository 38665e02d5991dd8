#include "mainwindow/control/PanelCommands.h"

#include <array>
#include <vector>

#include "mainwindow/control/PtzResetReply.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"
#include "session/devices/PanelButtonTable.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CommandSender.h"
#include "session/net/DeviceRequest.h"

namespace mainwindow {

namespace {

constexpr std::int32_t kChannelDeviceBaud = 2400;

session::CommandOptions Options(const platform::Timing& timing, std::stop_token stop) {
    session::CommandOptions options;
    options.connectTimeout = timing.connectTimeout;
    options.sendTimeout = timing.commandTimeout;
    options.receiveTimeout = timing.commandTimeout;
    options.stop = stop;
    return options;
}

ControlOutcome Failed(std::stop_token stop) { return {false, stop.stop_requested() ? 0u : kMsgCommandNotSent}; }

}  // namespace

PanelKeyAction PanelKeyActionOf(std::size_t panelIndex) {
    switch (panelIndex) {
    case 30: case 31: case 32: case 33: case 54: case 55: case 57: case 58:
        return PanelKeyAction::SendTurbo;
    case kPanelJoystickMenu: return PanelKeyAction::Menu;
    case kPanelRecordSearch: return PanelKeyAction::RecordSearch;
    case kPanelTurbo: return PanelKeyAction::Turbo;
    case kPanelPtzControl: return PanelKeyAction::PtzControl;
    case kPanelRetr: return PanelKeyAction::Retr;
    case kPanelActionPreset: return PanelKeyAction::ActionPreset;
    default: return PanelKeyAction::Send;
    }
}

bool RecorderKeyAllowed(std::uint8_t userLevelRow, std::string_view productId) {
    return !((userLevelRow == 2 || userLevelRow == 3) && session::IsDvrFamily(productId));
}

ControlOutcome SendRetr(session::AppData& app, const platform::Timing& timing, std::stop_token stop) {
    session::CgiRequest request(session::CMD_SET_RETR);
    const std::string cookie = app.SessionCookie.Get();
    if (!cookie.empty())
        request.AddParam("Cookie", cookie);
    request.AddParam("SET", app.C_ControlD.GetRetrState() != 0 ? "0" : "1");
    if (session::SorelSendCommand(app, Options(timing, stop), session::CMD_SET_RETR, request.Text(), nullptr, 0,
                                  nullptr, {}, nullptr) != 1)
        return Failed(stop);
    return {true, 0};
}

ControlOutcome SendPower(session::AppData& app, const platform::Timing& timing, std::stop_token stop) {
    if (app.dw_GetImageThreadRunning.load() == 0)
        return {false, kMsgNoStream};
    const ControlProtocolRecord* record = app.ControlFile.ProtocolOf(app.C_ControlD.GetCurrentType());
    if (!record)
        return {false, kMsgNoProtocol};
    return SendControlCommand(app, *record, record->Power, 1, 0, timing, stop);
}

std::optional<std::string> QueryPtzReset(session::AppData& app, const platform::Timing& timing, std::stop_token stop) {
    const auto request = session::RequestWithCookie(session::CMD_PTZ_RESET, app.SessionCookie.Get());
    std::array<std::uint8_t, kPtzResetReplyMax> reply{};
    std::uint32_t length = 0;
    if (session::SendDeviceRequest(app, timing, request, std::move(stop), reply, &length,
                                   session::LongReply::CutToArea) != 1)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(reply.data()), std::min<std::size_t>(length, reply.size()));
}

ControlOutcome SendPtzReset(session::AppData& app, const platform::Timing& timing, std::stop_token stop) {
    const auto request = session::RequestWithCookie(session::CMD_PTZ_RESET, app.SessionCookie.Get());
    if (session::SendDeviceRequest(app, timing, request, stop) != 1)
        return Failed(stop);
    return {true, 0};
}

ControlOutcome QueryChannelPtzDevices(session::AppData& app, const platform::Timing& timing, std::stop_token stop) {
    if (!session::IsDvrFamily(app.str_ProductID.Get()) || app.by_MultiChannel.load() == 0)
        return {true, 0};
    const auto reply = QueryPtzReset(app, timing, stop);
    if (!reply)
        return Failed(stop);
    std::vector<ControlDeviceEntry> entries{{0, 0, app.C_ControlD.GetMasterType(0), kControlDeviceMaster}};
    for (const LinkedPtz& device : ParsePtzResetReply(*reply))
        entries.push_back({kChannelDeviceBaud, device.address, device.type, kControlDeviceMaster});
    app.C_ControlD.Replace(entries);
    return {true, 0};
}

}  // namespace mainwindow
