#include "session/AppData.h"

namespace session {

AppData* g_lpApp = nullptr;

namespace {

// Stand-ins while no window or recorder is attached: every call does nothing.
UiPort& NoUi() {
    static UiPort port;
    return port;
}

recording::RecorderPort& NoRecorder() {
    static recording::RecorderPort port;
    return port;
}

recording::AlarmSoundPort& NoSound() {
    static recording::AlarmSoundPort port;
    return port;
}

recording::RecorderPort& Attached(const std::atomic<recording::RecorderPort*>& port) {
    auto* p = port.load();
    return p ? *p : NoRecorder();
}

void RestoreCount(platform::Semaphore& semaphore, long count) {
    while (semaphore.Wait(platform::Millis(0))) {
    }
    if (count > 0)
        semaphore.Release(count);
}

}  // namespace

AppData::AppData() : C_ControlD(CSettingINI, [this]() -> UiPort& { return Ui(); }) {}

AppData::~AppData() {
    // The writer closes its engine while the ports it reports through still stand.
    CdBackupWriter.reset();
}

UiPort& AppData::Ui() const {
    auto* p = ui_.load();
    return p ? *p : NoUi();
}

void AppData::SetRecorders(recording::RecorderPort* alarm, recording::RecorderPort* user,
                           recording::RecorderPort* schedule) {
    alarmRecorder_.store(alarm);
    userRecorder_.store(user);
    scheduleRecorder_.store(schedule);
}

recording::RecorderPort& AppData::CAlarmRecord() const { return Attached(alarmRecorder_); }
recording::RecorderPort& AppData::CUserRecord() const { return Attached(userRecorder_); }
recording::RecorderPort& AppData::CSchRecord() const { return Attached(scheduleRecorder_); }

recording::AlarmSoundPort& AppData::AlarmWave() const {
    auto* p = alarmSound_.load();
    return p ? *p : NoSound();
}

void AppData::ResetStreamSemaphores() {
    RestoreCount(h_SocketBufferFreeSem, w_SocketBufferCount - 1);
    RestoreCount(h_SocketBufferRelSem, 0);
    RestoreCount(h_JPEGImageBufferFreeSem, w_ImageBufferCount);
    RestoreCount(h_JPEGImageBufferRelSem, 0);
    RestoreCount(h_FrameCopyDoneSem, 0);
}

}  // namespace session
