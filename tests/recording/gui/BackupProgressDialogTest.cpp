// The network backup's dialog against the simulated DVR: the line it shows
// for each outcome, its buttons, the device's cancel by firmware, the disc
// writing and its cancel, and "Start" with a following stand-in player.
#include "recording/gui/BackupProgressDialog.h"

#include <QPushButton>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "fakes/CallLog.h"
#include "gui/StringText.h"
#include "fakes/FakeBurnEngine.h"
#include "fakes/RecordingUiPort.h"
#include "recording/backup/CdBackupWriter.h"
#include "recording/backup/IsoBurnEngine.h"
#include "recording/player/PlayerHandOver.h"
#include "recording/player/UnixPlayerLink.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/NetworkBackup.h"
#include "recording/gui/BackupProgressDialogTemplate.h"
#include "support/ChildWidget.h"
#include "support/IsoImageReader.h"
#include "support/TempFolder.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"
#include "support/WaitUntil.h"
#include "support/WaitWithEvents.h"

namespace fs = std::filesystem;
using namespace recording;
using namespace std::chrono_literals;
using testutil::Child;
using testutil::WaitWithEvents;

namespace {

devicesim::BackupScript AtRate(std::uint64_t bytesPerSecond) {
    devicesim::BackupScript script;
    script.bytesPerSecond = bytesPerSecond;
    return script;
}

struct Bar : config::SheetProgressSink, fakes::CallLog {
    void Deliver(std::uint32_t command, std::uint32_t value) override {
        if (command != config::Progress_SetPos)
            Add(std::to_string(command) + ":" + std::to_string(value));
    }
};

class BackupProgressDialogTest : public ::testing::Test {
protected:
    BackupProgressDialogTest() {
        EXPECT_TRUE(device.Start());
        device.Update([](devicesim::DeviceState& s) { s.sessions["5A17C0DE"] = {}; });
        app.SetUiPort(&ui);
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device.Port();
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        app.SessionCookie = "5A17C0DE";
        app.str_ProductID = "R41T";
        app.str_FWVersion = "1052";
        timing.connectTimeout = 2s;
        timing.receiveTimeout = 2s;
        timing.commandTimeout = 2s;
        config::g_lpSheetProgress().Attach(&bar);
    }
    ~BackupProgressDialogTest() override {
        config::g_lpSheetProgress().Detach(&bar);
        app.h_DeviceCommandWorker.Stop();
    }

    NetworkBackupRequest Request(bool writeCd = false) const {
        NetworkBackupRequest r;
        r.year = 2006, r.month = 10, r.day = 2, r.hour = 13, r.minute = 45, r.second = 7;
        r.diskNumber = 4, r.channel = 2, r.sizeMb = 1;
        r.filePath = file.string();
        r.writeCd = writeCd;
        return r;
    }
    std::unique_ptr<BackupProgressDialog> Open(NetworkBackupRequest request, PlayerLink* link = nullptr) {
        auto dialog = std::make_unique<BackupProgressDialog>(app, std::move(request), link, timing);
        dialog->open();
        return dialog;
    }
    static QPushButton* Button(BackupProgressDialog& d, const char* name) { return Child<QPushButton>(d, name); }

    devicesim::DeviceSimulator device;
    devicesim::NetworkBackupService backup{device};
    testutil::TempFolder folder;
    fs::path file = folder.path() / "CH03_0001.dvr";
    fakes::RecordingUiPort ui;
    session::AppData app;
    platform::Timing timing;
    Bar bar;
};

TEST_F(BackupProgressDialogTest, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::ExpectTemplateGeometry(kBackupProgressTemplate, [&] {
        return std::make_unique<BackupProgressDialog>(app, Request(), nullptr, timing);
    });
    BackupProgressDialog dialog(app, Request(), nullptr, timing);
    dialog.show();
    testutil::ExpectNothingCut(dialog, "backup-progress-dialog");
}

TEST_F(BackupProgressDialogTest, CompleteDownloadShowsItsLineExitAndStart) {
    auto dialog = Open(Request());
    EXPECT_EQ(dialog->windowTitle(), "DVR-Network Backup");
    EXPECT_EQ(Button(*dialog, "button2")->text(), "Anuluj");
    EXPECT_TRUE(Button(*dialog, "button1068")->isHidden());
    ASSERT_TRUE(WaitWithEvents([&] { return !dialog->StatusText().isEmpty(); }));
    EXPECT_EQ(dialog->StatusText(), "Download process is finished");
    EXPECT_EQ(Button(*dialog, "button2")->text(), "Exit");
    EXPECT_FALSE(Button(*dialog, "button1068")->isHidden());
    EXPECT_EQ(fs::file_size(file), 1u << 20);
    EXPECT_EQ(bar.Calls(), (std::vector<std::string>{"1:0", "2:100", "4:0"}));

    QTest::mouseClick(Button(*dialog, "button1068"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), kBackupStartResult);
    dialog.reset();
    EXPECT_TRUE(device.RequestsFor("/CancelNB.cgi").empty());  // a finished backup is not cancelled
}

struct FailureCase {
    const char* name;
    devicesim::BackupScript script;
    unsigned message;
    std::size_t cancels = 1;  // the device's own end block needs no cancel
    bool refusing = false;
    bool unwritable = false;
};

class FailureLines : public BackupProgressDialogTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureLines, ShowTheFailuresMessage) {
    const FailureCase& c = GetParam();
    backup.SetScript(c.script);
    if (c.refusing)
        device.SetRefusing(true);
    NetworkBackupRequest request = Request();
    if (c.unwritable)
        request.filePath = (folder.path() / "missing" / "CH03_0001.dvr").string();
    auto dialog = Open(request);
    ASSERT_TRUE(WaitWithEvents([&] { return !dialog->StatusText().isEmpty(); }));
    EXPECT_EQ(dialog->StatusText(), session::LoadText(c.message));
    EXPECT_EQ(Button(*dialog, "button2")->text(), "Exit");
    EXPECT_TRUE(Button(*dialog, "button1068")->isHidden());
    if (c.refusing)
        device.SetRefusing(false);
    // Leaving after a failure still cancels on the device.
    QTest::mouseClick(Button(*dialog, "button2"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), 0);
    dialog.reset();
    ASSERT_TRUE(testutil::WaitUntil([&] {
        return app.h_DeviceCommandWorker.Pending() == 0 && device.RequestsFor("/CancelNB.cgi").size() >= c.cancels;
    }));
    EXPECT_EQ(device.RequestsFor("/CancelNB.cgi").size(), c.cancels);
}

INSTANTIATE_TEST_SUITE_P(
    Backup, FailureLines,
    ::testing::Values(FailureCase{"Busy", {.busyFirst = true}, 4115},
                      FailureCase{"CutMidBlock", {.cutAfter = 3 * 2056 + 8 + 1000}, 4106},
                      FailureCase{"EndFirst", {.endFirst = true}, 4107, 0},
                      FailureCase{"RefusedConnect", {}, 4065, 1, true},
                      FailureCase{"UnwritableTarget", {}, 4105, 1, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct FirmwareCase {
    const char* firmware;
    std::size_t cancels;
};

class CancelByFirmware : public BackupProgressDialogTest, public ::testing::WithParamInterface<FirmwareCase> {};

TEST_P(CancelByFirmware, CancelMidDownload) {
    app.str_FWVersion = GetParam().firmware;
    backup.SetScript(AtRate(100000));
    auto dialog = Open(Request());
    ASSERT_TRUE(WaitWithEvents([&] { return fs::exists(file) && fs::file_size(file) > 0; }));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), 0);
    dialog.reset();  // the thread has ended here
    EXPECT_EQ(bar.Calls().back(), "4:0");
    ASSERT_TRUE(testutil::WaitUntil([&] { return app.h_DeviceCommandWorker.Pending() == 0; }));
    EXPECT_EQ(device.RequestsFor("/CancelNB.cgi").size(), GetParam().cancels);
    EXPECT_TRUE(testutil::WaitUntil([&] { return backup.Running() == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Backup, CancelByFirmware,
                         ::testing::Values(FirmwareCase{"1042", 0}, FirmwareCase{"1043", 1}, FirmwareCase{"10x", 1}));

TEST_F(BackupProgressDialogTest, DiscWritingKeepsAnulujAndItsCancelAbortsTheBurn) {
    auto engine = std::make_unique<fakes::FakeBurnEngine>();
    engine->holdUntilAborted = true;
    const auto& burn = *engine;
    app.CdBackupWriter = std::make_shared<CdBackupWriter>(app, std::move(engine));
    ASSERT_EQ(app.CdBackupWriter->Initialize(file.string(), {}), 1);
    auto dialog = Open(Request(true));
    ASSERT_TRUE(WaitWithEvents([&] { return !dialog->StatusText().isEmpty(); }));
    EXPECT_EQ(dialog->StatusText(), "Writing cd ...");
    EXPECT_EQ(Button(*dialog, "button2")->text(), "Anuluj");
    QTest::mouseClick(Button(*dialog, "button2"), Qt::LeftButton);
    // The status comes just before the thread marks the burn as running; a cancel in between
    // leaves the abort to the thread, which sees the stop once it has marked the burn. The burn
    // clears the flag as it ends, so the engine says whether the abort reached it.
    EXPECT_TRUE(testutil::WaitUntil([&] { return burn.burnAborted.load(); }));
    dialog.reset();  // the burn ended by its abort
    EXPECT_EQ(bar.Calls().back(), "4:0");
    app.CdBackupWriter.reset();
}

TEST_F(BackupProgressDialogTest, DiscWritingPutsTheBackupOnTheImage) {
    const fs::path image = folder.path() / "Image.iso";
    app.CdBackupWriter = std::make_shared<CdBackupWriter>(app, std::make_unique<IsoBurnEngine>(false),
                                                          [&] { return std::optional<std::string>(image.string()); });
    folder.Write("CH03_0001.dvr", "");
    ASSERT_EQ(app.CdBackupWriter->Initialize(file.string(), {}), 1);
    app.CdBackupWriter->m_nDriveIndex = 0;
    ASSERT_EQ(app.CdBackupWriter->CheckDisc(), 1);
    auto dialog = Open(Request(true));
    ASSERT_TRUE(WaitWithEvents([&] { return dialog->StatusText() == "Download process is finished"; }, 30000));
    dialog.reset();
    // Read while the engine is still up: the reader shares its library.
    const auto [volume, files, sessions] = testutil::ReadImage(image);
    app.CdBackupWriter.reset();
    ASSERT_EQ(files.count("CH03_0001.dvr"), 1u);
    std::string written;
    platform::ReadWholeFile(file, written);
    EXPECT_EQ(written.size(), 1u << 20);
    EXPECT_TRUE(files.at("CH03_0001.dvr") == written);
}

TEST_F(BackupProgressDialogTest, StartHiddenWhileTheStandInFollowsShownAfterItsStop) {
    char pattern[] = "/tmp/qbk-XXXXXX";  // short: a socket address has little room
    const fs::path run = ::mkdtemp(pattern);
    timing.playerHelloWait = 5s;
    timing.playerAnswerWait = 2s;
    fs::copy_file(fs::canonical("/proc/self/exe").parent_path() / "player-standin" / "ravelle", folder.path() / "ravelle");
    {
        UnixPlayerLink link(timing.playerAnswerWait, run);
        PlayerHandOver handOver(app, link, timing);
        for (const char* stopAfter : {"1000", "3"}) {
            folder.Write("ravelle.conf", std::string("ack=100\nstopAfter=") + stopAfter + "\n");
            app.dw_PlayerProcessID = 0;  // a new stand-in each round, reading its configuration
            app.h_PlayerWindow = 0;
            ASSERT_TRUE(handOver.HandOver(file.string(), true));
            ASSERT_NE(app.h_PlayerWindow, 0u);
            backup.SetScript(AtRate(2000000));
            auto dialog = Open(Request(), &link);
            ASSERT_TRUE(WaitWithEvents([&] { return !dialog->StatusText().isEmpty(); }));
            EXPECT_EQ(dialog->StatusText(), "Download process is finished");
            EXPECT_EQ(app.dw_PlayerAck, 1u);
            if (std::string(stopAfter) == "3")
                EXPECT_TRUE(WaitWithEvents([&] { return !Button(*dialog, "button1068")->isHidden(); }));
            else
                EXPECT_TRUE(Button(*dialog, "button1068")->isHidden());
        }
    }
    fs::remove_all(run);
}

}  // namespace
