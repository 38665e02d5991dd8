#pragma once
// The time server page's zones: 75 rows, each the string id of its name and
// the offset from GMT, the minutes carrying the sign of the hours.

#include <array>
#include <cstdint>

namespace config {

struct TimeZoneRow {
    std::uint32_t stringId;
    std::int8_t hours;
    std::int8_t minutes;
};

inline constexpr std::size_t kTimeZoneCount = 75;
extern const std::array<TimeZoneRow, kTimeZoneCount> TimeZoneTable;

// The row of a zone index; null outside 0-74.
const TimeZoneRow* TimeZoneAt(int index);

}  // namespace config
