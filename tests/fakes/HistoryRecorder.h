#pragma once
// A recorder that takes part in the frame-history handshake only: its two
// semaphores, a writing flag the test sets, and the history indices it was
// told about. A writing recorder's "record thread" is the test itself, which
// takes FrameReadySem and gives HistorySem back (or Written() does both).

#include <atomic>
#include <mutex>
#include <vector>

#include "recording/RecorderPort.h"

namespace fakes {

class HistoryRecorder : public recording::RecorderPort {
public:
    platform::Semaphore* HistorySem() override { return &historySem; }
    platform::Semaphore* FrameReadySem() override { return &frameReadySem; }
    bool IsWriting() const override { return writing.load(); }
    void FrameStored(std::uint16_t historyIndex) override {
        std::lock_guard lock(mutex_);
        stored_.push_back(historyIndex);
    }

    std::vector<std::uint16_t> Stored() const {
        std::lock_guard lock(mutex_);
        return stored_;
    }
    // What a record thread does per frame: wait for it, write it, free the history.
    bool Written(platform::Millis timeout) {
        if (!frameReadySem.Wait(timeout))
            return false;
        return historySem.Release();
    }

    platform::Semaphore historySem{1, 1};
    platform::Semaphore frameReadySem{0, 1};
    std::atomic<bool> writing{false};

private:
    mutable std::mutex mutex_;
    std::vector<std::uint16_t> stored_;
};

}  // namespace fakes
