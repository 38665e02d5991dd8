#pragma once
// Writes one recording after another into ".kfr" files: the header block,
// the tagged frames with their index, and at the close the final header and
// the index trailer. A recorder owns one; its operations keep the names the
// recorders have always used for them.
//
// Every write is checked. After a failed one the writer knows how many whole
// frames the file holds, and Finish cuts the file back to them, so even a
// full disk leaves a well-formed, shorter recording.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "recording/files/RecordFile.h"
#include "recording/files/RecordFileFormat.h"
#include "session/live/FrameHistory.h"

namespace recording {

struct FrameWriteResult {
    bool ok = false;
    std::size_t bytes = 0;          // bytes of the frame record that reached the file
    std::uint32_t wholeFrames = 0;  // whole frames in the file after the write
    explicit operator bool() const { return ok; }
};

class RecordFileWriter {
public:
    RecordFileWriter();
    RecordFileWriter(const RecordFileWriter&) = delete;
    RecordFileWriter& operator=(const RecordFileWriter&) = delete;

    // Creates a new file in the folder under the name, or "_2", "_3" ... before
    // ".kfr" when the name is taken: no recording replaces or extends another.
    // False, with error set, when no file could be created.
    bool Open(const std::filesystem::path& folder, std::string_view name, std::string* error = nullptr);
    bool IsOpen() const { return file_.IsOpen(); }
    const std::filesystem::path& Path() const { return file_.Path(); }

    // Writes the header (with zero times and count), the extension block and
    // its end mark at the end of the file; returns the bytes written (90), 0
    // when the write failed.
    std::size_t WriteFileHeader(const RecordHeaderFields& fields);
    bool HeaderWritten() const { return headerWritten_; }
    // Rewrite the 80 header bytes at offset 0 with frame 1's stream time, or
    // with the frame count and the last frame's stream time.
    bool UpdateHeaderOnFirstFrame(std::uint32_t time);
    bool UpdateHeaderOnClose(std::uint32_t count, std::uint32_t time);
    // Writes the entry's frame (tag, 0xFFFF, JPEG bytes) with one write; frame
    // number 1 first updates the header. The entry's frame number is used as it is.
    FrameWriteResult WriteFrame(const FrameHistoryEntry& entry, std::span<const std::uint8_t> jpeg);
    // The first count index entries {offset, 0}, then the count.
    bool WriteFrameIndex(std::uint32_t count);

    // Numbers the frame as the next of the file and writes it.
    FrameWriteResult AppendFrame(FrameHistoryEntry entry, std::span<const std::uint8_t> jpeg);
    std::uint32_t Frames() const { return frames_; }
    std::uint32_t LastStreamTime() const { return lastStreamTime_; }
    std::uint32_t FirstStreamTime() const { return firstStreamTime_; }
    std::uint64_t FileOffset() const { return wholeEnd_; }

    // Closes the recording: header with the count and last time of the last
    // whole frame, then the index trailer when it fits, and the file. After a
    // failed write the file is first cut back to its last whole frame. False
    // when the file is not complete (it still holds every whole frame).
    bool Finish();
    // Closes and removes a file that holds nothing (a recording stopped before
    // its first frame).
    void Discard();

    // Test hook: files opened from now on never grow past this size (a full disk).
    void LimitFileSize(std::uint64_t bytes) { sizeLimit_ = bytes; }

private:
    void Reset();

    RecordFile file_;
    RecordHeaderImage header_{};
    bool headerWritten_ = false;
    std::vector<std::uint8_t> work_;       // one tag and one picture
    std::vector<std::uint32_t> offsets_;   // tag offset of each frame
    std::uint32_t frames_ = 0;
    std::uint32_t firstStreamTime_ = 0;
    std::uint32_t lastStreamTime_ = 0;
    std::uint64_t wholeEnd_ = 0;           // end of the last whole part written
    std::uint64_t sizeLimit_ = UINT64_MAX;
};

}  // namespace recording
