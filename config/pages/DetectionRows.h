#pragma once
// A DVR channel's motion detection as the detection page and its editor see
// it: on/off, the four detection values and the area in block 13, the alarm
// input type in block 11. An accepted edit goes into the working copies;
// Apply stores block 13, then 11, each when the page edited it.

#include <cstdint>
#include <string_view>

#include "config/motion/MotionAreaMask.h"
#include "config/pages/BlockStore.h"

namespace config {

class ConfigWorkingSet;

// Highest values the editor's number fields take.
inline constexpr int kMotionLevelMax = 15;  // LS, SS, TS
inline constexpr int kMotionReMax = 61;     // RE
// Capability bit: alarm inputs are named normally open / closed, not low / high.
inline constexpr std::uint32_t kCapabilityContactAlarm = 0x80;

struct DetectionRow {
    int detection = 0;  // 0 off, 1 on; anything else is kept as it is
    int ls = 0, ss = 0, ts = 0, re = 0;
    int alarmType = 0;  // 0 normally open (low), 1 normally closed (high), 2 off; others kept
    MotionAreaMask area{};
    bool operator==(const DetectionRow&) const = default;
};

DetectionRow LoadDetectionRow(const ConfigWorkingSet& set, int channel);
// Writes the values that differ from the working copies' into them; the blocks it changed.
EditedBlocks WriteDetectionRow(ConfigWorkingSet& set, int channel, const DetectionRow& row);
// Apply: block 13, then 11, each when the page edited it; 1, or 0 after a failed store.
int SendDetectionConfig(const EditedBlocks& edited, const StoreBlock& store);

// The lists' items: "OFF", "ON"; the alarm types by the capability bit.
std::string_view DetectionText(int detection);  // anything but 1 reads "OFF"
std::string_view AlarmTypeText(int alarmType, bool contactNames);  // anything above 1 reads "OFF"

}  // namespace config
