// The CD backup writer against the fake engine: its messages, checks, burn
// results, merge and releases.
#include "recording/backup/CdBackupWriter.h"

#include <gtest/gtest.h>
#include <utime.h>

#include "fakes/FakeBurnEngine.h"
#include "fakes/RecordingUiPort.h"
#include "support/TempFolder.h"

using namespace recording;

namespace {

std::tm LocalTime(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

class CdBackupWriterTest : public ::testing::Test {
protected:
    CdBackupWriterTest() {
        app.SetUiPort(&ui);
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        auto owned = std::make_unique<fakes::FakeBurnEngine>();
        engine = owned.get();
        writer = std::make_unique<CdBackupWriter>(app, std::move(owned));
        folder.Write("CH03_0012.dvr", std::string(1000, 'x'));
        source = (folder.path() / "CH03_0012.dvr").string();
    }
    ~CdBackupWriterTest() override {
        writer.reset();
        EXPECT_EQ(released, 0) << "every object the engine handed out was released";
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& call : ui.Calls())
            if (call.starts_with("msgtext:"))
                texts.push_back(call.substr(8));
        return texts;
    }
    int Initialize() {
        return writer->Initialize(source, [this](int event, std::uint32_t value) {
            progress.push_back(std::to_string(event) + ":" + std::to_string(value));
        });
    }
    void TearDown() override { released = engine->handedOut; }

    testutil::TempFolder folder;
    fakes::RecordingUiPort ui;
    session::AppData app;
    fakes::FakeBurnEngine* engine;
    std::unique_ptr<CdBackupWriter> writer;
    std::string source;
    std::vector<std::string> progress;
    long released = 0;
};

TEST_F(CdBackupWriterTest, InitializeMessages) {
    struct Case {
        const char* name;
        std::function<void(fakes::FakeBurnEngine&)> setUp;
        std::string path;
        int result;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases{
        {"empty path", [](auto&) {}, "", 0, {"File name is not valid"}},
        {"no engine", [](auto& e) { e.connectOk = false; }, "a.dvr", 0, {"You should install the disc-burning library first."}},
        {"no list", [](auto& e) { e.drives.reset(); }, "a.dvr", 0, {"No available devices."}},
        {"no drive", [](auto& e) { e.drives = std::vector<std::string>{}; }, "a.dvr", 0,
         {"The number of available devices is 0."}},
        {"bad arguments", [](auto& e) { e.initResult = 1; }, "a.dvr", 1, {"The arguments are not valid."}},
        {"other init error", [](auto& e) { e.initResult = 7; }, "a.dvr", 1,
         {"An error occured. The type of error cannot be determined."}},
        {"fine", [](auto&) {}, "a.dvr", 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto owned = std::make_unique<fakes::FakeBurnEngine>();
        c.setUp(*owned);
        CdBackupWriter w(app, std::move(owned));
        ui.Clear();
        EXPECT_EQ(w.Initialize(c.path, {}), c.result);
        EXPECT_EQ(Messages(), c.messages);
    }
}

TEST_F(CdBackupWriterTest, CheckDiscMessages) {
    struct Case {
        const char* name;
        std::string discName;
        std::uint64_t recordSize;
        std::optional<BurnDiscInfo> disc;
        std::vector<fakes::FakeBurnEngine::DiscItem> items;
        int result;
        std::vector<std::string> messages;
    };
    constexpr std::uint64_t kFree = 1000;
    const std::vector<Case> cases{
        {"trailing blank", "/x/a.dvr ", 0, BurnDiscInfo{kFree, kMediaCd, 0}, {}, 0,
         {"The extension of file name should be (dvr)"}},
        {"mixed case", "/x/a.DvR", 0, BurnDiscInfo{kFree, kMediaCd, 0}, {}, 1, {}},
        {"capacity equal", "/x/a.dvr", kFree * 2048 - 4096, BurnDiscInfo{kFree, kMediaCd, 0}, {}, 1, {}},
        {"one byte more", "/x/a.dvr", kFree * 2048 - 4095, BurnDiscInfo{kFree, kMediaCd, 0}, {}, 0,
         {"No available space for writing CD."}},
        {"DVD over 4 GB", "/x/a.dvr", 4500000000ull, BurnDiscInfo{2300000, kMediaDvd, 0}, {}, 1, {}},
        {"DVD too small", "/x/a.dvr", 4800000000ull, BurnDiscInfo{2300000, kMediaDvd, 0}, {}, 0,
         {"No available space for writing CD."}},
        {"no disc", "/x/a.dvr", 0, std::nullopt, {}, 0, {"NO DISC"}},
        {"flags zero", "/x/a.dvr", 0, BurnDiscInfo{kFree, 0, 0}, {}, 0, {"NO DISC"}},
        {"closed", "/x/a.dvr", 0, BurnDiscInfo{kFree, kMediaClosed, 1}, {}, 0, {"Disc is non writable"}},
        {"same name", "/x/A.DVR", 0, BurnDiscInfo{kFree, kMediaCd, 1}, {{"a.dvr", {}}}, 0,
         {"FileName is tha same as other existed file,please modify it"}},
        {"disc name begins with it", "/x/X.dvr", 0, BurnDiscInfo{kFree, kMediaCd, 1}, {{"x.DVR.old", {}}}, 0,
         {"FileName is tha same as other existed file,please modify it"}},
        {"disc name is shorter", "/x/X.dvr", 0, BurnDiscInfo{kFree, kMediaCd, 1}, {{"X.dv", {}}}, 1, {}},
        {"disc name only contains it", "/x/X.dvr", 0, BurnDiscInfo{kFree, kMediaCd, 1}, {{"AX.dvr", {}}}, 1, {}},
    };
    ASSERT_EQ(Initialize(), 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.Clear();
        engine->disc = c.disc;
        engine->discItems = c.items;
        writer->m_strDiscFileName = c.discName;
        writer->m_dwRecordSize = c.recordSize;
        EXPECT_EQ(writer->CheckDisc(), c.result);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(engine->handedOut, 0);
    }
}

TEST_F(CdBackupWriterTest, CheckRefusesADriveThatDoesNotOpenAndAMissingInstaller) {
    ASSERT_EQ(Initialize(), 1);
    engine->openFails = true;
    EXPECT_EQ(writer->CheckDisc(), 0);
    engine->openFails = false;
    app.CSettingINI.m_dwWritePlayerSetup = 1;
    EXPECT_EQ(writer->CheckDisc(), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Device could not be opened: TEST DRIVE",
                                                    "Could not open file: " + folder.path().string() +
                                                        "/Ravelle_setup.exe."}));
}

// A drive the engine found busy past its wait: the message carries the engine's
// reason, so the operator knows that trying again later may help.
TEST_F(CdBackupWriterTest, RefusedOpenOrBurnShowsTheEnginesReason) {
    ASSERT_EQ(Initialize(), 1);
    engine->refusal = "A drive scan is still going on";
    engine->openFails = true;
    EXPECT_EQ(writer->CheckDisc(), 0);
    EXPECT_EQ(writer->Burn(), 1);
    engine->openFails = false;
    engine->refusal = "A drive operation is still going on (want to write)";
    engine->burnResult = kBurnDriveNotAllowed;
    EXPECT_EQ(writer->Burn(), 1);
    engine->burnResult = kBurnFailed;  // other failures keep their plain text
    EXPECT_EQ(writer->Burn(), 1);
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "Device could not be opened: TEST DRIVE\nA drive scan is still going on",
                              "Device could not be opened: TEST DRIVE\nA drive scan is still going on",
                              "Write CD Error : drive not allowed\nA drive operation is still going on (want to write)",
                              "Write CD Error : burn failed",
                          }));
}

TEST_F(CdBackupWriterTest, BurnResultsAndImportFailure) {
    struct Case {
        int burnResult;
        int importResult;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases{
        {0, 0, {}},
        {6, 0, {"Write CD Error : user aborted"}},
        {8, 0, {"Write CD Error : unknown error"}},
        {-1, 0, {"Write CD Error : unknown error"}},
        {0, 3, {"There was a read error while importing the track!"}},
    };
    ASSERT_EQ(Initialize(), 1);
    engine->disc = BurnDiscInfo{1000, kMediaCd, 1};
    engine->discItems = {{"old.dvr", LocalTime(1000000)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.burnResult * 10 + c.importResult);
        ui.Clear();
        progress.clear();
        engine->burnResult = c.burnResult;
        engine->importResult = c.importResult;
        EXPECT_EQ(writer->Burn(), 1);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(progress.front(), "0:0");
        EXPECT_EQ(progress.back(), "2:0");
        EXPECT_EQ(engine->handedOut, 0);
    }
    EXPECT_EQ(engine->inits, 1);
}

// The sheet's strip as a test sees it: every command in order.
class RecordingStrip : public config::SheetProgressSink {
public:
    std::vector<std::string> commands;
    void Deliver(std::uint32_t command, std::uint32_t value) override {
        commands.push_back(std::to_string(command) + ":" + std::to_string(value));
    }
};

TEST_F(CdBackupWriterTest, AbortDuringTheBurnIsShownAndEndsTheSheetsProgressBar) {
    config::SheetProgress bar;
    RecordingStrip strip;
    bar.Attach(&strip);
    writer->Initialize(source, [&](int event, std::uint32_t value) {
        CdProgressCallback(bar, event, value);
        if (event == kCdProgressPosition)
            writer->m_bAbort = 1;  // the progress dialog's cancel
    });
    EXPECT_EQ(writer->Burn(), 1);
    bar.Detach(&strip);
    EXPECT_EQ(strip.commands, (std::vector<std::string>{"1:0", "2:100", "3:50", "4:0"}));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Write CD Error : user aborted"}));
    EXPECT_EQ(writer->m_bAbort, 0);
}

TEST_F(CdBackupWriterTest, MergeKeepsTheNewerItemAndAppendsTheRest) {
    const std::time_t now = std::time(nullptr);
    struct utimbuf times{now, now};
    ASSERT_EQ(::utime(source.c_str(), &times), 0);
    struct Case {
        const char* name;
        std::string sourcePath;
        std::time_t discTime;
        std::vector<std::string> track;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases{
        {"disc newer", source, now + 100, {"ch03_0012.DVR(disc)", "other.dvr(disc)"}, {}},
        {"equal times", source, now, {"CH03_0012.dvr(" + source + ")", "other.dvr(disc)"}, {}},
        {"source unreadable", source + ".gone", now - 100, {"ch03_0012.DVR(disc)", "other.dvr(disc)"},
         {"Could not open file: " + source + ".gone."}},
    };
    ASSERT_EQ(Initialize(), 1);
    engine->disc = BurnDiscInfo{1000, kMediaCd, 1};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.Clear();
        engine->discItems = {{"ch03_0012.DVR", LocalTime(c.discTime)}, {"other.dvr", LocalTime(now)}};
        writer->m_strSourcePath = c.sourcePath;
        EXPECT_EQ(writer->Burn(), 1);
        EXPECT_EQ(engine->lastTrack, c.track);
        EXPECT_EQ(Messages(), c.messages);
    }
}

TEST_F(CdBackupWriterTest, ImageFileQuestionIsAnsweredByTheDialogOrCancelled) {
    std::optional<std::string> answer = "/tmp/x.iso";
    CdBackupWriter w(app, std::make_unique<fakes::FakeBurnEngine>(), [&] { return answer; });
    std::string data;
    EXPECT_EQ(w.UserDialogCallback(kAskImageFile, data), 1);
    EXPECT_EQ(data, "/tmp/x.iso");
    answer.reset();
    EXPECT_EQ(w.UserDialogCallback(kAskImageFile, data), kAnswerCancelled);
    for (auto [code, expected] : std::vector<std::pair<int, int>>{{2, 5}, {7, 5}, {12, 5}, {6, 3}, {13, 1}, {10, 0}, {14, 0}})
        EXPECT_EQ(w.UserDialogCallback(code, data), expected) << code;
}

}  // namespace
