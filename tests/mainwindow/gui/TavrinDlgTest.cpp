#include "mainwindow/gui/TavrinDlg.h"

#include <gtest/gtest.h>

#include <QTest>

#include <cstring>

#include "support/CurrentPicture.h"
#include "support/WaitWithEvents.h"
#include "session/AppData.h"
#include "session/SessionResources.h"

using session::AppData;
using session::CTavrinDlg;

namespace {

// The main window over a data object whose session threads never started:
// the tests hand it pictures and status codes themselves.
class TavrinDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.lp_ImageBuffer.Allocate(session::kPictureBufferSize));
        window.SetMessageSink([this](const QString& text) { messages << text; });
        window.SetStartJob([](std::stop_token) { return mainwindow::StartOutcome{}; });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void ShowPicture(int width, int height) {
        testutil::SetCurrentPicture(app, width, height);
        ASSERT_EQ(window.DisplayFrame(), 1);
    }

    AppData app;
    session::SessionResources resources{app};
    CTavrinDlg window{app, resources};
    QStringList messages;
};

struct FieldPicture {
    int width, height;
};

class FieldPictureDrawingTest : public TavrinDlgTest, public ::testing::WithParamInterface<FieldPicture> {};

// Doubled, these are taller than the video area: drawn from its top, clipped below.
TEST_P(FieldPictureDrawingTest, DoubledPicturesAreDrawnClippedToTheVideoArea) {
    const int width = GetParam().width;
    const int height = GetParam().height;  // plain variables: a lambda below captures them
    ShowPicture(width, height);
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return window.VideoImage().height() == 2 * height; }));
    EXPECT_EQ(window.VideoImage().width(), width);
    const QImage shot = window.VideoArea()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(width / 4, 100), QColor(255, 0, 0));        // top left quadrant
    EXPECT_EQ(shot.pixelColor(3 * width / 4, 100), QColor(0, 255, 0));    // top right quadrant
}

INSTANTIATE_TEST_SUITE_P(Sizes, FieldPictureDrawingTest,
                         ::testing::Values(FieldPicture{704, 480}, FieldPicture{720, 576}));

struct StatusCase {
    int code;
    unsigned value;
    const char* text;
};

TEST_F(TavrinDlgTest, ReLoginProgressShowsItsTexts) {
    for (const auto& c : {StatusCase{1, 0, "Start login"},
                          StatusCase{2, 0, "Server is too busy!! Try later !!"},
                          StatusCase{3, 0, "Login process is failed,wait a moment !!"},
                          StatusCase{0, 754, "ESCAPED TIME:  12:34"},
                          StatusCase{0, 59, "ESCAPED TIME:  00:59"},
                          StatusCase{0, 6005, "ESCAPED TIME:  00:05"},  // 100 minutes: two digits, modulo 100
                          StatusCase{7, 0, "System relogin too many user.Wait for 40 sec!!\nApplication will try again."}}) {
        window.OnShowStatus(c.code, c.value);
        EXPECT_EQ(window.StatusText().toStdString(), c.text) << c.code;
    }
    window.OnShowStatus(4, 0);  // nothing
    window.OnShowStatus(9, 0);  // nor an unknown code
    EXPECT_EQ(window.StatusText().toStdString(), "System relogin too many user.Wait for 40 sec!!\nApplication will try again.");
}

TEST_F(TavrinDlgTest, LinkButtonFollowsTheReLoginsConnectionCodes) {
    window.OnShowStatus(6, 0);
    EXPECT_EQ(window.LinkButtonState(), 1);
    window.OnShowStatus(5, 0);
    EXPECT_EQ(window.LinkButtonState(), 0);
}

TEST_F(TavrinDlgTest, DisconnectWithoutAStreamClearsTheStatusTexts) {
    app.dw_GetImageThreadRunning.store(1);
    app.m_strSensorText.Set("HU: 20C");
    app.m_strAlarmChannel.Set("3");
    window.OnLogin();
    EXPECT_EQ(window.StatusText(), QStringLiteral("DISCONNECT!!"));
    EXPECT_EQ(window.LinkButtonState(), 1);
    // The tear-down runs on the device-command worker.
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return app.dw_GetImageThreadRunning.load() == 0; }));
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return app.m_strAlarmChannel.Get().empty(); }));
    EXPECT_EQ(app.m_strSensorText.Get(), "");
    EXPECT_EQ(app.m_strAlarmChannel.Get(), "");
}

TEST_F(TavrinDlgTest, TheCoreReachesTheWindowThroughItsPortOnceOpen) {
    app.Ui().ShowMessageBox(4116);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Błąd zapisu zdjęcia,sprawdź prawidłowość ścieżki."));
}

}  // namespace
