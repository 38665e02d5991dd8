// The time server page's zone table, its synchronisation request and its
// block-8 writes.

#include <gtest/gtest.h>

#include "config/PageDevice.h"
#include "config/pages/SntpValues.h"
#include "config/pages/TimeZoneTable.h"
#include "res/StringTable.h"
#include "simulator/PageSettings.h"

namespace config {
namespace {

using devicesim::Bytes;

TEST(TimeZoneTable, RowsCarryTheirNamesOffsets) {
    ASSERT_EQ(TimeZoneTable.size(), 75u);
    for (std::size_t i = 0; i < TimeZoneTable.size(); ++i) {
        const TimeZoneRow& row = TimeZoneTable[i];
        EXPECT_EQ(row.stringId, 8448 + i);
        const std::string name(res::LoadString(row.stringId));
        ASSERT_FALSE(name.empty()) << i;
        char text[16];
        if (row.hours == 0 && row.minutes == 0)
            std::snprintf(text, sizeof text, "(GMT)");
        else
            std::snprintf(text, sizeof text, "(GMT%c%02d:%02d)", row.hours < 0 ? '-' : '+', std::abs(row.hours),
                          std::abs(row.minutes));
        EXPECT_EQ(name.rfind(text, 0), 0u) << name;
        EXPECT_TRUE(row.minutes == 0 || (row.minutes < 0) == (row.hours < 0)) << i;
    }
    EXPECT_EQ(TimeZoneTable[18].hours, -3);
    EXPECT_EQ(TimeZoneTable[18].minutes, -30);
    EXPECT_EQ(res::LoadString(8448 + 71), "(GMT+11:00) Magadan, Solomon Is,, New Caledonia");
    EXPECT_EQ(TimeZoneAt(75), nullptr);
    EXPECT_EQ(TimeZoneAt(-1), nullptr);
}

SntpValues Values(int timeMode, int zone, int serverMode, const std::string& server) {
    SntpValues values;
    values.timeMode.Load(timeMode);
    values.timeZone.Load(zone);
    values.serverMode.Load(serverMode);
    values.server.Load(server);
    return values;
}

TEST(SyncTimeRequest, ParametersInTheirOrder) {
    const PersonTime time{2007, 1, 5, 14, 3, 9};
    EXPECT_EQ(SyncTimeRequest(Values(1, 18, 1, ""), time, "C1"),
              "/SyncTime.cgi?Cookie=C1&Mode=1&ServerMode=1&NationID=18&Hour=-3&Minute=-30");
    EXPECT_EQ(SyncTimeRequest(Values(0, 18, 1, ""), time, ""),
              "/SyncTime.cgi?Mode=0&Year=2007&Month=1&Day=5&Hour=14&Minute=3&Second=9");
    EXPECT_EQ(SyncTimeRequest(Values(1, 30, 0, "pool.example"), time, "C1"),
              "/SyncTime.cgi?Cookie=C1&Mode=1&ServerMode=0&Server=pool.example&NationID=30&Hour=1&Minute=0");
    EXPECT_EQ(SyncTimeRequest(Values(1, 80, 1, ""), time, "C1"), "");  // no zone row: nothing to send
}

TEST(SendSntpConfig, OnlyTheTimeModeChangedWritesByteSix) {
    testutil::PageDevice device("R47T", "1007", devicesim::SetSntp);
    const Bytes before = device.DeviceBlock(8);
    auto set = device.OpenSet();
    SntpValues values = LoadSntpValues(*set);
    EXPECT_EQ(values.server.Loaded(), "ntp.lan");
    EXPECT_EQ(values.serverMode.Loaded(), kServerNamed);
    values.timeMode.Edit(0);
    SendSntpConfig(values, *set, device.Store(*set));
    ASSERT_EQ(device.Stores().size(), 1u);
    const Bytes after = device.DeviceBlock(8);
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i], i == 6 ? 0 : before[i]) << i;
}

TEST(SendSntpConfig, ZoneWritesItsOffsetAndAutomaticClearsTheName) {
    testutil::PageDevice device("G66M", "1010", devicesim::SetSntp);
    auto set = device.OpenSet();
    SntpValues values = LoadSntpValues(*set);
    values.timeZone.Edit(18);
    values.serverMode.Edit(kServerAutomatic);
    SendSntpConfig(values, *set, device.Store(*set));
    const Bytes after = device.DeviceBlock(8);
    EXPECT_EQ(after[5], 18);
    EXPECT_EQ(after[2], 0xFD);
    EXPECT_EQ(after[3], 0xE2);
    EXPECT_EQ(Bytes(after.begin() + 8, after.end()), Bytes(28, 0));
}

TEST(SendSntpConfig, UnknownStoredZoneIsKept) {
    testutil::PageDevice device("R47T", "1007", [](auto& p) {
        devicesim::SetSntp(p);
        p.blocks[8][5] = 80;
    });
    auto set = device.OpenSet();
    SntpValues values = LoadSntpValues(*set);
    SendSntpConfig(values, *set, device.Store(*set));
    EXPECT_TRUE(device.Stores().empty());
    EXPECT_FALSE(StoreSynchronisedSntp(values, *set, [](std::uint8_t) { return false; }));  // tried, refused
    EXPECT_FALSE(set->Changed(8));  // nothing differed from the block
}

}  // namespace
}  // namespace config
