#pragma once
// The DVR's camera channels as the camera page edits them: name, picture
// adjustments and covert flag in block 13, the recording flag in block 15.
// An accepted edit goes into the working copies at once; Apply stores the
// blocks the page edited.

#include <cstdint>
#include <string>
#include <string_view>

#include "config/pages/BlockStore.h"

namespace config {

class ConfigWorkingSet;

inline constexpr int kCameraChannels = 16;
inline constexpr std::size_t kCameraNameChars = 6;

struct CameraRow {
    std::string name;
    int brightness = 0, contrast = 0, saturation = 0, hue = 0;
    int covert = 0, record = 0;  // 0 no, 1 yes; other values are kept as they are
    bool operator==(const CameraRow&) const = default;
};

CameraRow LoadCameraRow(const ConfigWorkingSet& set, int channel);
// Writes the values that differ from the working copies' into them; the blocks it changed.
EditedBlocks WriteCameraRow(ConfigWorkingSet& set, int channel, const CameraRow& row);
// Apply: block 13, then 15, each when the page edited it; 1, or 0 after a failed store.
int SendCameraConfig(const EditedBlocks& edited, const StoreBlock& store);

// What the name field keeps of a typed text: capitals and digits of at most
// six characters (small letters raised, anything else dropped); a longer
// text is cut to its first six first and reported.
struct CameraNameInput {
    std::string name;
    bool tooLong = false;
};
CameraNameInput FilterCameraName(std::string_view typed);

}  // namespace config
