#include "config/pages/PeripheralValues.h"

#include <string>

#include "config/ConfigWorkingSet.h"
#include "session/DeviceFamily.h"

namespace config {

namespace {

constexpr std::uint8_t kPeri = 16;

struct DeviceFields {
    const char* id;
    const char* model;
    const char* baud;
};
constexpr std::array<DeviceFields, 2> kFields{{
    {"by_Device1Id", "by_Device1Model", "dw_Device1Baud"},
    {"by_Device2Id", "by_Device2Model", "dw_Device2Baud"},
}};

int SpeedIndex(std::int64_t baud) {
    for (std::size_t i = 0; i < kPeripheralBaudTable.size(); ++i)
        if (kPeripheralBaudTable[i] == baud)
            return static_cast<int>(i);
    return 0;
}

}  // namespace

PeripheralValues LoadPeripheralValues(const ConfigWorkingSet& set) {
    PeripheralValues values;
    for (std::size_t d = 0; d < values.size(); ++d) {
        values[d].id.Load(static_cast<int>(set.Number(kPeri, kFields[d].id)));
        values[d].modelIndex.Load(session::PeripheralModelToIndex(
            static_cast<std::uint8_t>(set.Number(kPeri, kFields[d].model))));
        values[d].speedIndex.Load(SpeedIndex(set.Number(kPeri, kFields[d].baud)));
    }
    return values;
}

int SendPeripheralConfig(const PeripheralValues& values, ConfigWorkingSet& set, const StoreBlock& store,
                         bool* peripheralsChanged) {
    bool listChanged = false;
    for (std::size_t d = 0; d < values.size(); ++d) {
        const PeripheralDevice& device = values[d];
        if (device.id.Changed() &&
            set.Write(kPeri, kFields[d].id, 0, std::int64_t{device.id.Current()}) == FieldStatus::Ok)
            listChanged = true;
        if (device.modelIndex.Changed()) {
            const int index = device.modelIndex.Current();
            set.Write(kPeri, kFields[d].model, 0,
                      std::int64_t{session::PeripheralIndexToModel(static_cast<std::uint8_t>(index))});
            listChanged = true;
        }
        if (device.speedIndex.Changed()) {
            const int index = device.speedIndex.Current();
            const bool listed = index >= 0 && index < static_cast<int>(kPeripheralBaudTable.size());
            set.Write(kPeri, kFields[d].baud, 0,
                      std::int64_t{listed ? kPeripheralBaudTable[static_cast<std::size_t>(index)] : 2400});
        }
    }
    if (!store(kPeri))
        return 0;
    if (listChanged)
        *peripheralsChanged = true;
    return 1;
}

}  // namespace config
