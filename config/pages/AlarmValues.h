#pragma once
// The alarm page's device values (block 11): what the device does on an
// alarm input (reaction), how many pictures it takes after it, for how long
// the alarm lasts, and a video server's video sources. Apply writes each
// value that differs from the one loaded, and stores the block when it wrote
// any. A list the person never picked from sends nothing, so a stored value
// the lists lack is kept; the picture size has no control and is never written.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "config/DeviceFacts.h"
#include "config/pages/BlockStore.h"

namespace config {

// Alarm times in seconds by list index: video servers, N5H and G66M; the DVR family.
inline constexpr std::array<std::uint16_t, 6> kAlarmSecondsServer{3, 15, 30, 60, 1800, 65535};
inline constexpr std::array<std::uint16_t, 4> kAlarmSecondsDvr{5, 10, 20, 40};
inline std::span<const std::uint16_t> AlarmSecondsFor(const DeviceFacts& facts) {
    if (facts.IsDvr())
        return kAlarmSecondsDvr;
    return kAlarmSecondsServer;
}

class ConfigWorkingSet;
struct DeviceFacts;

inline constexpr int kPostAlarmPictureItems = 10;  // "1" .. "10"

struct AlarmValues {
    std::uint8_t reaction = 0;     // 0 input off; bit 0 e-mail, bit 1 FTP
    std::uint8_t pictureSize = 0;  // as loaded
    std::uint8_t videoSource = 0;  // video server: bit k - 1 set = input k feeds channel 2
    std::optional<int> pictureIndex;  // picked: pictures after the alarm - 1
    std::optional<int> timeIndex;     // picked: index of the family's alarm-time list
};

// The values as loaded, with the lists' indexes; an index the list lacks is none
// (pictures 0 read as 1; a time the family's list lacks as its first item).
struct LoadedAlarmValues {
    AlarmValues values;
    int pictureIndex = -1;
    int timeIndex = 0;
};
LoadedAlarmValues LoadAlarmValues(const ConfigWorkingSet& set);

// The family's alarm-time items, in list order.
std::span<const std::string_view> AlarmTimeTexts(const DeviceFacts& facts);

// The reaction after a click on "Email" or "FTP": one of the two stays checked.
std::uint8_t ToggleEmail(std::uint8_t reaction);
std::uint8_t ToggleFtp(std::uint8_t reaction);
// A video-source radio: input k (1-4) to channel 1 or 2.
std::uint8_t SetVideoSource(std::uint8_t source, int input, int channel);
bool InputOnChannel2(std::uint8_t source, int input);

// Apply: 1 after a store (or nothing to store), 0 after a failed one.
int SendAlarmConfig(ConfigWorkingSet& set, const AlarmValues& values, const StoreBlock& store);

}  // namespace config
