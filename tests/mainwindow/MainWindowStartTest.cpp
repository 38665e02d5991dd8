// The main window's start job against the simulated device: what it asks,
// what it stores back and how it reads the device information.
#include "mainwindow/MainWindowStart.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fakes/RecordingUiPort.h"
#include "mainwindow/UserLevelTable.h"
#include "session/AppData.h"
#include "session/login/LoginExchange.h"
#include "simulator/DeviceSimulator.h"

namespace {

using devicesim::DeviceProfile;
using mainwindow::ControlDeviceEntry;
using mainwindow::kControlDeviceMaster;
using mainwindow::kControlDeviceSlave;
using mainwindow::kControlDeviceValid;
using session::AppData;
using namespace std::chrono_literals;

class MainWindowStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        app.SetUiPort(&ui);
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device.Port();
        timing.connectTimeout = 2000ms;
        timing.commandTimeout = 2000ms;
        timing.sysCfgQueryTimeout = 2000ms;
    }

    // Logs in to the device as the profile describes it, then runs the start.
    mainwindow::StartOutcome Start(const DeviceProfile& profile, std::uint8_t channel = 1) {
        device.UpdateProfile([&](DeviceProfile& p) { p = profile; });
        app.C_ControlD.Clear();
        app.dw_DeviceCapability = 0;
        app.CSettingINI.m_bySelectedChannel = channel;
        const session::ExchangeOptions options{timing, {}, {}};
        EXPECT_EQ(session::RunLoginRequest(app, options), session::kLoginLoggedIn);
        device.ClearRequests();
        return mainwindow::RunMainWindowStart(app, timing, {});
    }
    std::vector<std::string> Targets() const {
        std::vector<std::string> targets;
        for (const auto& request : device.Requests())
            targets.push_back(request.target);
        return targets;
    }
    std::vector<ControlDeviceEntry> Entries() const {
        const auto list = app.C_ControlD.Snapshot();
        return {list.entries.begin(), list.entries.begin() + list.m_byCount};
    }
    static DeviceProfile Profile(const char* product, const char* firmware) {
        DeviceProfile profile = DeviceProfile::ForProduct(product);
        profile.firmwareVersion = firmware;
        profile.userLevel = 20;
        return profile;
    }

    fakes::RecordingUiPort ui;
    AppData app;
    devicesim::DeviceSimulator device;
    platform::Timing timing;
};

constexpr auto kMaster = kControlDeviceValid | kControlDeviceMaster;
constexpr auto kSlave = kControlDeviceValid | kControlDeviceSlave;

TEST_F(MainWindowStartTest, TheDeviceInformationRequestFollowsProductFirmwareAndChannel) {
    struct Case {
        const char* product;
        const char* firmware;
        std::uint8_t channel;
        std::vector<std::string> targets;  // before the SYSTEM block read
    };
    const std::string cookie = "Cookie=5A17C0DE";
    const Case cases[] = {
        {"R41T", "1050", 3,
         {"/GetSysCfg.cgi?Option=INF&Size=44&" + cookie,
          "/Getdeviceinfo.cgi?" + cookie + "&RES=0&QUA=1&CH=3&NEWHR=1"}},
        {"N53H", "1050", 5, {"/Getdeviceinfo.cgi?" + cookie + "&RES=0&QUA=1&CH=2"}},
        {"G66M", "1000", 0, {"/Getdeviceinfo.cgi?" + cookie + "&RES=0&QUA=1&CH=2&NEWHR=1"}},
        {"R42T", "1034", 9, {"/Getdeviceinfo.cgi?" + cookie + "&RES=0&QUA=1&CH=0"}},
        {"R47T", "1005", 0, {"/Getdeviceinfo.cgi?" + cookie + "&RES=0&QUA=1&CH=1"}},
    };
    app.CSettingINI.m_dwImageResolution = 0;
    app.CSettingINI.m_dwImageQuality = 1;
    for (const Case& c : cases) {
        ASSERT_EQ(Start(Profile(c.product, c.firmware), c.channel).failureMessage, 0u) << c.product;
        auto targets = Targets();
        ASSERT_GE(targets.size(), c.targets.size()) << c.product;
        targets.resize(c.targets.size());
        EXPECT_EQ(targets, c.targets) << c.product;
    }
}

TEST_F(MainWindowStartTest, BlocksReadAndStoredBack) {
    // A video server from "1010" whose ALARM block says 0 at byte 9 gets 12 there.
    DeviceProfile server = Profile("R47T", "1010");
    server.blocks[7] = devicesim::Bytes(36, 0);
    std::memcpy(server.blocks[7].data() + 20, "Brama", 5);
    server.blocks[11] = devicesim::Bytes(24, 7);
    server.blocks[11][9] = 0;
    ASSERT_EQ(Start(server).failureMessage, 0u);
    EXPECT_EQ(app.str_DeviceName.Get(), "Brama");
    auto stores = device.RequestsFor("/SetSysCfg.cgi");
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Param("Option"), "ALARM");
    ASSERT_EQ(stores[0].body.size(), 24u);
    EXPECT_EQ(stores[0].body[9], 12);

    // Level 30 on a device with the "KLT-316" token: block 0 stored clean; level 20: nothing.
    for (int level : {30, 20}) {
        DeviceProfile dvr = Profile("R41T", "1080");
        dvr.userLevel = level;
        dvr.blocks[0] = devicesim::Bytes(44, 0);
        std::memcpy(dvr.blocks[0].data() + 24, "KLT-316X", 8);
        ASSERT_EQ(Start(dvr).failureMessage, 0u);
        stores = device.RequestsFor("/SetSysCfg.cgi");
        EXPECT_EQ(app.by_UserLevelIndex.load(), mainwindow::UserLevelRowFor(static_cast<std::uint16_t>(level)));
        if (level == 20) {
            EXPECT_TRUE(stores.empty());
            continue;
        }
        ASSERT_EQ(stores.size(), 1u);
        EXPECT_EQ(stores[0].Param("Option"), "INF");
        EXPECT_EQ(stores[0].body.substr(24, 8), std::string("KLT-316\0", 8));
    }
}

TEST_F(MainWindowStartTest, TheControlDeviceListByTheWindowsRules) {
    struct Case {
        const char* name;
        std::function<void(DeviceProfile&)> arrange;
        std::vector<ControlDeviceEntry> entries;
        std::uint8_t currentType;
    };
    const Case cases[] = {
        {"no devices: CAMERA", [](DeviceProfile&) {}, {}, 0},
        {"a multi-channel DVR: each SLAVENUM device a master of its channel",
         [](DeviceProfile& p) {
             p.multiChannel = 1;
             p.masters = {{0, 19}};
             p.slaves = {{5, 1, 1}, {6, 8, 0}};
         },
         {{2400, 0, 19, kMaster}, {2400, 5, 18, kMaster}, {2400, 6, 8, kMaster}},
         18},  // channel 1: the second master
        {"DVR master type 1 is a PTZ slave",
         [](DeviceProfile& p) { p.masters = {{3, 1}}; },
         {{2400, 3, 11, kMaster}},
         11},
        {"R.E.T.R. with capability: the DVR itself, then the slaves",
         [](DeviceProfile& p) {
             p.masters = {{4, 8}, {6, 8}};
             p.retr = 1;
             p.SetCapability(0x01);
             p.slaves = {{7, 1, 1}};
         },
         {{0, 0, 19, kMaster}, {2400, 7, 18, kSlave}},
         19},
        {"R.E.T.R. without capability keeps the masters",
         [](DeviceProfile& p) {
             p.masters = {{4, 8}};
             p.retr = 1;
         },
         {{2400, 4, 8, kMaster}},
         8},
    };
    for (const Case& c : cases) {
        DeviceProfile profile = Profile("R41T", "1052");
        c.arrange(profile);
        const auto outcome = Start(profile);
        ASSERT_EQ(outcome.failureMessage, 0u) << c.name;
        EXPECT_EQ(Entries(), c.entries) << c.name;
        EXPECT_EQ(app.C_ControlD.GetCurrentType(), c.currentType) << c.name;
    }

    // Two masters announced with one MID and MTYPE: both alike. A slave
    // without SID or STYPE takes the entry before's, the master's included.
    device.SetHandler("/Getdeviceinfo.cgi", [](devicesim::DeviceSimulator&, const devicesim::Request&) {
        return devicesim::Reply::Ok("MASTERNUM=2;MID=5;MTYPE=8;SLAVENUM=1;SPROTOCOL=0;");
    });
    const auto outcome = Start(Profile("R41T", "1052"));
    EXPECT_FALSE(outcome.retrState);
    EXPECT_EQ(Entries(), (std::vector<ControlDeviceEntry>{
                             {2400, 5, 8, kMaster}, {2400, 5, 8, kMaster}, {2400, 5, 8, kSlave}}));
}

TEST_F(MainWindowStartTest, ARefusedOrUnknownDeviceEndsTheStart) {
    DeviceProfile profile = Profile("R41T", "1052");
    device.UpdateProfile([&](DeviceProfile& p) { p = profile; });
    device.AddFault("/Getdeviceinfo.cgi", devicesim::Fault::Status(404));
    EXPECT_EQ(Start(profile).failureMessage, mainwindow::kDeviceInfoFailedMessage);
    device.SetReply("/Getdeviceinfo.cgi", devicesim::Reply::Ok(""));
    EXPECT_EQ(Start(profile).failureMessage, mainwindow::kDeviceInfoFailedMessage);
    device.SetHandler("/Getdeviceinfo.cgi", [](devicesim::DeviceSimulator&, const devicesim::Request&) {
        return devicesim::Reply::Ok("LIFETIME=-1;");
    });
    profile.productId = "X99Z";
    EXPECT_EQ(Start(profile).failureMessage, mainwindow::kUnknownProductMessage);
}

TEST_F(MainWindowStartTest, OldDvrFirmwareLosesTheRecordSearchOfItsLinkedRecorders) {
    ASSERT_EQ(Start(Profile("R41T", "1077")).failureMessage, 0u);
    EXPECT_EQ(app.dw_RecordSearchRemoved.load(), 1u);
    for (std::uint8_t type : {14, 19, 20, 21, 22, 23})
        EXPECT_TRUE(mainwindow::LacksRecordSearch(type)) << int(type);
    EXPECT_FALSE(mainwindow::LacksRecordSearch(11));
}

TEST(UserLevelTableTest, LevelsPickTheirRowsAndRowsTheirButtons) {
    EXPECT_EQ(mainwindow::UserLevelRowFor(30), 0);
    EXPECT_EQ(mainwindow::UserLevelRowFor(20), 1);
    EXPECT_EQ(mainwindow::UserLevelRowFor(0), 2);
    EXPECT_EQ(mainwindow::UserLevelRowFor(10), 3);
    EXPECT_EQ(mainwindow::UserLevelRowFor(7), 3);
    const auto& guest = mainwindow::UserLevelRowAt(2);
    EXPECT_EQ(guest.dwEnabled[mainwindow::kOpenPanelEntry], 0u);
    EXPECT_EQ(mainwindow::UserLevelRowAt(3).byRank, 20);
}

}  // namespace
