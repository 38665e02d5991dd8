// The main window's messages and input offscreen: status codes, the alarm
// sound's start, stop and click, Enter and Esc, full screen and back, the
// background drag and a click in click-to-position mode.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>

#include "fakes/RecordingAlarmSound.h"
#include "fakes/RecordingRecorderPort.h"
#include "gui/DeviceCommand.h"
#include "gui/VtxButton.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "platform/ProgramFolder.h"
#include "session/AlarmSoundControl.h"
#include "session/AppData.h"
#include "session/SessionResources.h"
#include "session/devices/PanelButtonTable.h"
#include "simulator/DeviceSimulator.h"
#include "support/AppAtDevice.h"
#include "support/CurrentPicture.h"
#include "support/TempFolder.h"
#include "StartedWindow.h"
#include "support/WaitWithEvents.h"

namespace {

using session::AppData;
using session::CTavrinDlg;

class WindowInputGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetShippedFolders(std::vector<std::filesystem::path>{});
        ASSERT_TRUE(device.Start());
        testutil::AimAtDevice(app, device);
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        app.str_ProductID = "R42T";
        app.str_FWVersion = "1034";
        app.w_UserLevel = 30;
        app.by_UserLevelIndex = 0;
        app.SetAlarmSound(&sound);
        app.C_ControlD.AddDevice(0, 0, mainwindow::kTypeKlt316Dvr, mainwindow::kControlDeviceMaster);
        app.C_ControlD.AddDevice(0, 1, mainwindow::kTypePtzSlave, mainwindow::kControlDeviceSlave);
        app.C_ControlD.MakeCurrent(mainwindow::kControlDeviceSlave, 0);
        ASSERT_TRUE(app.lp_ImageBuffer.Allocate(session::kPictureBufferSize));
        window = testutil::OpenStartedWindow(app, resources, {}, messages);
        ASSERT_TRUE(window->Started());
    }
    void TearDown() override {
        window->DestroyWindow();
        session::StopAlarmSound(app);
        app.SetAlarmSound(nullptr);
        platform::SetShippedFolders(std::nullopt);
    }
    void Settle() {
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return gui::PendingRequests(window.get()) == 0; }, 5000));
    }

    testutil::TempFolder folder;
    devicesim::DeviceSimulator device;
    AppData app;
    fakes::RecordingAlarmSound sound{app.h_StopAudioWavEvent};
    session::SessionResources resources{app};
    std::unique_ptr<CTavrinDlg> window;
    QStringList messages;
};

TEST_F(WindowInputGuiTest, StatusCodes) {
    window->OnShowStatus(0, 3725);
    EXPECT_EQ(window->StatusText(), "ESCAPED TIME:  62:05");
    window->OnShowStatus(7, 0);
    EXPECT_EQ(window->StatusText(), "System relogin too many user.Wait for 40 sec!!\nApplication will try again.");
    window->Display().m_bFullScreen = 1;
    window->OnShowStatus(8, 0);
    EXPECT_EQ(app.dw_TooManyUsers.load(), 0u) << "not in full screen";
    window->Display().m_bFullScreen = 0;
    window->OnShowStatus(8, 0);
    EXPECT_EQ(app.dw_TooManyUsers.load(), 1u);
}

TEST_F(WindowInputGuiTest, AlarmSoundPlaysOnceAndAClickSilencesIt) {
    window->Port().PostAlarmAudio(1);
    window->Port().PostAlarmAudio(1);
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return sound.Count("play") == 1; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(sound.Count("play"), 1) << "a second start while requested is ignored";
    EXPECT_EQ(app.dw_AlarmAudioPlaying.load(), 1u);

    QTest::mouseClick(window->VideoArea(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(app.dw_AlarmAudioPlaying.load(), 0u);
    EXPECT_EQ(app.dw_AlarmAudioRequested.load(), 1u);
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return sound.Count("play:end") == 1; }, 5000));
    window->Port().PostAlarmAudio(1);
    QTest::qWait(20);
    EXPECT_EQ(sound.Count("play"), 1) << "ignored until the stop";

    window->Port().PostAlarmAudio(2);
    sound.loads = false;
    window->Port().PostAlarmAudio(1);
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return !messages.isEmpty(); }, 5000));
    EXPECT_EQ(messages.value(0), QString::fromUtf8("Błąd ładowania  pliku dźwiękowego alarmu"));
}

TEST_F(WindowInputGuiTest, EnterAndEscOutsideFullScreenDoNothing) {
    // A default button the dialog would press on Enter if the key reached it.
    auto* probe = new QPushButton(QStringLiteral("probe"), window.get());
    probe->setDefault(true);
    probe->show();
    int pressed = 0;
    QObject::connect(probe, &QPushButton::clicked, [&] { ++pressed; });
    QTest::keyClick(window.get(), Qt::Key_Return);
    QTest::keyClick(window.get(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(window->Button(8192), Qt::Key_Enter);
    QTest::keyClick(probe, Qt::Key_Return);
    EXPECT_EQ(pressed, 0);
    delete probe;
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::qWait(10);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->PanelOpen());
    EXPECT_TRUE(device.Requests().empty());
}

TEST_F(WindowInputGuiTest, FullScreenAndBack) {
    QTest::mouseClick(window->Button(8192), Qt::LeftButton);
    ASSERT_TRUE(window->PanelOpen());
    window->Button(8201)->click();
    EXPECT_EQ(window->Display().m_bFullScreenPending.load(), 1u);
    window->Port().EnterFullScreen();  // the frame display's first picture
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return !window->Button(8200)->isVisible(); }, 5000));
    const QRect work = window->screen()->availableGeometry();
    EXPECT_EQ(window->size(), work.size());
    EXPECT_TRUE(window->mask().isEmpty()) << "unmasked";
    for (auto* button : window->findChildren<session::CVtxButton*>())
        EXPECT_FALSE(button->isVisible()) << button->objectName().toStdString();
    EXPECT_EQ(window->grab().size(), work.size());

    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(window->Display().m_bFullScreen.load(), 0u);
    EXPECT_EQ(window->size(), QSize(722, 680)) << "the panel stays open for a type with a panel";
    EXPECT_LE((window->geometry().center() - work.center()).manhattanLength(), 2) << "centred in the work area";
    EXPECT_TRUE(window->Button(8200)->isVisible());
    EXPECT_TRUE(window->Button(8193)->isVisible());
    EXPECT_FALSE(window->Button(8192)->isVisible());
    EXPECT_TRUE(window->PanelButton(54)->isVisible());
}

TEST_F(WindowInputGuiTest, PressesDragTheWindowAndPointTheCamera) {
    const int before = window->SystemMovesStarted();
    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(300, 30));
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(300, 30));
    EXPECT_EQ(window->SystemMovesStarted(), before + 1);
    EXPECT_TRUE(device.Requests().empty()) << "mode 1";

    app.by_MouseMode = 2;
    app.dw_VideoConnected = 1;
    // Row 2, column 10 of the video area (42, 96 - 682, 552): the picture's
    // green top-right quarter.
    const QPoint click(10 * 40 + 5, 2 * 38 + 5);
    QTest::mouseClick(window->VideoArea(), Qt::LeftButton, {}, click);
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return !device.RequestsFor("/RS485Cmd.cgi").empty(); }, 5000));
    Settle();
    const std::string body = device.RequestsFor("/RS485Cmd.cgi")[0].body;
    ASSERT_EQ(body.size(), 10u);
    EXPECT_EQ(static_cast<unsigned char>(body[5]), 2 * 16 + 10);
    EXPECT_EQ(app.w_MarkerCountdown.load(), 4);

    // The next picture carries the red cross where the click was.
    testutil::SetCurrentPicture(app, 640, 228);
    ASSERT_EQ(window->DisplayFrame(), 1);
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return window->VideoImage().height() == 456; }, 5000));
    const QImage& shown = window->VideoImage();
    EXPECT_EQ(shown.pixelColor(click + QPoint(5, 0)), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(click + QPoint(0, 5)), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(click + QPoint(40, 40)), QColor(0, 255, 0)) << "the picture around it";
    EXPECT_EQ(app.w_MarkerCountdown.load(), 3);
}

TEST(WindowCloseGuiTest, TheWindowManagersCloseTakesTheOrderlyPath) {
    platform::SetShippedFolders(std::vector<std::filesystem::path>{});
    testutil::TempFolder folder;
    AppData app;
    app.CSettingINI.m_strAppPath = folder.path().string() + "/";
    fakes::RecordingRecorderPort alarm, user, schedule;
    app.SetRecorders(&alarm, &user, &schedule);
    ASSERT_TRUE(app.lp_ImageBuffer.Allocate(session::kPictureBufferSize));
    session::SessionResources resources{app};
    {
        CTavrinDlg window(app, resources);
        window.SetStartJob([](std::stop_token) { return mainwindow::StartOutcome{}; });
        window.show();
        ASSERT_TRUE(testutil::WaitWithEvents([&] { return window.Started(); }, 5000));
        window.close();
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_TRUE(alarm.Contains("terminaterecord"));
    EXPECT_TRUE(user.Contains("stoprecord"));
    EXPECT_TRUE(schedule.Contains("stoprecord"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Setting.ini"));
    app.SetRecorders(nullptr, nullptr, nullptr);
    platform::SetShippedFolders(std::nullopt);
}

}  // namespace
