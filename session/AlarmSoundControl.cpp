#include "session/AlarmSoundControl.h"

#include "session/AppData.h"

namespace session {

namespace {

// Loads the sound of the setting; the message when none loads.
bool LoadTriggerSound(AppData& app) {
    if (app.AlarmWave().LoadWaveFile(app.CSettingINI.m_strTriggerWavPath.Get()))
        return true;
    app.Ui().ShowMessageBox(kAlarmSoundLoadFailedMessage);
    return false;
}

void RearmEvents(AppData& app) {
    app.h_WaveOutDoneEvent.Reset();
    app.h_StopAudioWavEvent.Reset();
}

}  // namespace

int StartAlarmSound(AppData& app) {
    if (app.dw_AlarmAudioRequested.load() != 0)
        return 0;
    app.h_StopAudioWavEvent.Set();
    if (!LoadTriggerSound(app))
        return -1;
    RearmEvents(app);
    app.h_PlayAudioWavThread.Stop();
    recording::AlarmSoundPort& sound = app.AlarmWave();
    if (!app.h_PlayAudioWavThread.Start([&sound](std::stop_token stop) { sound.AlarmWavPlayThread(stop); }))
        return -1;
    app.dw_AlarmAudioPlaying = 1;
    app.dw_AlarmAudioRequested = 1;
    return 0;
}

int StopAlarmSound(AppData& app) {
    app.dw_AlarmAudioRequested = 0;
    if (app.dw_AlarmAudioPlaying.exchange(0) != 0)
        app.h_StopAudioWavEvent.Set();
    app.h_PlayAudioWavThread.Stop();
    return 0;
}

int PostAlarmAudio(AppData& app, int lParam) {
    return lParam == kAlarmAudioStop ? StopAlarmSound(app) : StartAlarmSound(app);
}

void ReloadAlarmSound(AppData& app) {
    app.h_StopAudioWavEvent.Set();
    // The events are re-armed below: a playback must not miss its stop.
    app.h_PlayAudioWavThread.Stop();
    LoadTriggerSound(app);
    RearmEvents(app);
}

void SilenceAlarmSound(AppData& app) {
    app.h_StopAudioWavEvent.Set();
    app.AlarmWave().ClearSoundActive();
}

}  // namespace session
