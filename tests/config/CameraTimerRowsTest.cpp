// The camera and timer pages' values over blocks 13 and 15: names as the
// device takes them, rows written field by field, and the stores Apply makes.

#include <gtest/gtest.h>

#include "config/ConfigWorkingSet.h"
#include "config/PageDevice.h"
#include "config/pages/CameraRows.h"
#include "config/pages/TimerRows.h"

namespace config {
namespace {

TEST(CameraName, KeepsCapitalsAndDigitsOfSixCharacters) {
    struct Case {
        const char* typed;
        const char* name;
        bool tooLong;
    };
    const Case cases[] = {
        {"ab-1", "AB1", false},      {"CAMERA12", "CAMERA", true}, {"cam 12", "CAM12", false},
        {"żółw1", "W1", false},      {"abcdefg", "ABCDEF", true},  {"", "", false},
    };
    for (const Case& c : cases) {
        const CameraNameInput input = FilterCameraName(c.typed);
        EXPECT_EQ(input.name, c.name) << c.typed;
        EXPECT_EQ(input.tooLong, c.tooLong) << c.typed;
    }
}

TEST(CameraRows, AnEditStoresOnlyItsBlockWithOnlyItsBytes) {
    testutil::PageDevice run("R43T", "1058");
    const auto liveBefore = run.DeviceBlock(13);
    const auto recBefore = run.DeviceBlock(15);
    {
        auto set = run.OpenSet();
        CameraRow row = LoadCameraRow(*set, 1);
        row.saturation = 77;
        const EditedBlocks edited = WriteCameraRow(*set, 1, row);
        EXPECT_EQ(SendCameraConfig(edited, run.Store(*set)), 1);
    }
    auto stores = run.Stores();
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Param("Option"), "DVRLIVE");
    EXPECT_EQ(stores[0].body.size(), 772u);
    auto expected = liveBefore;
    expected[53] = 77;
    EXPECT_EQ(run.DeviceBlock(13), expected);

    run.device->ClearRequests();
    auto set = run.OpenSet();
    CameraRow row = LoadCameraRow(*set, 0);
    ASSERT_EQ(row.record, 0);
    row.record = 1;
    row.name = "CAMERA";
    const EditedBlocks edited = WriteCameraRow(*set, 0, row);
    EXPECT_EQ(SendCameraConfig(edited, run.Store(*set)), 1);
    stores = run.Stores();
    ASSERT_EQ(stores.size(), 2u);
    EXPECT_EQ(stores[0].Param("Option"), "DVRLIVE");
    EXPECT_EQ(stores[1].Param("Option"), "DVRREC");
    const auto live = run.DeviceBlock(13);
    EXPECT_EQ(std::string(live.begin() + 116, live.begin() + 122), "CAMERA");
    EXPECT_EQ(live[122], expected[122]);  // the next channel's name is untouched
    auto recExpected = recBefore;
    recExpected[20] = 1;
    EXPECT_EQ(run.DeviceBlock(15), recExpected);
}

TEST(CameraRows, ARecordSwitchAloneStoresOnlyDvrrec) {
    testutil::PageDevice run("R43T", "1058");
    const auto liveBefore = run.DeviceBlock(13);
    const auto recBefore = run.DeviceBlock(15);
    auto set = run.OpenSet();
    CameraRow row = LoadCameraRow(*set, 0);
    ASSERT_EQ(row.record, 0);
    row.record = 1;
    const EditedBlocks edited = WriteCameraRow(*set, 0, row);
    EXPECT_EQ(SendCameraConfig(edited, run.Store(*set)), 1);
    const auto stores = run.Stores();
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Param("Option"), "DVRREC");
    auto recExpected = recBefore;
    recExpected[20] = 1;
    EXPECT_EQ(run.DeviceBlock(15), recExpected);
    EXPECT_EQ(run.DeviceBlock(13), liveBefore);
}

TEST(CameraRows, AFailedStoreStopsTheRoutine) {
    testutil::PageDevice run("R41T", "1058");
    auto set = run.OpenSet();
    CameraRow row = LoadCameraRow(*set, 4);
    row.hue = 1;
    row.record = 1 - row.record;
    const EditedBlocks edited = WriteCameraRow(*set, 4, row);
    run.device->AddFault("/SetSysCfg.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(SendCameraConfig(edited, run.Store(*set)), 0);
    EXPECT_EQ(run.Stores().size(), 1u);
    EXPECT_TRUE(set->Changed(13));
}

TEST(TimerRows, AnEditStoresBlock15WithTheOtherRowsAsStored) {
    testutil::PageDevice run("R41T", "1058");
    const auto before = run.DeviceBlock(15);
    auto set = run.OpenSet();
    const auto rows = LoadTimerRows(*set);
    EXPECT_EQ(rows[0].start, 0x0830);
    EXPECT_EQ(rows[5].day, 11);
    EXPECT_EQ(rows[6].start, 0x1E00);

    TimerEdits none;
    EXPECT_EQ(SendTimerRecord(none, *set, run.Store(*set)), 1);
    EXPECT_TRUE(run.Stores().empty());

    TimerEdits edits;
    edits[0] = {10, 17 * 256 + 5, 18 * 256};
    EXPECT_EQ(SendTimerRecord(edits, *set, run.Store(*set)), 1);
    const auto stores = run.Stores();
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Param("Option"), "DVRREC");
    auto expected = before;
    expected[87] = 10;
    expected[94] = 0x05;
    expected[95] = 0x11;
    expected[108] = 0x00;
    expected[109] = 0x12;
    EXPECT_EQ(run.DeviceBlock(15), expected);
}

}  // namespace
}  // namespace config
