// The sheet's decisions without a window: page sets and buttons per family,
// the values as loaded, the PPPoE check and the control-device rebuilds.

#include <gtest/gtest.h>

#include "config/ConfigWorkingSet.h"
#include "config/sheet/ControlDeviceRebuild.h"
#include "config/sheet/SheetContext.h"
#include "config/sheet/SheetLocalSettings.h"
#include "config/sheet/SheetPageSet.h"
#include "fakes/RecordingUiPort.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"
#include "support/TempFolder.h"

namespace config {
namespace {

TEST(SheetPageSet, PagesAndButtonsPerFamily) {
    struct Case {
        const char* product;
        bool linkedDvr;
        std::size_t pages;
        bool apply, restart;
    };
    const Case cases[] = {
        {"R41T", true, 18, true, false}, {"R43T", false, 17, true, false}, {"R47T", false, 12, true, true},
        {"G66M", false, 11, true, true}, {"N53H", false, 9, true, false},  {"X1", false, 0, false, false},
    };
    for (const Case& c : cases) {
        const DeviceFacts facts{c.product, "1052"};
        const auto pages = PageSetFor(facts, c.linkedDvr);
        EXPECT_EQ(pages.size(), c.pages) << c.product;
        EXPECT_EQ(SheetButtonsFor(facts).apply, c.apply) << c.product;
        EXPECT_EQ(SheetButtonsFor(facts).restart, c.restart) << c.product;
    }
    const auto dvr = PageSetFor({"R41T", "1052"}, false);
    EXPECT_EQ(dvr[13], SheetPageId::ToolBox);  // page 14 without the alarm list
    EXPECT_EQ(PageCaption(SheetPageId::Peripheral), "Peripheral");
}

TEST(SheetContext, MailTextsEndInsideTheirFieldsAsLoaded) {
    session::AppData app;
    app.SysCfg.Update([](session::SysCfgBlocks& b) {
        for (std::size_t offset : {71u, 87u, 407u, 439u})
            b.by_SysCfgOption4[offset] = 'x';
    });
    SheetContext context(app, DeviceFacts{"R41T", "1027"}, {});
    for (std::size_t offset : kSmtpTextEnds) {
        EXPECT_EQ(context.set.Working(4)[offset], 0) << offset;
        EXPECT_EQ(context.set.Loaded(4)[offset], 0) << offset;
    }
    EXPECT_FALSE(context.set.Changed(4));
    EXPECT_EQ(app.SysCfg.Get().by_SysCfgOption4[87], 'x');  // the session's block is not touched
}

TEST(SheetLocalSettings, PppoeNeedsDdnsFromThePageOrTheBlock) {
    SheetPageValues values;
    values.networkType = 1;
    EXPECT_TRUE(PppoeWithoutDdns(values, 0, 0));
    EXPECT_FALSE(PppoeWithoutDdns(values, 0, 1));
    values.ddnsEnable = true;
    EXPECT_FALSE(PppoeWithoutDdns(values, 0, 0));
    EXPECT_FALSE(PppoeWithoutDdns({}, 2, 0));
    EXPECT_TRUE(PppoeWithoutDdns({}, 1, 0));
}

TEST(SheetLocalSettings, ReportedValuesReachTheSettingsAndTheFoldersAreMade) {
    testutil::TempFolder folder;
    session::AppData app;
    app.CSettingINI.m_strTriggerWavPath = "kept.wav";
    SheetPageValues values;
    values.recordPath = (folder.path() / "rec").string();
    values.snapshotPath = (folder.path() / "snap" / "deep").string();
    values.alarmAutoSwitchVideo = 1;
    values.turboIndex = 2;
    values.searchListMaxNumber = 64;
    ApplyLocalSettings(values, app);
    EXPECT_EQ(app.CSettingINI.m_strRecordPath.Get(), *values.recordPath);
    EXPECT_EQ(app.CSettingINI.m_strTriggerWavPath.Get(), "kept.wav");  // no page reported it
    EXPECT_EQ(app.CSettingINI.m_byAlarmAutoSwitchVideo, 1);
    EXPECT_EQ(app.by_TurboRepeatStep, 3);
    EXPECT_EQ(app.CSettingINI.m_wSearchListMaxNumber, 64);
    EXPECT_TRUE(std::filesystem::is_directory(*values.recordPath));
    EXPECT_TRUE(std::filesystem::is_directory(*values.snapshotPath));
}

struct RebuildFixture : ::testing::Test {
    session::AppData app;
    fakes::RecordingUiPort ui;
    mainwindow::ControlDeviceList& list = app.C_ControlD;
    std::array<std::uint8_t, 124> rs485{};

    void SetChannel(std::size_t c, std::uint8_t address, bool enabled, bool pelco, std::uint32_t baud) {
        rs485[12 + c] = address;
        rs485[28 + c] = enabled;
        rs485[44 + c] = pelco;
        for (int i = 0; i < 4; ++i)
            rs485[60 + 4 * c + i] = static_cast<std::uint8_t>(baud >> (8 * i));
    }
};

TEST_F(RebuildFixture, PeripheralsBecomeTwoMastersCurrentByChannel) {
    const std::uint8_t peri[16] = {0, 0, 25, 8, 0x80, 0x25, 0, 0, 0x60, 0x09, 0, 0, 7, 9, 0, 0};
    for (std::uint8_t channel : {1, 2}) {
        RebuildForPeripherals(peri, channel, list, ui);
        EXPECT_TRUE(list.IsCurrentMaster());
        EXPECT_EQ(list.GetMasterType(0), 25);
        EXPECT_EQ(list.GetMasterType(1), 8);
        EXPECT_EQ(list.GetCurrentAddress(), channel == 1 ? 7 : 9);
    }
    EXPECT_EQ(ui.Count("relayout"), 2);
}

TEST_F(RebuildFixture, MultiChannelDvrListsTheChannelsAsMasters) {
    list.AddDevice(0, 0, 19, mainwindow::kControlDeviceMaster);
    list.MakeCurrent(mainwindow::kControlDeviceMaster, 0);
    SetChannel(0, 5, true, true, 9600);
    SetChannel(1, 6, true, false, 4800);
    RebuildForRs485(rs485, DeviceFacts{"R41T", "1052", 0, 1}, list, ui);
    EXPECT_EQ(list.GetMasterType(0), 19);
    EXPECT_EQ(list.GetMasterType(1), mainwindow::kTypePtzPelco);
    EXPECT_EQ(list.GetMasterType(2), mainwindow::kTypePtzSlave);
    EXPECT_EQ(list.GetMasterType(3), 0);
    EXPECT_EQ(list.GetSlaveType(0), 0);  // no slaves
    EXPECT_EQ(list.GetCurrentOrdinal(), 0);
    EXPECT_EQ(ui.Calls(), std::vector<std::string>{"relayout"});
}

TEST_F(RebuildFixture, OtherwiseSlavesAndAFallbackWhenTheCurrentSlaveIsGone) {
    list.AddDevice(0, 0, 19, mainwindow::kControlDeviceMaster);
    list.AddDevice(9600, 3, mainwindow::kTypePtzSlave, mainwindow::kControlDeviceSlave);
    list.AddDevice(9600, 4, mainwindow::kTypePtzSlave, mainwindow::kControlDeviceSlave);
    list.MakeCurrent(mainwindow::kControlDeviceSlave, 1);
    SetChannel(1, 4, true, false, 9600);  // the current slave keeps PTZ
    RebuildForRs485(rs485, DeviceFacts{"R41T", "1052", 0, 0}, list, ui);
    EXPECT_FALSE(list.IsCurrentMaster());
    EXPECT_EQ(list.GetCurrentAddress(), 4);
    EXPECT_EQ(ui.Calls(), std::vector<std::string>{"relayout"});

    SetChannel(1, 4, false, false, 9600);  // now it has none: back to the recorder
    RebuildForRs485(rs485, DeviceFacts{"R41T", "1052", 0, 0}, list, ui);
    EXPECT_TRUE(list.IsCurrentMaster());
    EXPECT_EQ(list.GetCurrentType(), 19);
    std::string on, off;
    session::SplitCaptionPair(8312, on, off);
    EXPECT_EQ(ui.Calls(), (std::vector<std::string>{"relayout", "buttonimage:8312,0," + on, "relayout"}));
    EXPECT_EQ(on, "STEROWANI_PTZ_ZAŁ");
}

}  // namespace
}  // namespace config
