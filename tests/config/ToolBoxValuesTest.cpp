// The tool box page's device texts over blocks 7 and 10: texts longer than
// the page shows stay on the device unless edited, and a channel name goes
// into block 10 alone.

#include <gtest/gtest.h>

#include "config/ConfigWorkingSet.h"
#include "config/PageDevice.h"
#include "config/pages/ToolBoxValues.h"
#include "simulator/PageSettings.h"

namespace config {
namespace {

void LongTexts(devicesim::DeviceProfile& p) {
    devicesim::PutBlockText(p, 7, 20, 16, "LONGDESCRIPTION");
    devicesim::PutBlockText(p, 10, 44, 8, "CAMERA1");
    devicesim::PutBlockText(p, 10, 52, 8, "CAMERA2");
}

TEST(ToolBoxValues, LongTextsShowCutAndStayUnlessEdited) {
    testutil::PageDevice run("R47T", "1010", LongTexts);
    const auto system = run.DeviceBlock(7);
    auto set = run.OpenSet();
    const ToolBoxValues values = LoadToolBoxValues(*set);
    EXPECT_EQ(values.description.Loaded(), "LONGDESC");
    EXPECT_EQ(values.channelNames[0].Loaded(), "CAM");
    EXPECT_EQ(values.channelNames[1].Loaded(), "CAM");
    EXPECT_EQ(SendToolBoxConfig(values, *set, run.Store(*set), run.app), 1);
    EXPECT_TRUE(run.Stores().empty());
    EXPECT_EQ(run.DeviceBlock(7), system);
}

TEST(ToolBoxValues, AChannelNameIsStoredInBlock10WithTheOtherNameAsItWas) {
    testutil::PageDevice run("R47T", "1010", LongTexts);
    const auto system = run.DeviceBlock(7);
    const auto rs485 = run.DeviceBlock(10);
    run.app.str_DeviceName = "OLD";
    auto set = run.OpenSet();
    ToolBoxValues values = LoadToolBoxValues(*set);
    values.channelNames[1].Edit("K2");
    EXPECT_EQ(SendToolBoxConfig(values, *set, run.Store(*set), run.app), 1);
    const auto stores = run.Stores();
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Param("Option"), "RS485");
    auto expected = rs485;
    std::fill(expected.begin() + 52, expected.begin() + 60, 0);
    std::copy_n("K2", 2, expected.begin() + 52);
    EXPECT_EQ(run.DeviceBlock(10), expected);  // "CAMERA1" at 44 untouched
    EXPECT_EQ(run.DeviceBlock(7), system);
    EXPECT_EQ(run.app.str_DeviceName.Get(), "OLD");
}

TEST(ToolBoxValues, ARefusedDescriptionLeavesTheDeviceNameAlone) {
    testutil::PageDevice run("R41T", "1058");
    run.app.str_DeviceName = "OLD";
    auto set = run.OpenSet();
    ToolBoxValues values = LoadToolBoxValues(*set);
    values.description.Edit("DVR2");
    run.device->AddFault("/SetSysCfg.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(SendToolBoxConfig(values, *set, run.Store(*set), run.app), 1);  // failures are silent
    EXPECT_EQ(run.failedStores, 1);
    EXPECT_EQ(run.app.str_DeviceName.Get(), "OLD");
}

}  // namespace
}  // namespace config
