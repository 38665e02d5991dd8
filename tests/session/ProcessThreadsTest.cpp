#include "session/ProcessThreads.h"

#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fakes/CallLog.h"
#include "fakes/RecordingAlarmSound.h"
#include "fakes/RecordingUiPort.h"
#include "platform/SyncObjects.h"
#include "session/RecorderPort.h"
#include "session/AlarmSoundControl.h"
#include "session/AppData.h"
#include "session/tools/CompanionPlayer.h"
#include "session/KernelMailbox.h"
#include "session/SessionResources.h"
#include "support/TempFolder.h"
#include "session/files/TraceLog.h"
#include "support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using session::AppData;
using session::PostResult;
using session::SessionHooks;
using session::SessionResources;

// What the session's parts did, from every thread, in one order.
using Journal = fakes::CallLog;

class JournalRecorder : public recording::RecorderPort {
public:
    JournalRecorder(Journal& journal, std::string name) : journal_(journal), name_(std::move(name)) {}

    bool CreateResource() override { return Add("createresource"); }
    void CloseResource() override { Add("closeresource"); }
    bool CreateThread(std::uint8_t channel) override {
        return Add("createthread:" + std::to_string(channel));
    }
    void CloseThread() override {
        Add("closethread");
        for (int i = 0; holdClose && i < 10000; ++i)
            std::this_thread::sleep_for(1ms);
    }
    void StopRecord() override { Add("stoprecord"); }
    void TerminateRecord() override { Add("terminaterecord"); }

    // Holds a tear-down in its close until cleared (10 s at most).
    std::atomic<bool> holdClose{false};

private:
    bool Add(const std::string& call) {
        journal_.Add(name_ + ":" + call);
        return true;
    }
    Journal& journal_;
    std::string name_;
};

platform::Timing FastTiming() {
    platform::Timing timing;
    timing.sessionTeardownTimeout = 5000ms;
    timing.tearDownSettle = 1ms;
    timing.receiveResetFeedbackWait = 500ms;
    timing.lifetimeStartDelay = 2ms;
    timing.lifetimeTick = 2ms;
    timing.lifetimeResetFeedbackWait = 500ms;
    timing.lifetimeCloseDelay = 2ms;
    return timing;
}

using testutil::WaitUntil;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// Index of the first line, or of the end when it is missing.
std::size_t Position(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

// How many of the process and session threads are still attached.
int AttachedThreads(AppData& app) {
    int count = 0;
    for (auto* thread : {&app.h_Process_KernelMessageThread, &app.h_Process_Terminate_Thread,
                         &app.h_Process_Init_Thread, &app.h_ConnectionThread, &app.h_GetJpegImageThread,
                         &app.h_ComposeImageDataThread, &app.h_ShowImageDataThread})
        count += thread->Attached() ? 1 : 0;
    return count;
}

constexpr const char* kTraceStreamFailure = "case Get_Image_TimeOut_Message";
constexpr const char* kTraceStartEvent = "Send start event";

// One application's session machinery with fakes around it: recorders and a
// receive stage that write to the journal, a recording window, and a re-login
// that restarts the session like the real one.
struct Rig {
    Rig() {
        app.SetUiPort(&ui);
        app.SetRecorders(&alarm, &user, &schedule);
    }
    ~Rig() { resources.reset(); }

    // As the real receive thread: leaves quietly on a reset and says so, or
    // on a stream failure (streamFails) posts code 1 and ends.
    void FakeReceiveThread(std::stop_token stop) {
        const auto r = platform::WaitForAny(
            {&app.h_NotifyGetJPEGImageThreadResetEvent, &app.h_EndofGetJpegImageEvent, &streamFails},
            platform::kInfinite, stop);
        if (r.signalled() && r.index == 0) {
            journal.Add("receive:reset");
            app.h_FeedBackForNotifyResetEvent.Set();
        } else if (r.signalled() && r.index == 2) {
            journal.Add("receive:failed");
            app.KernelMailbox.Post(session::Get_Image_TimeOut_Message, 0, stop);
        }
    }

    // The device grants reloginLifetime, the init thread rebuilds, then the
    // start events (once allowStart is set).
    void FakeReLoginThread(std::stop_token stop) {
        journal.Add("relogin");
        app.dw_LifeTime = reloginLifetime.load();
        app.h_Process_Notify_InitEvent.Set();
        if (!app.h_Process_Reply_InitEvent.Wait(5000ms, stop))
            return;
        journal.Add("relogin:rebuilt");
        if (!allowStart.Wait(platform::kInfinite, stop))
            return;
        session::WriteTraceLog(kTraceStartEvent);
        app.h_StartConnectionThreadEvent.Set();
        app.h_StartToGetJpegImageEvent.Set();
    }

    SessionHooks Hooks(bool fakeReceive) {
        SessionHooks hooks;
        if (fakeReceive)
            hooks.ReceiveThread = [this](AppData&, const platform::Timing&, std::stop_token stop) {
                FakeReceiveThread(stop);
            };
        hooks.ReLoginThread = [this](AppData&, const platform::Timing&, std::stop_token stop) {
            FakeReLoginThread(stop);
        };
        hooks.StartThread = [this](platform::WorkerThread& thread, std::function<void(std::stop_token)> body) {
            return &thread != refuseThread.load() && thread.Start(std::move(body));
        };
        return hooks;
    }

    // Start-up's part: semaphores, process and session resources, the window's display.
    void Start(bool fakeReceive = true, const platform::Timing& timing = FastTiming()) {
        resources = std::make_unique<SessionResources>(app, timing, Hooks(fakeReceive));
        resources->SetFrameDisplay([this] {
            ++framesDrawn;
            app.h_FinishShowImageJobEvent.Set();
            return 1;
        });
        ASSERT_EQ(resources->InitialSemaphore(), 1);
        ASSERT_EQ(resources->InitProcessResource(), 1);
        ASSERT_EQ(resources->InitLoginResource(), 1);
        journal.Clear();
    }

    // The close button's path.
    void Close() {
        resources->BeginClose();
        resources->ExitLoginResource();
        resources->ExitProcessResource();
    }

    PostResult Post(std::uint32_t code) { return app.KernelMailbox.Post(code); }

    // Returns once the kernel thread has finished every code posted before.
    void WaitForKernelToFinish() {
        ASSERT_EQ(Post(0), PostResult::Posted);
        ASSERT_EQ(Post(0), PostResult::Posted);
    }

    Journal journal;
    JournalRecorder alarm{journal, "alarm"};
    JournalRecorder user{journal, "user"};
    JournalRecorder schedule{journal, "schedule"};
    fakes::RecordingUiPort ui;
    platform::Event allowStart{platform::Event::ResetMode::Manual, true};
    platform::Event streamFails;
    std::atomic<std::int32_t> reloginLifetime{-1};
    std::atomic<int> framesDrawn{0};
    AppData app;
    // The thread object whose start fails, as when the system has no thread to give.
    std::atomic<platform::WorkerThread*> refuseThread{nullptr};
    std::unique_ptr<SessionResources> resources;
};

class ProcessThreadsTest : public ::testing::Test {
protected:
    void SetUp() override { session::TraceLog(300, folder.path()); }
    void TearDown() override { session::FreeTraceLog(); }

    std::vector<std::string> TraceLines() {
        if (!std::filesystem::exists(folder.path() / "trace.log"))
            return {};
        return Lines(folder.Read("trace.log"));
    }

    testutil::TempFolder folder;
};

// ---- The kernel thread

TEST_F(ProcessThreadsTest, StreamFailureTearsDownThenLogsInAgainThenRebuilds) {
    Rig rig;
    rig.Start();
    rig.app.m_strSensorText.Set("sensor");
    rig.app.m_strAlarmChannel.Set("CH1");

    rig.streamFails.Set();
    ASSERT_TRUE(WaitUntil([&] { return rig.journal.Contains("relogin:rebuilt"); }));

    const std::vector<std::string> expected{
        // the stream fails; recording stops
        "receive:failed", "alarm:terminaterecord", "schedule:stoprecord",
        // tear-down
        "alarm:closethread", "user:closethread", "schedule:closethread", "alarm:closeresource",
        "user:closeresource", "schedule:closeresource",
        // re-login, then the rebuild it asks for
        "relogin", "alarm:createresource", "user:createresource", "schedule:createresource",
        "alarm:createthread:0", "user:createthread:0", "relogin:rebuilt"};
    EXPECT_EQ(rig.journal.Calls(), expected);
    EXPECT_TRUE(rig.ui.Contains("button:1,1"));
    EXPECT_EQ(rig.app.m_strSensorText.Get(), "");
    EXPECT_EQ(rig.app.m_strAlarmChannel.Get(), "");

    ASSERT_TRUE(WaitUntil([&] { return TraceLines().size() >= 2; }));
    EXPECT_EQ(TraceLines(), (std::vector<std::string>{kTraceStreamFailure, kTraceStartEvent}));
    EXPECT_TRUE(rig.app.h_ShowImageDataThread.Running());
    EXPECT_TRUE(rig.app.h_ConnectionThread.Attached());  // a new watchdog (unlimited use ends it soon)
}

// A port on this machine that nothing listens on.
std::uint16_t ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

TEST_F(ProcessThreadsTest, StreamReceiveThreadThatCannotConnectLeadsToReLogin) {
    Rig rig;
    rig.app.CSettingINI.m_strServerName = "127.0.0.1";
    rig.app.CSettingINI.m_wWebPort = ClosedPort();
    rig.Start(/*fakeReceive=*/false);
    rig.allowStart.Reset();  // one stream attempt only

    rig.app.h_StartToGetJpegImageEvent.Set();
    ASSERT_TRUE(WaitUntil([&] { return rig.journal.Contains("relogin:rebuilt"); }));
    const auto trace = TraceLines();
    EXPECT_LT(Position(trace, "sClient.Connect failed"), Position(trace, kTraceStreamFailure));
    EXPECT_LT(Position(trace, kTraceStreamFailure), trace.size());
    EXPECT_LT(Position(rig.journal.Calls(), "schedule:closeresource"), Position(rig.journal.Calls(), "relogin"));
}

TEST_F(ProcessThreadsTest, StreamFailureAfterACloseOrDisconnectHasBegunStartsNoReLogin) {
    const std::vector<std::pair<const char*, void (SessionResources::*)()>> cases{
        {"close", &SessionResources::BeginClose}, {"disconnect", &SessionResources::BeginDisconnect}};
    for (const auto& [name, begin] : cases) {
        SCOPED_TRACE(name);
        Rig rig;
        rig.Start();
        ((*rig.resources).*begin)();
        ASSERT_EQ(rig.Post(session::Get_Image_TimeOut_Message), PostResult::Posted);
        rig.WaitForKernelToFinish();
        // Recording stops; the tear-down is the close's or the disconnect's own.
        EXPECT_EQ(rig.journal.Calls(), (std::vector<std::string>{"alarm:terminaterecord", "schedule:stoprecord"}));
        EXPECT_FALSE(rig.app.h_ReLoginThread.Attached());
    }
}

TEST_F(ProcessThreadsTest, ConnectAfterADisconnectAllowsReLoginAgain) {
    Rig rig;
    rig.Start();
    rig.resources->BeginDisconnect();
    ASSERT_TRUE(rig.resources->StartReLoginThread());
    ASSERT_TRUE(WaitUntil([&] { return rig.journal.Contains("relogin:rebuilt"); }));
    rig.journal.Clear();

    ASSERT_EQ(rig.Post(session::Get_Image_TimeOut_Message), PostResult::Posted);
    EXPECT_TRUE(WaitUntil([&] { return rig.journal.Contains("relogin:rebuilt"); }));
}

TEST_F(ProcessThreadsTest, ReLoginThatCannotStartIsReportedAndTheMailboxGoesOn) {
    Rig rig;
    rig.refuseThread = &rig.app.h_ReLoginThread;
    rig.Start();
    ASSERT_EQ(rig.Post(session::Get_Image_TimeOut_Message), PostResult::Posted);
    ASSERT_EQ(rig.Post(session::Show_Image_Message), PostResult::Posted);
    EXPECT_TRUE(WaitUntil([&] { return rig.framesDrawn == 1; }));
    EXPECT_EQ(TraceLines(), (std::vector<std::string>{kTraceStreamFailure, "Cannot start ReLoginThread"}));
    EXPECT_TRUE(rig.app.h_Process_KernelMessageThread.Running());
}

TEST_F(ProcessThreadsTest, ExitCodeEndsTheKernelThreadAndLaterPostsDoNotWait) {
    Rig rig;
    rig.Start();
    ASSERT_EQ(rig.Post(session::Exit_Kernel_Message), PostResult::Posted);
    ASSERT_TRUE(WaitUntil([&] { return !rig.app.h_Process_KernelMessageThread.Running(); }));
    EXPECT_EQ(rig.Post(session::Show_Image_Message), PostResult::Closed);
    EXPECT_EQ(rig.framesDrawn, 0);
}

TEST_F(ProcessThreadsTest, UnknownCodesOnlyFreeTheSlot) {
    Rig rig;
    rig.Start();
    rig.ui.Clear();
    for (std::uint32_t code : {0u, 3u, 8u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(code);
        ASSERT_EQ(rig.app.KernelMailbox.Post(code, 1234), PostResult::Posted);
    }
    rig.WaitForKernelToFinish();
    EXPECT_TRUE(rig.journal.Calls().empty());
    EXPECT_TRUE(rig.ui.Calls().empty());
    EXPECT_EQ(rig.framesDrawn, 0);
    EXPECT_TRUE(TraceLines().empty());
    EXPECT_TRUE(rig.app.h_Process_KernelMessageThread.Running());
}

TEST_F(ProcessThreadsTest, PictureWithoutAFrameDisplayCountsAsDrawn) {
    Rig rig;
    rig.Start();
    rig.resources->SetFrameDisplay(nullptr);
    ASSERT_EQ(rig.Post(session::Show_Image_Message), PostResult::Posted);
    EXPECT_TRUE(rig.app.h_FinishShowImageJobEvent.Wait(5000ms));
}

// ---- The alarm sound (codes no part of the program posts)

TEST_F(ProcessThreadsTest, SoundCodesEndThePlaybackAndCodeFourLoadsTheSoundAgain) {
    struct Case {
        std::uint32_t code;
        bool loads;
        std::vector<std::string> sound;  // after the start's load and play; in order when code 4
        bool message;
    };
    const std::string path = "/nowhere/trigger.wav";
    const Case cases[] = {
        {session::Alarm_Sound_Load_Message, true, {"play:end", "load:" + path}, false},
        {session::Alarm_Sound_Load_Message, false, {"play:end", "load:" + path}, true},
        {session::Alarm_Sound_Stop_Message, true, {"clearsoundactive", "play:end"}, false},  // sorted
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Rig rig;
        fakes::RecordingAlarmSound sound(rig.app.h_StopAudioWavEvent);
        rig.app.SetAlarmSound(&sound);
        rig.app.CSettingINI.m_strTriggerWavPath.Set(path);
        rig.Start();
        ASSERT_EQ(session::StartAlarmSound(rig.app), 0);
        ASSERT_TRUE(WaitUntil([&] { return sound.Contains("play"); }));
        sound.Clear();
        rig.ui.Clear();
        sound.loads = c.loads;

        ASSERT_EQ(rig.Post(c.code), PostResult::Posted);
        rig.WaitForKernelToFinish();
        ASSERT_TRUE(WaitUntil([&] { return sound.Calls().size() == c.sound.size(); }));
        auto calls = sound.Calls();
        if (c.code == session::Alarm_Sound_Stop_Message)
            std::sort(calls.begin(), calls.end());
        EXPECT_EQ(calls, c.sound);
        EXPECT_EQ(rig.ui.Contains("msgbox:4096"), c.message);
        EXPECT_FALSE(rig.app.h_StopAudioWavEvent.IsSet() && c.code == session::Alarm_Sound_Load_Message)
            << "code 4 re-arms the stop event";
        EXPECT_EQ(rig.app.dw_AlarmAudioRequested, 1u) << "the codes leave the flags alone";
        rig.Close();
        rig.app.SetAlarmSound(nullptr);
    }
}

// ---- The companion player

TEST_F(ProcessThreadsTest, PlayerGetsTheFileAndConvertAsSeparateArguments) {
    folder.Write(std::string(session::kCompanionPlayerName),
                 "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
                 "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
    ASSERT_EQ(::chmod((folder.path() / session::kCompanionPlayerName).c_str(), 0755), 0);
    Rig rig;
    rig.app.CSettingINI.m_strAppPath.Set(folder.path().string() + "/");
    rig.Start();

    const std::string file = folder.path().string() + "/Pobrane nagrania/kamera 1.kfr";
    ASSERT_EQ(rig.app.KernelMailbox.PostRunPlayer(file), PostResult::Posted);
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(folder.path() / "args.txt"); }));
    EXPECT_EQ(folder.Read("args.txt"), file + "\nCONVERT=0\n");
    EXPECT_FALSE(rig.ui.Contains("msgbox:4108"));
}

TEST_F(ProcessThreadsTest, MissingPlayerShowsItsMessageAndPicturesGoOn) {
    Rig rig;
    rig.app.CSettingINI.m_strAppPath.Set(folder.path().string() + "/");
    rig.Start();
    ASSERT_EQ(rig.app.KernelMailbox.PostRunPlayer("/nowhere/file.kfr"), PostResult::Posted);
    ASSERT_EQ(rig.Post(session::Show_Image_Message), PostResult::Posted);
    EXPECT_TRUE(WaitUntil([&] { return rig.framesDrawn == 1; }));
    EXPECT_TRUE(rig.ui.Contains("msgbox:4108"));
}

// ---- Tear-down and rebuild

TEST_F(ProcessThreadsTest, RebuildAskedDuringATearDownWaitsForItsEnd) {
    Rig rig;
    rig.Start();
    rig.user.holdClose = true;
    rig.app.h_Process_Notify_TerminateEvent.Set();
    ASSERT_TRUE(WaitUntil([&] { return rig.journal.Contains("user:closethread"); }));
    rig.app.h_Process_Notify_InitEvent.Set();  // surely while the tear-down runs
    std::this_thread::sleep_for(20ms);
    rig.user.holdClose = false;
    ASSERT_TRUE(rig.app.h_Process_Reply_InitEvent.Wait(10000ms));

    const auto lines = rig.journal.Calls();
    EXPECT_LT(Position(lines, "schedule:closeresource"), Position(lines, "alarm:createresource"));
    EXPECT_LT(Position(lines, "alarm:createresource"), lines.size());
    EXPECT_TRUE(rig.app.h_Process_Reply_TerminateEvent.Wait(0ms));
}

TEST_F(ProcessThreadsTest, RebuildOverASessionStillUpTearsItDownFirst) {
    Rig rig;
    rig.Start();
    rig.app.h_Process_Notify_InitEvent.Set();
    ASSERT_TRUE(rig.app.h_Process_Reply_InitEvent.Wait(5000ms));
    const auto lines = rig.journal.Calls();
    EXPECT_LT(Position(lines, "schedule:closeresource"), Position(lines, "alarm:createresource"));
    EXPECT_LT(Position(lines, "alarm:createresource"), lines.size());
    EXPECT_TRUE(rig.app.h_ShowImageDataThread.Running());
    EXPECT_TRUE(TraceLines().empty());
}

TEST_F(ProcessThreadsTest, TearDownLeavesNoVideoAndUnlimitedLifetimeUntilTheNextLogin) {
    Rig rig;
    rig.Start();
    rig.app.dw_VideoConnected = 1;
    rig.app.dw_LifeTime = 5;
    rig.app.h_Process_Notify_TerminateEvent.Set();
    ASSERT_TRUE(rig.app.h_Process_Reply_TerminateEvent.Wait(5000ms));
    EXPECT_EQ(rig.app.dw_VideoConnected, 0u);
    EXPECT_EQ(rig.app.dw_LifeTime, -1);
}

TEST_F(ProcessThreadsTest, RebuildAskedOnceTheCloseHasBegunStartsNoNewSession) {
    Rig rig;
    rig.Start();
    // The close path has torn the session down when a re-login that was
    // already under way asks for its rebuild.
    rig.resources->BeginClose();
    rig.resources->ExitLoginResource();
    rig.app.h_Process_Notify_InitEvent.Set();
    ASSERT_TRUE(WaitUntil([&] { return !rig.app.h_Process_Notify_InitEvent.IsSet(); }));
    rig.resources->ExitProcessResource();

    EXPECT_EQ(AttachedThreads(rig.app), 0);
    EXPECT_FALSE(rig.journal.Contains("alarm:createresource"));
    EXPECT_TRUE(TraceLines().empty());
}

TEST_F(ProcessThreadsTest, RepeatedRecoveriesThenCloseLeaveNothingRunning) {
    Rig rig;
    rig.Start();
    for (int cycle = 1; cycle <= 10; ++cycle) {
        rig.streamFails.Set();
        ASSERT_TRUE(WaitUntil([&] { return rig.journal.Count("relogin:rebuilt") == cycle; })) << cycle;
    }
    rig.Close();
    EXPECT_EQ(AttachedThreads(rig.app), 0);
    EXPECT_FALSE(rig.app.h_ReLoginThread.Attached());
    EXPECT_EQ(rig.app.h_SocketBufferFreeSem.Count(), 1);
    EXPECT_EQ(rig.app.h_JPEGImageBufferFreeSem.Count(), 1);
    EXPECT_EQ(rig.Post(session::Show_Image_Message), PostResult::Closed);

    // The exit runs the release routines again: only the recorders' stoppers
    // run once more, which they ignore.
    rig.resources->ExitLoginResource();
    rig.resources->ExitProcessResource();
    rig.resources->CloseSemaphores();
    EXPECT_EQ(rig.journal.Count("alarm:createresource"), 10);
    EXPECT_EQ(rig.journal.Count("alarm:closeresource"), 10 + 1);
    EXPECT_EQ(rig.journal.Count("alarm:closethread"), 10 + 2);
}

TEST_F(ProcessThreadsTest, ThreadThatCannotStartFailsItsRoutineReportedAndIsReleasedCleanly) {
    struct Case {
        platform::WorkerThread AppData::*thread;
        const char* name;
        bool processResource;  // else a session resource
    };
    const Case cases[] = {
        {&AppData::h_Process_Terminate_Thread, "Process_Terminate_Thread", true},
        {&AppData::h_Process_Init_Thread, "Process_Init_Thread", true},
        {&AppData::h_Process_KernelMessageThread, "Process_KernelMessageThread", true},
        {&AppData::h_ConnectionThread, "ConnectionLifetimeThread", false},
        {&AppData::h_GetJpegImageThread, "Jpeg_TCP_Get_Image_Data_Thread", false},
        {&AppData::h_ComposeImageDataThread, "Jpeg_Compose_Image_Data_Thread", false},
        {&AppData::h_ShowImageDataThread, "Jpeg_Show_Image_Data_Thread", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(folder.path() / "trace.log");
        Rig rig;
        rig.refuseThread = &(rig.app.*c.thread);
        rig.resources = std::make_unique<SessionResources>(rig.app, FastTiming(), rig.Hooks(true));
        const int process = rig.resources->InitProcessResource();
        const int login = rig.resources->InitLoginResource();
        EXPECT_EQ(process, c.processResource ? 0 : 1);
        EXPECT_EQ(login, c.processResource ? 1 : 0);
        EXPECT_EQ(TraceLines(), std::vector<std::string>{std::string("Cannot start ") + c.name});

        rig.Close();
        EXPECT_EQ(rig.Post(session::Show_Image_Message), PostResult::Closed);
        EXPECT_EQ(AttachedThreads(rig.app), 0);
    }
}

// ---- The lifetime watchdog

TEST_F(ProcessThreadsTest, LifetimeLimitClosesThroughTheClosePathAtTheGrantedMinutes) {
    struct Case {
        std::int32_t lifetime;
        std::uint32_t secondsAtClose;
    };
    // 1 minute: 60 counted seconds; 0: the count's first step after the start
    // second.
    for (const Case c : {Case{1, 60}, Case{0, 2}}) {
        SCOPED_TRACE(c.lifetime);
        Rig rig;
        rig.Start();
        rig.app.dw_LifeTime = c.lifetime;
        rig.app.h_StartConnectionThreadEvent.Set();
        ASSERT_TRUE(WaitUntil([&] { return rig.ui.Contains("close"); }));
        EXPECT_EQ(rig.app.dw_LifeTimeSeconds, c.secondsAtClose);
        EXPECT_EQ(rig.ui.Calls(),
                  (std::vector<std::string>{std::string("status:") + session::kLifeTimeUpText, "close"}));
        EXPECT_TRUE(rig.journal.Contains("receive:reset"));  // the stream was dropped first
        EXPECT_TRUE(rig.resources->ClosingOrDisconnected());
    }
}

TEST_F(ProcessThreadsTest, NegativeLifetimeIsUnlimited) {
    for (std::int32_t lifetime : {-1, -2, -71582789}) {
        SCOPED_TRACE(lifetime);
        Rig rig;
        rig.Start();
        rig.app.dw_LifeTime = lifetime;
        rig.app.h_StartConnectionThreadEvent.Set();
        ASSERT_TRUE(WaitUntil([&] { return !rig.app.h_ConnectionThread.Running(); }));
        EXPECT_EQ(rig.app.dw_LifeTimeSeconds, 0u);
        EXPECT_FALSE(rig.ui.Contains("close"));
    }
}

TEST_F(ProcessThreadsTest, HugeLifetimeDoesNotWrapIntoAShortOne) {
    Rig rig;
    rig.Start();
    rig.app.dw_LifeTime = 71582789;  // × 60 is 44 in 32 bits
    rig.app.h_StartConnectionThreadEvent.Set();
    ASSERT_TRUE(WaitUntil([&] { return rig.app.dw_LifeTimeSeconds >= 200; }));
    EXPECT_FALSE(rig.ui.Contains("close"));
    EXPECT_TRUE(rig.app.h_ConnectionThread.Running());
}

TEST_F(ProcessThreadsTest, StreamFailureDuringTheCountEndsItQuietlyAndTheNextSessionCountsFromZero) {
    Rig rig;
    // Slow enough ticks that the stream failure, set half-way, is handled
    // before the count could reach its end, even on a loaded machine.
    platform::Timing timing = FastTiming();
    timing.lifetimeTick = 25ms;
    rig.Start(true, timing);
    rig.allowStart.Reset();
    rig.reloginLifetime = 1;
    rig.app.dw_LifeTime = 1;
    rig.app.h_StartConnectionThreadEvent.Set();
    ASSERT_TRUE(WaitUntil([&] { return rig.app.dw_LifeTimeSeconds >= 30; }));

    rig.streamFails.Set();
    ASSERT_TRUE(WaitUntil([&] { return rig.journal.Contains("relogin:rebuilt"); }));
    ASSERT_TRUE(WaitUntil([&] { return rig.app.dw_LifeTimeSeconds == 0; }));
    EXPECT_FALSE(rig.ui.Contains(std::string("status:") + session::kLifeTimeUpText));
    EXPECT_FALSE(rig.ui.Contains("close"));

    rig.allowStart.Set();
    ASSERT_TRUE(WaitUntil([&] { return rig.ui.Contains("close"); }));
    EXPECT_EQ(rig.app.dw_LifeTimeSeconds, 60u);
}

TEST_F(ProcessThreadsTest, WatchdogWaitingForItsStartEndsWithTheTearDown) {
    Rig rig;
    rig.Start();
    EXPECT_EQ(rig.resources->ExitLoginResource(), 1);
    EXPECT_FALSE(rig.app.h_ConnectionThread.Attached());
    EXPECT_TRUE(rig.ui.Calls().empty());
}

}  // namespace
