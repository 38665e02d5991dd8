#include "session/login/ReLoginThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/FakeNameServer.h"
#include "fakes/RecordingRecorderPort.h"
#include "fakes/RecordingUiPort.h"
#include "platform/WorkerThread.h"
#include "session/AppData.h"
#include "session/login/LoginExchange.h"
#include "session/login/LoginThread.h"
#include "support/TempFolder.h"
#include "session/files/TraceLog.h"
#include "support/WaitUntil.h"
#include "simulator/DeviceSimulator.h"

namespace {

using namespace std::chrono_literals;
using platform::Timing;
using session::AppData;

TEST(RetryBackoffTest, GrowsEveryTwoThousandPausesUpToThirtySeconds) {
    const Timing timing;
    const std::pair<std::uint64_t, long long> cases[] = {
        {0, 3000},      {1999, 3000},   {2000, 6000},   {3999, 6000},  {4000, 9000},
        {17999, 27000}, {18000, 30000}, {500000, 30000}, {UINT64_MAX, 30000},
    };
    for (const auto& [pausesBefore, wait] : cases)
        EXPECT_EQ(session::RetryBackoffWait(pausesBefore, timing).count(), wait) << pausesBefore;
}

// Status codes posted, with what the application data held when 7 and 3 came.
class StatusUi : public fakes::RecordingUiPort {
public:
    explicit StatusUi(AppData& app) : app_(app) {}
    void ShowStatus(int code, unsigned value) override {
        if (code == session::kStatusTooManyUsers)
            loginResultAtTooManyUsers = app_.w_LoginResult.load();
        if (code == session::kStatusLoginFailed)
            serverAtPause.Set(app_.CSettingINI.m_strServerName.Get());
        fakes::RecordingUiPort::ShowStatus(code, value);
    }
    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const auto& call : Calls())
            if (call.rfind("showstatus:", 0) == 0)
                codes.push_back(std::stoi(call.substr(11)));
        return codes;
    }
    // Waits until the call has been made at least `times` times.
    bool WaitFor(const std::string& call, int times = 1) const {
        return testutil::WaitUntil([&] { return Count(call) >= times; });
    }

    std::atomic<std::uint16_t> loginResultAtTooManyUsers{0};
    session::SharedText serverAtPause;

private:
    AppData& app_;
};

// Stands in for the process init and terminate threads: answers rebuild and
// tear-down requests, ignoring the first `ignoredRebuilds` rebuilds.
class FakeProcessThreads {
public:
    FakeProcessThreads(AppData& app, int ignoredRebuilds = 0) : ignored_(ignoredRebuilds) {
        thread_.Start([this, &app](std::stop_token stop) {
            while (true) {
                auto woken = platform::WaitForAny({&app.h_Process_Notify_InitEvent, &app.h_Process_Notify_TerminateEvent},
                                                  platform::kInfinite, stop);
                if (!woken.signalled())
                    return;
                if (woken.index == 0) {
                    if (++rebuilds > ignored_)
                        app.h_Process_Reply_InitEvent.Set();
                } else {
                    ++teardowns;
                    app.h_Process_Reply_TerminateEvent.Set();
                }
            }
        });
    }
    ~FakeProcessThreads() { thread_.Stop(); }

    std::atomic<int> rebuilds{0};
    std::atomic<int> teardowns{0};

private:
    const int ignored_;
    platform::WorkerThread thread_;
};

Timing ShortTiming() {
    Timing timing;
    timing.connectTimeout = 2000ms;
    timing.commandTimeout = 2000ms;
    timing.sysCfgQueryTimeout = 2000ms;
    timing.reloginFirstWait = 10ms;
    timing.reloginBackoffStep = 10ms;
    timing.reloginBackoffMax = 100ms;
    timing.reloginLastWait = 10ms;
    timing.tooManyUsersWait = 200ms;
    // The stand-in process threads answer at once; the time-outs outlast a loaded machine.
    timing.sessionRebuildTimeout = 10000ms;
    timing.sessionTeardownTimeout = 10000ms;
    timing.startEventDelay = 10ms;
    return timing;
}

devicesim::Fault LoginReplyWithoutSessionId() {
    return {"no session id", [](devicesim::Reply& reply) { reply.body = "Firmware-Version=1052;Product-ID=R41T;"; }};
}

class ReLoginThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        session::TraceLog(1000, folder.path());
        ASSERT_TRUE(device.Start());
        device.UpdateProfile([](devicesim::DeviceProfile& profile) {
            profile.linkDevice = 8;
            profile.lifetime = 10;
        });
        app.SetUiPort(&ui);
        app.SetRecorders(nullptr, &userRecorder, nullptr);
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device.Port();
    }
    void TearDown() override {
        session::StopReLoginThread(app);
        session::FreeTraceLog();
    }

    // Starts a run and waits until it has set the start events and ended.
    void RunToTheEnd() {
        const auto started = std::chrono::steady_clock::now();
        ASSERT_TRUE(session::StartReLoginThread(app, timing));
        ASSERT_TRUE(app.h_StartToGetJpegImageEvent.Wait(20000ms)) << "no stream start";
        app.h_ReLoginThread.Join();
        runTime = std::chrono::steady_clock::now() - started;
    }

    std::vector<std::string> TraceLines() const {
        std::vector<std::string> lines;
        std::istringstream in(folder.Read("trace.log"));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    int TraceCount(const std::string& text) const {
        const auto lines = TraceLines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), text));
    }

    testutil::TempFolder folder;
    AppData app;
    StatusUi ui{app};
    fakes::RecordingRecorderPort userRecorder;
    devicesim::DeviceSimulator device;
    Timing timing = ShortTiming();
    std::chrono::steady_clock::duration runTime{};
};

TEST_F(ReLoginThreadTest, LogsInReadsTheDeviceAndRestartsTheSession) {
    app.by_MouseMode = 2;
    app.dw_StreamReceiving = 1;
    app.m_strAlarmChannel = "CH1";
    app.C_ControlD.AddDevice(2400, 1, 8, mainwindow::kControlDeviceSlave);
    app.C_ControlD.AddDevice(2400, 2, 8, mainwindow::kControlDeviceSlave);
    userRecorder.writing = true;  // a manual recording waits to go on
    FakeProcessThreads process(app);

    RunToTheEnd();

    EXPECT_TRUE(app.h_StartConnectionThreadEvent.Wait(0ms)) << "the lifetime thread is started too";
    EXPECT_EQ(process.rebuilds, 1);
    EXPECT_EQ(ui.Codes(), (std::vector<int>{1, 5}));
    EXPECT_TRUE(ui.Contains("buttonimage:8312,0,")) << "the PTZ button leaves its master picture";
    EXPECT_TRUE(ui.Contains("relayout"));
    EXPECT_TRUE(ui.Contains("button:32,1")) << "the record button shows the resumed recording";
    EXPECT_EQ(app.dw_GetImageThreadRunning, 1u);
    EXPECT_EQ(app.dw_StreamReceiving, 0u);
    EXPECT_EQ(app.by_MouseMode, 1);
    EXPECT_EQ(app.m_strAlarmChannel.Get(), "");
    EXPECT_EQ(app.w_LoginResult, session::kLoginLoggedIn);
    EXPECT_EQ(app.dw_LifeTime, 10);
    const auto state = app.C_ControlD.Snapshot();
    ASSERT_EQ(state.m_byCount, 1) << "the list was cleared before the device's own";
    EXPECT_EQ(state.entries[0].byType, 8);
    EXPECT_TRUE(app.C_ControlD.IsCurrentMaster());

    EXPECT_EQ(TraceLines(), (std::vector<std::string>{"Start send login command", "login success",
                                                      "start to send get device info command", "Command success",
                                                      "Send start event"}));
}

TEST_F(ReLoginThreadTest, RefusalForTooManyUsersWaitsLongerThenTheUsualPause) {
    device.AddFault("/Login.cgi", devicesim::Fault::Status(202));
    FakeProcessThreads process(app);

    RunToTheEnd();

    EXPECT_EQ(ui.Codes(), (std::vector<int>{1, 7, 3, 0, 6, 1, 5}));
    EXPECT_EQ(ui.loginResultAtTooManyUsers, session::kLoginTooManyUsers);
    EXPECT_GE(runTime, timing.tooManyUsersWait + timing.reloginFirstWait + timing.reloginBackoffStep +
                           timing.reloginLastWait + timing.startEventDelay);
    EXPECT_EQ(TraceCount("login failed"), 1);
    EXPECT_EQ(device.RequestsFor("/Login.cgi").size(), 2u);
}

TEST_F(ReLoginThreadTest, LoginReplyWithoutSessionIdIsRetriedAfterThePause) {
    device.AddFault("/Login.cgi", LoginReplyWithoutSessionId(), 2);
    FakeProcessThreads process(app);

    RunToTheEnd();

    EXPECT_EQ(ui.Codes(), (std::vector<int>{1, 3, 0, 6, 1, 3, 0, 6, 1, 5}));
    EXPECT_EQ(ui.Count("showstatus:7,0"), 0);
    EXPECT_GE(runTime, 2 * (timing.reloginFirstWait + timing.reloginBackoffStep + timing.reloginLastWait));
    EXPECT_EQ(TraceCount("login failed"), 2);
    EXPECT_EQ(TraceCount("login success"), 1);
    EXPECT_EQ(device.RequestsFor("/Getdeviceinfo.cgi").size(), 1u) << "no device information after a failed login";
}

// The trace says what the sender said: an empty status-200 reply is a
// command that succeeded, and is retried all the same.
TEST_F(ReLoginThreadTest, FailedOrEmptyDeviceInformationIsRetried) {
    device.AddFault("/Getdeviceinfo.cgi", devicesim::Fault::Status(500));
    device.AddFault("/Getdeviceinfo.cgi", {"empty", [](devicesim::Reply& reply) { reply.body.clear(); }});
    FakeProcessThreads process(app);

    RunToTheEnd();

    EXPECT_EQ(TraceCount("Command failed"), 1);
    EXPECT_EQ(TraceCount("Command success"), 2);
    EXPECT_EQ(device.RequestsFor("/Login.cgi").size(), 3u);
    EXPECT_EQ(ui.Count("showstatus:5,0"), 1);
}

TEST_F(ReLoginThreadTest, AFailedRebuildIsReportedTornDownAndRetried) {
    FakeProcessThreads process(app, 1);
    timing.sessionRebuildTimeout = 1000ms;  // waited out once

    RunToTheEnd();

    EXPECT_EQ(process.rebuilds, 2);
    EXPECT_EQ(process.teardowns, 1);
    EXPECT_EQ(TraceCount("Session rebuild failed"), 1);
    EXPECT_EQ(TraceCount("Send start event"), 1);
    EXPECT_EQ(device.RequestsFor("/Login.cgi").size(), 2u);
    EXPECT_EQ(ui.Count("showstatus:3,0"), 1);
    EXPECT_EQ(app.C_ControlD.Snapshot().m_byCount, 1) << "the retry read the list afresh";
}

TEST_F(ReLoginThreadTest, AHostNameIsResolvedAgainForEveryAttempt) {
    // An earlier login left the resolved address; the run starts from the name.
    app.CSettingINI.m_szServerAddress = "localhost";
    app.CSettingINI.m_strServerName = "127.0.0.2";
    device.AddFault("/Login.cgi", devicesim::Fault::Status(401));
    FakeProcessThreads process(app);

    RunToTheEnd();

    EXPECT_EQ(ui.serverAtPause.Get(), "localhost") << "the failed attempt gave the name back";
    EXPECT_EQ(app.CSettingINI.m_strServerName.Get(), "127.0.0.1");
    EXPECT_EQ(app.CSettingINI.m_szServerAddress.Get(), "localhost");
}

// A name typed for a device that then could not be reached is forgotten once
// the person types another address: the save and the re-login after a stream
// drop go to the device that accepted the login.
TEST_F(ReLoginThreadTest, AnAddressTypedAfterAFailedNameIsSavedAndLoggedInAgain) {
    fakes::FakeNameServer names;
    names.Answer("old-dvr.test", 0x7F000002);  // 127.0.0.2: nothing listens there
    session::LoginFields fields{"old-dvr.test", "tovik", "tovik", std::to_string(device.Port())};
    ASSERT_NE(session::RunDialogLogin(app, fields, timing), 0);
    fields.server = "127.0.0.1";
    ASSERT_EQ(session::RunDialogLogin(app, fields, timing), 0);

    app.CSettingINI.m_strAppPath = folder.path().string() + "/";
    app.CSettingINI.SaveSetting(5);
    EXPECT_NE(folder.Read("Setting.ini").find("Server Name=127.0.0.1\r\n"), std::string::npos);

    FakeProcessThreads process(app);
    RunToTheEnd();
    EXPECT_EQ(device.RequestsFor("/Login.cgi").size(), 2u) << "the dialog's login and the re-login";
    EXPECT_EQ(names.Asked().Count("old-dvr.test"), 1);
    EXPECT_EQ(app.CSettingINI.m_strServerName.Get(), "127.0.0.1");
}

TEST_F(ReLoginThreadTest, AnUnresolvableHostGivesOneNoticePerRunAndTheRetriesGoOn) {
    app.CSettingINI.m_strServerName = "no-such-device.invalid";
    const std::string notice = "msgtext:IP Address is wrong.";
    for (int run = 1; run <= 2; ++run) {
        const int attemptsBefore = ui.Count("showstatus:1,0");
        ASSERT_TRUE(session::StartReLoginThread(app, timing));
        ASSERT_TRUE(ui.WaitFor("showstatus:1,0", attemptsBefore + 4)) << "the retries go on";
        session::StopReLoginThread(app);
        EXPECT_EQ(ui.Count(notice), run) << "run " << run;
        EXPECT_EQ(app.CSettingINI.m_strServerName.Get(), "no-such-device.invalid");
        EXPECT_EQ(app.w_LoginResult, session::kLoginNotLoggedIn);
    }
    EXPECT_TRUE(device.Requests().empty());
}

using testutil::WaitUntil;

TEST_F(ReLoginThreadTest, AStopEndsTheThreadPromptly) {
    fakes::FakeNameServer names;
    names.Silence("silent-dvr.test");
    struct Case {
        const char* name;
        std::function<void(Timing&)> arrange;
        int ignoredRebuilds;
        std::function<bool(const FakeProcessThreads&)> reached;  // the thread is in the wait to cut short
    };
    const Case cases[] = {
        {"retry pause",
         [&](Timing& t) {
             t.reloginBackoffStep = t.reloginBackoffMax = 30s;
             device.AddFault("/Login.cgi", devicesim::Fault::Status(401));
         },
         0, [&](const FakeProcessThreads&) { return ui.WaitFor("showstatus:3,0"); }},
        {"too-many-users wait",
         [&](Timing& t) {
             t.tooManyUsersWait = 30s;
             device.AddFault("/Login.cgi", devicesim::Fault::Status(202));
         },
         0, [&](const FakeProcessThreads&) { return ui.WaitFor("showstatus:7,0"); }},
        {"silent device",
         [&](Timing& t) {
             t.commandTimeout = 30s;
             device.AddFault("/Login.cgi", devicesim::Fault::Silence());
         },
         0, [&](const FakeProcessThreads&) { return device.WaitForRequests(1, 10s); }},
        {"rebuild without an answer", [&](Timing& t) { t.sessionRebuildTimeout = 30s; }, 1,
         [&](const FakeProcessThreads& p) { return WaitUntil([&] { return p.rebuilds == 1; }); }},
        {"start-event delay", [&](Timing& t) { t.startEventDelay = 30s; }, 0,
         [&](const FakeProcessThreads& p) { return WaitUntil([&] { return p.rebuilds == 1; }); }},
        {"silent name server", [&](Timing&) { app.CSettingINI.m_strServerName = "silent-dvr.test"; }, 0,
         [&](const FakeProcessThreads&) { return names.Asked().WaitForCount(1); }},
    };
    for (const auto& c : cases) {
        app.CSettingINI.m_strServerName = "127.0.0.1";
        ui.Clear();
        device.ClearFaults();
        device.ClearRequests();
        Timing t = ShortTiming();
        c.arrange(t);
        FakeProcessThreads process(app, c.ignoredRebuilds);
        ASSERT_TRUE(session::StartReLoginThread(app, t)) << c.name;
        ASSERT_TRUE(c.reached(process)) << c.name;
        std::this_thread::sleep_for(20ms);
        const auto before = std::chrono::steady_clock::now();
        session::StopReLoginThread(app);
        EXPECT_LT(std::chrono::steady_clock::now() - before, 2000ms) << c.name << ": far within the 30 s";
        EXPECT_FALSE(app.h_ReLoginThread.Running()) << c.name;
        EXPECT_FALSE(app.h_StartToGetJpegImageEvent.IsSet()) << c.name;
    }
}

TEST_F(ReLoginThreadTest, StartingAgainEndsTheRunningOne) {
    device.AddFault("/Login.cgi", devicesim::Fault::Status(401), -1);
    timing.reloginBackoffStep = 30s;
    timing.reloginBackoffMax = 30s;
    ASSERT_TRUE(session::StartReLoginThread(app, timing));
    ASSERT_TRUE(ui.WaitFor("showstatus:3,0"));
    device.ClearFaults();
    FakeProcessThreads process(app);
    timing = ShortTiming();
    RunToTheEnd();
    EXPECT_EQ(ui.Count("showstatus:5,0"), 1);
}

}  // namespace
