// The control panel's commands below the window: the keys' requests with the
// shipped command file, the menu gate, R.E.T.R., power and the channel PTZ
// query against the simulated device.
#include "mainwindow/control/PanelCommands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "mainwindow/control/PtzResetReply.h"
#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"
#include "support/AppAtDevice.h"

namespace {

using namespace mainwindow;
using namespace std::chrono_literals;

class PanelCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        testutil::AimAtDevice(app, device);
        timing.connectTimeout = 2000ms;
        timing.commandTimeout = 2000ms;
        timing.rs485CommandTimeout = 2000ms;
        const auto path = platform::FindShippedFile(platform::ExecutableFolder(), "CtrlFile.ini");
        ASSERT_TRUE(path);
        ASSERT_TRUE(LoadControlFile(*path, app.ControlFile).ok);
        BindControlProtocols(app.ControlFile);
    }
    // A recorder (entry 0) and three slaves; the one of `ordinal` current.
    void SlaveCurrent(std::uint8_t type, std::uint8_t ordinal) {
        app.C_ControlD.Clear();
        app.C_ControlD.AddDevice(0, 0, kTypeKlt316Dvr, kControlDeviceMaster);
        for (std::uint8_t i = 0; i < 3; ++i)
            app.C_ControlD.AddDevice(0, static_cast<std::uint8_t>(i + 1), type, kControlDeviceSlave);
        app.C_ControlD.MakeCurrent(kControlDeviceSlave, ordinal);
    }
    ControlOutcome Press(std::uint16_t index) {
        const bool turbo = PanelKeyActionOf(index) == PanelKeyAction::SendTurbo && app.dw_TurboMode.load() != 0;
        return SendPanelCommand(app, turbo, index, timing);
    }
    std::string LastTarget() const {
        const auto requests = device.Requests();
        return requests.empty() ? std::string() : requests.back().target;
    }
    std::string LastBodyEnd() const {
        const auto requests = device.Requests();
        if (requests.empty() || requests.back().body.size() < 2)
            return {};
        const std::string& body = requests.back().body;
        char text[8];
        std::snprintf(text, sizeof text, "%02X %02X", static_cast<unsigned char>(body[body.size() - 2]),
                      static_cast<unsigned char>(body.back()));
        return text;
    }

    devicesim::DeviceSimulator device;
    session::AppData app;
    platform::Timing timing;
};

TEST_F(PanelCommandsTest, PtzSlaveKeysWithTurboAndTheMenuKey) {
    app.str_ProductID = "R42T";
    SlaveCurrent(kTypePtzSlave, 2);
    app.dw_TurboMode = 1;
    app.by_TurboRepeatStep = 5;
    EXPECT_TRUE(Press(54).sent);  // "W LEWO"
    EXPECT_EQ(LastTarget(), "/RS485Cmd.cgi?Control=R41T&CH=2&MASTER=0&Cookie=C00C1E");
    EXPECT_EQ(LastBodyEnd(), "05 32");
    EXPECT_TRUE(Press(56).sent);  // "MENU": never repeated
    EXPECT_EQ(LastBodyEnd(), "01 32");
    EXPECT_TRUE(Press(3).sent);  // preset 4: not a turbo key
    EXPECT_EQ(LastBodyEnd(), "01 32");
}

TEST_F(PanelCommandsTest, PelcoAutoGoesWithoutThePelcoParameters) {
    app.str_ProductID = "R42T";
    SlaveCurrent(kTypePtzPelco, 0);
    EXPECT_TRUE(Press(24).sent);
    EXPECT_EQ(LastTarget(), "/RS485Cmd.cgi?Control=R41T&CH=0&MASTER=0&Cookie=C00C1E");
    EXPECT_TRUE(Press(55).sent);
    EXPECT_EQ(LastTarget(), "/RS485Cmd.cgi?Control=R41T&CH=0&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=C00C1E");
}

TEST(PanelKeyGateTest, GuestsAndUsersOfARecorderMayNotPressTheMenu) {
    EXPECT_FALSE(RecorderKeyAllowed(2, "R42T"));
    EXPECT_FALSE(RecorderKeyAllowed(3, "R43T"));
    EXPECT_TRUE(RecorderKeyAllowed(1, "R42T"));
    EXPECT_TRUE(RecorderKeyAllowed(2, "R47T"));
    EXPECT_EQ(PanelKeyActionOf(56), PanelKeyAction::Menu);
    EXPECT_EQ(PanelKeyActionOf(33), PanelKeyAction::SendTurbo);
    EXPECT_EQ(PanelKeyActionOf(34), PanelKeyAction::Send);
}

TEST(PtzResetReplyTest, ChannelDevicesByTheOnwardSearch) {
    using Devices = std::vector<LinkedPtz>;
    EXPECT_EQ(ParsePtzResetReply("SLAVENUM=2;SID=5;STYPE=1;SPROTOCOL=1;SID=6;STYPE=8;SPROTOCOL=0;"),
              (Devices{{5, kTypePtzPelco}, {6, kTypePtz}}));
    EXPECT_EQ(ParsePtzResetReply("SLAVENUM=1;SID=5;"), (Devices{{5, 0}})) << "missing before any was read: 0";
    EXPECT_EQ(ParsePtzResetReply("SLAVENUM=2;SID=5;STYPE=1;SPROTOCOL=1;SID=6;"),
              (Devices{{5, kTypePtzPelco}, {6, kTypePtzPelco}}))
        << "missing later: the previous device's values";
    EXPECT_EQ(ParsePtzResetReply("SLAVENUM=258;SID=7;STYPE=99"), (Devices{{7, 0}, {7, 0}}))
        << "count modulo 256; an unknown type is no panel";
    EXPECT_TRUE(ParsePtzResetReply("SID=5;STYPE=1;").empty());
    EXPECT_TRUE(ParsePtzResetReply("").empty());
}

TEST_F(PanelCommandsTest, ChannelPtzQueryRebuildsTheListOfAMultiChannelRecorder) {
    app.str_ProductID = "R41T";
    app.by_MultiChannel = 1;
    app.C_ControlD.AddDevice(0, 0, kTypeKlt316Dvr, kControlDeviceMaster);
    app.C_ControlD.AddDevice(0, 4, kTypePtzSlave, kControlDeviceSlave);
    device.UpdateProfile([](devicesim::DeviceProfile& p) { p.slaves = {{5, 1, 1}, {6, 8, 0}}; });
    EXPECT_EQ(QueryChannelPtzDevices(app, timing), (ControlOutcome{true, 0}));
    EXPECT_EQ(LastTarget(), "/PTZReset.cgi?Cookie=C00C1E");
    const auto list = app.C_ControlD.Snapshot();
    ASSERT_EQ(list.m_byCount, 3);
    EXPECT_EQ(list.entries[0], (ControlDeviceEntry{0, 0, kTypeKlt316Dvr, 0x3}));
    EXPECT_EQ(list.entries[1], (ControlDeviceEntry{2400, 5, kTypePtzPelco, 0x3}));
    EXPECT_EQ(list.entries[2], (ControlDeviceEntry{2400, 6, kTypePtz, 0x3}));

    device.AddFault("/PTZReset.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(QueryChannelPtzDevices(app, timing), (ControlOutcome{false, kMsgCommandNotSent}));
    EXPECT_EQ(app.C_ControlD.Snapshot(), list);

    // A reply longer than its 1,024 bytes is cut to them: the devices in them count.
    device.SetReply("/PTZReset.cgi", devicesim::Reply::Ok(devicesim::PadItems(
                                         "SLAVENUM=1;SID=9;STYPE=8;SPROTOCOL=0;", 1500)));
    EXPECT_EQ(QueryChannelPtzDevices(app, timing), (ControlOutcome{true, 0}));
    const auto cut = app.C_ControlD.Snapshot();
    ASSERT_EQ(cut.m_byCount, 2);
    EXPECT_EQ(cut.entries[1], (ControlDeviceEntry{2400, 9, kTypePtz, 0x3}));

    device.ClearRequests();
    app.by_MultiChannel = 0;
    EXPECT_TRUE(QueryChannelPtzDevices(app, timing).sent);
    EXPECT_TRUE(device.Requests().empty()) << "no query without the multi-channel flag";
}

TEST_F(PanelCommandsTest, RetrAsksForTheOtherStateOfTheOneTheDeviceReported) {
    EXPECT_TRUE(SendRetr(app, timing).sent);
    EXPECT_TRUE(SendRetr(app, timing).sent);
    const auto requests = device.RequestsFor("/SetRetr.cgi");
    ASSERT_EQ(requests.size(), 2u);
    for (const auto& request : requests)
        EXPECT_EQ(request.target, "/SetRetr.cgi?Cookie=C00C1E&SET=1");
    EXPECT_EQ(app.C_ControlD.GetRetrState(), 0) << "the state follows the frame headers only";
    EXPECT_EQ(device.State().retr, 1);
    app.C_ControlD.SetRetrState(1);
    device.AddFault("/SetRetr.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(SendRetr(app, timing), (ControlOutcome{false, kMsgCommandNotSent}));
    EXPECT_EQ(device.RequestsFor("/SetRetr.cgi").back().target, "/SetRetr.cgi?Cookie=C00C1E&SET=0");
}

TEST_F(PanelCommandsTest, PowerNeedsAStreamAndARecord) {
    app.str_ProductID = "R47T";
    app.C_ControlD.AddDevice(0, 1, kTypePtzPelcoD, kControlDeviceMaster);
    EXPECT_EQ(SendPower(app, timing), (ControlOutcome{false, kMsgNoStream}));
    app.dw_GetImageThreadRunning = 1;
    EXPECT_EQ(SendPower(app, timing), (ControlOutcome{false, kMsgCommandUnsupported})) << "no power template";
    app.C_ControlD.Clear();
    app.C_ControlD.AddDevice(0, 1, kTypeKlt316Dvr, kControlDeviceMaster);
    EXPECT_EQ(SendPower(app, timing), (ControlOutcome{false, kMsgNoProtocol}));
    EXPECT_TRUE(device.Requests().empty());
}

}  // namespace
