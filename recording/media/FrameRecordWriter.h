#pragma once
// A raw frame file writer kept for completeness: nothing in the program
// writes such files yet. An 80-byte header (frame count at 0, the last
// frame's time in seconds at 8), then per frame a 40-byte record, the frame's
// bytes and the record again. The header is rewritten after every 10th frame
// and when the writer ends. The file is created with the writer.

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>

namespace recording {

inline constexpr std::uint32_t kFrameRecordMagic = 0xADFBCE23;
inline constexpr std::size_t kFrameRecordHeaderBytes = 80;
inline constexpr std::size_t kFrameRecordBytes = 40;

class FrameRecordWriter {
public:
    FrameRecordWriter(const std::filesystem::path& path, std::uint32_t value1, std::uint32_t value2,
                      std::uint32_t value3);
    ~FrameRecordWriter();
    FrameRecordWriter(const FrameRecordWriter&) = delete;
    FrameRecordWriter& operator=(const FrameRecordWriter&) = delete;

    bool IsOpen() const { return file_ != nullptr; }

    // The frame with its three bytes, its time in milliseconds and four words of time information.
    bool AddFrame(std::span<const std::uint8_t> frame, std::array<std::uint8_t, 3> bytes, std::uint32_t timeMs,
                  std::array<std::uint32_t, 4> timeInfo);
    // The frame stamped with the tick count and the local time; the bytes go first and third.
    bool AddFrame(std::span<const std::uint8_t> frame, std::uint8_t first, std::uint8_t third);
    std::uint32_t Frames() const { return frames_; }

private:
    bool Append(std::span<const std::uint8_t> frame, const std::array<std::uint8_t, kFrameRecordBytes>& record,
                std::uint32_t timeMs);
    bool WriteHeader();

    std::FILE* file_ = nullptr;
    std::array<std::uint8_t, kFrameRecordHeaderBytes> header_{};
    std::uint32_t frames_ = 0;
};

}  // namespace recording
