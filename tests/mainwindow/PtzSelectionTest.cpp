// PTZ slave selection and click-to-position below the window: bodies, the
// number check, the commit after the device took the request, the grid and
// the go-to bodies, against the simulated device.
#include "mainwindow/control/PtzSelection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "mainwindow/control/ClickToPosition.h"
#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"
#include "support/AppAtDevice.h"

namespace {

using namespace mainwindow;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class PtzSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        testutil::AimAtDevice(app, device);
        app.str_ProductID = "R42T";
        app.str_FWVersion = "1052";
        timing.connectTimeout = 2000ms;
        timing.commandTimeout = 2000ms;
        app.C_ControlD.AddDevice(0, 0, kTypeKlt316Dvr, kControlDeviceMaster);
    }
    void Slaves(int count, std::uint8_t type) {
        for (int i = 0; i < count; ++i)
            app.C_ControlD.AddDevice(0, static_cast<std::uint8_t>(i + 1), type, kControlDeviceSlave);
    }
    Bytes LastBody() const {
        const auto requests = device.RequestsFor("/RS485Cmd.cgi");
        if (requests.empty())
            return {};
        return {requests.back().body.begin(), requests.back().body.end()};
    }

    devicesim::DeviceSimulator device;
    session::AppData app;
    platform::Timing timing;
};

TEST(PtzSelectionBodyTest, SlaveNumbersOnTheWire) {
    EXPECT_EQ(PtzSelectionBody(1), (Bytes{2, 5, 6, 1, 50}));
    EXPECT_EQ(PtzSelectionBody(9), (Bytes{2, 5, 0x0E, 1, 50}));
    EXPECT_EQ(PtzSelectionBody(10), (Bytes{2, 6, 5, 1, 50}));
    EXPECT_EQ(PtzSelectionBody(12), (Bytes{2, 6, 7, 1, 50}));
    EXPECT_EQ(PtzSelectionBody(16), (Bytes{2, 6, 0x0B, 1, 50}));
    EXPECT_EQ(PtzExitBody(), (Bytes{1, 0x10, 1, 50}));
}

TEST_F(PtzSelectionTest, SelectingSlaveTwelveAndExit) {
    Slaves(16, kTypePtzSlave);
    app.C_ControlD.MakeCurrent(kControlDeviceMaster, 0);
    const auto selected = SendPtzSelection(app, kPtzSelectOk, 12, timing);
    EXPECT_TRUE(selected.outcome.sent);
    EXPECT_TRUE(selected.wasMaster);
    EXPECT_EQ(LastBody(), (Bytes{2, 6, 7, 1, 0x32}));
    EXPECT_EQ(device.RequestsFor("/RS485Cmd.cgi").back().target, "/RS485Cmd.cgi?Control=R41T&MASTER=1&Cookie=C00C1E");
    EXPECT_FALSE(app.C_ControlD.IsCurrentMaster());
    EXPECT_EQ(app.C_ControlD.GetCurrentAddress(), 12);

    const auto back = SendPtzSelection(app, kPtzSelectExit, 0, timing);
    EXPECT_TRUE(back.outcome.sent);
    EXPECT_EQ(LastBody(), (Bytes{1, 0x10, 1, 0x32}));
    EXPECT_TRUE(app.C_ControlD.IsCurrentMaster());
    EXPECT_EQ(app.C_ControlD.GetCurrentOrdinal(), 0);
}

TEST_F(PtzSelectionTest, WrongNumbersAndRefusedSelectionsChangeNothing) {
    Slaves(3, kTypePtzSlave);
    app.C_ControlD.MakeCurrent(kControlDeviceMaster, 0);
    const auto before = app.C_ControlD.Snapshot();
    for (int n : {0, 4, 17})
        EXPECT_EQ(SendPtzSelection(app, kPtzSelectOk, n, timing).outcome, (ControlOutcome{false, kMsgBadPtzNumber})) << n;
    EXPECT_TRUE(device.Requests().empty());

    device.AddFault("/RS485Cmd.cgi", devicesim::Fault::Status(500));
    app.by_MouseMode = 1;
    EXPECT_EQ(SendPtzSelection(app, kPtzSelectOk, 2, timing).outcome, (ControlOutcome{false, kMsgCommandNotSent}));
    EXPECT_EQ(app.C_ControlD.Snapshot(), before);
    EXPECT_EQ(app.by_MouseMode.load(), 1);
    EXPECT_EQ(app.w_MarkerCountdown.load(), 2);
}

TEST_F(PtzSelectionTest, MouseModeByFirmwareAndCapability) {
    Slaves(2, kTypePtzSlave);
    app.str_FWVersion = "1034";
    EXPECT_EQ(MouseModeForPtz(app, kTypePtzSlave), 2) << "older than 1035: no capability needed";
    app.str_FWVersion = "1035";
    EXPECT_EQ(MouseModeForPtz(app, kTypePtzSlave), 1);
    app.dw_DeviceCapability = 0x2;
    EXPECT_EQ(MouseModeForPtz(app, kTypePtzPelco), 2);
    EXPECT_EQ(MouseModeForPtz(app, kTypePtz), 1);
    EXPECT_TRUE(SendPtzSelection(app, kPtzSelectOk, 1, timing).outcome.sent);
    EXPECT_EQ(app.by_MouseMode.load(), 2);
    EXPECT_TRUE(SendPtzSelection(app, kPtzSelectExit, 0, timing).outcome.sent);
    EXPECT_EQ(app.by_MouseMode.load(), 1);
}

TEST_F(PtzSelectionTest, SlavesRefreshedFromTheResetReply) {
    Slaves(3, kTypePtzSlave);
    RefreshSlaves(app, "SLAVENUM=2;SID=7;STYPE=1;SPROTOCOL=1;SID=9;STYPE=8;SPROTOCOL=0;");
    EXPECT_EQ(app.C_ControlD.GetSlaveType(0), kTypePtzPelco);
    EXPECT_EQ(app.C_ControlD.GetSlaveType(1), kTypePtz);
    EXPECT_EQ(app.C_ControlD.GetSlaveType(2), kTypePtzSlave);
    EXPECT_EQ(app.C_ControlD.Snapshot().m_byCount, 4) << "no entries added";
}

// ---- Click-to-position ------------------------------------------------------------

TEST(ClickToPositionTest, GridCells) {
    const ClickRect r{42, 96, 682, 552};  // 640 x 456: cells of 40 x 38
    struct Case {
        int x, y;
        bool full;
        std::optional<std::pair<int, int>> cell;  // column, row
    };
    const Case cases[] = {
        {42 + 3 * 40 + 5, 96 + 2 * 38 + 5, false, std::pair{3, 2}},
        {42 + 3 * 40, 96 + 2 * 38, false, std::pair{2, 1}},  // on the lines: left of and above them
        {42, 200, false, std::nullopt},                        // on R's border
        {681, 551, false, std::pair{15, 11}},
        {50, 200, true, std::nullopt},                         // within 8 px in full screen
        {51, 200, true, std::pair{0, 2}},
    };
    for (const Case& c : cases) {
        const auto cell = CellOfClick(r, c.x, c.y, c.full);
        ASSERT_EQ(cell.has_value(), c.cell.has_value()) << c.x << "," << c.y;
        if (cell) {
            EXPECT_EQ(std::pair(cell->column, cell->row), *c.cell) << c.x << "," << c.y;
        }
    }
    // The strip right of the sixteenth line when the width is no multiple of 16.
    const ClickRect odd{0, 0, 650, 480};  // cells of 40: line 16 at 640
    EXPECT_EQ(CellOfClick(odd, 645, 10, false)->column, 15);
}

TEST(ClickToPositionTest, BodiesByType) {
    EXPECT_EQ(PositionBody(kTypePtz, 1, 60, 0x23), (Bytes{0x05, 0xD0, 0x01, 0x52, 0x23, 0x00, 0x01, 0x32}));
    EXPECT_EQ(PositionBody(kTypePtzSlave, 1, 60, 0x23),
              (Bytes{0x07, 0xD0, 0x01, 0x3C, 0x52, 0x23, 0x00, 0x82, 0x01, 0x32}));
    EXPECT_EQ(PositionBody(kTypeKlt316Dvr, 1, 60, 0x23), (Bytes{0, 0, 0}));
}

TEST_F(PtzSelectionTest, AClickSendsTheCellAndStartsTheMarker) {
    Slaves(1, kTypePtzPelco);
    app.C_ControlD.MakeCurrent(kControlDeviceSlave, 0);
    app.w_VideoLayout = 0;  // video 42, 96 - 682, 552
    app.by_UserLevelIndex = 0;
    app.w_ClickPosX = 42 + 3 * 40 + 5;
    app.w_ClickPosY = 96 + 2 * 38 + 5;
    EXPECT_TRUE(SendClickToPosition(app, {}, false, timing).sent);
    EXPECT_EQ(LastBody(), (Bytes{0x07, 0xD0, 0x01, 0x3C, 0x52, 0x23, 0x00, 0x82, 0x01, 0x32}));
    EXPECT_EQ(device.RequestsFor("/RS485Cmd.cgi").back().target,
              "/RS485Cmd.cgi?Control=R41T&CH=0&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=C00C1E");
    EXPECT_EQ(app.w_MarkerCountdown.load(), 4);
    EXPECT_EQ(app.w_MarkerX.load(), 125);
    EXPECT_EQ(app.w_MarkerY.load(), 81);

    app.w_MarkerCountdown = 0;
    device.AddFault("/RS485Cmd.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(SendClickToPosition(app, {}, false, timing), (ControlOutcome{false, kMsgCommandNotSent}));
    EXPECT_EQ(app.w_MarkerCountdown.load(), 0);

    // Full screen: the work area, the marker scaled into the video area.
    device.ClearRequests();
    app.w_ClickPosX = 960;
    app.w_ClickPosY = 540;
    EXPECT_TRUE(SendClickToPosition(app, {0, 0, 1920, 1080}, true, timing).sent);
    EXPECT_EQ(app.w_MarkerX.load(), 320);
    EXPECT_EQ(app.w_MarkerY.load(), 228);
    app.w_ClickPosX = 4;
    EXPECT_EQ(SendClickToPosition(app, {0, 0, 1920, 1080}, true, timing), (ControlOutcome{false, 0}));
    EXPECT_EQ(device.RequestsFor("/RS485Cmd.cgi").size(), 1u);
}

}  // namespace
