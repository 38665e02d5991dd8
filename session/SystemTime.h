#pragma once
// A calendar date and time in the device's field layout: eight 16-bit fields
// (year, month, day of week, day, hour, minute, second, millisecond).

#include <cstdint>

namespace session {

struct SystemTime {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;

    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

}  // namespace session
