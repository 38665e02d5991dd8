#pragma once
// What the main window and the kernel thread ask of the alarm sound
// (AppData::AlarmWave; the recording subsystem implements it). Without one
// attached, a do-nothing sound stands in: it loads nothing and plays nothing.

#include <stop_token>
#include <string>

namespace recording {

class AlarmSoundPort {
public:
    virtual ~AlarmSoundPort() = default;

    // Loads the sound from the file at the path, else from "alarm.wav" in the
    // program folder; false when neither gives a sound. The sound loaded
    // before is released once no playback uses it.
    virtual bool LoadWaveFile(const std::string& path) { return true; }
    // The play routine, run on AppData::h_PlayAudioWavThread: plays the sound
    // loaded last in a loop until AppData::h_StopAudioWavEvent or the stop
    // request. 0, or -1 when there is no sound or no sound device.
    virtual int AlarmWavPlayThread(std::stop_token stop) { return 0; }
    // The sound-active flag: cleared (by mailbox code 5) when set.
    virtual void ClearSoundActive() {}
};

}  // namespace recording
