#include "mainwindow/control/ControlCommandSender.h"

#include <string>

#include "mainwindow/UserLevelTable.h"
#include "mainwindow/control/ControlCommandBody.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CommandSender.h"

namespace mainwindow {

namespace {

void AddPelco(session::CgiRequest& request) {
    request.AddParam("PELOCO", "1");
    request.AddParam("PROTOCOL", "PELCO");
}

}  // namespace

BusTargetFacts BusTargetFactsOf(const session::AppData& app) {
    const std::string product = app.str_ProductID.Get();
    const ControlDeviceList& list = app.C_ControlD;
    BusTargetFacts facts;
    facts.multiChannelDvr = session::IsDvrFamily(product) && app.by_MultiChannel.load() != 0;
    facts.serverFamily = session::IsVideoServerFamily(product) || session::IsN5HFamily(product) ||
                         session::IsG66MFamily(product);
    facts.currentIsMaster = list.IsCurrentMaster();
    facts.ordinal = list.GetCurrentOrdinal();
    facts.currentType = list.GetCurrentType();
    facts.slaveType = list.GetSlaveType(facts.ordinal);
    facts.lastMasterType = list.GetLastMasterType();
    return facts;
}

session::CgiRequest Rs485Request(const BusTargetFacts& facts, std::uint16_t buttonFlags, PelcoMasters pelco,
                                 std::string_view cookie) {
    session::CgiRequest request(session::CMD_RS485_CMD);
    request.AddParam("Control", "R41T");
    const bool pelcoAllowed = (buttonFlags & kPanelNoPelco) == 0;
    if (facts.multiChannelDvr) {
        if (facts.ordinal == 0) {
            request.AddParam("MASTER", "1");
        } else {
            request.AddIntParam("CH", facts.ordinal - 1);
            request.AddParam("MASTER", "0");
            if (facts.currentType == kTypePtzPelco && pelcoAllowed)
                AddPelco(request);
        }
    } else if (!facts.currentIsMaster) {
        request.AddIntParam("CH", facts.ordinal);
        request.AddParam("MASTER", "0");
        if (facts.slaveType == kTypePtzPelco && pelcoAllowed)
            AddPelco(request);
    } else {
        if (facts.serverFamily) {
            request.AddIntParam("CH", facts.ordinal);
            const bool pelcoMaster =
                facts.lastMasterType == kTypePtzPelco ||
                (pelco == PelcoMasters::PelcoAndPelcoD && facts.lastMasterType == kTypePtzPelcoD);
            if (pelcoMaster && pelcoAllowed)
                AddPelco(request);
        }
        request.AddParam("MASTER", "1");
    }
    if (!cookie.empty())
        request.AddParam("Cookie", cookie);
    return request;
}

session::CgiRequest Rs485MasterRequest(std::string_view cookie) {
    session::CgiRequest request(session::CMD_RS485_CMD);
    request.AddParam("Control", "R41T");
    request.AddParam("MASTER", "1");
    if (!cookie.empty())
        request.AddParam("Cookie", cookie);
    return request;
}

ControlOutcome SendRs485(session::AppData& app, const session::CgiRequest& request,
                         std::span<const std::uint8_t> body, platform::Timing::ms timeout, std::stop_token stop) {
    session::CommandOptions options;
    options.sendTimeout = timeout;
    options.receiveTimeout = timeout;
    options.stop = stop;
    session::StatusRecord status;
    const int sent = session::SorelSendCommand(app, options, session::CMD_RS485_CMD, request.Text(), body.data(),
                                               static_cast<std::uint32_t>(body.size()), &status, {}, nullptr);
    if (sent == 1)
        return {true, 0};
    return {false, stop.stop_requested() ? 0u : kMsgCommandNotSent};
}

ControlOutcome SendControlCommand(session::AppData& app, const ControlProtocolRecord& record,
                                  const ControlCommandTemplate& command, std::uint8_t repeat,
                                  std::uint16_t buttonFlags, const platform::Timing& timing,
                                  std::stop_token stop) {
    const std::string product = app.str_ProductID.Get();
    const ControlDeviceList& list = app.C_ControlD;
    CommandBodyContext context;
    context.masterAddress = list.GetLastMasterAddress();
    context.busAddress = BusAddress(session::IsDvrFamily(product), app.by_MultiChannel.load() != 0,
                                    context.masterAddress, list.GetLastSlaveAddress());
    context.rank = UserLevelRowAt(app.by_UserLevelIndex.load()).byRank;
    context.presetMode = app.dw_PresetMode.load() == 1;
    context.repeat = repeat;
    context.params = record.byParams;
    const auto body = BuildCommandBody(command, context);
    if (!body)
        return {false, kMsgCommandUnsupported};
    const session::CgiRequest request =
        Rs485Request(BusTargetFactsOf(app), buttonFlags, PelcoMasters::PelcoAndPelcoD, app.SessionCookie.Get());
    return SendRs485(app, request, *body, timing.rs485CommandTimeout, stop);
}

ControlOutcome SendPanelCommand(session::AppData& app, bool turbo, std::uint16_t panelIndex,
                                const platform::Timing& timing, std::stop_token stop) {
    const std::uint8_t type = app.C_ControlD.GetCurrentType();
    const ControlProtocolRecord* record = app.ControlFile.ProtocolOf(type);
    if (!record)
        return {false, kMsgNoProtocol};
    if (panelIndex >= record->Commands.size())
        return {false, kMsgCommandUnsupported};
    const auto& buttons = LinkedTypeRow(type).Buttons;
    const std::uint16_t flags = panelIndex < buttons.size() ? buttons[panelIndex].wFlags : 0;
    const std::uint8_t repeat = turbo ? app.by_TurboRepeatStep.load() : 1;
    return SendControlCommand(app, *record, record->Commands[panelIndex], repeat, flags, timing, stop);
}

}  // namespace mainwindow
