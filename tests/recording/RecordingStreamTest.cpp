// Recording through the whole session against the device simulator: the
// stream's frame headers start and stop the alarm recorder, the record
// button's calls run the manual recorder across a dropped stream and its
// automatic re-login, and the main window's close ends both. The files are
// read back.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "KfrReader.h"
#include "fakes/RecordingUiPort.h"
#include "fakes/TestPictures.h"
#include "recording/Recorders.h"
#include "session/AppData.h"
#include "session/ApplicationStartup.h"
#include "session/SessionResources.h"
#include "session/files/TraceLog.h"
#include "session/login/LoginExchange.h"
#include "session/login/ReLoginThread.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/VideoStream.h"
#include "support/TempFolder.h"
#include "support/WaitUntil.h"
#include "platform/AtomicFile.h"

namespace recording {
namespace {

using namespace std::chrono_literals;
using testutil::WaitUntil;

// The waits of a run, shortened so a re-login takes a fraction of a second.
platform::Timing ShortTiming() {
    platform::Timing t;
    t.connectTimeout = 2000ms;
    t.reloginFirstWait = 50ms;
    t.reloginBackoffStep = 50ms;
    t.reloginLastWait = 50ms;
    t.startEventDelay = 50ms;
    t.tearDownSettle = 10ms;
    return t;
}

// The stream's header field that reports an alarm input.
devicesim::FrameHeaderValues Alarm() {
    devicesim::FrameHeaderValues fields;
    fields.alarmInput = 1;
    return fields;
}

// Message boxes as the GUI thread shows them: the showing call returns only
// when the operator closes the box.
class ModalUiPort : public fakes::RecordingUiPort {
public:
    void ShowMessageText(const std::string& text) override {
        RecordingUiPort::ShowMessageText(text);
        std::unique_lock lock(mutex_);
        closed_.wait(lock, [&] { return !holding_; });
    }
    void HoldBoxes() {
        std::lock_guard lock(mutex_);
        holding_ = true;
    }
    void CloseBoxes() {
        {
            std::lock_guard lock(mutex_);
            holding_ = false;
        }
        closed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable closed_;
    bool holding_ = false;
};

// A session with the alarm-following product, logged in, its threads
// started; Start sends the start events the main window sends.
class RecordingStreamTest : public testing::Test {
protected:
    void SetUp() override {
        session::TraceLog(300, folder.path());
        stream.SetPictures({picture});
        stream.SetFrameRate(50);
        ASSERT_TRUE(device.Start());
        ASSERT_EQ(session::AllocateSystemBuffer(app), 1);
        app.SetUiPort(&ui);
        auto& settings = app.CSettingINI;
        settings.m_strServerName.Set("127.0.0.1");
        settings.m_wWebPort.store(device.Port());
        settings.m_strUserName.Set(device.Profile().userName);
        settings.m_strPassword.Set(device.Profile().password);
        std::filesystem::create_directories(RecordFolder());
        settings.m_strRecordPath.Set(RecordFolder().string());
        recorders = std::make_unique<Recorders>(app, folder.path());
        resources = std::make_unique<session::SessionResources>(app, timing);
        ASSERT_EQ(resources->InitialSemaphore(), 1);
        ASSERT_EQ(session::RunLoginRequest(app, {timing, {}, {}}), session::kLoginLoggedIn);
        app.str_ProductID.Set("R47T");  // the main window's start reads it with the device information
        ASSERT_EQ(resources->InitProcessResource(), 1);
        ASSERT_EQ(resources->InitLoginResource(), 1);
    }
    void TearDown() override {
        Close();
        resources.reset();
        recorders.reset();
        app.SetUiPort(nullptr);
        session::FreeTraceLog();
    }

    void Start() { session::SendStartEvents(app); }
    // The main window's close: the recorders, then the session's tear-down.
    void Close() {
        if (closed_)
            return;
        closed_ = true;
        resources->BeginClose();
        app.CAlarmRecord().TerminateRecord();
        app.CUserRecord().StopRecord();
        app.CSchRecord().StopRecord();
        resources->ExitLoginResource();
        resources->ExitProcessResource();
    }
    bool FramesSent(std::size_t n) { return stream.WaitForFrames(n, 20000ms); }

    std::filesystem::path RecordFolder() const { return folder.path() / "rec"; }
    std::vector<std::filesystem::path> Files(const std::string& prefix) const {
        std::vector<std::filesystem::path> files;
        for (const auto& e : std::filesystem::directory_iterator(RecordFolder()))
            if (e.path().filename().string().starts_with(prefix))
                files.push_back(e.path());
        std::sort(files.begin(), files.end());
        return files;
    }
    std::vector<AlarmDBItem> ListItems() {
        std::vector<AlarmDBItem> items;
        EXPECT_EQ(recorders->AlarmList().AlarmDB_Read(items), AlarmListResult::Ok);
        return items;
    }
    // The stream frame numbers of a complete file; the device's pictures as sent.
    std::vector<std::uint32_t> FrameNumbers(const testutil::KfrFile& file) const {
        testutil::ExpectComplete(file);
        std::vector<std::uint32_t> numbers;
        for (const auto& frame : file.frames) {
            EXPECT_EQ(frame.jpeg, sent);
            numbers.push_back(frame.streamTime / 5);  // the header's stream time in the file's units
        }
        return numbers;
    }
    static void ExpectWithoutGap(const std::vector<std::uint32_t>& numbers) {
        for (std::size_t i = 1; i < numbers.size(); ++i)
            ASSERT_EQ(numbers[i], numbers[i - 1] + 1) << "after frame " << numbers[i - 1];
    }

    testutil::TempFolder folder;
    const std::vector<std::uint8_t> picture = testpictures::QuadrantJpeg(176, 144);
    const std::vector<std::uint8_t> sent = devicesim::DevicePicture(picture);
    devicesim::DeviceSimulator device{devicesim::DeviceProfile::ForProduct("R47T")};
    devicesim::VideoStream stream{device};
    platform::Timing timing = ShortTiming();
    session::AppData app;
    ModalUiPort ui;
    std::unique_ptr<Recorders> recorders;
    std::unique_ptr<session::SessionResources> resources;

private:
    bool closed_ = false;
};

TEST_F(RecordingStreamTest, AnAlarmOnFrames31To60IsOneFileWithTheRingThenTheAlarmFrames) {
    stream.ScriptHeaderFields(31, 60, Alarm());
    Start();
    ASSERT_TRUE(FramesSent(70));
    ASSERT_TRUE(WaitUntil([&] { return ListItems().size() == 1; }));
    EXPECT_FALSE(app.CAlarmRecord().IsRecording());

    const auto files = Files("ALARM_MJPEG_");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::regex_match(files[0].filename().string(), std::regex(R"(ALARM_MJPEG_\d{6}T\d{6}_5A17\.kfr)")))
        << files[0];
    const auto file = testutil::ReadKfr(files[0]);
    EXPECT_EQ(file.type, 1);
    const auto numbers = FrameNumbers(file);
    ASSERT_GE(numbers.size(), 21u);
    ExpectWithoutGap(numbers);
    // The ring's 20 frames as the recorder took them up, the first alarm
    // frame among them (the stream runs a frame or two ahead of the pictures
    // and of the recorder's start); the alarm frames follow to the last one.
    EXPECT_GE(numbers[19], 29u);
    EXPECT_LE(numbers[19], 33u);
    EXPECT_GE(numbers.back(), 58u);
    EXPECT_LE(numbers.back(), 60u);

    const auto items = ListItems();
    EXPECT_EQ(items[0].FileName(), files[0].string());
    EXPECT_EQ(items[0].dwFrames, numbers.size());
    EXPECT_EQ(items[0].Source(), "127.0.0.1");
}

TEST_F(RecordingStreamTest, AnAlarmOnTheSeventhFrameAfterTheLoginStartsWithTheFramesSoFar) {
    stream.ScriptHeaderFields(7, 12, Alarm());
    Start();
    ASSERT_TRUE(FramesSent(20));
    ASSERT_TRUE(WaitUntil([&] { return ListItems().size() == 1; }));
    const auto numbers = FrameNumbers(testutil::ReadKfr(Files("ALARM_MJPEG_").at(0)));
    ASSERT_GE(numbers.size(), 7u);
    EXPECT_EQ(numbers.front(), 1u) << "the pre-alarm pass holds every frame since the login";
    ExpectWithoutGap(numbers);
}

TEST_F(RecordingStreamTest, AManualRecordingAcrossAStreamDropAndTheReLoginIsOneFile) {
    Start();
    ASSERT_TRUE(FramesSent(10));
    ASSERT_TRUE(app.CUserRecord().StartRecord(app.CSettingINI.m_strRecordPath.Get(), app.by_RecordChannel));
    ASSERT_TRUE(FramesSent(25));
    stream.InjectFault(devicesim::StreamFault::Close());
    ASSERT_TRUE(WaitUntil([&] { return stream.StreamsStarted() == 2; }));
    const std::size_t afterDrop = stream.FramesSent();
    ASSERT_TRUE(FramesSent(afterDrop + 15));
    EXPECT_TRUE(ui.Contains("button:32,1")) << "the re-login resumed the recording";
    app.CUserRecord().StopRecord();

    const auto files = Files("USER_MJPEG_");
    ASSERT_EQ(files.size(), 1u);
    const auto file = testutil::ReadKfr(files[0]);
    EXPECT_EQ(file.type, 0);
    const auto numbers = FrameNumbers(file);  // numbered from 1 without a gap
    ASSERT_FALSE(numbers.empty());
    EXPECT_LT(numbers.front(), 25u);
    EXPECT_GT(numbers.back(), afterDrop) << "frames of the new stream are in the same file";
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
}

TEST_F(RecordingStreamTest, ClosingDuringBothRecordingsEndsTheirThreadsAndCompletesBothFiles) {
    stream.ScriptHeaderFields(5, 1000000, Alarm());
    Start();
    ASSERT_TRUE(FramesSent(10));
    ASSERT_TRUE(app.CUserRecord().StartRecord(app.CSettingINI.m_strRecordPath.Get(), app.by_RecordChannel));
    ASSERT_TRUE(FramesSent(30));
    ASSERT_TRUE(app.CAlarmRecord().IsRecording());

    // Each stop waits at most 500 ms for its thread: still recording after it
    // would mean the thread had not ended in time.
    resources->BeginClose();
    app.CAlarmRecord().TerminateRecord();
    EXPECT_FALSE(app.CAlarmRecord().IsRecording());
    app.CUserRecord().StopRecord();
    EXPECT_FALSE(app.CUserRecord().IsRecording());
    Close();

    const auto alarm = FrameNumbers(testutil::ReadKfr(Files("ALARM_MJPEG_").at(0)));
    ExpectWithoutGap(alarm);
    EXPECT_EQ(alarm.front(), 1u);
    const auto manual = FrameNumbers(testutil::ReadKfr(Files("USER_MJPEG_").at(0)));
    ExpectWithoutGap(manual);
    const auto items = ListItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].dwFrames, alarm.size());
}

// The alarm list page finds a damaged list and its message box stays open: an
// alarm meanwhile starts its recording, and the live picture goes on.
TEST_F(RecordingStreamTest, AnAlarmWhileTheDamagedListMessageIsOpenKeepsThePictureGoing) {
    std::atomic<int> drawn{0};
    resources->SetFrameDisplay([&] {
        ++drawn;
        app.h_FinishShowImageJobEvent.Set();
        return 1;
    });
    ASSERT_TRUE(platform::ReplaceFileAtomically(folder.path() / kAlarmListFileName, "not a list"));
    Start();
    ASSERT_TRUE(FramesSent(10));
    ui.HoldBoxes();
    std::thread page([&] {
        std::vector<AlarmDBItem> items;
        recorders->AlarmList().AlarmDB_Read(items);
    });
    ASSERT_TRUE(WaitUntil([&] { return ui.Contains(std::string("msgtext:") + kAlarmListReadFailedText); }));
    const std::size_t from = stream.FramesSent() + 2;
    stream.ScriptHeaderFields(from, from + 1000000, Alarm());
    const int before = drawn.load();
    const bool going = WaitUntil([&] { return app.CAlarmRecord().IsRecording() && drawn.load() >= before + 30; });
    const int whileOpen = drawn.load() - before;
    ui.CloseBoxes();
    page.join();
    EXPECT_TRUE(going) << "pictures drawn with the box open: " << whileOpen;
    EXPECT_GE(whileOpen, 30);
}

}  // namespace
}  // namespace recording
