#pragma once
// The DVR's PTZ channels as the device page edits them: per channel of block
// 10 whether a PTZ device hangs on it, its address, protocol and baud rate.
// The page keeps its edits; Apply copies all 16 channels into the block.

#include <array>
#include <cstdint>

#include "config/pages/BlockStore.h"

namespace config {

class ConfigWorkingSet;

inline constexpr int kPtzChannels = 16;

struct PtzRow {
    int type = 0;      // 0 camera, 1 PTZ; others kept as they are
    int address = 0;   // 0-255
    int protocol = 0;  // 0 normal, 1 Pelco-D; others kept
    std::uint32_t baud = 0;
    bool operator==(const PtzRow&) const = default;
};
using PtzRows = std::array<PtzRow, kPtzChannels>;

PtzRows LoadPtzRows(const ConfigWorkingSet& set);
// Apply of a changed page: the 16 rows into block 10, then its store.
// 1, or 0 after a failed store; *stored is set only once the device took it.
int SendDeviceConfig(const PtzRows& rows, ConfigWorkingSet& set, const StoreBlock& store, bool* stored);

}  // namespace config
