#pragma once
// Starting and stopping the alarm sound over AppData::AlarmWave: the main
// window's WM_POSTALARMAUDIO (2 stops, any other value starts) and the
// kernel thread's reload (code 4) and stop (code 5). Stopping a playback is
// a stop request and a join: its thread watches both while it waits.

namespace session {

class AppData;

// "Błąd ładowania  pliku dźwiękowego alarmu"
inline constexpr unsigned kAlarmSoundLoadFailedMessage = 4096;
inline constexpr int kAlarmAudioStop = 2;

// Nothing while a sound is requested; else loads the "Trigger Wav Path"
// sound (4096 when none loads), re-arms the done and stop events, ends an
// older playback and starts the play routine on h_PlayAudioWavThread. 0, or
// -1 when no sound loads or the thread cannot start (the flags stay clear).
int StartAlarmSound(AppData& app);
// Clears the request, stops a playing sound and ends its thread; 0.
int StopAlarmSound(AppData& app);
// The message's handler: lParam 2 stops, any other value starts.
int PostAlarmAudio(AppData& app, int lParam);

// Code 4: stop event (a playback ends), the sound loaded again (4096 when
// none loads), the two events re-armed; no playback starts.
void ReloadAlarmSound(AppData& app);
// Code 5: stop event, and the sound-active flag cleared.
void SilenceAlarmSound(AppData& app);

}  // namespace session
