#pragma once
// What the alarm and the manual recorder share: the hand-over semaphores and
// events, the record thread, the file writer and the frame passes over the
// history ring.
//
// The hand-over: the push takes HistorySem before it touches the ring; for an
// active recorder it then releases FrameReadySem and the record thread gives
// HistorySem back after writing the newest entry, so the ring stands still
// while the thread reads it. Leaving the active state waits for the push that
// may be under way to decide (Deactivate), so no frame hand-over is ever lost
// or counted twice.
//
// The semaphores and events live as long as the recorder: CreateResource
// brings them back to their start state and CloseResource takes the recorder
// out of the hand-over, so no thread ever waits on an object that is gone.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

#include "platform/SyncObjects.h"
#include "platform/WorkerThread.h"
#include "recording/files/RecordFileWriter.h"
#include "session/RecorderPort.h"

namespace session {
class AppData;
}

namespace recording {

// The record button's descriptor flag.
inline constexpr std::uint32_t kRecordButtonFlag = 0x20;
inline constexpr unsigned kCreateFileFailedMessage = 4018;
// A stop waits this long for the record thread to close the file.
inline constexpr platform::Millis kStopRecordWait{500};

// Brings a semaphore back to its start count (only while nobody waits on it).
void ResetSemaphore(platform::Semaphore& sem, long initial);

class RecorderBase : public RecorderPort {
public:
    RecorderBase(session::AppData& app, RecordType type);
    ~RecorderBase() override;

    bool CreateResource() override;
    void CloseResource() override;
    bool AllocateBuffer() override { return true; }
    void FreeBuffer() override {}
    void CloseThread() override { thread_.Stop(); }
    bool IsWriting() const override { return m_fActive.load(); }
    platform::Semaphore* HistorySem() override { return resources_ ? &historySem_ : nullptr; }
    platform::Semaphore* FrameReadySem() override { return resources_ ? &readySem_ : nullptr; }

    // Frames of the current file so far (m_dwFrameNumber).
    std::uint32_t FrameNumber() const { return frameNumber_.load(); }
    // Test hook: recording files never grow past this size (a full disk).
    void LimitFileSize(std::uint64_t bytes);
    // Test hook: run on the record thread after each frame it was handed,
    // before it looks for the next frame or a stop (set before a recording).
    void SetAfterFrameHook(std::function<void()> hook) { afterFrame_ = std::move(hook); }

protected:
    // The folder as the recorders use it: the record-folder setting gains its
    // final "/" in place. Empty when there is no folder.
    std::string RecordFolder(const std::string& folder);
    // Opens a new file under the name (a clash adds "_2" ...); traces a failure.
    bool OpenFile(const std::string& folder, const std::string& name);
    std::size_t WriteHeader();
    // Writes the ring's newest entry as the file's next frame.
    bool WriteNewest();
    // Writes the ring's newest count entries, oldest first.
    bool WriteNewestEntries(std::size_t count);
    // Leaves the hand-over: clears m_fActive, then settles a push under way.
    void Deactivate(std::stop_token stop);
    bool StartThread(std::function<void(std::stop_token)> body);
    // The record thread's wait for a start: true once it has taken up a
    // recording (its file open); false when the stream ended or a stop came.
    bool TakeUpRecording(std::stop_token stop);

    session::AppData& app_;
    platform::Semaphore historySem_{1, 1};
    platform::Semaphore readySem_{0, 1};
    platform::Event start_, stop_, done_;
    std::atomic<bool> resources_{false};
    std::atomic<bool> m_fActive{false};
    std::atomic<std::uint32_t> frameNumber_{0};
    // The writer and whether a record thread is inside a recording; the
    // thread holds it for each pass, a stop or start for its decision.
    mutable std::mutex fileLock_;
    RecordFileWriter writer_;
    bool inRecording_ = false;
    std::function<void()> afterFrame_;
    platform::WorkerThread thread_;

private:
    const RecordType type_;
};

}  // namespace recording
