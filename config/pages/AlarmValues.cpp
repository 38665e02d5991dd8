#include "config/pages/AlarmValues.h"

#include <algorithm>

#include "config/ConfigWorkingSet.h"
#include "config/blocks/FieldCodec.h"

namespace config {

namespace {

constexpr std::uint8_t kAlarm = 11;

constexpr std::array<std::string_view, 6> kServerTimes{"3      SEC", "15     SEC", "30     SEC",
                                                       "1      MIN", "30     MIN", "AUTO"};
constexpr std::array<std::string_view, 4> kDvrTimes{"5      SEC", "10     SEC", "20     SEC", "40     SEC"};

// A field of the block as loaded (the sheet's other pages may have edited the working copy).
std::int64_t LoadedNumber(const ConfigWorkingSet& set, std::string_view name) {
    const BlockField* field = set.Field(kAlarm, name);
    return field ? ReadNumber(set.Loaded(kAlarm), *field) : 0;
}

}  // namespace

LoadedAlarmValues LoadAlarmValues(const ConfigWorkingSet& set) {
    LoadedAlarmValues loaded;
    AlarmValues& v = loaded.values;
    v.reaction = static_cast<std::uint8_t>(LoadedNumber(set, "by_AlarmReaction"));
    v.pictureSize = static_cast<std::uint8_t>(LoadedNumber(set, "by_PictureResolution"));
    // Byte 9: the video source of a video server, an alarm input of a DVR.
    const auto block = set.Loaded(kAlarm);
    v.videoSource = block.size() > 9 ? block[9] : 0;
    const auto pictures = LoadedNumber(set, "by_PostAlarmPictures");
    const auto index = pictures == 0 ? 0 : pictures - 1;
    loaded.pictureIndex = index < kPostAlarmPictureItems ? static_cast<int>(index) : -1;
    const auto seconds = AlarmSecondsFor(set.Facts());
    const auto found = std::find(seconds.begin(), seconds.end(), LoadedNumber(set, "w_AlarmDuration"));
    loaded.timeIndex = found == seconds.end() ? 0 : static_cast<int>(found - seconds.begin());
    return loaded;
}

std::span<const std::string_view> AlarmTimeTexts(const DeviceFacts& facts) {
    if (facts.IsDvr())
        return kDvrTimes;
    return kServerTimes;
}

std::uint8_t ToggleEmail(std::uint8_t reaction) {
    constexpr std::uint8_t kNext[] = {1, 1, 3, 2};
    return kNext[reaction & 3];
}

std::uint8_t ToggleFtp(std::uint8_t reaction) {
    constexpr std::uint8_t kNext[] = {2, 3, 2, 1};
    return kNext[reaction & 3];
}

std::uint8_t SetVideoSource(std::uint8_t source, int input, int channel) {
    const auto bit = static_cast<std::uint8_t>(1u << (input - 1));
    return channel == 2 ? static_cast<std::uint8_t>(source | bit) : static_cast<std::uint8_t>(source & ~bit);
}

bool InputOnChannel2(std::uint8_t source, int input) { return (source >> (input - 1)) & 1; }

int SendAlarmConfig(ConfigWorkingSet& set, const AlarmValues& v, const StoreBlock& store) {
    const LoadedAlarmValues loaded = LoadAlarmValues(set);
    bool wrote = false;
    const auto write = [&](std::string_view name, std::int64_t value) {
        set.Write(kAlarm, name, 0, value);
        wrote = true;
    };
    if (v.reaction != loaded.values.reaction)
        write("by_AlarmReaction", v.reaction);
    if (v.pictureSize != loaded.values.pictureSize)
        write("by_PictureResolution", v.pictureSize);
    if (v.pictureIndex && *v.pictureIndex >= 0 && *v.pictureIndex + 1 != LoadedNumber(set, "by_PostAlarmPictures"))
        write("by_PostAlarmPictures", *v.pictureIndex + 1);
    if (v.videoSource != loaded.values.videoSource)
        write("by_VideoSource", v.videoSource);  // only a video server's page changes it
    if (v.timeIndex && *v.timeIndex >= 0) {
        const auto seconds = AlarmSecondsFor(set.Facts());
        const std::size_t index = static_cast<std::size_t>(*v.timeIndex);
        const std::uint16_t value = index < seconds.size() ? seconds[index] : seconds.front();
        if (value != LoadedNumber(set, "w_AlarmDuration"))
            write("w_AlarmDuration", value);
    }
    if (!wrote)
        return 1;
    return store(kAlarm) ? 1 : 0;
}

}  // namespace config
