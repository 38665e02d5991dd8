#pragma once
// The DVR's clock, date order and daylight-saving rule as "/GetDvrDate.cgi"
// gives them, and the "/SetDvrDate.cgi" request that sends the date page's
// choices back with one change flag per group.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "config/dvr/KeyValueReply.h"
#include "session/net/CgiRequest.h"

namespace config {

// The reply's keys, in the order of the page's record.
enum class DvrDateKey : std::uint8_t {
    Year, Month, Day, Hour, Minute, Second, Format, DaylightSaving,
    StartWeekIndex, StartDayOfWeek, StartMonth, StartHour, StartMinute,
    EndWeekIndex, EndDayOfWeek, EndMonth, EndHour, EndMinute,
    AdjustHour, AdjustMinute,
    Count,
};
inline constexpr std::array<KeyValueKey, static_cast<std::size_t>(DvrDateKey::Count)> kDvrDateKeys{{
    {"YEAR", 16}, {"MONTH", 16}, {"DAY", 16}, {"HOUR", 16}, {"MINUTE", 16}, {"SECOND", 16},
    {"FORMAT", 8}, {"DAYLIGHTSAVING", 8},
    {"STARTWEEKINDEX", 8}, {"STARTDAYOFWEEK", 8}, {"STARTMONTH", 8}, {"STARTHOUR", 8}, {"STARTMINUTE", 8},
    {"ENDWEEKINDEX", 8}, {"ENDDAYOFWEEK", 8}, {"ENDMONTH", 8}, {"ENDHOUR", 8}, {"ENDMINUTE", 8},
    {"ADJUSTHOUR", 8}, {"ADJUSTMINUTE", 8},
}};

// What the device gave (MONTH 1-12; the rule's week, day and month are list indexes, month 0-11).
struct DVRDatePageState {
    std::array<std::uint16_t, static_cast<std::size_t>(DvrDateKey::Count)> values{};
    std::uint16_t operator[](DvrDateKey key) const { return values[static_cast<std::size_t>(key)]; }
    std::uint16_t& operator[](DvrDateKey key) { return values[static_cast<std::size_t>(key)]; }
    // From the values of a read, in the keys' order.
    static DVRDatePageState From(std::span<const std::uint16_t> read) {
        DVRDatePageState state;
        std::copy_n(read.begin(), std::min(read.size(), state.values.size()), state.values.begin());
        return state;
    }
};

struct HourMinute {
    int hour = 0;
    int minute = 0;
    bool operator==(const HourMinute&) const = default;
};

// The date page's controls at Apply. A list without a selection is -1 and a
// picker the person never touched is none: both leave the device's value.
struct DvrDateChoice {
    struct Date {
        int year = 0, month = 0, day = 0;  // month 1-12
        bool operator==(const Date&) const = default;
    };
    struct Time {
        int hour = 0, minute = 0, second = 0;
        bool operator==(const Time&) const = default;
    };
    std::optional<Date> date;
    std::optional<Time> time;
    int format = -1;
    bool daylightOn = false;
    int startWeek = -1, startDay = -1, startMonth = -1;
    int endWeek = -1, endDay = -1, endMonth = -1;
    std::optional<HourMinute> start, end, adjust;
};

// The page's choices as the device gave them (no change at all).
DvrDateChoice ChoiceOf(const DVRDatePageState& device);

// 0 Sunday ... 6 Saturday; 0 for a date that does not exist.
int DayOfWeek(int year, int month, int day);

// "/SetDvrDate.cgi" with every key, or none when no group changed.
std::optional<session::CgiRequest> DvrDateRequest(const DVRDatePageState& device, const DvrDateChoice& page,
                                                  std::string_view cookie);


}  // namespace config
