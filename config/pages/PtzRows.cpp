#include "config/pages/PtzRows.h"

#include "config/ConfigWorkingSet.h"

namespace config {

namespace {
constexpr std::uint8_t kRs485 = 10;
}

PtzRows LoadPtzRows(const ConfigWorkingSet& set) {
    PtzRows rows{};
    for (std::size_t c = 0; c < rows.size(); ++c) {
        rows[c].type = static_cast<int>(set.Number(kRs485, "by_PtzEnable", c));
        rows[c].address = static_cast<int>(set.Number(kRs485, "by_PtzAddress", c));
        rows[c].protocol = static_cast<int>(set.Number(kRs485, "by_PtzProtocol", c));
        rows[c].baud = static_cast<std::uint32_t>(set.Number(kRs485, "dw_PtzBaud", c));
    }
    return rows;
}

int SendDeviceConfig(const PtzRows& rows, ConfigWorkingSet& set, const StoreBlock& store, bool* stored) {
    for (std::size_t c = 0; c < rows.size(); ++c) {
        set.Write(kRs485, "by_PtzEnable", c, std::int64_t{rows[c].type});
        set.Write(kRs485, "by_PtzAddress", c, std::int64_t{rows[c].address});
        set.Write(kRs485, "by_PtzProtocol", c, std::int64_t{rows[c].protocol});
        set.Write(kRs485, "dw_PtzBaud", c, std::int64_t{rows[c].baud});
    }
    if (!store(kRs485))
        return 0;
    *stored = true;
    return 1;
}

}  // namespace config
