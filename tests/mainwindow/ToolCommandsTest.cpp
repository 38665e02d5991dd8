// The device side of the main window's tool commands against the simulated
// device: the resolution and quality steps and requests, and the reads that
// come before the configuration sheet.
#include "mainwindow/ToolCommands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"
#include "support/DeviceSession.h"

namespace {


TEST(ToolCommandsTest, ResolutionTogglesAndQualityCycles) {
    EXPECT_EQ(mainwindow::NextResolution(0), 1u);
    EXPECT_EQ(mainwindow::NextResolution(1), 0u);
    EXPECT_EQ(mainwindow::NextResolution(2), std::nullopt);
    EXPECT_EQ(mainwindow::NextQuality(0), 1u);
    EXPECT_EQ(mainwindow::NextQuality(1), 2u);
    EXPECT_EQ(mainwindow::NextQuality(2), 0u);
    EXPECT_EQ(mainwindow::NextQuality(3), std::nullopt);
}

class ToolRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        testutil::JoinDevice(device, app, timing);
    }
    // The Option of every block read, in order.
    std::vector<std::string> OptionsRead() const {
        std::vector<std::string> options;
        for (const auto& request : device.RequestsFor("/GetSysCfg.cgi"))
            options.push_back(request.Param("Option").value_or("?"));
        return options;
    }
    void SetDevice(const char* product, const char* firmware) {
        app.str_ProductID = product;
        app.str_FWVersion = firmware;
        device.UpdateProfile([&](devicesim::DeviceProfile& p) {
            p = devicesim::DeviceProfile::ForProduct(product);
            p.firmwareVersion = firmware;
        });
        device.ClearRequests();
    }

    devicesim::DeviceSimulator device;
    session::AppData app;
    platform::Timing timing;
};

TEST_F(ToolRequestTest, SettingsGoOutWithTheCookieFirst) {
    ASSERT_EQ(mainwindow::SendResolution(app, timing, 1), 1);
    ASSERT_EQ(mainwindow::SendQuality(app, timing, 2), 1);
    EXPECT_EQ(device.RequestsFor("/Setresolution.cgi").at(0).target, "/Setresolution.cgi?Cookie=C0FFEE&RES=1");
    EXPECT_EQ(device.RequestsFor("/Setquality.cgi").at(0).target, "/Setquality.cgi?Cookie=C0FFEE&QUA=2");
    EXPECT_EQ(device.State().resolution, 1);
    EXPECT_EQ(device.State().quality, 2);
    device.AddFault("/Setresolution.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(mainwindow::SendResolution(app, timing, 0), 0);
}

TEST_F(ToolRequestTest, TheConfigurationIsReadWholeOrBlockByBlockByFamilyAndFirmware) {
    const std::vector<std::string> serverSingles{"IP",   "ONLINE", "ALARM", "SECURE", "SMTP", "FTP",
                                                 "RS485", "PERI",  "SNTP",  "PPPOE",  "DNS"};
    const std::vector<std::string> dvrSingles{"IP",    "ONLINE",  "ALARM",  "SECURE", "SMTP", "FTP",
                                              "RS485", "DVRLIVE", "DVRREC", "PPPOE",  "DNS"};
    const struct {
        const char* product;
        const char* firmware;
        std::vector<std::string> reads;
    } cases[] = {
        {"R47T", "0002", serverSingles}, {"R47T", "0003", {"ALL"}}, {"G66M", "0002", serverSingles},
        {"N51H", "0003", {"ALL"}},       {"R41T", "1023", dvrSingles}, {"R41T", "1024", {"ALL"}},
    };
    for (const auto& c : cases) {
        SetDevice(c.product, c.firmware);
        EXPECT_EQ(mainwindow::LoadSystemConfig(app, timing), 1) << c.product << " " << c.firmware;
        EXPECT_EQ(OptionsRead(), c.reads) << c.product << " " << c.firmware;
    }
    // Each single read asks for its block's size.
    SetDevice("R41T", "1023");
    ASSERT_EQ(mainwindow::LoadSystemConfig(app, timing), 1);
    EXPECT_EQ(device.RequestsFor("/GetSysCfg.cgi").at(7).target,
              "/GetSysCfg.cgi?Option=DVRLIVE&Size=772&Cookie=C0FFEE");
}

TEST_F(ToolRequestTest, AFailedReadEndsTheLoadAndTheOnlineListStartsCleared) {
    SetDevice("R47T", "0002");
    app.SysCfg.Update([](session::SysCfgBlocks& blocks) { blocks.by_SysCfgOption12.fill(0xAA); });
    device.AddFault("/GetSysCfg.cgi?Option=ONLINE", devicesim::Fault::Status(500));
    EXPECT_EQ(mainwindow::LoadSystemConfig(app, timing), 0);
    EXPECT_EQ(OptionsRead(), (std::vector<std::string>{"IP", "ONLINE"}));
    const auto online = app.SysCfg.Get().by_SysCfgOption12;
    EXPECT_EQ(online, decltype(online){});
}

}  // namespace
