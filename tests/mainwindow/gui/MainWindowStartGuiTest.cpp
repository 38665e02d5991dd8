// The main window's start against the simulated device: the device job on
// the worker, then the window's own steps; and the two ends a start can have.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <memory>

#include "gui/VtxButton.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "session/AppData.h"
#include "session/SessionResources.h"
#include "session/login/LoginExchange.h"
#include "simulator/DeviceSimulator.h"
#include "support/TempFolder.h"

namespace {

using namespace std::chrono_literals;
using session::AppData;
using session::CTavrinDlg;
using session::CVtxButton;

class MainWindowStartGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        std::uint8_t step = 0;
        app.CSettingINI.LoadSetting(session::SettingsFolders{folder.path(), folder.path()}, step);
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device.Port();
        timing.connectTimeout = 2000ms;
        timing.commandTimeout = 2000ms;
        timing.sysCfgQueryTimeout = 2000ms;
    }
    void LogIn(int level) {
        device.UpdateProfile([&](devicesim::DeviceProfile& p) { p.userLevel = level; });
        ASSERT_EQ(session::RunLoginRequest(app, session::ExchangeOptions{timing, {}, {}}), session::kLoginLoggedIn);
    }
    std::unique_ptr<CTavrinDlg> Open() {
        auto window = std::make_unique<CTavrinDlg>(app, resources, timing);
        window->SetMessageSink([this](const QString& text) { messages << text; });
        window->show();
        return window;
    }

    testutil::TempFolder folder;
    devicesim::DeviceSimulator device;
    AppData app;
    session::SessionResources resources{app};
    platform::Timing timing;
    QStringList messages;
};

TEST_F(MainWindowStartGuiTest, TheWindowStartsFromTheDevicesFactsAndReleasesTheStream) {
    LogIn(20);
    auto window = Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Started(); }, 10000));
    EXPECT_EQ(window->windowTitle(), "Quenlo : 127.0.0.1");
    EXPECT_EQ(window->toolTip(), "Quenlo : 1.0.5.3");
    EXPECT_EQ(window->StatusText(), "Start to get image!!");
    EXPECT_EQ(window->Button(8200)->toolTip(), "Minimalizuj");
    EXPECT_EQ(window->Button(8202)->toolTip(), "Zamknij");
    EXPECT_EQ(window->Button(8311)->toolTip(), "Zasilanie");
    EXPECT_FALSE(window->Button(8311)->isVisible());
    // No control devices: CAMERA, which has no panel: 8193 shown, 8192 hidden.
    EXPECT_FALSE(window->Button(8192)->isVisible());
    EXPECT_TRUE(window->Button(8193)->isVisible());
    EXPECT_TRUE(app.h_StartToGetJpegImageEvent.IsSet());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MainWindowStartGuiTest, AGuestCannotOpenThePanel) {
    LogIn(0);
    auto window = Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Started(); }, 10000));
    EXPECT_EQ(app.by_UserLevelIndex.load(), 2);
    for (std::uint16_t id : {8192, 8193}) {
        EXPECT_FALSE(window->Button(id)->isEnabled()) << id;
        EXPECT_FALSE(window->Button(id)->isVisible()) << id;
    }
}

TEST_F(MainWindowStartGuiTest, ARefusedRequestShows4034AndClosesInOrder) {
    LogIn(30);
    device.AddFault("/Getdeviceinfo.cgi", devicesim::Fault::Status(404));
    auto window = Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 10000));
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("Błąd połączenia z urządzeniem")});
    EXPECT_FALSE(window->Started());
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Setting.ini"));
    EXPECT_EQ(app.h_DeviceCommandWorker.Pending(), 0u);
    EXPECT_FALSE(app.h_StartToGetJpegImageEvent.IsSet());
}

TEST_F(MainWindowStartGuiTest, AStalledReplyLeavesTheWindowWorkingAndTheCloseEndsIt) {
    LogIn(30);
    timing.commandTimeout = 60s;
    device.AddFault("/Getdeviceinfo.cgi", devicesim::Fault::Silence());
    auto window = Open();
    ASSERT_TRUE(device.WaitForRequests(1, 5000ms));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !device.RequestsFor("/Getdeviceinfo.cgi").empty(); }, 5000));
    // The GUI thread goes on meanwhile: a timer fires, and the window is busy.
    bool ticked = false;
    QTimer::singleShot(10, [&] { ticked = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticked; }, 5000));
    EXPECT_EQ(window->cursor().shape(), Qt::BusyCursor);
    window->DestroyWindow();
    EXPECT_EQ(app.h_DeviceCommandWorker.Pending(), 0u);
    EXPECT_FALSE(window->Started());
    QTest::qWait(50);  // a late result would arrive here
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(app.h_StartToGetJpegImageEvent.IsSet());
}

}  // namespace
