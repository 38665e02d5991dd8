#pragma once
// The video server's two RS-485 peripherals (block 16) as the peripheral page
// shows them: an ID, a model and a speed each, the lists by index. A model
// code or rate the lists lack shows as the first item and stays on the device
// unless the person picks another item.

#include <array>
#include <cstdint>

#include "config/Tracked.h"
#include "config/pages/BlockStore.h"

namespace config {

// The peripheral speed lists' rates, in list order.
inline constexpr std::array<std::uint32_t, 7> kPeripheralBaudTable{2400, 4800, 9600, 19200, 38400, 57600, 115200};

class ConfigWorkingSet;

struct PeripheralDevice {
    Tracked<int> id;          // 0-255
    Tracked<int> modelIndex;  // PeripheralModelToIndex of the code
    Tracked<int> speedIndex;  // position in the speed table; 0 for any other rate
};
using PeripheralValues = std::array<PeripheralDevice, 2>;

PeripheralValues LoadPeripheralValues(const ConfigWorkingSet& set);
// Apply: the changed values into block 16 and its store. 1, or 0 after a
// failed store; *peripheralsChanged only when an ID or a model was written
// and the device took it.
int SendPeripheralConfig(const PeripheralValues& values, ConfigWorkingSet& set, const StoreBlock& store,
                         bool* peripheralsChanged);

}  // namespace config
