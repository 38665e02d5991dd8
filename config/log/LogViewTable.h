#pragma once
// What the two event-log viewers show: the DVR's and the video server's event
// texts, their rows and the check boxes that hide event kinds, as tables.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "config/log/DeviceLogRecord.h"

namespace config {

enum class LogViewer { Dvr, Server };

inline constexpr std::uint32_t kDvrLogMask = 0x1CFFF;
inline constexpr std::uint32_t kServerLogMask = 0x7F7F37;

struct LogFilterBox {
    std::uint16_t id;
    const char* text;
    std::uint32_t bit;
    bool hidden = false;
};
std::span<const LogFilterBox> LogFilterBoxes(LogViewer viewer);
std::uint32_t InitialLogMask(LogViewer viewer);

// One listed row: number, event, time and (DVR) channel.
using LogRow = std::vector<std::string>;
// The records the mask lets through, numbered from 1.
std::vector<LogRow> LogRows(LogViewer viewer, std::span<const DeviceLogRecord> records, std::uint32_t mask);

}  // namespace config
