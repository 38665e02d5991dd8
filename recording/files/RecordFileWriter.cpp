#include "recording/files/RecordFileWriter.h"

#include <cstring>

#include "platform/ByteOrder.h"

namespace recording {

namespace {

// Names tried for one recording in one second before giving up.
constexpr int kMaxNameTries = 1000;

}  // namespace

RecordFileWriter::RecordFileWriter() : work_(kRecordTagMaxBytes + kFrameHistoryFrameBytes) {
    offsets_.reserve(kRecordFramesPerFile);
}

void RecordFileWriter::Reset() {
    header_ = {};
    headerWritten_ = false;
    offsets_.clear();
    frames_ = 0;
    firstStreamTime_ = 0;
    lastStreamTime_ = 0;
    wholeEnd_ = 0;
}

bool RecordFileWriter::Open(const std::filesystem::path& folder, std::string_view name, std::string* error) {
    Reset();
    for (int sequence = 1; sequence <= kMaxNameTries; ++sequence) {
        const auto result = file_.Create(folder / NumberedRecordFileName(name, sequence), error);
        if (result == RecordFile::CreateResult::Exists)
            continue;
        if (result == RecordFile::CreateResult::Failed)
            return false;
        file_.LimitSize(sizeLimit_);
        return true;
    }
    if (error)
        *error = "no free name for " + std::string(name) + " in " + folder.string();
    return false;
}

std::size_t RecordFileWriter::WriteFileHeader(const RecordHeaderFields& fields) {
    header_ = BuildRecordFileHeader(fields);
    std::uint8_t block[kRecordHeaderBlockBytes];
    std::memcpy(block, header_.data(), kRecordHeaderBytes);
    const auto extension = RecordHeaderExtension();
    std::memcpy(block + kRecordHeaderBytes, extension.data(), extension.size());
    const std::uint64_t start = file_.Size();
    if (file_.Append(block) != sizeof block) {
        file_.Truncate(start);
        return 0;
    }
    headerWritten_ = true;
    wholeEnd_ = file_.Size();
    return sizeof block;
}

bool RecordFileWriter::UpdateHeaderOnFirstFrame(std::uint32_t time) {
    platform::StoreLe32(&header_[kHeaderFirstTimeOffset], time);
    return file_.WriteAt(0, header_);
}

bool RecordFileWriter::UpdateHeaderOnClose(std::uint32_t count, std::uint32_t time) {
    platform::StoreLe32(&header_[kHeaderFrameCountOffset], count);
    platform::StoreLe32(&header_[kHeaderLastTimeOffset], time);
    return file_.WriteAt(0, header_);
}

FrameWriteResult RecordFileWriter::WriteFrame(const FrameHistoryEntry& entry, std::span<const std::uint8_t> jpeg) {
    FrameWriteResult result;
    result.wholeFrames = frames_;
    if (!headerWritten_ || jpeg.size() > kFrameHistoryFrameBytes)
        return result;
    if (entry.dwFrameNumber == 1 && !UpdateHeaderOnFirstFrame(entry.dwStreamTime))
        return result;
    const std::size_t tag = BuildFrameTag(entry, std::span(work_).first<kRecordTagMaxBytes>());
    if (!jpeg.empty())
        std::memcpy(work_.data() + tag, jpeg.data(), jpeg.size());
    const std::span<const std::uint8_t> record(work_.data(), tag + jpeg.size());
    result.bytes = file_.Append(record);
    result.ok = result.bytes == record.size();
    return result;
}

bool RecordFileWriter::WriteFrameIndex(std::uint32_t count) {
    std::vector<std::uint8_t> trailer(8 * static_cast<std::size_t>(count) + 4, 0);
    for (std::uint32_t i = 0; i < count && i < offsets_.size(); ++i)
        platform::StoreLe32(&trailer[8 * i], offsets_[i]);
    platform::StoreLe32(&trailer[8 * count], count);
    return file_.Append(trailer) == trailer.size();
}

FrameWriteResult RecordFileWriter::AppendFrame(FrameHistoryEntry entry, std::span<const std::uint8_t> jpeg) {
    entry.dwFrameNumber = frames_ + 1;
    const std::uint64_t start = file_.Size();
    FrameWriteResult result = WriteFrame(entry, jpeg);
    if (!result)
        return result;
    offsets_.push_back(static_cast<std::uint32_t>(start));
    ++frames_;
    if (frames_ == 1)
        firstStreamTime_ = entry.dwStreamTime;
    lastStreamTime_ = entry.dwStreamTime;
    wholeEnd_ = file_.Size();
    result.wholeFrames = frames_;
    return result;
}

bool RecordFileWriter::Finish() {
    if (!file_.IsOpen())
        return false;
    bool complete = headerWritten_;
    if (headerWritten_) {
        // Whatever a failed write left past the last whole frame goes.
        if (file_.Size() != wholeEnd_)
            complete = file_.Truncate(wholeEnd_) && complete;
        if (frames_ == 0)
            platform::StoreLe32(&header_[kHeaderFirstTimeOffset], 0);
        complete = UpdateHeaderOnClose(frames_, lastStreamTime_) && complete;
        if (!WriteFrameIndex(frames_)) {
            file_.Truncate(wholeEnd_);
            complete = false;
        }
    }
    file_.Close();
    Reset();
    return complete;
}

void RecordFileWriter::Discard() {
    file_.CloseAndRemove();
    Reset();
}

}  // namespace recording
