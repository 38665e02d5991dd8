#include "recording/Recorders.h"

#include "session/AppData.h"

namespace recording {

Recorders::Recorders(session::AppData& app, const std::filesystem::path& programFolder)
    : app_(app),
      alarmList_(programFolder, [&app](const std::string& text) { app.Ui().ShowMessageText(text); }),
      alarm_(app, alarmList_),
      user_(app),
      alarmWave_(app) {
    app_.SetRecorders(&alarm_, &user_, &schedule_);
    app_.SetAlarmSound(&alarmWave_);
    app_.SetAlarmList(&alarmList_);
}

Recorders::~Recorders() {
    alarm_.CloseThread();
    user_.CloseThread();
    app_.h_PlayAudioWavThread.Stop();
    app_.SetRecorders(nullptr, nullptr, nullptr);
    app_.SetAlarmSound(nullptr);
    app_.SetAlarmList(nullptr);
}

}  // namespace recording
