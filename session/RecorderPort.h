#pragma once
// What the session core asks of a recorder (the alarm, manual and schedule
// recorders each implement it). Every method has a do-nothing default, so the
// core runs without recorders and a recorder implements only what it has.

#include <cstdint>
#include <string>

#include "platform/SyncObjects.h"

namespace recording {

// The recorders' frame buffer.
inline constexpr std::size_t kRecorderBufferSize = 160000;

class RecorderPort {
public:
    virtual ~RecorderPort() = default;

    // The recorder's semaphores and events; a second close does nothing.
    virtual bool CreateResource() { return true; }
    virtual void CloseResource() {}

    // The recorder's frame buffer (kRecorderBufferSize bytes).
    virtual bool AllocateBuffer() { return true; }
    virtual void FreeBuffer() {}

    // Resets the recorder's state and starts its record thread for the
    // channel; CloseThread stops it (request and join).
    virtual bool CreateThread(std::uint8_t channel) { return true; }
    virtual void CloseThread() {}

    // Starts a recording into a new file in the folder; false when the file
    // cannot be created or the recorder is terminated.
    virtual bool StartRecord(const std::string& folder, std::uint8_t channel) { return false; }
    // Stops a running recording, waiting at most 500 ms for its thread.
    virtual void StopRecord() {}
    // Alarm recorder: records no more; stops a running recording, clears the
    // latched alarm bits and the alarm channel text.
    virtual void TerminateRecord() {}
    // Manual recorder: records again into the file it still holds open; false
    // when it holds none.
    virtual bool ResumeRecord() { return false; }

    // A recording runs (m_bRecording).
    virtual bool IsRecording() const { return false; }
    // The record thread has a recording file open (m_bWriting).
    virtual bool IsWriting() const { return false; }

    // The frame-history handshake. The pusher takes HistorySem (initial 1,
    // maximum 1) of every recorder before storing a frame and releases it at
    // once for a recorder that is not writing; for a writing one it releases
    // FrameReadySem (initial 0, maximum 1) and the record thread releases
    // HistorySem after writing the frame. Null: the recorder takes no part.
    virtual platform::Semaphore* HistorySem() { return nullptr; }
    virtual platform::Semaphore* FrameReadySem() { return nullptr; }
    // Told after each stored frame with its history index (the alarm recorder
    // counts its history fill; recorders starting a file take their first-frame
    // facts from it).
    virtual void FrameStored(std::uint16_t historyIndex) {}
};

}  // namespace recording
