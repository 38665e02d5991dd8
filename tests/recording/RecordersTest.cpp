// The alarm and manual recorders fed by the frame-history push as the
// compose thread feeds them; the files are read back.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "KfrReader.h"
#include "fakes/RecordingUiPort.h"
#include "recording/Recorders.h"
#include "session/AppData.h"
#include "session/live/DecodeThreads.h"
#include "support/TempFolder.h"
#include "support/WaitUntil.h"

namespace recording {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A picture whose bytes tell its frame number.
Bytes Picture(std::uint32_t n, std::size_t size = 64) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i)
        b[i] = static_cast<std::uint8_t>(n * 31 + i);
    return b;
}

class RecordersTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.FrameHistory.Allocate());
        app.SetUiPort(&ui);
        std::filesystem::create_directories(RecordFolder());
        app.CSettingINI.m_strRecordPath.Set(RecordFolder().string());  // without its final "/"
        app.CSettingINI.m_strServerName.Set("192.168.1.20");
        app.CSettingINI.m_strUserName.Set("admin");
        app.SessionCookie.Set("Cook1e");
        app.w_ImageWidth = 640;
        app.w_ImageHeight = 480;
        recorders = std::make_unique<Recorders>(app, folder.path());
        Rebuild();
    }
    void TearDown() override {
        recorders.reset();
        app.SetUiPort(nullptr);
    }
    std::filesystem::path RecordFolder() const { return folder.path() / "rec"; }
    // The session's rebuild: resources, then the threads of the alarm and manual recorders.
    void Rebuild() {
        app.CAlarmRecord().CreateResource();
        app.CUserRecord().CreateResource();
        app.CSchRecord().CreateResource();
        app.CAlarmRecord().CreateThread(0);
        app.CUserRecord().CreateThread(0);
    }
    // The stream ends and the session is torn down.
    void StreamEnds() {
        app.h_EndofGetJpegImageEvent.Set();
        for (auto* r : {&app.CAlarmRecord(), &app.CUserRecord(), &app.CSchRecord()})
            r->CloseThread();
        app.h_EndofGetJpegImageEvent.Reset();
        for (auto* r : {&app.CAlarmRecord(), &app.CUserRecord(), &app.CSchRecord()})
            r->CloseResource();
    }
    void Push(std::uint32_t n, std::size_t size = 64) {
        const Bytes picture = Picture(n, size);
        ASSERT_EQ(session::PushFrameHistory(app, picture, n, 0, {}), 1);
    }
    void PushRange(std::uint32_t first, std::uint32_t last) {
        for (std::uint32_t n = first; n <= last; ++n)
            Push(n);
    }
    // The frame-header parser's start: the next push is handed to the thread.
    void StartAlarm() {
        ASSERT_TRUE(app.CAlarmRecord().StartRecord(app.CSettingINI.m_strRecordPath.Get(), 0));
        ASSERT_TRUE(testutil::WaitUntil([&] { return app.CAlarmRecord().IsWriting(); }));
    }
    // The recorder has written the frames handed to it (a stop is served before a waiting frame).
    void WaitWritten(RecorderBase& recorder, std::uint32_t frames) {
        ASSERT_TRUE(testutil::WaitUntil([&] { return recorder.FrameNumber() == frames; }));
    }
    void StartManual() {
        ASSERT_TRUE(app.CUserRecord().StartRecord(app.CSettingINI.m_strRecordPath.Get(), 0));
        ASSERT_TRUE(testutil::WaitUntil([&] { return app.CUserRecord().IsWriting(); }));
    }
    std::vector<std::filesystem::path> Files(const std::string& prefix) const {
        std::vector<std::filesystem::path> files;
        for (const auto& e : std::filesystem::directory_iterator(RecordFolder()))
            if (e.path().filename().string().starts_with(prefix))
                files.push_back(e.path());
        std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
            return a.string().size() != b.string().size() ? a.string().size() < b.string().size() : a < b;
        });
        return files;
    }
    std::vector<AlarmDBItem> ListItems() {
        std::vector<AlarmDBItem> items;
        EXPECT_EQ(recorders->AlarmList().AlarmDB_Read(items), AlarmListResult::Ok);
        return items;
    }
    static void ExpectFrames(const testutil::KfrFile& file, std::uint32_t first, std::uint32_t last) {
        testutil::ExpectComplete(file);
        ASSERT_EQ(file.frames.size(), last - first + 1);
        for (std::uint32_t n = first; n <= last; ++n) {
            const auto& frame = file.frames[n - first];
            ASSERT_EQ(frame.streamTime, n);
            EXPECT_EQ(frame.jpeg, Picture(n));
            EXPECT_EQ(frame.width, 640);
        }
    }

    testutil::TempFolder folder;
    session::AppData app;
    fakes::RecordingUiPort ui;
    std::unique_ptr<Recorders> recorders;
};

TEST_F(RecordersTest, AnAlarmRecordingHoldsTheRingBeforeItThenTheAlarmFrames) {
    PushRange(1, 30);
    StartAlarm();
    PushRange(31, 60);
    WaitWritten(recorders->AlarmRecorder(), 49);
    app.CAlarmRecord().StopRecord();  // the first quiet header
    EXPECT_FALSE(app.CAlarmRecord().IsRecording());
    PushRange(61, 65);

    const auto files = Files("ALARM_MJPEG_");
    ASSERT_EQ(files.size(), 1u);
    const std::string name = files[0].filename().string();
    EXPECT_TRUE(name.ends_with("_Cook.kfr")) << name;
    EXPECT_EQ(name.size(), std::string("ALARM_MJPEG_061002T134507_Cook.kfr").size());
    const auto file = testutil::ReadKfr(files[0]);
    EXPECT_EQ(file.type, 1);
    ExpectFrames(file, 12, 60);  // the 20 the ring held, the newest being frame 31
    const auto items = ListItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].FileName(), files[0].string());
    EXPECT_EQ(items[0].dwFrames, 49u);
    EXPECT_EQ(items[0].Source(), "192.168.1.20");
    EXPECT_NE(items[0].stTime.wYear, 0);
    // The record folder setting gained its final "/".
    EXPECT_EQ(app.CSettingINI.m_strRecordPath.Get(), RecordFolder().string() + "/");
}

TEST_F(RecordersTest, AnAlarmOnTheSeventhFrameWritesTheSevenPushedSoFar) {
    PushRange(1, 6);
    StartAlarm();
    PushRange(7, 9);
    WaitWritten(recorders->AlarmRecorder(), 9);
    app.CAlarmRecord().StopRecord();
    ExpectFrames(testutil::ReadKfr(Files("ALARM_MJPEG_").at(0)), 1, 9);
}

// A frame and a stop both waiting when the record thread looks again after a
// frame: the alarm recorder serves the stop and leaves the frame unwritten,
// the manual recorder writes the frame first and then stops.
TEST_F(RecordersTest, AFrameAndAStopWaitingTogether) {
    struct Case {
        const char* name;
        RecorderBase& recorder;
        std::function<void()> start;
        const char* prefix;
        std::uint32_t lastWritten;
    };
    const Case cases[] = {
        {"alarm", recorders->AlarmRecorder(), [this] { StartAlarm(); }, "ALARM_MJPEG_", 1},
        {"manual", recorders->UserRecorder(), [this] { StartManual(); }, "USER_MJPEG_", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool once = false;
        c.recorder.SetAfterFrameHook([&] {
            if (std::exchange(once, true))
                return;
            // On the record thread, between frame 1 and its next look: frame 2
            // is handed over, then the stop asked for (whose wait for this
            // thread's answer runs out here).
            const Bytes picture = Picture(2);
            session::PushFrameHistory(app, picture, 2, 0, {});
            c.recorder.StopRecord();
        });
        c.start();
        Push(1);
        ASSERT_TRUE(testutil::WaitUntil([&] { return !c.recorder.IsRecording(); }));
        c.recorder.SetAfterFrameHook({});
        ExpectFrames(testutil::ReadKfr(Files(c.prefix).at(0)), 1, c.lastWritten);
    }
    Push(3);  // the frame left by the alarm recorder held nothing up
}

TEST_F(RecordersTest, AStopBeforeAnyFrameLeavesNoAlarmFileButAnEmptyManualOne) {
    PushRange(1, 3);
    StartAlarm();
    StartManual();
    app.CAlarmRecord().StopRecord();
    app.CUserRecord().StopRecord();
    EXPECT_TRUE(Files("ALARM_MJPEG_").empty());
    EXPECT_TRUE(ListItems().empty());
    const auto manual = Files("USER_MJPEG_");
    ASSERT_EQ(manual.size(), 1u);
    const auto file = testutil::ReadKfr(manual[0]);
    EXPECT_EQ(file.type, 0);
    EXPECT_EQ(file.count, 0u);
    EXPECT_TRUE(file.hasTrailer);
    EXPECT_EQ(file.bytes.size(), 94u);
    PushRange(4, 6);  // the push goes on without either recorder
}

TEST_F(RecordersTest, AManualRecordingAcrossAStreamDropIsOneFile) {
    StartManual();
    PushRange(1, 10);
    StreamEnds();
    EXPECT_TRUE(app.CUserRecord().IsRecording());  // suspended, file open
    Rebuild();
    ASSERT_TRUE(app.CUserRecord().ResumeRecord());
    ASSERT_TRUE(testutil::WaitUntil([&] { return app.CUserRecord().IsWriting(); }));
    PushRange(11, 20);
    app.CUserRecord().StopRecord();
    const auto files = Files("USER_MJPEG_");
    ASSERT_EQ(files.size(), 1u);
    ExpectFrames(testutil::ReadKfr(files[0]), 1, 20);
}

TEST_F(RecordersTest, ASuspendedManualRecordingIsFinishedByTheStopAtClose) {
    StartManual();
    PushRange(1, 5);
    StreamEnds();
    app.CUserRecord().StopRecord();
    EXPECT_FALSE(app.CUserRecord().IsRecording());
    ExpectFrames(testutil::ReadKfr(Files("USER_MJPEG_").at(0)), 1, 5);
}

TEST_F(RecordersTest, SixThousandAndOneFramesMakeTwoFilesWithAnItemEach) {
    StartAlarm();
    PushRange(1, 6001);
    WaitWritten(recorders->AlarmRecorder(), 1);
    app.CAlarmRecord().StopRecord();
    const auto files = Files("ALARM_MJPEG_");
    ASSERT_EQ(files.size(), 2u);
    ExpectFrames(testutil::ReadKfr(files[0]), 1, 6000);
    ExpectFrames(testutil::ReadKfr(files[1]), 6001, 6001);
    const auto items = ListItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].FileName(), files[0].string());
    EXPECT_EQ(items[0].dwFrames, 6000u);
    EXPECT_EQ(items[1].FileName(), files[1].string());
    EXPECT_EQ(items[1].dwFrames, 1u);
}

TEST_F(RecordersTest, AFullDiskEndsEachRecordingWithAValidShorterFile) {
    const std::uint64_t room = 90 + 5 * (31 + 64) + 60;  // five frames and the trailer's room
    recorders->AlarmRecorder().LimitFileSize(room);
    recorders->UserRecorder().LimitFileSize(room);
    StartAlarm();
    StartManual();
    PushRange(1, 10);
    ASSERT_TRUE(testutil::WaitUntil([&] {
        return !app.CAlarmRecord().IsRecording() && !app.CUserRecord().IsRecording();
    }));
    // A recorder reports the failure after it has closed its file.
    EXPECT_TRUE(testutil::WaitUntil([&] { return ui.Contains("msgbox:4018"); }));
    EXPECT_TRUE(testutil::WaitUntil([&] { return ui.Contains("button:32,0"); }));
    ExpectFrames(testutil::ReadKfr(Files("USER_MJPEG_").at(0)), 1, 5);
    ExpectFrames(testutil::ReadKfr(Files("ALARM_MJPEG_").at(0)), 1, 5);
    ASSERT_EQ(ListItems().size(), 1u);
    EXPECT_EQ(ListItems()[0].dwFrames, 5u);
}

TEST_F(RecordersTest, AnUncreatableRollOverFileEndsEachRecordingLikeAStop) {
    StartAlarm();
    StartManual();
    PushRange(1, 6000);
    WaitWritten(recorders->AlarmRecorder(), 6000);
    WaitWritten(recorders->UserRecorder(), 6000);
    // The folder moves away with the files open: the next files cannot be made.
    const auto moved = folder.path() / "moved";
    std::filesystem::rename(RecordFolder(), moved);
    Push(6001);
    ASSERT_TRUE(testutil::WaitUntil([&] {
        return !app.CAlarmRecord().IsRecording() && !app.CUserRecord().IsRecording();
    }));
    // A recorder reports the failure after it has closed its file.
    EXPECT_TRUE(testutil::WaitUntil([&] { return ui.Contains("msgbox:4018"); }));
    EXPECT_TRUE(testutil::WaitUntil([&] { return ui.Contains("button:32,0"); }));
    std::filesystem::rename(moved, RecordFolder());
    ExpectFrames(testutil::ReadKfr(Files("ALARM_MJPEG_").at(0)), 1, 6000);
    ExpectFrames(testutil::ReadKfr(Files("USER_MJPEG_").at(0)), 1, 6000);
    EXPECT_EQ(Files("ALARM_MJPEG_").size() + Files("USER_MJPEG_").size(), 2u);
    const auto items = ListItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].dwFrames, 6000u);
}

TEST_F(RecordersTest, NoFileCanBeCreatedInAMissingFolder) {
    EXPECT_FALSE(app.CUserRecord().StartRecord((folder.path() / "missing").string(), 0));
    EXPECT_FALSE(app.CAlarmRecord().StartRecord((folder.path() / "missing").string(), 0));
    // The alarm counts as running until it ends, and leaves nothing behind.
    EXPECT_TRUE(app.CAlarmRecord().IsRecording());
    PushRange(1, 3);
    app.CAlarmRecord().StopRecord();
    EXPECT_FALSE(app.CAlarmRecord().IsRecording());
    EXPECT_TRUE(ListItems().empty());
}

TEST_F(RecordersTest, ATerminatedAlarmRecorderRefusesUntilItsThreadIsMadeAgain) {
    app.CAlarmRecord().TerminateRecord();
    EXPECT_FALSE(app.CAlarmRecord().StartRecord(RecordFolder().string(), 0));
    StreamEnds();
    Rebuild();
    StartAlarm();
    Push(1);
    WaitWritten(recorders->AlarmRecorder(), 1);
    app.CAlarmRecord().StopRecord();
    EXPECT_EQ(Files("ALARM_MJPEG_").size(), 1u);
}

TEST_F(RecordersTest, ClosingDuringBothRecordingsCompletesBothFiles) {
    StartAlarm();
    StartManual();
    PushRange(1, 8);
    WaitWritten(recorders->AlarmRecorder(), 8);
    WaitWritten(recorders->UserRecorder(), 8);
    // The main window's close, then the session's tear-down.
    app.CAlarmRecord().TerminateRecord();
    app.CUserRecord().StopRecord();
    app.CSchRecord().StopRecord();
    StreamEnds();
    ExpectFrames(testutil::ReadKfr(Files("ALARM_MJPEG_").at(0)), 1, 8);
    ExpectFrames(testutil::ReadKfr(Files("USER_MJPEG_").at(0)), 1, 8);
}

}  // namespace
}  // namespace recording
