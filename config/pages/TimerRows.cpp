#include "config/pages/TimerRows.h"

#include "config/ConfigWorkingSet.h"

namespace config {

namespace {
constexpr std::uint8_t kRec = 15;
}

std::array<TimerRow, kTimerRows> LoadTimerRows(const ConfigWorkingSet& set) {
    std::array<TimerRow, kTimerRows> rows{};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows[r].day = static_cast<int>(set.Number(kRec, "by_TimerDay", r));
        rows[r].start = static_cast<std::uint16_t>(set.Number(kRec, "w_TimerStart", r));
        rows[r].end = static_cast<std::uint16_t>(set.Number(kRec, "w_TimerEnd", r));
    }
    return rows;
}

int SendTimerRecord(const TimerEdits& edits, ConfigWorkingSet& set, const StoreBlock& store) {
    for (std::size_t r = 0; r < edits.size(); ++r) {
        const TimerRowEdit& edit = edits[r];
        if (edit.day)
            set.Write(kRec, "by_TimerDay", r, std::int64_t{*edit.day});
        if (edit.start)
            set.Write(kRec, "w_TimerStart", r, std::int64_t{*edit.start});
        if (edit.end)
            set.Write(kRec, "w_TimerEnd", r, std::int64_t{*edit.end});
    }
    store(kRec);
    return 1;
}

}  // namespace config
