#pragma once
// The DVR's seven timer-recording rows in block 15: a day code (the day
// list's index) and a start and end time, each hour x 256 + minute.

#include <array>
#include <cstdint>
#include <optional>

#include "config/pages/BlockStore.h"

namespace config {

class ConfigWorkingSet;

inline constexpr int kTimerRows = 7;
inline constexpr int kTimerDayCodes = 11;  // "OFF" ... "DAILY"

struct TimerRow {
    int day = 0;
    std::uint16_t start = 0, end = 0;
};
std::array<TimerRow, kTimerRows> LoadTimerRows(const ConfigWorkingSet& set);

// What the person changed in a row; none keeps the stored value.
struct TimerRowEdit {
    std::optional<int> day;
    std::optional<std::uint16_t> start, end;
};
using TimerEdits = std::array<TimerRowEdit, kTimerRows>;

// Apply: the edits into the working copy, then block 15 when its bytes
// changed; a failure is not reported. Returns 1.
int SendTimerRecord(const TimerEdits& edits, ConfigWorkingSet& set, const StoreBlock& store);

}  // namespace config
