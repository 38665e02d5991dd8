#pragma once
// The program's recorders, its alarm list and its alarm sound, made beside
// the data object and attached to it for the session core: the alarm, manual
// and schedule recorders, SystemConfig and AlarmWave. Detached again when
// destroyed, after the recorders' and the sound's threads have ended.

#include <filesystem>

#include "recording/alarmlist/SystemConfig.h"
#include "recording/recorders/AlarmRecord.h"
#include "recording/recorders/SchRecord.h"
#include "recording/recorders/UserRecord.h"
#include "recording/sound/AlarmWave.h"

namespace session {
class AppData;
}

namespace recording {

class Recorders {
public:
    // The alarm list lives in the program folder.
    Recorders(session::AppData& app, const std::filesystem::path& programFolder);
    ~Recorders();
    Recorders(const Recorders&) = delete;
    Recorders& operator=(const Recorders&) = delete;

    SystemConfig& AlarmList() { return alarmList_; }
    recording::CAlarmRecord& AlarmRecorder() { return alarm_; }
    recording::CUserRecord& UserRecorder() { return user_; }
    recording::CSchRecord& ScheduleRecorder() { return schedule_; }
    recording::AlarmWave& AlarmSound() { return alarmWave_; }

private:
    session::AppData& app_;
    SystemConfig alarmList_;
    recording::CAlarmRecord alarm_;
    recording::CUserRecord user_;
    recording::CSchRecord schedule_;
    recording::AlarmWave alarmWave_;
};

}  // namespace recording
