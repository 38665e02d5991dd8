#pragma once
// One event of the device's log, 32 bytes as the device sends it, and the
// limits of a fetch.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace config {

inline constexpr std::size_t kLogRecordSize = 32;
inline constexpr std::size_t kLogMaxRecords = 2048;
inline constexpr std::size_t kLogPageSize = 30;      // records of a full page
inline constexpr std::uint32_t kLogHiddenEvent = 0xFFFF;  // never listed

struct DeviceLogRecord {
    std::uint32_t dwEvent = 0;
    std::uint8_t byYear = 0, byMonth = 0, byDay = 0, byHour = 0, byMinute = 0, bySecond = 0;
    std::uint8_t byChannel = 0;  // DVR: channel, 0 none; video server: alarm inputs, bit 0 = input 1
    std::string szUser;          // Windows-1250 as sent, up to its zero
    std::uint8_t byResult = 0;   // DDNS update: non-zero success

    static DeviceLogRecord Parse(std::span<const std::uint8_t, kLogRecordSize> bytes);
};

}  // namespace config
