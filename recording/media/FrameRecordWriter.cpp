#include "recording/media/FrameRecordWriter.h"

#include <chrono>
#include <cstring>

#include "platform/ByteOrder.h"
#include "session/live/LocalClock.h"

namespace recording {

namespace {

constexpr std::uint32_t kHeaderEvery = 10;

std::array<std::uint8_t, kFrameRecordBytes> Record(std::uint32_t index, std::uint32_t timeMs, std::uint32_t length,
                                                   std::array<std::uint8_t, 3> bytes) {
    std::array<std::uint8_t, kFrameRecordBytes> r{};
    platform::StoreLe32(&r[0], index);
    platform::StoreLe32(&r[4], timeMs);
    platform::StoreLe32(&r[8], length);
    platform::StoreLe32(&r[12], kFrameRecordMagic);
    std::memcpy(&r[16], bytes.data(), 3);
    return r;
}

}  // namespace

FrameRecordWriter::FrameRecordWriter(const std::filesystem::path& path, std::uint32_t, std::uint32_t, std::uint32_t)
    : file_(std::fopen(path.c_str(), "w+b")) {
    WriteHeader();
}

FrameRecordWriter::~FrameRecordWriter() {
    if (!file_)
        return;
    WriteHeader();
    std::fclose(file_);
}

bool FrameRecordWriter::WriteHeader() {
    if (!file_ || std::fseek(file_, 0, SEEK_SET) != 0)
        return false;
    const bool ok = std::fwrite(header_.data(), 1, header_.size(), file_) == header_.size();
    std::fseek(file_, 0, SEEK_END);
    return ok && std::fflush(file_) == 0;
}

bool FrameRecordWriter::Append(std::span<const std::uint8_t> frame,
                               const std::array<std::uint8_t, kFrameRecordBytes>& record, std::uint32_t timeMs) {
    if (!file_ || std::fseek(file_, 0, SEEK_END) != 0)
        return false;
    const bool ok = std::fwrite(record.data(), 1, record.size(), file_) == record.size() &&
                    std::fwrite(frame.data(), 1, frame.size(), file_) == frame.size() &&
                    std::fwrite(record.data(), 1, record.size(), file_) == record.size();
    ++frames_;
    platform::StoreLe32(&header_[0], frames_);
    platform::StoreLe32(&header_[8], timeMs / 1000);
    if (frames_ % kHeaderEvery == 0)
        return WriteHeader() && ok;
    return ok;
}

bool FrameRecordWriter::AddFrame(std::span<const std::uint8_t> frame, std::array<std::uint8_t, 3> bytes,
                                 std::uint32_t timeMs, std::array<std::uint32_t, 4> timeInfo) {
    auto record = Record(frames_, timeMs, static_cast<std::uint32_t>(frame.size()), bytes);
    for (std::size_t i = 0; i < 4; ++i)
        platform::StoreLe32(&record[24 + 4 * i], timeInfo[i]);
    return Append(frame, record, timeMs);
}

bool FrameRecordWriter::AddFrame(std::span<const std::uint8_t> frame, std::uint8_t first, std::uint8_t third) {
    const auto timeMs = static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
    auto record = Record(frames_, timeMs, static_cast<std::uint32_t>(frame.size()), {first, 0, third});
    const auto t = session::ToSystemTime(session::LocalCalendarTime());
    const std::uint16_t fields[] = {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, 0};
    for (std::size_t i = 0; i < 8; ++i)
        platform::StoreLe16(&record[24 + 2 * i], fields[i]);
    return Append(frame, record, timeMs);
}

}  // namespace recording
