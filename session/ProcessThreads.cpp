#include "session/ProcessThreads.h"

#include "platform/SyncObjects.h"
#include "session/AlarmSoundControl.h"
#include "session/AppData.h"
#include "session/tools/CompanionPlayer.h"
#include "session/KernelMailbox.h"
#include "session/SessionResources.h"
#include "session/files/TraceLog.h"

namespace session {

namespace {

// Link button (tool-button flag 0x01), state 1: disconnected.
constexpr std::uint32_t kLinkButtonFlag = 0x01;
constexpr int kLinkButtonDisconnected = 1;

// The stream failed: tear the session down, then log in again.
void RecoverFromStreamFailure(SessionResources& resources, std::stop_token stop) {
    AppData& app = resources.App();
    app.CAlarmRecord().TerminateRecord();
    app.CSchRecord().StopRecord();
    WriteTraceLog("case Get_Image_TimeOut_Message");
    // A close or a disconnect in progress tears the session down on its own
    // and wants no new one.
    if (resources.ClosingOrDisconnected())
        return;

    // Answer to this request only, not one a disconnect left behind.
    app.h_Process_Reply_TerminateEvent.Reset();
    app.h_Process_Notify_TerminateEvent.Set();
    app.h_Process_Reply_TerminateEvent.Wait(resources.Timing().sessionTeardownTimeout, stop);

    app.Ui().SetButtonState(kLinkButtonFlag, kLinkButtonDisconnected);
    app.m_strSensorText.Set("");
    app.m_strAlarmChannel.Set("");

    // Asked again: a close or a disconnect may have begun meanwhile. A
    // re-login that cannot start is reported in the trace log; the mailbox
    // goes on serving either way.
    if (!stop.stop_requested())
        resources.StartReLoginAfterFailure();
}

void RunPlayer(const AppData& app, const std::string& file) {
    if (!RunDownloadedFileInPlayer(app, file))
        app.Ui().ShowMessageBox(kPlayerStartFailedMessage);
}

}  // namespace

bool RunDownloadedFileInPlayer(const AppData& app, const std::string& file) {
    return StartCompanionPlayer(app.CSettingINI.m_strAppPath.Get(), {file, kPlayerConvertArgument});
}

bool LifetimeUsedUp(std::int32_t lifetimeMinutes, std::uint32_t secondsCounted) {
    if (lifetimeMinutes < 0)
        return false;
    return static_cast<std::int64_t>(secondsCounted) >= static_cast<std::int64_t>(lifetimeMinutes) * 60;
}

int Process_KernelMessageThread(SessionResources& resources, std::stop_token stop) {
    AppData& app = resources.App();
    app.KernelMailbox.Serve(
        [&](const KernelMessage& message) {
            switch (message.dw_KernelMessageCode) {
            case Get_Image_TimeOut_Message:
                RecoverFromStreamFailure(resources, stop);
                break;
            case Show_Image_Message:
                resources.DisplayFrame();
                break;
            case Alarm_Sound_Load_Message:
                ReloadAlarmSound(app);
                break;
            case Alarm_Sound_Stop_Message:
                SilenceAlarmSound(app);
                break;
            case Run_Player_Message:
                RunPlayer(app, message.path);
                break;
            default:
                break;
            }
            return true;
        },
        stop);
    return 0;
}

int Process_Terminate_Thread(SessionResources& resources, std::stop_token stop) {
    AppData& app = resources.App();
    while (app.h_Process_Notify_TerminateEvent.Wait(platform::kInfinite, stop)) {
        app.dw_VideoConnected = 0;
        app.dw_LifeTime = -1;
        app.h_EndofShowImageEvent.Set();
        app.h_EndofGetJpegImageEvent.Set();
        app.h_EndConnectionThreadEvent.Set();
        resources.TearDownSession();
        app.h_Process_Reply_TerminateEvent.Set();
    }
    return 0;
}

int Process_Init_Thread(SessionResources& resources, std::stop_token stop) {
    AppData& app = resources.App();
    while (app.h_Process_Notify_InitEvent.Wait(platform::kInfinite, stop)) {
        app.w_SocketBufferWriteIndex = 0;
        app.w_SocketBufferReadIndex = 0;
        app.w_SorelMp4DecodeIndex = 0;
        app.w_ImageWriteIndex = 0;
        if (resources.RebuildSession() == 0) {
            // Left unanswered, the requester's wait runs out and the stream
            // stays down; the next rebuild clears what was started and tries
            // again. During a close no rebuild is wanted: nothing to report.
            if (!resources.Closing())
                WriteTraceLog("Session rebuild failed");
            continue;
        }
        app.h_NotifyGetJPEGImageThreadResetEvent.Reset();
        app.h_EndofShowImageEvent.Reset();
        app.h_Process_Reply_InitEvent.Set();
    }
    return 0;
}

int ConnectionLifetimeThread(SessionResources& resources, std::stop_token stop) {
    AppData& app = resources.App();
    const platform::Timing& timing = resources.Timing();
    app.dw_LifeTimeSeconds = 0;

    // A tear-down before the session started ends the watchdog as well.
    const auto started = platform::WaitForAny(
        {&app.h_EndConnectionThreadEvent, &app.h_StartConnectionThreadEvent}, platform::kInfinite, stop);
    if (!started.signalled() || started.index == 0)
        return 0;
    if (!platform::SleepFor(timing.lifetimeStartDelay, stop))
        return 0;
    if (app.dw_LifeTime < 0)
        return 0;  // unlimited use

    app.dw_LifeTimeSeconds = 1;
    for (;;) {
        if (app.h_EndConnectionThreadEvent.Wait(timing.lifetimeTick, stop) || stop.stop_requested())
            return 0;  // torn down: end quietly
        const std::uint32_t seconds = app.dw_LifeTimeSeconds.fetch_add(1) + 1;
        if (LifetimeUsedUp(app.dw_LifeTime, seconds))
            break;
    }

    // From here the close is owed: a tear-down that stops this thread now
    // only shortens the waits.
    resources.BeginClose();
    app.h_NotifyGetJPEGImageThreadResetEvent.Set();
    app.h_FeedBackForNotifyResetEvent.Wait(timing.lifetimeResetFeedbackWait, stop);
    app.m_strSensorText.Set("");
    app.m_strAlarmChannel.Set("");
    app.Ui().SetStatusText(kLifeTimeUpText);
    platform::SleepFor(timing.lifetimeCloseDelay, stop);
    app.Ui().RequestClose();
    return 0;
}

}  // namespace session
