#include "session/login/ReLoginThread.h"

#include <algorithm>
#include <chrono>

#include "session/AppData.h"
#include "session/net/CommandSender.h"
#include "session/login/LoginExchange.h"
#include "session/files/TraceLog.h"

namespace session {

namespace {

constexpr std::uint64_t kPausesPerBackoffStep = 2000;

using Clock = std::chrono::steady_clock;

class ReLogin {
public:
    ReLogin(AppData& app, const platform::Timing& timing, std::stop_token stop)
        : app_(app), timing_(timing), stop_(std::move(stop)), started_(Clock::now()) {}

    void Run() {
        Start();
        while (!stop_.stop_requested()) {
            if (Attempt() && RestartSession())
                return;
            if (!RetryPause())
                return;
        }
    }

private:
    // Step 1: the session is being re-made from nothing.
    void Start() {
        app_.dw_StreamReceiving = 0;
        app_.dw_GetImageThreadRunning = 1;
        app_.by_MouseMode = 1;
        app_.m_strAlarmChannel = std::string();
        Post(kStatusStartLogin);
        if (!app_.C_ControlD.IsCurrentMaster())
            app_.Ui().SetButtonImage(kPtzControlButtonId, 0, std::string());
        app_.C_ControlD.Clear();
        // A host name typed by the user is resolved again, not the address an
        // earlier login rewrote the server setting to.
        const std::string typed = app_.CSettingINI.m_szServerAddress.Get();
        if (!typed.empty())
            app_.CSettingINI.m_strServerName = typed;
    }

    // Steps 2 to 4; true when the device answered both requests.
    bool Attempt() {
        CSettingINI& settings = app_.CSettingINI;
        WriteTraceLog("Start send login command");
        const std::string server = settings.m_strServerName.Get();
        const bool hostName = IsNumericHost(server) != 2;

        const std::uint16_t result = RunLoginRequest(app_, Options());
        if (result != kLoginLoggedIn) {
            WriteTraceLog("login failed");
            if (hostName)
                settings.m_strServerName = server;
            if (result == kLoginTooManyUsers) {
                Post(kStatusTooManyUsers);
                if (!Sleep(timing_.tooManyUsersWait))
                    return false;
            }
            return false;
        }
        WriteTraceLog("login success");
        if (stop_.stop_requested())
            return false;

        WriteTraceLog("start to send get device info command");
        int sent = 0;
        reply_ = RequestDeviceInfo(app_, Options(), DeviceInfoRules::ReLogin, &sent);
        // The sender's word; an empty reply is still retried.
        WriteTraceLog(sent == 1 ? "Command success" : "Command failed");
        return reply_.has_value();
    }

    // Steps 6 and 7; false when the session could not be rebuilt (it is then
    // torn down again and the whole exchange retried).
    bool RestartSession() {
        app_.C_ControlD.Clear();  // a retried rebuild reads the list afresh
        ApplyDeviceInfoReply(app_, *reply_);
        ChooseCurrentControlDevice(app_);
        Post(kStatusConnected);
        app_.Ui().RequestRelayout();

        if (!RequestSessionRebuild(app_, timing_, stop_)) {
            if (stop_.stop_requested())
                return false;
            WriteTraceLog("Session rebuild failed");
            RequestSessionTeardown(app_, timing_, stop_);
            return false;
        }
        if (app_.CUserRecord().ResumeRecord())
            app_.Ui().SetButtonState(kRecordButtonFlag, 1);
        if (!Sleep(timing_.startEventDelay))
            return false;
        WriteTraceLog("Send start event");
        SendStartEvents(app_);
        return true;
    }

    // Step 5; false when a stop came.
    bool RetryPause() {
        if (!Sleep(timing_.reloginFirstWait))
            return false;
        const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - started_).count();
        Post(kStatusLoginFailed);
        const auto backoff = RetryBackoffWait(pauses_, timing_);
        ++pauses_;
        if (!Sleep(backoff))
            return false;
        Post(kStatusElapsed, static_cast<unsigned>(elapsed));
        Post(kStatusDisconnected);
        if (!Sleep(timing_.reloginLastWait))
            return false;
        Post(kStatusStartLogin);
        return true;
    }

    ExchangeOptions Options() {
        ExchangeOptions options;
        options.timing = timing_;
        options.stop = stop_;
        // One "IP Address is wrong." per run: the retries go on without a pile of notices.
        options.wrongAddressNotice = [this] {
            if (!wrongAddressShown_)
                app_.Ui().ShowMessageText(std::string(kWrongAddressText));
            wrongAddressShown_ = true;
        };
        return options;
    }

    bool Sleep(platform::Timing::ms duration) { return platform::SleepFor(duration, stop_); }
    void Post(int code, unsigned value = 0) { app_.Ui().ShowStatus(code, value); }

    AppData& app_;
    const platform::Timing timing_;
    std::stop_token stop_;
    const Clock::time_point started_;
    std::uint64_t pauses_ = 0;
    bool wrongAddressShown_ = false;
    std::optional<std::string> reply_;
};

}  // namespace

platform::Timing::ms RetryBackoffWait(std::uint64_t pausesBefore, const platform::Timing& timing) {
    const std::uint64_t steps = pausesBefore / kPausesPerBackoffStep + 1;
    const auto step = timing.reloginBackoffStep.count();
    const auto cap = timing.reloginBackoffMax.count();
    // Compared before multiplying, so a huge pause count cannot overflow.
    if (step > 0 && steps > static_cast<std::uint64_t>(cap / step))
        return timing.reloginBackoffMax;
    return std::min(timing.reloginBackoffMax, platform::Timing::ms(static_cast<long long>(steps) * step));
}

void ReLoginThread(AppData& app, const platform::Timing& timing, std::stop_token stop) {
    ReLogin(app, timing, std::move(stop)).Run();
}

bool StartReLoginThread(AppData& app, const platform::Timing& timing) {
    StopReLoginThread(app);
    return app.h_ReLoginThread.Start(
        [&app, timing](std::stop_token stop) { ReLoginThread(app, timing, std::move(stop)); });
}

void StopReLoginThread(AppData& app) { app.h_ReLoginThread.Stop(); }

bool RequestSessionRebuild(AppData& app, const platform::Timing& timing, std::stop_token stop) {
    app.h_Process_Reply_InitEvent.Reset();  // an answer to an earlier request is not this one's
    app.h_Process_Notify_InitEvent.Set();
    return app.h_Process_Reply_InitEvent.Wait(timing.sessionRebuildTimeout, stop);
}

void SendStartEvents(AppData& app) {
    app.h_StartConnectionThreadEvent.Set();
    app.h_StartToGetJpegImageEvent.Set();
}

bool RequestSessionTeardown(AppData& app, const platform::Timing& timing, std::stop_token stop) {
    app.h_Process_Reply_TerminateEvent.Reset();
    app.h_Process_Notify_TerminateEvent.Set();
    return app.h_Process_Reply_TerminateEvent.Wait(timing.sessionTeardownTimeout, stop);
}

}  // namespace session
