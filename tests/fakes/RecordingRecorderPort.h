#pragma once
// A RecorderPort that records every call as a line of text, in order, and
// holds real history semaphores, for tests. Recording and writing flags are
// set by the test.

#include <atomic>
#include <string>

#include "fakes/CallLog.h"
#include "platform/SyncObjects.h"
#include "session/RecorderPort.h"

namespace fakes {

class RecordingRecorderPort : public recording::RecorderPort, public CallLog {
public:
    bool CreateResource() override { return Added("createresource"); }
    void CloseResource() override { Add("closeresource"); }
    bool AllocateBuffer() override { return Added("allocatebuffer"); }
    void FreeBuffer() override { Add("freebuffer"); }
    bool CreateThread(std::uint8_t channel) override {
        return Added("createthread:" + std::to_string(channel));
    }
    void CloseThread() override { Add("closethread"); }
    bool StartRecord(const std::string& folder, std::uint8_t channel) override {
        Add("startrecord:" + folder + "," + std::to_string(channel));
        recording = true;
        return true;
    }
    void StopRecord() override {
        Add("stoprecord");
        recording = false;
    }
    void TerminateRecord() override {
        Add("terminaterecord");
        recording = false;
    }
    bool ResumeRecord() override {
        Add("resumerecord");
        return writing.load();
    }
    bool IsRecording() const override { return recording; }
    bool IsWriting() const override { return writing; }
    platform::Semaphore* HistorySem() override { return &historySem; }
    platform::Semaphore* FrameReadySem() override { return &frameReadySem; }
    void FrameStored(std::uint16_t index) override { Add("framestored:" + std::to_string(index)); }

    std::atomic<bool> recording{false};
    std::atomic<bool> writing{false};
    platform::Semaphore historySem{1, 1};
    platform::Semaphore frameReadySem{0, 1};

private:
    // Records a call that succeeds.
    bool Added(std::string call) {
        Add(std::move(call));
        return true;
    }
};

}  // namespace fakes
