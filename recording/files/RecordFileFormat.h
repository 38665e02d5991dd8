#pragma once
// The ".kfr" recording file: an 80-byte header, an extension block and its
// end mark (90 bytes in all), then per frame a tag, 0xFFFF and the JPEG
// bytes, and at the end an index of the frames' tag offsets with their count.
// Little-endian, no padding; built byte by byte.

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

#include "session/SystemTime.h"
#include "session/live/FrameHistory.h"

namespace recording {

inline constexpr std::size_t kRecordHeaderBytes = 80;
// Header, extension block {0xFFFFFFFF, 0} and the end mark 0xFFFF.
inline constexpr std::size_t kRecordHeaderBlockBytes = 90;
inline constexpr std::uint32_t kRecordFramesPerFile = 6000;
// The longest tag (30 bytes, with video loss) and the 0xFFFF after it.
inline constexpr std::size_t kRecordTagMaxBytes = 32;
inline constexpr std::size_t kRecordUserNameBytes = 16;

// Header fields the close and the first frame rewrite.
inline constexpr std::size_t kHeaderFirstTimeOffset = 40;
inline constexpr std::size_t kHeaderLastTimeOffset = 44;
inline constexpr std::size_t kHeaderFrameCountOffset = 48;

enum class RecordType : std::uint8_t { Manual = 0, Alarm = 1 };

struct RecordHeaderFields {
    session::SystemTime created;  // local time, day of week included
    std::string serverName;       // the server-name setting: its dotted fields become the address
    std::string userName;         // UTF-8; stored in Windows-1250, its first 16 bytes
    RecordType type = RecordType::Manual;
};

using RecordHeaderImage = std::array<std::uint8_t, kRecordHeaderBytes>;

RecordHeaderImage BuildRecordFileHeader(const RecordHeaderFields& fields);
// The extension block and the end mark that follow the header.
std::array<std::uint8_t, kRecordHeaderBlockBytes - kRecordHeaderBytes> RecordHeaderExtension();

// Builds the frame's tag followed by 0xFFFF into out; returns the byte count
// (31, or 32 for a frame received during video loss).
std::size_t BuildFrameTag(const FrameHistoryEntry& entry, std::span<std::uint8_t, kRecordTagMaxBytes> out);

// "ALARM_MJPEG_061002T134507_abcd.kfr" (the session cookie's first four characters).
std::string AlarmRecordFileName(const std::tm& localTime, std::string_view cookie);
// "USER_MJPEG_061002T134507_UR.kfr".
std::string UserRecordFileName(const std::tm& localTime);
// The name for the sequence-th try at one name: from the second on, "_n" before ".kfr".
std::string NumberedRecordFileName(std::string_view name, int sequence);

}  // namespace recording
