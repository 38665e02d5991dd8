// The device's answers to its CGI paths. Each path is one row of the table
// below; paths without a row of their own answer 200 with an empty body.

#include <cstdlib>

#include "simulator/DeviceSimulator.h"

namespace devicesim {

bool Authorised(const DeviceState& state, const Request& request) {
    if (!state.profile.checkCookie)
        return true;
    auto cookie = request.Param("Cookie");
    return cookie && state.sessions.count(*cookie) != 0;
}

namespace {

Reply Login(DeviceSimulator& device, const Request& request) {
    Reply reply = Reply::WithStatus(401);
    device.Update([&](DeviceState& state) {
        const DeviceProfile& profile = state.profile;
        if (profile.tooManyUsers) {
            reply = Reply::WithStatus(202);
        } else if (request.Param("Username") == profile.userName && request.Param("Password") == profile.password) {
            state.sessions[profile.sessionId] = SessionFacts{};
            reply = Reply::Ok(profile.LoginItems());
        }
    });
    return reply;
}

Reply DeviceInfo(DeviceSimulator& device, const Request& request) {
    Reply reply = Reply::WithStatus(401);
    device.Update([&](DeviceState& state) {
        if (!Authorised(state, request))
            return;
        if (auto cookie = request.Param("Cookie"))
            if (auto session = state.sessions.find(*cookie); session != state.sessions.end())
                session->second.newHeader = request.Param("NEWHR") == "1";
        // The stream starts in the resolution the session asked for.
        if (auto resolution = request.Param("RES"))
            state.resolution = std::atoi(resolution->c_str());
        reply = Reply::Ok(state.profile.DeviceInfoItems());
    });
    return reply;
}

Reply GetSysCfg(DeviceSimulator& device, const Request& request) {
    const DeviceState state = device.State();
    if (!Authorised(state, request))
        return Reply::WithStatus(401);
    int option = OptionByName(request.Param("Option").value_or(""));
    if (option < 0)
        return Reply::WithStatus(400);
    Bytes block = option == kOptionAll ? state.profile.AllBlocks() : state.profile.Block(option);
    return Reply::Ok(std::string(block.begin(), block.end()));
}

Reply SetSysCfg(DeviceSimulator& device, const Request& request) {
    Reply reply = Reply::WithStatus(401);
    device.Update([&](DeviceState& state) {
        if (!Authorised(state, request))
            return;
        int option = OptionByName(request.Param("Option").value_or(""));
        if (option < 0 || option == kOptionAll) {
            reply = Reply::WithStatus(400);
            return;
        }
        state.profile.blocks[option] = Bytes(request.body.begin(), request.body.end());
        reply = Reply::Ok();
    });
    return reply;
}

Reply SetChannel(DeviceSimulator& device, const Request& request) {
    Reply reply = Reply::WithStatus(401);
    device.Update([&](DeviceState& state) {
        if (!Authorised(state, request))
            return;
        state.channel = std::atoi(request.Param("CH").value_or("-1").c_str());
        reply = Reply::Ok();
    });
    return reply;
}

Reply SetRetr(DeviceSimulator& device, const Request& request) {
    Reply reply = Reply::WithStatus(401);
    device.Update([&](DeviceState& state) {
        if (!Authorised(state, request))
            return;
        state.retr = std::atoi(request.Param("SET").value_or("0").c_str());
        reply = Reply::Ok();
    });
    return reply;
}

// The PTZ cameras on the recorder's channels: the profile's slaves.
Reply PtzReset(DeviceSimulator& device, const Request& request) {
    const DeviceState state = device.State();
    if (!Authorised(state, request))
        return Reply::WithStatus(401);
    std::string text = "SLAVENUM=" + std::to_string(state.profile.slaves.size()) + ";";
    for (const LinkedDevice& slave : state.profile.slaves)
        text += "SID=" + std::to_string(slave.address) + ";STYPE=" + std::to_string(slave.type) +
                ";SPROTOCOL=" + std::to_string(slave.protocol) + ";";
    return Reply::Ok(text);
}

Reply GetVersion(DeviceSimulator& device, const Request& request) {
    const DeviceState state = device.State();
    if (!Authorised(state, request))
        return Reply::WithStatus(401);
    return Reply::Ok(state.profile.firmwareVersion);
}

Reply Reboot(DeviceSimulator& device, const Request&) {
    device.Update([](DeviceState& state) { ++state.reboots; });
    Reply reply;
    reply.closeWithoutReply = true;  // the device goes down without answering
    return reply;
}

}  // namespace

const std::vector<std::string>& DevicePaths() {
    static const std::vector<std::string> paths{
        "/Login.cgi",          "/Getvideo.cgi",     "/SetChannel.cgi",     "/Setresolution.cgi",
        "/Setquality.cgi",     "/Setbrcssa.cgi",    "/GetSysCfg.cgi",      "/Periodcommand.cgi",
        "/SetSysCfg.cgi",      "/UpgradeFW.cgi",    "/GetOnlineUser.cgi",  "/RS485Cmd.cgi",
        "/SetSorel.cgi",       "/Reboot.cgi",       "/Getdeviceinfo.cgi",  "/Getlog.cgi",
        "/SetRetr.cgi",        "/GetDvrHDD.cgi",    "/NetworkBk.cgi",      "/PTZReset.cgi",
        "/GetColor.cgi",       "/SetColor.cgi",     "/SyncTime.cgi",       "/GetSearchList.cgi",
        "/GetVersion.cgi",     "/CancelNB.cgi",     "/GetDvrName.cgi",     "/getDefaultLang.cgi",
        "/getIndexLang.cgi",   "/OV9653Zoom.cgi",   "/OV9653Rotate.cgi",   "/ClearLog.cgi",
        "/GetDvrDate.cgi",     "/SetDvrDate.cgi",   "/GetRecordSetting.cgi", "/SetRecordSetting.cgi",
        "/CancelUPFW.cgi",     "/SetBuzzer.cgi",    "/SearchPlayBack.cgi",
    };
    return paths;
}

void InstallDeviceHandlers(DeviceSimulator& simulator) {
    for (const auto& path : DevicePaths())
        simulator.SetReply(path, Reply::Ok());
    const std::pair<const char*, ReplyHandler> rows[] = {
        {"/Login.cgi", Login},         {"/Getdeviceinfo.cgi", DeviceInfo}, {"/GetSysCfg.cgi", GetSysCfg},
        {"/SetSysCfg.cgi", SetSysCfg}, {"/SetChannel.cgi", SetChannel},    {"/Reboot.cgi", Reboot},
        {"/GetVersion.cgi", GetVersion}, {"/SetRetr.cgi", SetRetr},        {"/PTZReset.cgi", PtzReset},
    };
    for (const auto& [path, handler] : rows)
        simulator.SetHandler(path, handler);
    InstallDvrSettingsHandlers(simulator);
    InstallLogHandlers(simulator);
    InstallMainWindowHandlers(simulator);
    InstallSearchHandlers(simulator);
}

}  // namespace devicesim
