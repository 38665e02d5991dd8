// The colour dialog's values: the exchange of halves for the server families,
// the Default values, the number boxes' rule, and the two colour requests
// against the simulated device.
#include "mainwindow/ColourSettings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"
#include "support/DeviceSession.h"

namespace {

using mainwindow::ColourValues;
using mainwindow::ShownColours;

struct ShownCase {
    const char* product;
    ColourValues device;
    ShownColours shown;
};

TEST(ColourSettingsTest, ServersShowBrightnessAndHueWithTheHalvesExchanged) {
    for (const auto& c : {
             ShownCase{"R47T", {90, 0, 200}, {128, 90, 72, 0}},
             ShownCase{"N52H", {255, 127, 128}, {255, 255, 0, 0}},
             ShownCase{"G66M", {0, 255, 1}, {127, 0, 129, 0}},
             ShownCase{"R41T", {90, 0, 200}, {0, 90, 200, 0}},
         }) {
        const bool server = mainwindow::CountsColourAroundZero(c.product);
        EXPECT_EQ(mainwindow::ShownFromDevice(c.device, server), c.shown) << c.product;
        // Unchanged values go back as they came.
        EXPECT_EQ(mainwindow::DeviceFromShown(c.shown, server), c.device) << c.product;
    }
}

TEST(ColourSettingsTest, DefaultsSendTheFamilysValues) {
    EXPECT_EQ(mainwindow::DeviceFromShown(mainwindow::DefaultColours(true), true), (ColourValues{150, 47, 2}));
    EXPECT_EQ(mainwindow::DeviceFromShown(mainwindow::DefaultColours(false), false), (ColourValues{128, 128, 128}));
    EXPECT_EQ(mainwindow::DefaultColours(true).spare, 128);
}

TEST(ColourSettingsTest, ANumberBoxKeepsDigitsAndStaysWithinRange) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"300", 255}, {"a1b2", 12}, {"", 40}, {"abc", 40}, {"007", 7},
                 {"99999999999999999999", 255}, {"-5", 5}, {"255", 255}};
    for (const auto& c : cases)
        EXPECT_EQ(mainwindow::TypedColour(c.text, 40), c.value) << c.text;
    // A text too long to filter keeps the number.
    EXPECT_EQ(mainwindow::TypedColour(std::string(300, '1'), 40), 40);
}

TEST(ColourSettingsTest, AReplyKeyLeftOutKeepsItsDefault) {
    EXPECT_EQ(mainwindow::ParseColourReply("BRI=0;HUE=200;CON=90;"), (ColourValues{90, 0, 200}));
    EXPECT_EQ(mainwindow::ParseColourReply("BRI=5;HUE=6;"), (ColourValues{128, 5, 6}));
    EXPECT_EQ(mainwindow::ParseColourReply("CON=7"), (ColourValues{128, 0, 0}));  // no ";": absent
    EXPECT_EQ(mainwindow::ParseColourReply(""), (ColourValues{}));
}

class ColourRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        testutil::JoinDevice(device, app, timing);
    }

    devicesim::DeviceSimulator device;
    session::AppData app;
    platform::Timing timing;
};

TEST_F(ColourRequestTest, TheDeviceStoresWhatIsSentAndAnswersIt) {
    ASSERT_EQ(mainwindow::SendColour(app, timing, {90, 0, 200}), 1);
    EXPECT_EQ(device.RequestsFor("/SetColor.cgi").at(0).target, "/SetColor.cgi?Cookie=C0FFEE&CON=90&BRI=0&HUE=200");
    const auto values = mainwindow::QueryColour(app, timing);
    ASSERT_TRUE(values);
    EXPECT_EQ(*values, (ColourValues{90, 0, 200}));
    EXPECT_EQ(device.RequestsFor("/GetColor.cgi").at(0).target, "/GetColor.cgi?Cookie=C0FFEE");
}

TEST_F(ColourRequestTest, ARefusedReplyFailsAndALongerOneIsCutToItsArea) {
    device.AddFault("/GetColor.cgi", devicesim::Fault::Status(500));
    EXPECT_FALSE(mainwindow::QueryColour(app, timing));
    // A reply over the 256-byte area is cut to it: a key beyond it is not read.
    device.SetReply("/GetColor.cgi", devicesim::Reply::Ok("CON=90;" + std::string(250, ' ') + "BRI=1;"));
    EXPECT_EQ(mainwindow::QueryColour(app, timing), (ColourValues{90, 0, 0}));
    device.SetReply("/GetColor.cgi", devicesim::Reply::Ok("BRI=1;" + std::string(250, ' ')));
    EXPECT_EQ(mainwindow::QueryColour(app, timing), (ColourValues{128, 1, 0}));
    device.AddFault("/SetColor.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(mainwindow::SendColour(app, timing, {1, 2, 3}), 0);
}

}  // namespace
