// The detection and alarm pages' values over blocks 13 and 11: rows written
// field by field, the route that brings a channel onto the picture, the
// reaction toggles and video sources, and what Apply stores.

#include <gtest/gtest.h>

#include "config/ConfigWorkingSet.h"
#include "config/PageDevice.h"
#include "config/pages/AlarmValues.h"
#include "config/pages/DetectionChannel.h"
#include "config/pages/DetectionRows.h"

namespace config {
namespace {

TEST(DetectionRows, AnEditStoresBlock13ThenBlock11WithOnlyItsBytes) {
    testutil::PageDevice run("R41T", "1058");
    const auto liveBefore = run.DeviceBlock(13);
    const auto alarmBefore = run.DeviceBlock(11);
    auto set = run.OpenSet();
    DetectionRow row = LoadDetectionRow(*set, 15);
    EXPECT_EQ(row.re, 45);
    EXPECT_EQ(row.area[1], 15 * 16 + 7);
    row.detection = 0;
    row.re = 61;
    row.area[23] ^= 0x80;
    row.alarmType = 2;
    const EditedBlocks edited = WriteDetectionRow(*set, 15, row);
    EXPECT_EQ(LoadDetectionRow(*set, 15), row);
    EXPECT_EQ(SendDetectionConfig(edited, run.Store(*set)), 1);
    const auto stores = run.Stores();
    ASSERT_EQ(stores.size(), 2u);
    EXPECT_NE(stores[0].target.find("Option=DVRLIVE"), std::string::npos);
    EXPECT_NE(stores[1].target.find("Option=ALARM"), std::string::npos);
    auto live = liveBefore;
    live[308 + 15] = 0;
    live[372 + 15] = 61;
    live[388 + 24 * 15 + 23] ^= 0x80;
    EXPECT_EQ(run.DeviceBlock(13), live);
    auto alarm = alarmBefore;
    alarm[8 + 15] = 2;
    EXPECT_EQ(run.DeviceBlock(11), alarm);
}

TEST(DetectionChannel, RouteByMasterFamilyAndBar) {
    using Kind = DetectionChannelRoute::Kind;
    struct Case {
        bool master, dvr;
        std::uint8_t multiChannel, bar;
        DetectionChannelRoute route;
    };
    const Case cases[] = {
        {true, true, 1, 5, {Kind::SwitchChannel, 3}}, {true, true, 1, 0, {Kind::PanelCommand, 2}},
        {true, true, 0, 5, {Kind::PanelCommand, 2}},  {false, true, 1, 0, {Kind::SwitchChannel, 3}},
        {false, true, 0, 0, {}},                      {true, false, 0, 0, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetectionChannelRouteFor(c.master, c.dvr, c.multiChannel, c.bar, 2), c.route)
            << c.master << c.dvr << int(c.multiChannel) << int(c.bar);
}

TEST(AlarmValues, TogglesKeepOneBoxCheckedAndSourcesFollowTheRadios) {
    const std::uint8_t email[] = {1, 1, 3, 2}, ftp[] = {2, 3, 2, 1};
    for (std::uint8_t r = 0; r < 4; ++r) {
        EXPECT_EQ(ToggleEmail(r), email[r]) << int(r);
        EXPECT_EQ(ToggleFtp(r), ftp[r]) << int(r);
    }
    EXPECT_TRUE(InputOnChannel2(0x05, 1));
    EXPECT_FALSE(InputOnChannel2(0x05, 2));
    EXPECT_EQ(SetVideoSource(0x05, 2, 2), 0x07);
    EXPECT_EQ(SetVideoSource(0x05, 3, 1), 0x01);
}

TEST(AlarmValues, ApplyWritesWhatDiffersFromTheLoadedBlock) {
    testutil::PageDevice run("R47T", "1058");
    auto set = run.OpenSet();
    const LoadedAlarmValues loaded = LoadAlarmValues(*set);
    EXPECT_EQ(loaded.pictureIndex, -1);  // 12 pictures
    EXPECT_EQ(loaded.timeIndex, 4);      // 1800 s
    EXPECT_EQ(loaded.values.videoSource, 0x05);
    EXPECT_EQ(SendAlarmConfig(*set, loaded.values, run.Store(*set)), 1);
    EXPECT_TRUE(run.Stores().empty());

    AlarmValues values = loaded.values;
    values.timeIndex = 5;     // AUTO
    values.pictureIndex = 0;  // one picture
    EXPECT_EQ(SendAlarmConfig(*set, values, run.Store(*set)), 1);
    ASSERT_EQ(run.Stores().size(), 1u);
    const auto block = run.DeviceBlock(11);
    EXPECT_EQ(block[6] | block[7] << 8, 65535);
    EXPECT_EQ(block[2], 1);
    EXPECT_EQ(block[5], 2);  // the picture size has no control: never rewritten

    run.device->AddFault("/SetSysCfg.cgi", devicesim::Fault::Status(500));
    values.reaction = 0;
    EXPECT_EQ(SendAlarmConfig(*set, values, run.Store(*set)), 0);
}

}  // namespace
}  // namespace config
