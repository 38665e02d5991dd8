// The firmware upgrade dialog offscreen against the simulated device: the
// path each device takes, the sources, the version shown, cancel, and the
// road from the login dialog's upgrade button.
#include <QLineEdit>
#include <QPushButton>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "config/firmware/UploadDevice.h"
#include "config/gui/UpgradeFWDlg.h"
#include "config/gui/UpgradeFWDlgTemplate.h"
#include "session/gui/LoginDialog.h"
#include "session/login/LoginExchange.h"
#include "session/login/LoginWorker.h"
#include "support/ChildWidget.h"
#include "support/TempFolder.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace {

using namespace config;
using namespace firmwaretest;
using devicesim::Fault;
using Bytes = std::vector<std::uint8_t>;

class TestUpgradeDialog : public CUpgradeFWDlg {
public:
    using CUpgradeFWDlg::CUpgradeFWDlg;

    std::vector<unsigned> messages;
    std::optional<std::string> imageChoice;
    std::optional<std::string> folderChoice;
    std::vector<std::string> browseStarts;

protected:
    void ShowMessageId(unsigned id) override { messages.push_back(id); }
    std::optional<std::string> ChooseImageFile(const std::string& start) override {
        browseStarts.push_back(start);
        return imageChoice;
    }
    std::optional<std::string> ChooseComponentFolder(const std::string& start) override {
        browseStarts.push_back(start);
        return folderChoice;
    }
};

struct DialogRun : UploadDevice {
    DialogRun(const std::string& product, const std::string& firmware) : UploadDevice(product, firmware) {
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        app.CSettingINI.m_strUpgradeFWPath = folder.path().string() + "/";
        app.CSettingINI.m_strUpgradeDvrFWPath = folder.path().string();
    }

    std::unique_ptr<TestUpgradeDialog> Open() {
        auto dialog = std::make_unique<TestUpgradeDialog>(app, FastTiming());
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->Initialised(); }, 5000));
        return dialog;
    }
    static QPushButton* Button(QWidget& dialog, const char* name) {
        return testutil::Child<QPushButton>(dialog, name);
    }
    // Clicks Upgrade and waits for the dialog to end; false when it stays.
    static bool UpgradeToTheEnd(TestUpgradeDialog& dialog) {
        QTest::mouseClick(Button(dialog, "upgrade"), Qt::LeftButton);
        return QTest::qWaitFor([&] { return !dialog.isVisible(); }, 10000);
    }

    // Shows the dialog and waits until it knows the device's version.
    static bool ShowAndWait(TestUpgradeDialog& dialog) {
        dialog.show();
        return QTest::qWaitFor([&] { return dialog.Initialised(); }, 5000);
    }

    testutil::TempFolder folder;
};

// A DVR with one component file, whose upload waits long before its bytes.
struct SlowDvrUpload : DialogRun {
    SlowDvrUpload() : DialogRun("R41T", "1070") { WriteFile(folder.path() / "BOOT.BIN", Pattern(1000, 1)); }
    static platform::Timing Timing() {
        platform::Timing timing = FastTiming();
        timing.firmwareRequestPause = std::chrono::milliseconds(20000);
        return timing;
    }
};

TEST(UpgradeFWDlgTest, StandsWhereItsTemplatePutsItWithNothingCut) {
    DialogRun run("R47T", "1013");
    ASSERT_TRUE(run.started);
    testutil::ExpectTemplateGeometry(kUpgradeFWDlgTemplate, [&] { return run.Open(); });
    auto dialog = run.Open();
    testutil::ExpectNothingCut(*dialog, "firmware-dialog");
}

TEST(UpgradeFWDlgTest, EachDeviceTakesItsPathAndCancelsWithItsRequest) {
    struct Case {
        const char* product;
        const char* firmware;
        const char* uploadPath;   // the path the upload took
        const char* cancelTarget; // what Cancel with nothing running sends
    };
    const Case cases[] = {
        {"R41T", "1069", "/UpgradeFW.cgi", "/UpgradeFW.cgi?Upgrade=Cancel&Cookie=5A17C0DE"},
        {"R42T", "1070", "/UpgradeFW2.cgi", "/CancelUPFW.cgi?Cookie=5A17C0DE"},
        {"R43T", "107", "/UpgradeFW2.cgi", "/CancelUPFW.cgi?Cookie=5A17C0DE"},
        {"R47T", "1012", "/UpgradeFW.cgi", "/UpgradeFW.cgi?Upgrade=Cancel&Cookie=5A17C0DE"},
        {"R47T", "1013", "/UpgradeFW2.cgi", "/CancelUPFW.cgi?Cookie=5A17C0DE"},
        {"R47T", "101", "/UpgradeFW2.cgi", "/CancelUPFW.cgi?Cookie=5A17C0DE"},
        {"G66M", "2000", "/UpgradeFW.cgi", "/UpgradeFW.cgi?Upgrade=Cancel&Cookie=5A17C0DE"},
        {"N53H", "2000", "/UpgradeFW.cgi", "/UpgradeFW.cgi?Upgrade=Cancel&Cookie=5A17C0DE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.product) + " " + c.firmware);
        DialogRun run(c.product, c.firmware);
        ASSERT_TRUE(run.started);
        WriteFile(run.folder.path() / "BOOT.BIN", Pattern(1000, 1));
        WriteFile(run.folder.path() / "KERNEL.BIN", Image({{1, 1000}}));
        auto dialog = run.Open();
        ASSERT_TRUE(DialogRun::UpgradeToTheEnd(*dialog));
        EXPECT_EQ(dialog->messages, std::vector<unsigned>{kFirmwareWritingFlash});
        EXPECT_EQ(dialog->result(), 0);
        const auto items = run.receiver->Items();
        ASSERT_EQ(items.size(), 1u);
        EXPECT_EQ(items[0].path, c.uploadPath);
        EXPECT_EQ(items[0].bytes.size(), 1000u);

        run.device->ClearRequests();
        auto idle = run.Open();
        QTest::mouseClick(DialogRun::Button(*idle, "cancel"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !idle->isVisible(); }, 5000));
        const auto cancels = run.device->RequestsFor(std::string(c.cancelTarget).substr(0, std::string(c.cancelTarget).find('?')));
        ASSERT_EQ(cancels.size(), 1u);
        EXPECT_EQ(cancels[0].target, c.cancelTarget);
        EXPECT_EQ(idle->result(), 0);
    }
}

TEST(UpgradeFWDlgTest, ComponentFolderLoadsTheFilesFoundOrRefusesAnEmptyOne) {
    DialogRun run("R41T", "1069");
    ASSERT_TRUE(run.started);
    const auto components = run.folder.path() / "dvr";
    std::filesystem::create_directory(components);
    auto dialog = run.Open();
    EXPECT_EQ(dialog->Version(), "1069");
    EXPECT_EQ(dialog->FilePath().toStdString(), run.folder.path().string());

    // Nothing of the table in the folder: 4111 and nothing sent.
    WriteFile(components / "README.TXT", Pattern(5, 1));
    dialog->folderChoice = components.string() + "/";  // one trailing separator goes
    QTest::mouseClick(DialogRun::Button(*dialog, "browse"), Qt::LeftButton);
    EXPECT_EQ(dialog->browseStarts, std::vector<std::string>{run.folder.path().string()});
    EXPECT_EQ(dialog->FilePath().toStdString(), components.string());
    EXPECT_EQ(run.app.CSettingINI.m_strUpgradeDvrFWPath.Get(), components.string());
    QTest::mouseClick(DialogRun::Button(*dialog, "upgrade"), Qt::LeftButton);
    EXPECT_EQ(dialog->messages, std::vector<unsigned>{kFirmwareFolderEmpty});
    EXPECT_TRUE(run.device->RequestsFor("/Getvideo.cgi").empty());
    EXPECT_TRUE(dialog->isVisible());

    // Only "boot.bin": one item, Type 1.
    WriteFile(components / "boot.bin", Pattern(1200, 2));
    ASSERT_TRUE(DialogRun::UpgradeToTheEnd(*dialog));
    const auto items = run.receiver->Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].type, "1");
    EXPECT_EQ(items[0].bytes, Text(Pattern(1200, 2)));
}

TEST(UpgradeFWDlgTest, DamagedImagesShow4057AndSendNothing) {
    DialogRun run("G66M", "1010");
    ASSERT_TRUE(run.started);
    Bytes truncated = Image({{0, 10}, {1, 20}});
    truncated.pop_back();
    for (const Bytes& image : {Bytes{}, truncated}) {
        WriteFile(run.folder.path() / "KERNEL.BIN", image);
        auto dialog = run.Open();
        QTest::mouseClick(DialogRun::Button(*dialog, "upgrade"), Qt::LeftButton);
        EXPECT_EQ(dialog->messages, std::vector<unsigned>{kFirmwareReadFailed}) << image.size();
        EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_TRUE(run.device->Requests().empty());

    // A record of length 0 counts: it names the records after it, and sends nothing itself.
    WriteFile(run.folder.path() / "KERNEL.BIN", Image({{0, 0}, {7, 950}}));
    auto dialog = run.Open();
    ASSERT_TRUE(DialogRun::UpgradeToTheEnd(*dialog));
    const auto items = run.receiver->Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].type, "BOOT");
    EXPECT_TRUE(items[0].reboot);
}

TEST(UpgradeFWDlgTest, VersionAndProposedImageFollowTheSettingAndTheDevice) {
    DialogRun run("R47T", "1013");
    ASSERT_TRUE(run.started);
    run.app.CSettingINI.m_strUpgradeFWPath = "UnKnown";
    auto dialog = run.Open();
    EXPECT_EQ(dialog->Version(), "1.0.1.3");
    EXPECT_EQ(dialog->FilePath(), "UnKnownKERNEL.BIN");
    QTest::mouseClick(DialogRun::Button(*dialog, "upgrade"), Qt::LeftButton);
    EXPECT_EQ(dialog->messages, std::vector<unsigned>{kFirmwareOpenFailed});

    // Browsing starts in the system's default folder; the choice's folder becomes the setting.
    const auto chosen = run.folder.path() / "new" / "fw.BIN";
    dialog->imageChoice = chosen.string();
    QTest::mouseClick(DialogRun::Button(*dialog, "browse"), Qt::LeftButton);
    EXPECT_EQ(dialog->browseStarts, std::vector<std::string>{""});
    EXPECT_EQ(dialog->FilePath().toStdString(), chosen.string());
    EXPECT_EQ(run.app.CSettingINI.m_strUpgradeFWPath.Get(), (run.folder.path() / "new").string() + "/");
    dialog->imageChoice.reset();  // cancelled: nothing changes
    QTest::mouseClick(DialogRun::Button(*dialog, "browse"), Qt::LeftButton);
    EXPECT_EQ(dialog->FilePath().toStdString(), chosen.string());
}

TEST(UpgradeFWDlgTest, FailedVersionRequestLeavesEmptyFieldsAndUpgradeDisabled) {
    for (const Fault& fault : {Fault::CloseInsideHeader(), Fault::Status(500)}) {
        SCOPED_TRACE(fault.name);
        DialogRun run("R41T", "1070");
        ASSERT_TRUE(run.started);
        run.device->AddFault("/GetVersion.cgi", fault);
        auto dialog = run.Open();
        EXPECT_EQ(dialog->Version(), "");
        EXPECT_EQ(dialog->FilePath(), "");
        EXPECT_FALSE(DialogRun::Button(*dialog, "upgrade")->isEnabled());
    }
}

TEST(UpgradeFWDlgTest, CancelMidUploadStopsItThenSendsTheCancelRequest) {
    SlowDvrUpload run;
    ASSERT_TRUE(run.started);
    TestUpgradeDialog dialog(run.app, SlowDvrUpload::Timing());
    ASSERT_TRUE(DialogRun::ShowAndWait(dialog));
    auto* progress = testutil::Child<QProgressBar>(dialog, "progress");
    EXPECT_FALSE(progress->isVisible());
    QTest::mouseClick(DialogRun::Button(dialog, "upgrade"), Qt::LeftButton);
    EXPECT_TRUE(progress->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !run.device->RequestsFor("/UpgradeFW2.cgi").empty(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.receiver->KeepAlivesOpened() == 1; }, 5000));
    QTest::keyClick(&dialog, Qt::Key_Return);  // Enter does nothing while the upload runs
    EXPECT_TRUE(dialog.isVisible());

    QTest::mouseClick(DialogRun::Button(dialog, "cancel"), Qt::LeftButton);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(dialog.Uploading());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 5000));
    EXPECT_EQ(dialog.result(), 0);
    const auto requests = run.device->Requests();
    ASSERT_EQ(requests.size(), 4u);  // version, keep-alive, upload, cancel
    EXPECT_EQ(requests.back().path, "/CancelUPFW.cgi");
    EXPECT_EQ(run.receiver->UploadBytes(), 0u);
    EXPECT_TRUE(dialog.messages.empty());
}

TEST(UpgradeFWDlgTest, ASecondUpgradeWhoseSourceFailsLeavesNoBarShown) {
    SlowDvrUpload run;
    ASSERT_TRUE(run.started);
    TestUpgradeDialog dialog(run.app, SlowDvrUpload::Timing());
    ASSERT_TRUE(DialogRun::ShowAndWait(dialog));
    auto* progress = testutil::Child<QProgressBar>(dialog, "progress");
    dialog.OnFwdlgUpgrade();
    ASSERT_TRUE(progress->isVisible());
    // The folder is emptied; the second press stops the upload and finds nothing to load.
    std::filesystem::remove(run.folder.path() / "BOOT.BIN");
    dialog.OnFwdlgUpgrade();
    EXPECT_EQ(dialog.messages, std::vector<unsigned>{kFirmwareFolderEmpty});
    EXPECT_FALSE(dialog.Uploading());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(progress->value(), 0);
}

TEST(UpgradeFWDlgTest, LoginDialogButtonRunsTheUpgrade) {
    DialogRun run("R42T", "1070");
    ASSERT_TRUE(run.started);
    run.app.CSettingINI.m_strUserName = "tovik";
    run.app.w_LoginResult = session::kLoginNotLoggedIn;
    const auto components = run.folder.path() / "fw";
    std::filesystem::create_directory(components);
    WriteFile(components / "KERNEL8.BIN", Pattern(3000, 1));
    WriteFile(components / "HTML.BIN", Pattern(100, 2));
    run.receiver->SetVersionAfterReboot("1071");
    std::vector<unsigned> upgradeMessages;
    int upgradeResult = -1;
    {
        // The login dialog's button: log in through its pop-up, choose the
        // folder, upload, 4048, the upgrade dialog closes.
        session::LoginDialog login(run.app);
        login.SetUpgradeDialog([&](session::LoginDialog& owner) {
            TestUpgradeDialog upgrade(owner.App(), FastTiming());
            upgrade.folderChoice = components.string();
            upgrade.show();
            if (!QTest::qWaitFor([&] { return upgrade.Initialised(); }, 5000))
                return;
            QTest::mouseClick(testutil::Child<QPushButton>(upgrade, "browse"), Qt::LeftButton);
            QTest::mouseClick(testutil::Child<QPushButton>(upgrade, "upgrade"), Qt::LeftButton);
            if (!QTest::qWaitFor([&] { return !upgrade.isVisible(); }, 10000))
                return;
            upgradeMessages = upgrade.messages;
            upgradeResult = upgrade.result();
        });
        login.SetTiming(FastTiming());
        login.PrefillFromSettings();
        login.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&login));
        QTest::keyClicks(testutil::Child<QLineEdit>(login, "passwordEdit"), "tovik");
        QTest::mouseClick(testutil::Child<QWidget>(login, "button8527"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return upgradeResult != -1; }, 15000));
        EXPECT_EQ(upgradeMessages, std::vector<unsigned>{kFirmwareWritingFlash});
        EXPECT_EQ(upgradeResult, 0);
    }
    session::DestroyLoginObject();
    const auto items = run.receiver->Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].type, "0");
    EXPECT_EQ(items[1].type, "5");
    EXPECT_TRUE(items[1].reboot);
    EXPECT_EQ(run.device->Profile().firmwareVersion, "1071");  // the device came back with it
    std::string setting;
    ASSERT_TRUE(platform::ReadWholeFile(run.folder.path() / "Setting.ini", setting));
    EXPECT_NE(setting.find(components.string()), std::string::npos);
}

}  // namespace
