#pragma once
// An alarm sound that records its calls as lines ("load:<path>", "play",
// "play:end", "clearsoundactive"); its play routine waits for the stop event
// it is given or its stop request, as a real playback does.

#include <atomic>
#include <string>

#include "fakes/CallLog.h"
#include "platform/SyncObjects.h"
#include "session/AlarmSoundPort.h"

namespace fakes {

class RecordingAlarmSound : public recording::AlarmSoundPort, public CallLog {
public:
    explicit RecordingAlarmSound(platform::Event& stopEvent) : stopEvent_(stopEvent) {}

    bool LoadWaveFile(const std::string& path) override {
        Add("load:" + path);
        return loads.load();
    }
    int AlarmWavPlayThread(std::stop_token stop) override {
        Add("play");
        stopEvent_.Wait(platform::kInfinite, stop);
        Add("play:end");
        return 0;
    }
    void ClearSoundActive() override { Add("clearsoundactive"); }

    // What LoadWaveFile answers.
    std::atomic<bool> loads{true};

private:
    platform::Event& stopEvent_;
};

}  // namespace fakes
