// The DVR date page's device side: the read of "/GetDvrDate.cgi" and the
// "/SetDvrDate.cgi" request built from the page's choices.

#include <gtest/gtest.h>

#include <string>

#include "config/PageDevice.h"
#include "config/dvr/DvrDateSettings.h"
#include "config/dvr/DvrSettingsRead.h"
#include "session/net/CgiCommandTable.h"
#include "simulator/Reply.h"

namespace config {
namespace {

using K = DvrDateKey;
constexpr const char* kCookie = testutil::PageDevice::kCookie;

// The simulator's default date state: 2006-03-14 09:26:53, rule 4/0/2 02:00 to 4/0/9 03:00, shift 01:00.
DVRDatePageState Device() {
    DVRDatePageState d;
    d.values = {2006, 3, 14, 9, 26, 53, 0, 0, 4, 0, 2, 2, 0, 4, 0, 9, 3, 0, 1, 0};
    return d;
}

std::string Target(const std::optional<session::CgiRequest>& request) {
    return request ? std::string(request->Text()) : std::string("(none)");
}

// The request is the head given, then the device's own rule.
testing::AssertionResult Sends(const std::optional<session::CgiRequest>& request, std::string_view head) {
    constexpr std::string_view kRule =
        "STARTWEEKINDEX=4&STARTDAYOFWEEK=0&STARTMONTH=2&STARTHOUR=2&STARTMINUTE=0&"
        "ENDWEEKINDEX=4&ENDDAYOFWEEK=0&ENDMONTH=9&ENDHOUR=3&ENDMINUTE=0&ADJUSTHOUR=1&ADJUSTMINUTE=0";
    const std::string target = Target(request);
    if (target.size() == head.size() + kRule.size() && target.starts_with(head) && target.ends_with(kRule))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << target;
}

TEST(DvrDateRequest, SendsEveryKeyWithTheFlagsOfTheChangedGroups) {
    const DVRDatePageState device = Device();
    EXPECT_EQ(Target(DvrDateRequest(device, ChoiceOf(device), kCookie)), "(none)");

    DvrDateChoice date = ChoiceOf(device);
    date.date = DvrDateChoice::Date{2007, 1, 5};
    date.time = DvrDateChoice::Time{9, 26, 53};  // the picker shows the time read at opening
    EXPECT_TRUE(Sends(DvrDateRequest(device, date, kCookie),
                      "/SetDvrDate.cgi?Cookie=5A17C0DE&YEAR=2007&MONTH=1&DAY=5&DAYOFWEEK=5&HOUR=9&MINUTE=26&"
                      "SECOND=53&FORMAT=0&DAYLIGHTSAVING=0&CHDATE=1&CHFORMAT=0&CHDAYLIGHT=0&CHDAYLIGHTTIME=0&"));

    DvrDateChoice daylight = ChoiceOf(device);
    daylight.daylightOn = true;
    EXPECT_TRUE(Sends(DvrDateRequest(device, daylight, ""),
                      "/SetDvrDate.cgi?YEAR=2006&MONTH=3&DAY=14&DAYOFWEEK=2&HOUR=9&MINUTE=26&SECOND=53&FORMAT=0&"
                      "DAYLIGHTSAVING=1&CHDATE=0&CHFORMAT=0&CHDAYLIGHT=1&CHDAYLIGHTTIME=0&"));

    DvrDateChoice rule = ChoiceOf(device);
    rule.endMonth = 10;
    rule.adjust = HourMinute{0, 30};
    rule.start = HourMinute{2, 0};  // touched, but the same hour and minute
    const std::string ruleTarget = Target(DvrDateRequest(device, rule, kCookie));
    EXPECT_NE(ruleTarget.find("CHDATE=0&CHFORMAT=0&CHDAYLIGHT=0&CHDAYLIGHTTIME=1&"), std::string::npos);
    EXPECT_NE(ruleTarget.find("ENDMONTH=10&ENDHOUR=3&ENDMINUTE=0&ADJUSTHOUR=0&ADJUSTMINUTE=30"), std::string::npos);
    EXPECT_NE(ruleTarget.find("STARTHOUR=2&STARTMINUTE=0"), std::string::npos);
}

TEST(DvrDateRequest, ListsWithoutASelectionSendTheDevicesValue) {
    DVRDatePageState device = Device();
    device[K::Format] = 3;
    device[K::StartWeekIndex] = 5;
    DvrDateChoice page = ChoiceOf(device);
    page.format = -1;
    page.startWeek = -1;
    page.daylightOn = true;
    const std::string target = Target(DvrDateRequest(device, page, kCookie));
    EXPECT_NE(target.find("FORMAT=3&DAYLIGHTSAVING=1&CHDATE=0&CHFORMAT=0&CHDAYLIGHT=1&CHDAYLIGHTTIME=0&"
                          "STARTWEEKINDEX=5&"),
              std::string::npos)
        << target;
    EXPECT_EQ(target.find("-1"), std::string::npos);
}

TEST(DvrDateRequest, DayOfWeekOfTheDate) {
    EXPECT_EQ(DayOfWeek(2007, 1, 5), 5);
    EXPECT_EQ(DayOfWeek(2006, 3, 12), 0);
    EXPECT_EQ(DayOfWeek(2008, 2, 29), 5);
    EXPECT_EQ(DayOfWeek(2007, 2, 30), 0);  // no such date
}

TEST(ReadDvrSettings, ReadsTheDevicesKeysOrFails) {
    testutil::PageDevice run("R41T", "1058");
    const auto timing = run.timing;

    // Rule months and daylight saving before MONTH and DAY.
    run.device->UpdateProfile([](devicesim::DeviceProfile& p) {
        std::rotate(p.dvrDate.begin(), p.dvrDate.begin() + 6, p.dvrDate.end());
        devicesim::DeviceProfile::KeyValues front{{"ENDMONTH", 11}, {"STARTMONTH", 1}, {"DAYLIGHTSAVING", 1}};
        p.dvrDate.insert(p.dvrDate.begin(), front.begin(), front.end());
    });
    const auto values = ReadDvrSettings(run.app, timing, session::CMD_GET_DVR_DATE, kDvrDateKeys);
    ASSERT_TRUE(values);
    const auto read = DVRDatePageState::From(values->values);
    EXPECT_EQ(read[K::Month], 3);
    EXPECT_EQ(read[K::Day], 14);
    EXPECT_EQ(read[K::StartMonth], 1);
    EXPECT_EQ(read[K::EndMonth], 11);
    EXPECT_EQ(read[K::DaylightSaving], 1);
    EXPECT_EQ(run.Targets("/GetDvrDate.cgi"), std::vector<std::string>{"/GetDvrDate.cgi?Cookie=5A17C0DE"});

    const devicesim::Fault overLong{"overLong", [](devicesim::Reply& r) { r.body.append(1100, ' '); }};
    const devicesim::Fault filled{"filled", [](devicesim::Reply& r) { r.body.resize(1024, ' '); }};
    for (const auto& fault : {devicesim::Fault::Status(500), overLong, filled}) {
        SCOPED_TRACE(fault.name);
        run.device->AddFault("/GetDvrDate.cgi", fault);
        EXPECT_FALSE(ReadDvrSettings(run.app, timing, session::CMD_GET_DVR_DATE, kDvrDateKeys));
    }
    // A reply lacking a key is still read; the key reads 0.
    run.device->UpdateProfile([](devicesim::DeviceProfile& p) {
        std::erase_if(p.dvrDate, [](const auto& item) { return item.first == "ADJUSTMINUTE"; });
    });
    const auto lacking = ReadDvrSettings(run.app, timing, session::CMD_GET_DVR_DATE, kDvrDateKeys);
    ASSERT_TRUE(lacking);
    EXPECT_EQ(lacking->values[static_cast<std::size_t>(K::AdjustMinute)], 0);
    EXPECT_FALSE(lacking->given[static_cast<std::size_t>(K::AdjustMinute)]);
    EXPECT_EQ(lacking->values[static_cast<std::size_t>(K::Month)], 3);
}

}  // namespace
}  // namespace config
