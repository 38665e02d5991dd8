#include "session/live/Snapshot.h"

#include "platform/JpegCodec.h"
#include "session/live/LocalClock.h"
#include "session/TextHelpers.h"

namespace session {

namespace {

// Snapshots taken in one second beyond this many are refused rather than
// searched for without end.
constexpr int kMaxSnapshotsPerSecond = 1000;

// The name for the time; from the second snapshot in a second on, "_n" before ".jpg".
std::string NumberedName(const std::tm& localTime, int sequence) {
    std::string name = SnapshotFileName(localTime);
    if (sequence > 1)
        name.insert(name.size() - 4, "_" + std::to_string(sequence));
    return name;
}

}  // namespace

int SaveSnapshot(std::string& folder, const std::uint8_t* picture, std::uint16_t width,
                 std::uint16_t height) {
    return SaveSnapshot(folder, picture, width, height, LocalCalendarTime());
}

int SaveSnapshot(std::string& folder, const std::uint8_t* picture, std::uint16_t width,
                 std::uint16_t height, const std::tm& localTime, std::filesystem::path* written) {
    // An empty folder would put the file in the file system's root.
    if (folder.empty())
        return 0;
    platform::JpegCodec codec;
    for (int sequence = 1; sequence <= kMaxSnapshotsPerSecond; ++sequence) {
        const std::filesystem::path path = SnapshotFilePath(folder, NumberedName(localTime, sequence));
        const auto status = codec.WriteFile(path, picture, width, height);
        if (status == platform::JpegStatus::FileExists)
            continue;
        if (status != platform::JpegStatus::Ok)
            return 0;
        if (written)
            *written = path;
        return 1;
    }
    return 0;
}

}  // namespace session
