// The login dialog offscreen: fields, keys, skins, the login against the
// simulated device, and the buttons that lead to the other tools.
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "session/login/LoginExchange.h"
#include "session/login/LoginWorker.h"
#include "support/FolderBrowser.h"
#include "support/TempFolder.h"
#include "session/gui/ConnectingPopup.h"
#include "session/gui/ConnectingPopupTemplate.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"
#include "session/gui/LoginDialog.h"
#include "gui/StringText.h"
#include "gui/VtxButton.h"
#include "simulator/DeviceSimulator.h"
#include "support/WaitWithEvents.h"

namespace fs = std::filesystem;
using namespace session;
using namespace std::chrono_literals;
using devicesim::DeviceProfile;
using devicesim::DeviceSimulator;
using devicesim::Fault;

namespace {

// The dialog with the operator's answers and the other windows stood in by the test.
class TestLoginDialog : public LoginDialog {
public:
    using LoginDialog::LoginDialog;

    QStringList messages;
    std::optional<IPRecord> addressBookChoice;
    DeviceSearchChoice searchChoice;
    std::optional<fs::path> copyDestination;
    bool browseForCopy = false;  // the real folder browser chooses the destination
    std::vector<std::pair<fs::path, fs::path>> copies;
    int upgradeRuns = 0;

protected:
    void ShowMessageText(const QString& text) override { messages << text; }
    std::optional<IPRecord> RunAddressBook() override { return addressBookChoice; }
    DeviceSearchChoice RunDeviceSearch() override { return searchChoice; }
    std::optional<fs::path> ChooseCopyDestination() override {
        return browseForCopy ? LoginDialog::ChooseCopyDestination() : copyDestination;
    }
    void RunCopyProgram(const fs::path& source, const fs::path& destination) override {
        copies.emplace_back(source, destination);
    }
    void RunUpgradeDialog() override { ++upgradeRuns; }
};

class LoginDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetShippedFolders(std::vector<std::filesystem::path>{});  // skins from the program folder alone
        ASSERT_TRUE(device.Start());
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_strUserName = "tovik";
        app.CSettingINI.m_wWebPort = device.Port();
        app.w_LoginResult = kLoginNotLoggedIn;
        timing.connectTimeout = 1000ms;
        timing.commandTimeout = 3000ms;
        timing.loginAnimatePeriod = 20ms;
        timing.connectingDotPeriod = 20ms;
    }
    void TearDown() override {
        DestroyLoginObject();
        platform::SetShippedFolders(std::nullopt);
    }

    std::unique_ptr<TestLoginDialog> Open() {
        auto dialog = std::make_unique<TestLoginDialog>(app);
        dialog->SetTiming(timing);
        dialog->PrefillFromSettings();
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }
    static QLineEdit* Edit(QWidget& dialog, const char* name) {
        auto* edit = dialog.findChild<QLineEdit*>(name);
        EXPECT_NE(edit, nullptr) << name;
        return edit;
    }
    static CVtxButton* Button(QWidget& dialog, unsigned id) {
        auto* button = dialog.findChild<CVtxButton*>(QStringLiteral("button%1").arg(id));
        EXPECT_NE(button, nullptr) << id;
        return button;
    }
    static void Type(QWidget& dialog, const char* edit, const QString& text) {
        Edit(dialog, edit)->clear();
        QTest::keyClicks(Edit(dialog, edit), text);
    }
    // Keeps a screenshot in the test's folder (and where QUENLO_TEST_SCREENSHOTS points, for a person to look at).
    void SaveScreenshot(QWidget& dialog, const QString& name) {
        const QImage image = dialog.grab().toImage();
        EXPECT_TRUE(image.save(QString::fromStdString((folder.path() / name.toStdString()).string())));
        if (const char* keep = std::getenv("QUENLO_TEST_SCREENSHOTS"); keep && *keep)
            image.save(QString::fromUtf8(keep) + "/" + name);
    }

    testutil::TempFolder folder;
    DeviceSimulator device;
    AppData app;
    platform::Timing timing;
};

constexpr unsigned kAddressButton = 8440, kSearchButton = 8441, kPlayerButton = 8442, kCopyButton = 8443,
                   kConnectButton = 8444, kCancelButton = 8445, kUpgradeButton = 8527;

}  // namespace

// ---- Connect ------------------------------------------------------------------

TEST_F(LoginDialogTest, StartUpRunsTheDialogUntilTheDeviceAcceptsTheLogin) {
    // Start-up's own call: a fresh dialog, pre-filled from the settings.
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<LoginDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->SetTiming(timing);
        EXPECT_EQ(Edit(*dialog, "serverEdit")->text(), "127.0.0.1");
        EXPECT_EQ(Edit(*dialog, "userEdit")->text(), "tovik");
        EXPECT_EQ(Edit(*dialog, "passwordEdit")->text(), "");
        EXPECT_EQ(Edit(*dialog, "portEdit")->text(), QString::number(device.Port()));
        QTest::keyClicks(Edit(*dialog, "passwordEdit"), "tovik");
        QTest::mouseClick(Button(*dialog, kConnectButton), Qt::LeftButton);
    });
    QTimer::singleShot(10000, [] {
        if (auto* w = QApplication::activeModalWidget())
            w->close();
    });
    EXPECT_EQ(RunLoginDialog(app), LoginDialog::kLoggedIn);
    EXPECT_EQ(app.w_LoginResult.load(), kLoginLoggedIn);
    EXPECT_EQ(app.SessionCookie.Get(), "5A17C0DE");
    EXPECT_EQ(app.CSettingINI.m_strPassword.Get(), "tovik");
}

TEST_F(LoginDialogTest, EmptyUserOrPasswordGives4081AndStartsNothing) {
    struct Case {
        const char* name;
        QString user, password;
        std::function<void(QWidget&)> act;
    };
    const auto click = [](unsigned id) { return [id](QWidget& d) { QTest::mouseClick(Button(d, id), Qt::LeftButton); }; };
    const Case cases[] = {
        {"connect without password", "tovik", "", click(kConnectButton)},
        {"connect without user", "", "tovik", click(kConnectButton)},
        {"Enter without password", "tovik", "", [](QWidget& d) { QTest::keyClick(Edit(d, "passwordEdit"), Qt::Key_Return); }},
        {"upgrade without password", "tovik", "", click(kUpgradeButton)},
    };
    for (const auto& c : cases) {
        auto dialog = Open();
        Type(*dialog, "userEdit", c.user);
        Type(*dialog, "passwordEdit", c.password);
        c.act(*dialog);
        QTest::qWait(100);
        EXPECT_EQ(dialog->messages, QStringList{LoadText(4081)}) << c.name;
        EXPECT_FALSE(dialog->Animating()) << c.name;
        EXPECT_TRUE(dialog->isVisible()) << c.name;
        EXPECT_TRUE(device.Requests().empty()) << c.name;
    }
}

TEST_F(LoginDialogTest, EnterInThePasswordFieldConnectsWhileTheProgressBarMoves) {
    // The login's answer waits until the bar has moved.
    auto held = std::make_shared<devicesim::ReplyGate>();
    device.AddFault("/Login.cgi", Fault::HeldBy(held));
    timing.commandTimeout = 10000ms;
    auto dialog = Open();
    QSignalSpy steps(dialog.get(), &LoginDialog::animateStepShown);
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    QTest::keyClicks(Edit(*dialog, "passwordEdit"), "tovik");
    QTest::keyClick(Edit(*dialog, "passwordEdit"), Qt::Key_Return);

    EXPECT_TRUE(testutil::WaitWithEvents([&] { return steps.count() >= 3; }));
    EXPECT_TRUE(dialog->Animating());
    EXPECT_EQ(steps[0][0].toInt(), 1);
    EXPECT_EQ(steps[1][0].toInt(), 2);
    SaveScreenshot(*dialog, "login-connecting.png");
    held->Open();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(dialog->result(), LoginDialog::kLoggedIn);
}

TEST_F(LoginDialogTest, TheFieldToTypeFirstHasTheFocus) {
    auto dialog = Open();
    dialog->activateWindow();
    EXPECT_EQ(dialog->focusWidget(), Edit(*dialog, "passwordEdit"));  // the stored user is there already

    app.CSettingINI.m_strUserName = "";
    auto fresh = Open();
    EXPECT_EQ(fresh->focusWidget(), Edit(*fresh, "userEdit"));
}

TEST_F(LoginDialogTest, ARefusedLoginShowsItsTextAndTheDialogWaits) {
    struct Case {
        const char* name;
        std::function<void(DeviceSimulator&)> setUp;
        QString password;
        QString text;
    };
    const Case cases[] = {
        {"unknown product", [](DeviceSimulator& d) { d.UpdateProfile([](DeviceProfile& p) { p.productId = "X99Z"; }); },
         "tovik", "No support this device"},
        {"too many users", [](DeviceSimulator& d) { d.UpdateProfile([](DeviceProfile& p) { p.tooManyUsers = true; }); },
         "tovik", "Too many user"},
        {"wrong password", [](DeviceSimulator&) {}, "wrong", "Login procedure failed"},
    };
    for (const auto& c : cases) {
        DeviceSimulator fresh;
        ASSERT_TRUE(fresh.Start());
        c.setUp(fresh);
        app.CSettingINI.m_wWebPort = fresh.Port();
        auto dialog = Open();
        QTest::keyClicks(Edit(*dialog, "passwordEdit"), c.password);
        QTest::mouseClick(Button(*dialog, kConnectButton), Qt::LeftButton);
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return dialog->FailureText() == c.text; }, 5000));
        EXPECT_FALSE(dialog->Animating()) << c.name;
        EXPECT_TRUE(dialog->isVisible()) << c.name;
        EXPECT_EQ(app.w_LoginResult.load(), kLoginNotLoggedIn) << c.name;
    }
}

TEST_F(LoginDialogTest, ASecondPressAbandonsTheFirstAttempt) {
    device.AddFault("/Login.cgi", Fault::Silence());
    timing.commandTimeout = 10000ms;
    auto dialog = Open();
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    QTest::keyClicks(Edit(*dialog, "passwordEdit"), "tovik");
    QTest::mouseClick(Button(*dialog, kConnectButton), Qt::LeftButton);
    ASSERT_TRUE(device.WaitForRequests(1, 10000ms));
    QTest::mouseClick(Button(*dialog, kConnectButton), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(3000));
    EXPECT_EQ(dialog->result(), LoginDialog::kLoggedIn);
    EXPECT_EQ(device.RequestsFor("/Login.cgi").size(), 2u);
}

TEST_F(LoginDialogTest, EscapeAndTheCancelButtonEndWithTwo) {
    auto dialog = Open();
    QTest::keyClick(Edit(*dialog, "userEdit"), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), LoginDialog::kCancelled);
    dialog = Open();
    QTest::mouseClick(Button(*dialog, kCancelButton), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), LoginDialog::kCancelled);
    EXPECT_FALSE(dialog->isVisible());
}

// ---- The port field -------------------------------------------------------------

TEST_F(LoginDialogTest, PortFieldKeepsDigitsWithinOneTo9999) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{"12a3", "123"}, {"99999", "9999"}, {"0", "0"}, {"x8y0", "80"}};
    auto dialog = Open();
    QLineEdit* port = Edit(*dialog, "portEdit");
    // The field never empties (a text without digits keeps the last number),
    // so each entry types over the whole of it.
    auto typeOver = [port](const QString& text) {
        port->selectAll();
        QTest::keyClicks(port, text);
    };
    for (const auto& c : cases) {
        typeOver(c.typed);
        EXPECT_EQ(port->text(), c.shown) << c.typed;
        EXPECT_EQ(port->cursorPosition(), port->text().size()) << c.typed;
    }
    typeOver("80");
    QTest::keyClick(port, Qt::Key_Backspace);
    EXPECT_EQ(port->text(), "8");
    QTest::keyClick(port, Qt::Key_Backspace);  // nothing left to read: the last number stays
    EXPECT_EQ(port->text(), "8");
}

// ---- Skins --------------------------------------------------------------------------

namespace {

// Writes every login picture the dialog reads, in a colour of its own, with
// the folder and file names in another letter case than the dialog asks for.
void WriteSkin(const fs::path& program) {
    const fs::path folder = program / "bmp" / "Login";
    fs::create_directories(folder);
    auto save = [&](const std::string& name, QSize size, QColor colour) {
        QImage image(size, QImage::Format_RGB888);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString((folder / name).string()), "BMP")) << name;
    };
    save("SPACER.BMP", {8, 8}, QColor(240, 240, 200));
    for (const char* piece : {"left_top", "right_top", "top_middle1", "top_middle2", "left_middle", "right_middle",
                              "left_down", "right_down", "down_middle"})
        save(std::string(piece) + ".bmp", {8, 8}, QColor(60, 90, 60));
    save("running.bmp", {24, 10}, QColor(200, 0, 0));
    for (int d = 0; d <= 9; ++d)
        save("login_" + std::to_string(d) + ".bmp", {10, 20}, QColor(d * 20, 100, 255 - d * 20));
    save("login_point.bmp", {10, 20}, QColor(255, 255, 0));
    for (const char* button : {"address", "search", "player", "download", "copy", "enter", "cancel"})
        for (const char* state : {"", "_over", "_down"})
            save(std::string(button) + state + ".bmp", {34, 34}, QColor(0, 128, 128));
    for (const char* label : {"name", "password", "ip", "port"})
        save(std::string(label) + ".bmp", {28, 28}, QColor(128, 0, 128));
}

}  // namespace

TEST_F(LoginDialogTest, WithoutSkinPicturesEveryButtonIsThereAsACaptionedButton) {
    auto dialog = Open();
    const auto buttons = dialog->findChildren<CVtxButton*>();
    ASSERT_EQ(buttons.size(), 11);
    for (CVtxButton* b : buttons) {
        EXPECT_TRUE(b->isVisible());
        EXPECT_FALSE(b->HasPictures());
        EXPECT_EQ(b->text(), b->toolTip());
    }
    EXPECT_EQ(Button(*dialog, kUpgradeButton)->geometry(), QRect(230, 50, 34, 34));
    EXPECT_EQ(Button(*dialog, kCancelButton)->text(), "Anuluj");
    EXPECT_EQ(Edit(*dialog, "portEdit")->geometry(), QRect(93, 208, 100, 28));

    QTest::keyClicks(Edit(*dialog, "passwordEdit"), "wrong");
    QTest::mouseClick(Button(*dialog, kConnectButton), Qt::LeftButton);
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return dialog->FailureText() == QString("Login procedure failed"); }, 5000));
    SaveScreenshot(*dialog, "login-without-skin.png");
    const QImage shot = dialog->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(304, 341));
    EXPECT_EQ(shot.pixelColor(150, 260), QColor(221, 221, 221));  // the background
    EXPECT_EQ(shot.pixelColor(100, 5), QColor(157, 216, 244));    // the top band
}

TEST_F(LoginDialogTest, SkinPicturesAreFoundInAnyLetterCaseAndDrawnInPlace) {
    WriteSkin(folder.path());
    app.str_APVersion = "1.0.5.3";
    auto dialog = Open();
    for (CVtxButton* b : dialog->findChildren<CVtxButton*>())
        EXPECT_TRUE(b->HasPictures()) << b->objectName().toStdString();
    SaveScreenshot(*dialog, "login-with-skin.png");
    const QImage shot = dialog->grab().toImage();
    EXPECT_EQ(shot.pixelColor(150, 260), QColor(240, 240, 200));  // spacer
    EXPECT_EQ(shot.pixelColor(100, 5), QColor(60, 90, 60));       // top_middle1
    EXPECT_EQ(shot.pixelColor(40, 60), QColor(0, 128, 128));      // the address button
    // The version "1.0.5.3": digit and point pictures from x 182 in steps of 10.
    const int expected[] = {1, -1, 0, -1, 5, -1, 3};
    for (int i = 0; i < 7; ++i) {
        const QColor colour = expected[i] < 0 ? QColor(255, 255, 0)
                                              : QColor(expected[i] * 20, 100, 255 - expected[i] * 20);
        EXPECT_EQ(shot.pixelColor(182 + 10 * i + 5, 23), colour) << i;
    }
}

TEST_F(LoginDialogTest, TheProgressPictureMovesByHalfItsWidthThroughEighteenSteps) {
    WriteSkin(folder.path());
    device.AddFault("/Login.cgi", Fault::Silence());
    timing.commandTimeout = 10000ms;
    auto dialog = Open();
    QSignalSpy steps(dialog.get(), &LoginDialog::animateStepShown);
    QTest::keyClicks(Edit(*dialog, "passwordEdit"), "tovik");
    QTest::mouseClick(Button(*dialog, kConnectButton), Qt::LeftButton);
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return steps.count() >= 20; }));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(steps[i][0].toInt(), (i + 1) % 18) << i;

    // running.bmp is 24 wide: the bar is 18 x 12 = 216 wide from x 74; the picture at 74 + step x 12.
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return steps.last()[0].toInt() == 5; }));
    const QImage shot = dialog->grab().toImage();
    const int step = steps.last()[0].toInt();
    const QColor red(200, 0, 0);
    EXPECT_EQ(shot.pixelColor(74 + step * 12 + 1, 250), red);
    EXPECT_EQ(shot.pixelColor(74 + 216 - 1, 250), step >= 16 ? red : QColor(157, 216, 244));
    dialog->reject();
}

// ---- The tools ----------------------------------------------------------------------------

TEST_F(LoginDialogTest, AddressBookEntryFillsUserServerAndPortButNotThePassword) {
    auto dialog = Open();
    Type(*dialog, "passwordEdit", "secret");
    QTest::mouseClick(Button(*dialog, kAddressButton), Qt::LeftButton);  // nothing chosen
    EXPECT_EQ(Edit(*dialog, "userEdit")->text(), "tovik");

    dialog->addressBookChoice = IPRecord{"anna", "cam.example", "hall", 65535};
    QTest::mouseClick(Button(*dialog, kAddressButton), Qt::LeftButton);
    EXPECT_EQ(Edit(*dialog, "userEdit")->text(), "anna");
    EXPECT_EQ(Edit(*dialog, "serverEdit")->text(), "cam.example");
    EXPECT_EQ(Edit(*dialog, "portEdit")->text(), "9999");
    EXPECT_EQ(Edit(*dialog, "passwordEdit")->text(), "secret");
}

TEST_F(LoginDialogTest, ChosenSearchedDeviceGoesIntoTheFieldsAndTheSettings) {
    auto dialog = Open();
    QTest::mouseClick(Button(*dialog, kSearchButton), Qt::LeftButton);  // closed without a choice
    EXPECT_EQ(Edit(*dialog, "serverEdit")->text(), "127.0.0.1");

    dialog->searchChoice = DeviceSearchChoice{true, "192.168.1.20", 8080};
    QTest::mouseClick(Button(*dialog, kSearchButton), Qt::LeftButton);
    EXPECT_EQ(Edit(*dialog, "serverEdit")->text(), "192.168.1.20");
    EXPECT_EQ(Edit(*dialog, "portEdit")->text(), "8080");
    EXPECT_EQ(app.CSettingINI.m_strServerName.Get(), "192.168.1.20");
    EXPECT_EQ(app.CSettingINI.m_wWebPort.load(), 8080);
}

TEST_F(LoginDialogTest, PlayerStartsWithTheNewestRecordingOrReportsThatItCannot) {
    auto dialog = Open();
    QTest::mouseClick(Button(*dialog, kPlayerButton), Qt::LeftButton);
    EXPECT_EQ(dialog->messages, QStringList{LoadText(4098)});

    folder.Write("ravelle", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.part\"\n"
                            "mv \"$(dirname \"$0\")/args.part\" \"$(dirname \"$0\")/args.txt\"\n");
    fs::permissions(folder.path() / "ravelle", fs::perms::owner_all);
    fs::create_directories(folder.path() / "Records");
    folder.Write("Records/Alarm CH02.kfr", "recording");
    app.CSettingINI.m_strRecordPath = (folder.path() / "Records").string();
    QTest::mouseClick(Button(*dialog, kPlayerButton), Qt::LeftButton);
    EXPECT_EQ(dialog->messages.size(), 1);
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return fs::exists(folder.path() / "args.txt"); }, 5000));
    EXPECT_EQ(folder.Read("args.txt"), (folder.path() / "Records").string() + "/Alarm CH02.kfr\n");
}

TEST_F(LoginDialogTest, CopyButtonMakesTheSkinFolderAndCopiesFromTheProgramFolder) {
    auto dialog = Open();
    QTest::mouseClick(Button(*dialog, kCopyButton), Qt::LeftButton);  // no folder chosen
    EXPECT_TRUE(dialog->copies.empty());

    dialog->copyDestination = folder.path() / "stick";
    QTest::mouseClick(Button(*dialog, kCopyButton), Qt::LeftButton);
    EXPECT_TRUE(fs::is_directory(folder.path() / "stick" / "BMP"));
    ASSERT_EQ(dialog->copies.size(), 1u);
    EXPECT_EQ(dialog->copies[0].first.string(), folder.path().string() + "/");
    EXPECT_EQ(dialog->copies[0].second, folder.path() / "stick");
}

TEST_F(LoginDialogTest, CopyDestinationIsTheFolderChosenInTheBrowser) {
    fs::create_directories(folder.path() / "Stick");
    auto dialog = Open();
    dialog->browseForCopy = true;
    QTimer::singleShot(0, [&] {
        auto* browser = qobject_cast<CDlgGetPath*>(QApplication::activeModalWidget());
        ASSERT_NE(browser, nullptr);
        QTreeWidgetItem* stick = testutil::OpenFolderItem(*browser, folder.path() / "Stick");
        ASSERT_NE(stick, nullptr);
        browser->Tree()->setCurrentItem(stick);
        browser->accept();
    });
    QTest::mouseClick(Button(*dialog, kCopyButton), Qt::LeftButton);
    ASSERT_EQ(dialog->copies.size(), 1u);
    EXPECT_EQ(dialog->copies[0].second.string(), (folder.path() / "Stick").string() + "/");
    EXPECT_TRUE(fs::is_directory(folder.path() / "Stick" / "BMP"));
}

TEST_F(LoginDialogTest, UpgradeLogsInThroughThePopupThenChecksLevelFamilyAndVersion) {
    struct Case {
        const char* name;
        std::function<void(DeviceProfile&)> profile;
        QString password;
        QStringList messages;
        int upgrades;
    };
    const Case cases[] = {
        {"administrator on a current DVR", [](DeviceProfile&) {}, "tovik", {}, 1},
        {"user level 20", [](DeviceProfile& p) { p.userLevel = 20; }, "tovik",
         {"Only administrator could use upgrade firmware function"}, 0},
        {"DVR firmware 1030", [](DeviceProfile& p) { p.firmwareVersion = "1030"; }, "tovik",
         {"Device doesn't support network upgrade FW"}, 0},
        {"video server with old firmware", [](DeviceProfile& p) {
             p.productId = "R47T";
             p.firmwareVersion = "1001";
         },
         "tovik", {}, 1},
        {"unknown product", [](DeviceProfile& p) { p.productId = "X99Z"; }, "tovik",
         {"Device doesn't support network upgrade FW"}, 0},
        {"wrong password", [](DeviceProfile&) {}, "wrong", {LoadText(4040)}, 0},
    };
    for (const auto& c : cases) {
        DeviceSimulator fresh;
        ASSERT_TRUE(fresh.Start());
        fresh.UpdateProfile(c.profile);
        app.CSettingINI.m_wWebPort = fresh.Port();
        app.w_UserLevel = 0;
        auto dialog = Open();
        QTest::keyClicks(Edit(*dialog, "passwordEdit"), c.password);
        QTest::mouseClick(Button(*dialog, kUpgradeButton), Qt::LeftButton);  // returns when the pop-up has ended
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return dialog->messages.size() == c.messages.size(); }));
        QTest::qWait(50);
        EXPECT_EQ(dialog->messages, c.messages) << c.name;
        EXPECT_EQ(dialog->upgradeRuns, c.upgrades) << c.name;
        EXPECT_TRUE(dialog->isVisible()) << c.name;
        EXPECT_EQ(app.w_LoginResult.load(), kLoginNotLoggedIn) << c.name;
    }
}

// ---- The connecting pop-up -----------------------------------------------------------

TEST_F(LoginDialogTest, PopupStandsWhereItsTemplatePutsItWithNothingCut) {
    auto dialog = Open();
    testutil::ExpectTemplateGeometry(kConnectingPopupTemplate,
                                     [&] { return std::make_unique<ConnectingPopup>(nullptr, dialog.get()); });
    ConnectingPopup popup(nullptr, dialog.get());
    popup.SetText(QString::fromUtf8("Połącz 127.0.0.1 ...."));
    testutil::ExpectNothingCut(popup, "connecting-popup");
}

TEST_F(LoginDialogTest, PopupShowsConnectThenMovingDotsUntilTheWorkerEnds) {
    for (const bool accept : {true, false}) {
        DeviceSimulator fresh;
        ASSERT_TRUE(fresh.Start());
        // The login's answer waits until the dots have moved a few times.
        auto held = std::make_shared<devicesim::ReplyGate>();
        fresh.AddFault("/Login.cgi", Fault::HeldBy(held));
        app.CSettingINI.m_wWebPort = fresh.Port();
        timing.commandTimeout = 10000ms;
        auto dialog = Open();
        QTest::keyClicks(Edit(*dialog, "passwordEdit"), accept ? "tovik" : "wrong");

        ConnectingPopup popup(nullptr, dialog.get());
        QStringList texts;
        QObject::connect(&popup, &ConnectingPopup::textShown, [&](const QString& t) {
            texts << t;
            if (texts.size() == 6)
                held->Open();
        });
        popup.SetText("Connect 127.0.0.1");
        QTimer::singleShot(10000, &popup, &QDialog::reject);
        const int result = popup.exec();
        EXPECT_EQ(result, accept ? kLoginWorkerSucceeded : kLoginWorkerFailed);

        ASSERT_GE(texts.size(), 6);
        EXPECT_EQ(texts[0], "Connect 127.0.0.1");
        const QStringList dots{" .", " ..", " ...", " ...."};
        for (int i = 1; i < texts.size(); ++i)
            EXPECT_EQ(texts[i], "Połącz 127.0.0.1" + dots[(i - 1) % 4]) << i;
        const int shown = texts.size();
        QTest::qWait(100);
        EXPECT_EQ(texts.size(), shown);  // the dots stopped with the end
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return dialog->messages == (accept ? QStringList() : QStringList{LoadText(4040)}); }));
    }
}

TEST_F(LoginDialogTest, EscapeDismissesThePopupAndStopsItsWorker) {
    device.AddFault("/Login.cgi", Fault::Silence());
    timing.commandTimeout = 10000ms;
    auto dialog = Open();
    QTest::keyClicks(Edit(*dialog, "passwordEdit"), "tovik");
    int result = 0;
    {
        ConnectingPopup popup(nullptr, dialog.get());
        QTimer::singleShot(200, [&popup] { QTest::keyClick(&popup, Qt::Key_Escape); });
        result = popup.exec();
    }
    EXPECT_EQ(result, ConnectingPopup::kDismissed);
    ASSERT_NE(g_lpLogin, nullptr);
    EXPECT_FALSE(g_lpLogin->Running());
    QTest::qWait(50);
    EXPECT_TRUE(dialog->messages.isEmpty());
}
