// A G66M's sensor byte, the tool bar's places and its two requests against
// the simulated camera, which carries what they set in its frame headers.
#include "mainwindow/SensorMode.h"

#include <gtest/gtest.h>

#include <string>

#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"
#include "support/DeviceSession.h"

namespace {

using mainwindow::SensorState;

TEST(SensorModeTest, TheHeaderByteCarriesModeAndMirrors) {
    const struct {
        unsigned byte;
        SensorState state;
    } cases[] = {{0xC2, {2, true, true}}, {0x02, {2, false, false}}, {0x85, {5, true, false}},
                 {0x43, {3, false, true}}, {0x30, {0, false, false}}};
    for (const auto& c : cases)
        EXPECT_EQ(mainwindow::DecodeSensorByte(c.byte), c.state) << c.byte;
}

TEST(SensorModeTest, TheBarStartsBesideTheCentredWindowAndDocksToItsLeftEdge) {
    EXPECT_EQ(mainwindow::SensorBarStartPlace(1920, 1080, 722, 608), (mainwindow::BarPlace{556, 236}));
    EXPECT_EQ(mainwindow::SensorBarDockPlace(300, 200), (mainwindow::BarPlace{257, 200}));
}

class SensorRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        testutil::JoinDevice(device, app, timing);
    }
    std::string LastTarget(std::string_view path) const { return device.RequestsFor(path).back().target; }

    devicesim::DeviceSimulator device{devicesim::DeviceProfile::ForProduct("G66M")};
    session::AppData app;
    platform::Timing timing;
};

TEST_F(SensorRequestTest, EachMirrorButtonFlipsItsOwnMirrorAndSendsItFirst) {
    const struct {
        bool horizontal;
        SensorState reported;
        const char* target;
        std::uint8_t sensorByte;
    } cases[] = {
        {true, {0, false, false}, "/OV9653Rotate.cgi?Cookie=C0FFEE&HR=1&VR=0", 0x80},
        {true, {0, true, true}, "/OV9653Rotate.cgi?Cookie=C0FFEE&HR=0&VR=1", 0x40},
        {false, {0, false, false}, "/OV9653Rotate.cgi?Cookie=C0FFEE&VR=1&HR=0", 0x40},
        {false, {0, true, true}, "/OV9653Rotate.cgi?Cookie=C0FFEE&VR=0&HR=1", 0x80},
    };
    for (const auto& c : cases) {
        device.Update([](devicesim::DeviceState& state) { state.sensorByte = 0; });
        ASSERT_EQ(mainwindow::SendMirror(app, timing, c.horizontal, c.reported), 1);
        EXPECT_EQ(LastTarget("/OV9653Rotate.cgi"), c.target);
        EXPECT_EQ(device.State().sensorByte, c.sensorByte) << c.target;
    }
}

TEST_F(SensorRequestTest, AModeGoesOutAndTheCameraKeepsItsMirrors) {
    device.Update([](devicesim::DeviceState& state) { state.sensorByte = 0xC0; });
    ASSERT_EQ(mainwindow::SendSensorMode(app, timing, 3), 1);
    EXPECT_EQ(LastTarget("/OV9653Zoom.cgi"), "/OV9653Zoom.cgi?Cookie=C0FFEE&MODE=3");
    EXPECT_EQ(device.State().sensorByte, 0xC3);
    device.AddFault("/OV9653Zoom.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(mainwindow::SendSensorMode(app, timing, 1), 0);
}

// The reply is never read, so its length cannot fail the request.
TEST_F(SensorRequestTest, ALongReplyIsNotAFailure) {
    const std::string text(4000, 'x');
    device.SetReply("/OV9653Zoom.cgi", devicesim::Reply::Ok(text));
    device.SetReply("/OV9653Rotate.cgi", devicesim::Reply::Ok(text));
    EXPECT_EQ(mainwindow::SendSensorMode(app, timing, 2), 1);
    EXPECT_EQ(mainwindow::SendMirror(app, timing, true, {}), 1);
}

}  // namespace
