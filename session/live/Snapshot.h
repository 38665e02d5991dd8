#pragma once
// Snapshots of the displayed picture: JPEG files named after the PC's local
// date and time (SnapshotFileName), written through our JPEG codec.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

namespace session {

// Writes the picture (blue-green-red, rows bottom-up, width × 3 bytes a row)
// into the folder under the name for the local time. When the folder text does
// not end with "/", the caller's text itself gets one. An existing file is
// never replaced: a further snapshot in the same second is named
// "YYMMDDThhmmss_2.jpg", "_3" and so on. Returns 1 when the file was written,
// 0 otherwise (an empty folder text, no picture, a write failure); a failed
// write leaves no file.
int SaveSnapshot(std::string& folder, const std::uint8_t* picture, std::uint16_t width,
                 std::uint16_t height);
// The same at a given local time; written, when given, receives the file's path.
int SaveSnapshot(std::string& folder, const std::uint8_t* picture, std::uint16_t width,
                 std::uint16_t height, const std::tm& localTime, std::filesystem::path* written = nullptr);

}  // namespace session
