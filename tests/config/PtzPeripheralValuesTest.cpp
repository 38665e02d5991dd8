// The PTZ device and peripheral pages' values over blocks 10 and 16: every
// channel copied back as loaded, list indexes compared with the loaded ones,
// and the change flags raised only after the device took the block.

#include <gtest/gtest.h>

#include "config/ConfigWorkingSet.h"
#include "config/PageDevice.h"
#include "config/pages/PeripheralValues.h"
#include "config/pages/PtzRows.h"

namespace config {
namespace {

TEST(PtzRows, AllChannelsGoBackWithOnlyTheEditedBytesChanged) {
    testutil::PageDevice run("R43T", "1058");
    const auto before = run.DeviceBlock(10);
    auto set = run.OpenSet();
    PtzRows rows = LoadPtzRows(*set);
    EXPECT_EQ(rows[0].type, 3);
    EXPECT_EQ(rows[1].baud, 1200u);
    rows[2] = {1, 7, 1, 9600};
    bool stored = false;
    EXPECT_EQ(SendDeviceConfig(rows, *set, run.Store(*set), &stored), 1);
    EXPECT_TRUE(stored);
    const auto stores = run.Stores();
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Param("Option"), "RS485");
    auto expected = before;
    expected[14] = 7;
    expected[30] = 1;
    expected[46] = 1;
    expected[68] = 0x80;
    expected[69] = 0x25;
    expected[70] = 0;
    expected[71] = 0;
    EXPECT_EQ(run.DeviceBlock(10), expected);
}

TEST(PtzRows, ARefusedStoreRaisesNoFlag) {
    testutil::PageDevice run("R41T", "1058");
    auto set = run.OpenSet();
    PtzRows rows = LoadPtzRows(*set);
    rows[5].address = 9;
    run.device->AddFault("/SetSysCfg.cgi", devicesim::Fault::Status(500));
    bool stored = false;
    EXPECT_EQ(SendDeviceConfig(rows, *set, run.Store(*set), &stored), 0);
    EXPECT_FALSE(stored);
    EXPECT_EQ(run.failedStores, 1);
}

TEST(PeripheralValues, UnknownCodesStayUnlessAnotherItemIsPicked) {
    testutil::PageDevice run("R47T", "1010");
    const auto before = run.DeviceBlock(16);
    auto set = run.OpenSet();
    PeripheralValues values = LoadPeripheralValues(*set);
    EXPECT_EQ(values[0].modelIndex.Loaded(), 10);  // 25 "PTZ(P-D)"
    EXPECT_EQ(values[1].modelIndex.Loaded(), 0);   // 12 shows "CAMERA"
    EXPECT_EQ(values[0].speedIndex.Loaded(), 0);   // 1200 shows "2400"

    values[1].modelIndex.Edit(0);
    values[0].speedIndex.Edit(0);
    bool changed = false;
    EXPECT_EQ(SendPeripheralConfig(values, *set, run.Store(*set), &changed), 1);
    EXPECT_FALSE(changed);
    EXPECT_TRUE(run.Stores().empty());

    values[1].id.Edit(9);
    EXPECT_EQ(SendPeripheralConfig(values, *set, run.Store(*set), &changed), 1);
    EXPECT_TRUE(changed);
    auto expected = before;
    expected[13] = 9;
    EXPECT_EQ(run.DeviceBlock(16), expected);

    auto next = run.OpenSet();
    PeripheralValues speed = LoadPeripheralValues(*next);
    speed[1].speedIndex.Edit(6);
    changed = false;
    EXPECT_EQ(SendPeripheralConfig(speed, *next, run.Store(*next), &changed), 1);
    EXPECT_FALSE(changed);
    EXPECT_EQ(run.Stores().size(), 2u);
    EXPECT_EQ(run.DeviceBlock(16)[8], 0x00);  // 115200 = 0x1C200
    EXPECT_EQ(run.DeviceBlock(16)[9], 0xC2);
    EXPECT_EQ(run.DeviceBlock(16)[10], 0x01);
}

}  // namespace
}  // namespace config
