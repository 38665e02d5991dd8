// The whole run against the device simulator: start-up, login, live pictures
// in the main window, a dropped stream and its re-login, and the close.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "gui/DeviceCommand.h"
#include "platform/ProgramFolder.h"
#include "fakes/RecordingUiPort.h"
#include "fakes/TestPictures.h"
#include "session/AppData.h"
#include "session/login/LoginExchange.h"
#include "session/SessionResources.h"
#include "support/TempFolder.h"
#include "support/WaitWithEvents.h"
#include "session/gui/LoginDialog.h"
#include "app/TavrinApp.h"
#include "gui/VtxButton.h"
#include "mainwindow/gui/SensorModeToolBar.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/VideoStream.h"

using session::AppData;
using session::CTavrinApp;
using session::CTavrinDlg;
using session::StartupEnd;

namespace {

constexpr int kPatienceMs = 10000;
// A video server's full-width field (704 × 240 is in its frame rules).
constexpr int kPictureWidth = 704;
constexpr char kMinimalControlFile[] = "[DEVICE NUMBER]\n0\n[EOF]\nEND\n";

int CountEntries(const char* folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++n;
    return n;
}

// The waits of a run, shortened so a re-login takes a fraction of a second.
platform::Timing ShortTiming() {
    platform::Timing t;
    t.connectTimeout = std::chrono::milliseconds(2000);
    t.reloginFirstWait = std::chrono::milliseconds(50);
    t.reloginBackoffStep = std::chrono::milliseconds(50);
    t.reloginLastWait = std::chrono::milliseconds(50);
    t.startEventDelay = std::chrono::milliseconds(50);
    return t;
}

// A run in a program folder of its own against a simulated video server that
// streams a quadrant picture at 25 frames a second.
class MainRoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QUENLO_HOME", folder.path().c_str(), 1);
        platform::SetShippedFolders(std::vector<std::filesystem::path>{});  // the program folder alone
        folder.Write("CtrlFile.ini", kMinimalControlFile);
        stream.SetPictures({testpictures::QuadrantJpeg(kPictureWidth, 240)});
        stream.SetFrameRate(25);
        ASSERT_TRUE(device.Start());
        options.timing = ShortTiming();
        options.startupUi = &startupUi;
        options.runLoginDialog = [this](AppData& app) {
            ++loginDialogs;
            app.CSettingINI.m_strServerName.Set("127.0.0.1");
            app.CSettingINI.m_wWebPort.store(device.Port());
            app.CSettingINI.m_strUserName.Set(device.Profile().userName);
            app.CSettingINI.m_strPassword.Set(device.Profile().password);
            return session::RunLoginRequest(app, {options.timing, {}, {}}) == session::kLoginLoggedIn ? 1 : 2;
        };
    }
    void TearDown() override {
        ::unsetenv("QUENLO_HOME");
        platform::SetShippedFolders(std::nullopt);
    }

    // Runs the whole program; the scenario runs inside the main window's loop.
    StartupEnd RunWithMainWindow(std::function<void(CTavrinDlg&, CTavrinApp&)> scenario) {
        CTavrinApp* running = nullptr;
        options.mainWindowCreated = [&](CTavrinDlg& window) {
            window.SetMessageSink([this](const QString& text) { messages << text; });
            QTimer::singleShot(0, &window, [&] {
                scenario(window, *running);
                window.DestroyWindow();  // a no-op when the scenario closed it
            });
        };
        CTavrinApp app(options);
        running = &app;
        const StartupEnd end = app.InitInstance();
        app.ExitInstance();
        return end;
    }

    // Waits until the window shows a picture newer than the one shown now.
    static bool WaitForNewPicture(CTavrinDlg& window) {
        quint64 shown = 0;
        // Disconnected on the way out: later pictures must not write into this frame.
        const auto connection = QObject::connect(&window, &CTavrinDlg::pictureShown, &window,
                                                 [&](quint64 sequence) { shown = sequence; });
        const bool arrived = testutil::WaitWithEvents([&] { return shown != 0; }, kPatienceMs);
        QObject::disconnect(connection);
        return arrived;
    }

    testutil::TempFolder folder;
    devicesim::DeviceSimulator device{devicesim::DeviceProfile::ForProduct("R47T")};
    devicesim::VideoStream stream{device};
    fakes::RecordingUiPort startupUi;
    session::TavrinAppOptions options;
    int loginDialogs = 0;
    QStringList messages;
};

// Checks the quadrant colours of the doubled 704 × 240 picture in a grab of the window.
// The window is laid out for the pictures' format once their size has reached it.
void ExpectQuadrantsOnScreen(CTavrinDlg& window) {
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return window.VideoArea()->width() >= kPictureWidth; }, 5000));
    const QImage shot = window.grab().toImage();
    const QPoint origin = window.VideoArea()->mapTo(&window, QPoint(0, 0));
    const auto expect = [&](int x, int y, testpictures::Bgr c, const char* where) {
        const QColor pixel = shot.pixelColor(origin + QPoint(x, y));
        EXPECT_NEAR(pixel.red(), c.r, 48) << where;
        EXPECT_NEAR(pixel.green(), c.g, 48) << where;
        EXPECT_NEAR(pixel.blue(), c.b, 48) << where;
    };
    expect(kPictureWidth / 4, 120, testpictures::kTopLeft, "top left");
    expect(kPictureWidth * 3 / 4, 120, testpictures::kTopRight, "top right");
    expect(kPictureWidth / 4, 360, testpictures::kBottomLeft, "bottom left");
    expect(kPictureWidth * 3 / 4, 360, testpictures::kBottomRight, "bottom right");
}

TEST_F(MainRoadTest, LogsInDrawsLivePicturesShowsRatesAndClosesInOrder) {
    double closeMs = 0;
    AppData* data = nullptr;
    const StartupEnd end = RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp& app) {
        data = app.Data();
        ASSERT_TRUE(WaitForNewPicture(window));
        EXPECT_EQ(window.VideoImage().width(), kPictureWidth);
        EXPECT_EQ(window.VideoImage().height(), 480);  // a field picture, doubled
        ExpectQuadrantsOnScreen(window);

        const QRegularExpression rates(QStringLiteral("^FR:\\d+\\.\\d\\d fps DR:\\d+ kbps $"));
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return rates.match(window.StatusText()).hasMatch(); }, kPatienceMs));

        const auto started = std::chrono::steady_clock::now();
        window.DestroyWindow();
        closeMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        for (const auto* thread : {&data->h_Process_KernelMessageThread, &data->h_Process_Terminate_Thread,
                                   &data->h_Process_Init_Thread, &data->h_ConnectionThread,
                                   &data->h_GetJpegImageThread, &data->h_ComposeImageDataThread,
                                   &data->h_ShowImageDataThread, &data->h_ReLoginThread})
            EXPECT_FALSE(thread->Attached());
    });
    EXPECT_EQ(end, StartupEnd::MainWindowClosed);
    EXPECT_EQ(loginDialogs, 1);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Setting.ini"));
    EXPECT_NE(folder.Read("Setting.ini").find(std::to_string(device.Port())), std::string::npos);
    RecordProperty("close_ms", static_cast<int>(closeMs));
    EXPECT_LT(closeMs, 5000);  // a hang guard, not a speed goal
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// Newer firmware sends a device information longer than the window's
// 1,024-byte area: the known items come first and are used, the rest is not
// read, and the session runs, its re-login included.
TEST_F(MainRoadTest, ALongerDeviceInformationStillLeadsToLivePicturesAndReLogin) {
    device.UpdateProfile([](devicesim::DeviceProfile& p) {
        p.userLevel = 20;
        p.deviceInfoLength = 1500;
    });
    ASSERT_EQ(device.Profile().DeviceInfoItems().size(), 1500u);
    const StartupEnd end = RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp& app) {
        ASSERT_TRUE(WaitForNewPicture(window));
        ExpectQuadrantsOnScreen(window);
        EXPECT_EQ(app.Data()->w_UserLevel.load(), 20);
        const std::size_t streams = stream.StreamsStarted();
        stream.InjectFault(devicesim::StreamFault::Close());
        ASSERT_TRUE(testutil::WaitWithEvents([&] { return stream.StreamsStarted() > streams; }, kPatienceMs));
        ASSERT_TRUE(WaitForNewPicture(window));
    });
    EXPECT_EQ(end, StartupEnd::MainWindowClosed);
    EXPECT_GE(device.RequestsFor("/Getdeviceinfo.cgi").size(), 2u);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// A picture the decoder refuses (a bogus Huffman table in its header) among
// good ones: the window goes on showing the pictures that follow it.
TEST_F(MainRoadTest, ADamagedPictureDoesNotStopTheLiveVideo) {
    const StartupEnd end = RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp&) {
        ASSERT_TRUE(WaitForNewPicture(window));
        int shownAfter = 0;
        QObject::connect(&window, &CTavrinDlg::pictureShown, &window, [&] { ++shownAfter; });
        const auto damaged = testpictures::Damaged(testpictures::QuadrantJpeg(kPictureWidth, 240),
                                                   testpictures::Damage::BogusHuffmanTable);
        stream.InjectFault(devicesim::StreamFault::Picture(devicesim::DevicePicture(damaged)));
        // Two frames may still be on their way from before the damaged one.
        ASSERT_TRUE(testutil::WaitWithEvents([&] { return shownAfter >= 12; }, kPatienceMs)) << shownAfter;
        ExpectQuadrantsOnScreen(window);
    });
    EXPECT_EQ(end, StartupEnd::MainWindowClosed);
    EXPECT_EQ(loginDialogs, 1);
    EXPECT_EQ(device.RequestsFor("/Login.cgi").size(), 1u) << "no re-login";
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(MainRoadTest, ThePasswordAndEnterInThePrefilledLoginDialogLeadToLivePictures) {
    options.runLoginDialog = {};  // the real login dialog
    options.settingsLoaded = [this](AppData& app) {
        app.CSettingINI.m_strServerName.Set("127.0.0.1");
        app.CSettingINI.m_wWebPort.store(device.Port());
    };
    QTimer enter;
    QObject::connect(&enter, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<session::LoginDialog*>(QApplication::activeModalWidget())) {
            enter.stop();
            for (auto* edit : dialog->findChildren<QLineEdit*>())
                if (edit->echoMode() == QLineEdit::Password)
                    QTest::keyClicks(edit, QString::fromStdString(device.Profile().password));
            QTest::keyClick(dialog, Qt::Key_Return);
        }
    });
    enter.start(50);
    bool pictures = false;
    const StartupEnd end = RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp&) {
        pictures = WaitForNewPicture(window);
    });
    EXPECT_EQ(end, StartupEnd::MainWindowClosed);
    EXPECT_TRUE(pictures);
}

TEST_F(MainRoadTest, TheWindowManagersCloseTakesTheOrderlyPath) {
    const StartupEnd end = RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp&) {
        ASSERT_TRUE(WaitForNewPicture(window));
        window.close();
        EXPECT_FALSE(window.isVisible());
    });
    EXPECT_EQ(end, StartupEnd::MainWindowClosed);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Setting.ini"));
}

TEST_F(MainRoadTest, DroppedStreamsLogInAgainAndLeaveNoDescriptorOrThreadBehind) {
    RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp&) {
        ASSERT_TRUE(WaitForNewPicture(window));
        auto dropAndWait = [&](int cycle) {
            const std::size_t streams = stream.StreamsStarted();
            stream.InjectFault(devicesim::StreamFault::Close());
            EXPECT_TRUE(testutil::WaitWithEvents([&] { return stream.StreamsStarted() > streams; }, kPatienceMs));
            return WaitForNewPicture(window) ? ::testing::AssertionSuccess()
                                             : ::testing::AssertionFailure() << "cycle " << cycle;
        };
        // The first re-logins may start workers that then stay for the run.
        for (int cycle = 1; cycle <= 5; ++cycle)
            ASSERT_TRUE(dropAndWait(cycle));
        const int descriptors = CountEntries("/proc/self/fd");
        const int threads = CountEntries("/proc/self/task");
        for (int cycle = 6; cycle <= 15; ++cycle)
            ASSERT_TRUE(dropAndWait(cycle));
        EXPECT_GE(device.RequestsFor("/Login.cgi").size(), 16u);
        // A connection of the moment may be open; nothing piles up.
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return CountEntries("/proc/self/fd") <= descriptors + 2; },
                                             kPatienceMs));
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return CountEntries("/proc/self/task") <= threads; }, kPatienceMs));
    });
}

// Flat grey pictures told apart by their level after JPEG: picture i has level 8 + 15 i.
constexpr int kGreyPictures = 16;

std::vector<std::vector<std::uint8_t>> GreyJpegs() {
    std::vector<std::vector<std::uint8_t>> jpegs;
    platform::JpegCodec codec;
    for (int i = 0; i < kGreyPictures; ++i) {
        const std::vector<std::uint8_t> pixels(platform::BgrPictureBytes(352, 240), static_cast<std::uint8_t>(8 + 15 * i));
        jpegs.emplace_back();
        codec.Encode(pixels.data(), 352, 240, jpegs.back());
    }
    return jpegs;
}

int GreyPictureShown(const CTavrinDlg& window) {
    const QImage& image = window.VideoImage();
    const int level = qGreen(image.pixel(image.width() / 2, image.height() / 2));
    return std::clamp((level - 8 + 7) / 15, 0, kGreyPictures - 1);
}

// Counts what the video area paints while it lives.
class PaintedPictures {
public:
    explicit PaintedPictures(CTavrinDlg& window)
        : connection_(QObject::connect(&window, &CTavrinDlg::pictureShown, &window, [this, &window](quint64 sequence) {
              sequences.push_back(sequence);
              pictures.push_back(GreyPictureShown(window));
          })) {}
    ~PaintedPictures() { QObject::disconnect(connection_); }

    std::vector<quint64> sequences;
    std::vector<int> pictures;

private:
    QMetaObject::Connection connection_;
};

// The device sends the sixteen pictures in turn; whatever the window skips, it
// never goes back to an older one.
TEST_F(MainRoadTest, PicturesAreShownInTheOrderTheDeviceSentThem) {
    stream.SetPictures(GreyJpegs());
    const StartupEnd end = RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp&) {
        PaintedPictures painted(window);
        ASSERT_TRUE(testutil::WaitWithEvents([&] { return painted.pictures.size() >= 40; }, kPatienceMs));
        for (std::size_t i = 1; i < painted.pictures.size(); ++i) {
            EXPECT_GT(painted.sequences[i], painted.sequences[i - 1]);
            const int step = (painted.pictures[i] - painted.pictures[i - 1] + kGreyPictures) % kGreyPictures;
            EXPECT_TRUE(step >= 1 && step < kGreyPictures / 2)
                << "picture " << painted.pictures[i] << " after " << painted.pictures[i - 1];
        }
    });
    EXPECT_EQ(end, StartupEnd::MainWindowClosed);
}

// A paint that takes 120 ms: the window gets round to a few pictures a second,
// while every picture still goes through the decoder and the display and the
// stream runs on at its rate.
class SleepingPaint : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            std::this_thread::sleep_for(std::chrono::milliseconds(120));
        return false;
    }
};

TEST_F(MainRoadTest, ASlowWindowDropsPicturesAndTheStreamNeverStalls) {
    stream.SetPictures(GreyJpegs());
    const StartupEnd end = RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp& app) {
        ASSERT_TRUE(WaitForNewPicture(window));
        SleepingPaint slow;
        window.VideoArea()->installEventFilter(&slow);
        PaintedPictures painted(window);
        const std::uint32_t handedBefore = app.Data()->dw_FramesShown.load();
        const std::size_t sentBefore = stream.FramesSent();
        QElapsedTimer clock;
        clock.start();
        testutil::WaitWithEvents([&] { return clock.elapsed() >= 3000; }, 6000);
        // Every picture sent reaches the display. A loaded machine may hold the
        // decoder a few pictures behind at one moment, so the counts are read
        // until they agree; a lost picture stays missing, and the gap only grows.
        std::size_t sent = 0;
        std::uint32_t handed = 0;
        const bool caughtUp = testutil::WaitWithEvents(
            [&] {
                sent = stream.FramesSent() - sentBefore;
                handed = app.Data()->dw_FramesShown.load() - handedBefore;
                return handed + 5 >= sent;
            },
            kPatienceMs);
        window.VideoArea()->removeEventFilter(&slow);

        EXPECT_GE(sent, 50u) << "the device sends 25 a second";
        EXPECT_TRUE(caughtUp) << "every picture reached the display: " << handed << " of " << sent;
        EXPECT_GE(painted.pictures.size(), 5u);
        EXPECT_LT(painted.pictures.size() * 2, handed) << "the window took only the newest";
        for (std::size_t i = 1; i < painted.sequences.size(); ++i)
            EXPECT_GT(painted.sequences[i], painted.sequences[i - 1]);
        ASSERT_TRUE(WaitForNewPicture(window));  // quick again, it follows the stream
    });
    EXPECT_EQ(end, StartupEnd::MainWindowClosed);
    EXPECT_EQ(device.RequestsFor("/Login.cgi").size(), 1u) << "no re-login";
}

// Waits until the window's device-command jobs have come back.
bool Settled(CTavrinDlg& window) {
    return testutil::WaitWithEvents([&] { return gui::PendingRequests(&window) == 0; }, kPatienceMs);
}

TEST_F(MainRoadTest, DisconnectStopsTheStreamAndConnectBringsItBack) {
    RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp& app) {
        ASSERT_TRUE(WaitForNewPicture(window));
        window.OnLogin();  // disconnect
        EXPECT_EQ(window.StatusText(), QStringLiteral("DISCONNECT!!"));
        EXPECT_EQ(window.LinkButtonState(), 1);
        // The tear-down runs on the device-command worker: the window is busy
        // meanwhile, and still paints.
        EXPECT_GT(gui::PendingRequests(&window), 0);
        EXPECT_FALSE(window.grab().isNull());
        ASSERT_TRUE(Settled(window));
        EXPECT_EQ(app.Data()->dw_GetImageThreadRunning.load(), 0u);
        const std::size_t logins = device.RequestsFor("/Login.cgi").size();
        const std::size_t streams = stream.StreamsStarted();
        QTest::qWait(300);
        EXPECT_EQ(device.RequestsFor("/Login.cgi").size(), logins);  // no re-login of its own
        EXPECT_EQ(stream.StreamsStarted(), streams);

        window.OnLogin();  // connect
        ASSERT_TRUE(Settled(window));
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return stream.StreamsStarted() > streams; }, kPatienceMs));
        EXPECT_TRUE(WaitForNewPicture(window));
        EXPECT_EQ(window.LinkButtonState(), 0);
    });
}

TEST_F(MainRoadTest, ASecondQuickPressDisconnectsOnceTheReLoginHasBegun) {
    RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp& app) {
        AppData& data = *app.Data();
        ASSERT_TRUE(WaitForNewPicture(window));
        window.OnLogin();  // disconnect
        ASSERT_TRUE(Settled(window));
        window.OnLogin();  // connect: the re-login marks the stream path running
        ASSERT_TRUE(testutil::WaitWithEvents([&] { return data.dw_GetImageThreadRunning.load() == 1; }, kPatienceMs));
        window.OnLogin();  // so the next press disconnects
        EXPECT_EQ(window.StatusText(), QStringLiteral("DISCONNECT!!"));
        ASSERT_TRUE(Settled(window));
        EXPECT_EQ(window.LinkButtonState(), 1);
        EXPECT_FALSE(data.h_ReLoginThread.Attached());
    });
}

TEST_F(MainRoadTest, TheResolutionButtonSwitchesThePictureAndTheWindowFollows) {
    stream.SetPictures({testpictures::QuadrantJpeg(704, 240)});
    stream.SetReducedPictures({testpictures::QuadrantJpeg(352, 240)});
    options.settingsLoaded = [](AppData& app) { app.CSettingINI.m_dwImageResolution = 0; };  // full size
    RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp& app) {
        ASSERT_TRUE(testutil::WaitWithEvents([&] { return window.VideoImage().width() == 704; }, kPatienceMs));
        const int relayouts = window.Relayouts();
        window.OnToolCommand(1007);
        ASSERT_TRUE(testutil::WaitWithEvents(
            [&] { return window.VideoImage().width() == 352 && window.Relayouts() > relayouts; }, kPatienceMs))
            << window.VideoImage().width() << " " << window.Relayouts();
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(WaitForNewPicture(window));
        EXPECT_EQ(window.Relayouts(), relayouts + 1) << "once, not at every reduced picture";
        EXPECT_EQ(device.State().resolution, 1);
        EXPECT_EQ(app.Data()->CSettingINI.m_dwImageResolution.load(), 1u);
        EXPECT_EQ(app.Data()->w_VideoLayout.load(), 7);  // the video server's reduced NTSC row
    });
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// The device starts the stream in the resolution the session asked for, and
// the resolution button shows that setting from the first picture on.
TEST_F(MainRoadTest, TheFirstPictureAndTheResolutionButtonFollowTheSetting) {
    stream.SetPictures({testpictures::QuadrantJpeg(704, 240)});
    stream.SetReducedPictures({testpictures::QuadrantJpeg(352, 240)});
    for (const std::uint32_t resolution : {1u, 0u}) {
        SCOPED_TRACE(resolution);
        options.settingsLoaded = [resolution](AppData& app) { app.CSettingINI.m_dwImageResolution = resolution; };
        RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp&) {
            ASSERT_TRUE(WaitForNewPicture(window));
            EXPECT_EQ(window.VideoImage().width(), resolution == 0 ? 704 : 352);
            EXPECT_EQ(window.Button(1007)->ImageIndex(), static_cast<int>(resolution));
        });
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// Pictures of each size the video server's format rules list: the window is
// laid out again once at each change of format and never for a size they
// do not list.
TEST_F(MainRoadTest, EachNewPictureFormatReLaysTheWindowOutOnce) {
    stream.SetPictures({testpictures::QuadrantJpeg(704, 240)});
    options.settingsLoaded = [](AppData& app) { app.CSettingINI.m_dwImageResolution = 0; };
    RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp& app) {
        const session::AppData& data = *app.Data();
        ASSERT_TRUE(WaitForNewPicture(window));
        EXPECT_EQ(data.w_VideoLayout.load(), 6);
        const int start = window.Relayouts();
        const struct {
            int width, height;
            int relayouts;  // since the start
            std::uint16_t row;
        } steps[] = {{704, 480, 1, 8}, {352, 288, 2, 9}, {352, 240, 3, 7}, {720, 576, 3, 7}, {704, 240, 4, 6}};
        for (const auto& step : steps) {
            stream.SetPictures({testpictures::QuadrantJpeg(step.width, step.height)});
            ASSERT_TRUE(testutil::WaitWithEvents(
                [&] {
                    return data.VideoSizeSelector.FrameWidth() == step.width &&
                           data.VideoSizeSelector.FrameHeight() == step.height;
                },
                kPatienceMs))
                << step.width << "x" << step.height;
            for (int i = 0; i < 3; ++i)
                ASSERT_TRUE(WaitForNewPicture(window));
            EXPECT_EQ(window.Relayouts() - start, step.relayouts) << step.width << "x" << step.height;
            EXPECT_EQ(data.w_VideoLayout.load(), step.row) << step.width << "x" << step.height;
        }
    });
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// The number after the channel icon is the channel the frames carry: it
// changes with the channel the bar switched to, once its pictures arrive.
TEST_F(MainRoadTest, TheStatusLinesChannelNumberFollowsTheChannelBar) {
    RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp& app) {
        ASSERT_TRUE(WaitForNewPicture(window));
        const auto& row = mainwindow::LayoutRow(app.Data()->w_VideoLayout.load());
        // The number's place: right of the channel icon (L77 + 4, L76 + 2).
        const auto channelShown = [&]() -> std::string {
            for (const mainwindow::DrawnText& text : window.StatusDrawn().texts)
                if (text.x == row[mainwindow::kChannelIcon + 2] + 4 && text.y == row[mainwindow::kChannelIcon + 1] + 2)
                    return text.text;
            return "none";
        };
        for (const std::uint8_t channel : {std::uint8_t{2}, std::uint8_t{1}}) {
            window.Button(static_cast<std::uint16_t>(8410 + channel))->click();
            ASSERT_TRUE(testutil::WaitWithEvents(
                [&] { return app.Data()->ChannelButtonBar.CurrentChannel() == channel; }, kPatienceMs))
                << int{channel};
            ASSERT_TRUE(WaitForNewPicture(window));
            EXPECT_TRUE(testutil::WaitWithEvents([&] { return channelShown() == std::to_string(channel); }, kPatienceMs))
                << int{channel} << ": " << channelShown() << " in " << window.StatusText().toStdString();
            if (const char* keep = std::getenv("QUENLO_TEST_SCREENSHOTS"); keep && *keep)
                window.grab().save(QString::fromUtf8(keep) + QString("/status-channel-%1.png").arg(channel));
        }
    });
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// The record-search key opens the playback search dialog modally, without a parent.
TEST_F(MainRoadTest, TheRecordSearchKeyRunsThePlaybackSearch) {
    RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp&) {
        QString shown;
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(testutil::WaitWithEvents([&] { return QApplication::activeModalWidget() != nullptr; }));
            QWidget* dialog = QApplication::activeModalWidget();
            EXPECT_EQ(dialog->parentWidget(), nullptr);
            EXPECT_TRUE(testutil::WaitWithEvents([&] { return !device.RequestsFor("/GetDvrHDD.cgi").empty(); }));
            shown = dialog->windowTitle();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        window.OnPanelButton(25);
        EXPECT_EQ(shown, "Playback Search");
    });
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// The sensor bar's buttons reach the camera, and the camera's headers bring the bar along.
TEST_F(MainRoadTest, AG66MsSensorBarFollowsTheCamerasHeaders) {
    device.UpdateProfile([](devicesim::DeviceProfile& p) { p = devicesim::DeviceProfile::ForProduct("G66M"); });
    stream.SetPictures({testpictures::QuadrantJpeg(640, 480)});
    RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp&) {
        ASSERT_TRUE(WaitForNewPicture(window));
        mainwindow::SensorModeToolBar* bar = window.SensorBar();
        ASSERT_NE(bar, nullptr);
        QTest::mouseClick(bar->Button(8603), Qt::LeftButton);
        ASSERT_TRUE(testutil::WaitWithEvents([&] { return bar->Reported().frameMode == 3; }, kPatienceMs));
        EXPECT_EQ(bar->Button(8603)->ImageIndex(), 1);
        EXPECT_EQ(bar->Button(8600)->ImageIndex(), 0);
        QTest::mouseClick(bar->Button(8607), Qt::LeftButton);
        ASSERT_TRUE(testutil::WaitWithEvents([&] { return bar->Reported().verticalMirror; }, kPatienceMs));
        EXPECT_FALSE(bar->Reported().horizontalMirror);
    });
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(MainRoadTest, TheUsedUpLifetimeClosesTheWindowInOrder) {
    device.UpdateProfile([](devicesim::DeviceProfile& p) { p.lifetime = 1; });  // one minute...
    options.timing.lifetimeStartDelay = std::chrono::milliseconds(10);
    options.timing.lifetimeTick = std::chrono::milliseconds(5);  // ...of 5 ms seconds
    options.timing.lifetimeCloseDelay = std::chrono::milliseconds(10);
    QStringList statusTexts;
    const StartupEnd end = RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp&) {
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return !window.isVisible(); }, kPatienceMs));
        statusTexts << window.StatusText();
    });
    EXPECT_EQ(end, StartupEnd::MainWindowClosed);
    EXPECT_EQ(statusTexts, QStringList{QStringLiteral("Life time is Up.Application shutdown later")});
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Setting.ini"));
}

// $QUENLO_HOME naming a folder that does not exist yet: it is made, as the
// XDG folder is, and holds the settings after the close.
TEST_F(MainRoadTest, AMissingQuenloHomeIsMadeAndHoldsTheSettingsAfterTheClose) {
    const auto home = folder.path() / "not" / "yet";
    ::setenv("QUENLO_HOME", home.c_str(), 1);
    platform::SetShippedFolders(std::vector<std::filesystem::path>{folder.path()});  // CtrlFile.ini
    const StartupEnd end = RunWithMainWindow([&](CTavrinDlg&, CTavrinApp&) {});
    EXPECT_EQ(end, StartupEnd::MainWindowClosed);
    EXPECT_TRUE(std::filesystem::is_regular_file(home / "Setting.ini"));
    EXPECT_TRUE(std::filesystem::is_regular_file(home / "DebugTrace.log"));
    EXPECT_TRUE(startupUi.Calls().empty());
}

// One that cannot be made: said once, and the run goes on without saving.
TEST_F(MainRoadTest, AQuenloHomeThatCannotBeMadeIsSaidOnceAndTheRunGoesOn) {
    folder.Write("a-file", "not a folder");
    const auto home = folder.path() / "a-file" / "home";
    ::setenv("QUENLO_HOME", home.c_str(), 1);
    platform::SetShippedFolders(std::vector<std::filesystem::path>{folder.path()});
    const StartupEnd end = RunWithMainWindow([&](CTavrinDlg& window, CTavrinApp&) {
        EXPECT_TRUE(WaitForNewPicture(window));
    });
    EXPECT_EQ(end, StartupEnd::MainWindowClosed);
    ASSERT_EQ(startupUi.Calls().size(), 1u);
    EXPECT_NE(startupUi.Calls()[0].find(home.string()), std::string::npos) << startupUi.Calls()[0];
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(MainRoadTest, MissingControlFileShows4094AndEndsBeforeTheLoginDialog) {
    std::filesystem::remove(folder.path() / "CtrlFile.ini");
    CTavrinApp app(options);
    EXPECT_EQ(app.InitInstance(), StartupEnd::NoControlFile);
    EXPECT_EQ(startupUi.Calls(), std::vector<std::string>{"msgbox:4094"});
    EXPECT_EQ(loginDialogs, 0);
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(app.Data(), nullptr);
}

TEST_F(MainRoadTest, WithoutSettingIniTheLoginDialogOpensWithTheDefaults) {
    options.runLoginDialog = {};  // the real login dialog; its Esc ends the run
    QStringList fields;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<session::LoginDialog*>(QApplication::activeModalWidget())) {
            look.stop();
            for (const char* name : {"serverEdit", "userEdit", "passwordEdit", "portEdit"})
                fields << dialog->findChild<QLineEdit*>(name)->text();
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    });
    look.start(20);
    CTavrinApp app(options);
    EXPECT_EQ(app.InitInstance(), StartupEnd::LoginCancelled);
    EXPECT_EQ(fields, (QStringList{"127.0.0.1", "tovik", "", "80"}));
    app.ExitInstance();
}

TEST_F(MainRoadTest, CancelledLoginEndsWithoutTheMainWindowAndReleasesEverything) {
    options.runLoginDialog = [this](AppData&) {
        ++loginDialogs;
        return 2;
    };
    bool windowOpened = false;
    options.mainWindowCreated = [&](CTavrinDlg&) { windowOpened = true; };
    CTavrinApp app(options);
    EXPECT_EQ(app.InitInstance(), StartupEnd::LoginCancelled);
    EXPECT_FALSE(windowOpened);
    app.ExitInstance();
    EXPECT_EQ(app.Data(), nullptr);
    EXPECT_EQ(session::g_lpApp, nullptr);
}

TEST_F(MainRoadTest, ARefusedLoginBringsTheLoginDialogBack) {
    int attempts = 0;
    options.runLoginDialog = [&](AppData& app) {
        app.w_LoginResult.store(++attempts < 3 ? session::kLoginNotLoggedIn : session::kLoginTooManyUsers);
        return 1;
    };
    CTavrinApp app(options);
    // 102 after the loop opens no main window.
    EXPECT_EQ(app.InitInstance(), StartupEnd::NoMainWindow);
    EXPECT_EQ(attempts, 3);
}

}  // namespace
