#include "config/dvr/DvrDateSettings.h"

#include <algorithm>
#include <chrono>
#include <tuple>
#include <utility>

#include "config/DeviceRequest.h"
#include "session/net/CgiCommandTable.h"

namespace config {

namespace {

using K = DvrDateKey;

// A list's choice: its selection when it has one, else the device's value.
int Chosen(int selection, std::uint16_t device) { return selection >= 0 ? selection : device; }

}  // namespace

DvrDateChoice ChoiceOf(const DVRDatePageState& d) {
    DvrDateChoice c;
    c.format = d[K::Format];
    c.daylightOn = d[K::DaylightSaving] != 0;
    c.startWeek = d[K::StartWeekIndex];
    c.startDay = d[K::StartDayOfWeek];
    c.startMonth = d[K::StartMonth];
    c.endWeek = d[K::EndWeekIndex];
    c.endDay = d[K::EndDayOfWeek];
    c.endMonth = d[K::EndMonth];
    return c;
}

int DayOfWeek(int year, int month, int day) {
    using namespace std::chrono;
    const year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                              std::chrono::day(static_cast<unsigned>(day))};
    return date.ok() ? static_cast<int>(weekday(sys_days(date)).c_encoding()) : 0;
}

std::optional<session::CgiRequest> DvrDateRequest(const DVRDatePageState& device, const DvrDateChoice& page,
                                                  std::string_view cookie) {
    DVRDatePageState sent = device;
    int chDate = 0;
    if (page.date && (page.date->year != device[K::Year] || page.date->month != device[K::Month] ||
                      page.date->day != device[K::Day]))
        chDate = 1;
    if (page.time && (page.time->hour != device[K::Hour] || page.time->minute != device[K::Minute] ||
                      page.time->second != device[K::Second]))
        chDate = 1;
    // A changed clock sends both pickers, so the time read at opening goes with a new date.
    if (chDate) {
        const auto date = page.date.value_or(DvrDateChoice::Date{device[K::Year], device[K::Month], device[K::Day]});
        const auto time =
            page.time.value_or(DvrDateChoice::Time{device[K::Hour], device[K::Minute], device[K::Second]});
        sent[K::Year] = static_cast<std::uint16_t>(date.year);
        sent[K::Month] = static_cast<std::uint16_t>(date.month);
        sent[K::Day] = static_cast<std::uint16_t>(date.day);
        sent[K::Hour] = static_cast<std::uint16_t>(time.hour);
        sent[K::Minute] = static_cast<std::uint16_t>(time.minute);
        sent[K::Second] = static_cast<std::uint16_t>(time.second);
    }

    const int format = Chosen(page.format, device[K::Format]);
    const int chFormat = format != device[K::Format] ? 1 : 0;
    const int chDaylight = page.daylightOn != (device[K::DaylightSaving] != 0) ? 1 : 0;

    int chRule = 0;
    const std::pair<int, K> lists[] = {
        {page.startWeek, K::StartWeekIndex}, {page.startDay, K::StartDayOfWeek}, {page.startMonth, K::StartMonth},
        {page.endWeek, K::EndWeekIndex},     {page.endDay, K::EndDayOfWeek},     {page.endMonth, K::EndMonth},
    };
    for (const auto& [selection, key] : lists) {
        const int value = Chosen(selection, device[key]);
        if (value != device[key]) {
            sent[key] = static_cast<std::uint16_t>(value);
            chRule = 1;
        }
    }
    const std::tuple<const std::optional<HourMinute>&, K, K> pickers[] = {
        {page.start, K::StartHour, K::StartMinute},
        {page.end, K::EndHour, K::EndMinute},
        {page.adjust, K::AdjustHour, K::AdjustMinute},
    };
    for (const auto& [picked, hourKey, minuteKey] : pickers) {
        if (picked && (picked->hour != device[hourKey] || picked->minute != device[minuteKey])) {
            sent[hourKey] = static_cast<std::uint16_t>(picked->hour);
            sent[minuteKey] = static_cast<std::uint16_t>(picked->minute);
            chRule = 1;
        }
    }
    if (!chDate && !chFormat && !chDaylight && !chRule)
        return std::nullopt;

    auto request = RequestWithCookie(session::CMD_SET_DVR_DATE, cookie);
    auto add = [&](std::string_view key, int value) { request.AddIntParam(key, value); };
    auto addKey = [&](K key) { add(kDvrDateKeys[static_cast<std::size_t>(key)].key, sent[key]); };
    for (K key : {K::Year, K::Month, K::Day})
        addKey(key);
    add("DAYOFWEEK", DayOfWeek(sent[K::Year], sent[K::Month], sent[K::Day]));
    for (K key : {K::Hour, K::Minute, K::Second})
        addKey(key);
    add("FORMAT", format);
    add("DAYLIGHTSAVING", chDaylight ? (page.daylightOn ? 1 : 0) : device[K::DaylightSaving]);
    add("CHDATE", chDate);
    add("CHFORMAT", chFormat);
    add("CHDAYLIGHT", chDaylight);
    add("CHDAYLIGHTTIME", chRule);
    for (auto key = static_cast<std::size_t>(K::StartWeekIndex); key < kDvrDateKeys.size(); ++key)
        addKey(static_cast<K>(key));
    return request;
}

}  // namespace config
