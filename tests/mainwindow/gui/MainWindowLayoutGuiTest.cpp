// The main window laid out and skinned offscreen: button places by row, the
// picture in the video rectangle, skins present and missing, and a picture
// of a new size re-laying the window out.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <thread>

#include "support/CurrentPicture.h"
#include "gui/VtxButton.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "session/AppData.h"
#include "session/SessionResources.h"
#include "platform/ProgramFolder.h"
#include "simulator/DeviceSimulator.h"
#include "support/TempFolder.h"
#include "support/WaitWithEvents.h"

namespace {

using session::AppData;
using session::CTavrinDlg;
using session::CVtxButton;

const std::map<std::string, std::pair<QSize, QColor>> kSkin{
    {"Title_Bar_Hide", {{13, 13}, QColor(255, 0, 0)}},
    {"Title_Bar_Fullscreen", {{13, 13}, QColor(0, 255, 0)}},
    {"Title_Bar_Close", {{13, 13}, QColor(0, 0, 255)}},
    {"N_VGA_PANELUP", {{32, 32}, QColor(255, 255, 0)}},
    {"N_QVGA_PANELUP", {{32, 32}, QColor(0, 255, 255)}},
    {"N_VGA_BG", {{722, 608}, QColor(10, 60, 10)}},
    {"VGA_Status_Bar", {{708, 20}, QColor(200, 200, 255)}},
};

class MainWindowLayoutGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetShippedFolders(std::vector<std::filesystem::path>{});  // skins from the program folder alone
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.str_ProductID = "R41T";
        app.str_FWVersion = "1052";
        app.w_UserLevel = 30;
        app.by_UserLevelIndex = 0;
        // A PTZ master: a type with a control panel, so 8192 shows.
        app.C_ControlD.AddDevice(2400, 1, mainwindow::kTypePtz, mainwindow::kControlDeviceMaster);
        app.C_ControlD.MakeCurrent(mainwindow::kControlDeviceMaster, 0);
        ASSERT_TRUE(app.lp_ImageBuffer.Allocate(session::kPictureBufferSize));
    }
    void TearDown() override { platform::SetShippedFolders(std::nullopt); }
    void WriteSkin() {
        std::filesystem::create_directories(folder.path() / "BMP");
        for (const auto& [name, look] : kSkin) {
            for (const char* suffix : {"", "_a", "_OVER"}) {
                QImage picture(look.first, QImage::Format_RGB32);
                picture.fill(look.second);
                picture.save(QString::fromStdString((folder.path() / "BMP" / (name + suffix + ".bmp")).string()));
            }
        }
    }
    std::unique_ptr<CTavrinDlg> Open(std::uint8_t videoMode, std::uint32_t resolution) {
        app.by_VideoMode = videoMode;
        app.CSettingINI.m_dwImageResolution = resolution;
        auto window = std::make_unique<CTavrinDlg>(app, resources);
        window->SetStartJob([](std::stop_token) { return mainwindow::StartOutcome{}; });
        window->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->Started(); }, 5000));
        return window;
    }
    void ShowPicture(CTavrinDlg& window, int width, int height) {
        testutil::SetCurrentPicture(app, width, height);
        ASSERT_EQ(window.DisplayFrame(), 1);
    }
    void Save(QWidget& window, const QString& name) {
        const QImage image = window.grab().toImage();
        if (const char* keep = std::getenv("QUENLO_TEST_SCREENSHOTS"); keep && *keep)
            image.save(QString::fromUtf8(keep) + "/" + name);
    }

    testutil::TempFolder folder;
    AppData app;
    session::SessionResources resources{app};
};

TEST_F(MainWindowLayoutGuiTest, ButtonsAndPictureSitAtTheirRowsPlacesWithAndWithoutSkin) {
    struct Case {
        std::uint32_t resolution;
        QSize size;
        int titleLeft;
        QRect openPanel;
        QColor openPanelColour;
    };
    const Case cases[] = {
        {0, {722, 608}, 663, {345, 571, 32, 32}, QColor(255, 255, 0)},
        {1, {370, 366}, 311, {166, 329, 32, 32}, QColor(0, 255, 255)},
    };
    for (bool skin : {false, true}) {
        if (skin)
            WriteSkin();
        for (const Case& c : cases) {
            auto window = Open(0, c.resolution);
            EXPECT_EQ(window->size(), c.size);
            EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
            // Round corners: the corner pixel is cut off, the edge beside it kept.
            EXPECT_FALSE(window->mask().contains(QPoint(0, 0)));
            EXPECT_TRUE(window->mask().contains(QPoint(c.size.width() / 2, 0)));
            const QColor titleColours[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};
            for (int i = 0; i < 3; ++i) {
                CVtxButton* title = window->Button(static_cast<std::uint16_t>(8200 + i));
                EXPECT_EQ(title->geometry(), QRect(c.titleLeft + 17 * i, 8, 13, 13));
                EXPECT_EQ(title->HasPictures(), skin);
            }
            CVtxButton* open = window->Button(8192);
            EXPECT_TRUE(open->isVisible());
            EXPECT_EQ(open->geometry(), c.openPanel);
            ShowPicture(*window, 640, 228);
            EXPECT_TRUE(testutil::WaitWithEvents([&] { return window->VideoImage().height() == 456; }));
            const QImage shot = window->grab().toImage();
            Save(*window, QString("mainwindow-%1-%2.png").arg(c.resolution).arg(skin ? "skin" : "drawn"));
            const QRect video = window->VideoArea()->geometry();
            if (c.resolution == 0) {
                EXPECT_EQ(video, QRect(QPoint(42, 96), QPoint(681, 551)));
                EXPECT_EQ(shot.pixelColor(42 + 160, 96 + 100), QColor(255, 0, 0));  // top left quadrant
                EXPECT_EQ(shot.pixelColor(42 + 480, 96 + 100), QColor(0, 255, 0));  // top right quadrant
            }
            if (skin) {
                for (int i = 0; i < 3; ++i)
                    EXPECT_EQ(shot.pixelColor(c.titleLeft + 17 * i + 6, 14), titleColours[i]);
                EXPECT_EQ(shot.pixelColor(c.openPanel.center()), c.openPanelColour);
            }
            window->DestroyWindow();
        }
    }
}

TEST_F(MainWindowLayoutGuiTest, APictureOfANewSizeReLaysTheWindowOutOnce) {
    auto window = Open(1, 0);  // PAL full size: row 2
    EXPECT_EQ(app.w_VideoLayout.load(), 2);
    EXPECT_EQ(window->size(), QSize(722, 705));
    // The compose thread reports every picture's size through the port.
    std::thread compose([&] {
        for (int i = 0; i < 5; ++i)
            window->Port().OnFrameSize(640, 228);
    });
    compose.join();
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return window->size() == QSize(722, 608); }));
    QTest::qWait(20);
    EXPECT_EQ(window->Relayouts(), 1);
    EXPECT_EQ(app.w_VideoLayout.load(), 0);
    EXPECT_EQ(window->VideoArea()->geometry().topLeft(), QPoint(42, 96));
    window->Port().OnFrameSize(720, 576);  // not a listed size: nothing
    QTest::qWait(20);
    EXPECT_EQ(window->Relayouts(), 1);
    window->DestroyWindow();
}

TEST_F(MainWindowLayoutGuiTest, CameraNeverShowsTheOpenPanelButton) {
    app.C_ControlD.Clear();
    for (std::uint8_t row : {0, 1, 3}) {
        app.by_UserLevelIndex = row;
        auto window = Open(0, 0);
        EXPECT_FALSE(window->Button(8192)->isVisible()) << int(row);
        window->DestroyWindow();
    }
}

std::vector<QRect> ToolPlaces(CTavrinDlg& window) {
    std::vector<QRect> places;
    for (std::size_t k = 0; k < window.ToolButtonCount(); ++k)
        places.push_back(window.ToolButton(k)->geometry());
    return places;
}

TEST_F(MainWindowLayoutGuiTest, ToolButtonsByProductAndSize) {
    app.by_MultiChannel = 1;
    for (std::uint32_t resolution : {0u, 1u}) {
        auto window = Open(0, resolution);
        std::vector<QRect> expected;
        for (int k = 0; k < 7; ++k)
            expected.push_back(resolution == 0 ? QRect(532 + 26 * k, 34, 26, 26) : QRect(180 + 26 * k, 35, 26, 26));
        EXPECT_EQ(ToolPlaces(*window), expected);
        EXPECT_NE(window->Button(999), nullptr);
        window->DestroyWindow();
    }
    app.by_MultiChannel = 0;
    auto window = Open(0, 0);
    std::vector<QRect> expected;
    for (int k = 0; k < 6; ++k)
        expected.push_back(QRect(558 + 26 * k, 34, 26, 26));
    EXPECT_EQ(ToolPlaces(*window), expected);
    EXPECT_EQ(window->Button(999), nullptr);
    window->DestroyWindow();
}

TEST_F(MainWindowLayoutGuiTest, ToolButtonsByLevelAndByRole) {
    struct Case {
        std::uint8_t row;
        std::vector<std::uint16_t> enabled;
    };
    for (const Case& c : {Case{2, {1002}}, Case{3, {1002, 1004, 1005}}}) {
        app.by_UserLevelIndex = c.row;
        auto window = Open(0, 0);
        for (std::uint16_t id : {1002, 1007, 1008, 1004, 1005, 1006})
            EXPECT_EQ(window->Button(id)->isEnabled(),
                      std::find(c.enabled.begin(), c.enabled.end(), id) != c.enabled.end())
                << int(c.row) << " " << id;
        window->DestroyWindow();
    }
    app.by_UserLevelIndex = 0;
    app.CSettingINI.m_dwImageQuality = 2;
    auto window = Open(0, 1);
    EXPECT_EQ(window->Button(1007)->ImageIndex(), 1);  // the resolution setting
    EXPECT_EQ(window->Button(1008)->ImageIndex(), 2);  // the quality setting
    window->Port().SetButtonState(0x20, 1);
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return window->Button(1005)->ImageIndex() == 1; }));
    for (std::uint16_t id : {1002, 1007, 1008, 1004})
        EXPECT_EQ(window->Button(id)->ImageIndex(), id == 1007 ? 1 : id == 1008 ? 2 : 0) << id;
    window->ShowToolButtons(2);
    EXPECT_TRUE(window->Button(1002)->isVisible());
    window->ShowToolButtons(0);
    EXPECT_FALSE(window->Button(1002)->isVisible());
    window->DestroyWindow();
}

TEST_F(MainWindowLayoutGuiTest, PaintingDrawsSkinOrItsReplacementAndTheStatusTexts) {
    for (bool skin : {false, true}) {
        if (skin)
            WriteSkin();
        app.m_strAlarmChannel.Set("CH1");
        auto window = Open(0, 0);
        const QImage shot = window->grab().toImage();
        Save(*window, QString("mainwindow-paint-%1.png").arg(skin ? "skin" : "drawn"));
        if (skin) {
            EXPECT_EQ(shot.pixelColor(10, 300), QColor(10, 60, 10));     // background
            EXPECT_EQ(shot.pixelColor(400, 80), QColor(200, 200, 255));  // status strip
        } else {
            EXPECT_EQ(shot.pixelColor(10, 300), QColor(221, 221, 221));  // the drawn face
            EXPECT_EQ(shot.pixelColor(400, 80), QColor(157, 216, 244));  // the drawn strip
        }
        // The alarm text in red from (L77 - 30, L76 + 2); its smoothed edges blend with what is
        // under them, and the raster engine may leave even the glyph's core a step off pure red.
        bool red = false;
        for (int x = 668; x < 700 && !red; ++x)
            for (int y = 67; y < 81 && !red; ++y) {
                const QColor pixel = shot.pixelColor(x, y);
                red = pixel.red() >= 250 && pixel.green() <= 4 && pixel.blue() <= 4;
            }
        EXPECT_TRUE(red) << skin;
        // A status text that comes in full screen is dropped.
        window->Display().m_bFullScreen = 1;
        window->Port().SetStatusText("Video Loss!");
        QTest::qWait(10);
        EXPECT_EQ(window->StatusText(), "Start to get image!!");
        window->Display().m_bFullScreen = 0;
        window->DestroyWindow();
    }
}

TEST_F(MainWindowLayoutGuiTest, ChannelBarClicksAndAlarmsAskTheDeviceAndPicturesMoveTheButtons) {
    devicesim::DeviceSimulator device;
    ASSERT_TRUE(device.Start());
    device.Update([](devicesim::DeviceState& state) { state.sessions["5A17C0DE"] = {}; });
    app.CSettingINI.m_wWebPort = device.Port();
    app.SessionCookie = "5A17C0DE";
    app.by_MultiChannel = 1;
    app.CSettingINI.m_bySelectedChannel = 0;
    app.C_ControlD.AddDevice(0, 0, mainwindow::kTypeKlt316Dvr, mainwindow::kControlDeviceMaster);
    // The channels' PTZ cameras, as the query before each switch reads them.
    device.UpdateProfile([](devicesim::DeviceProfile& p) {
        for (int k = 1; k <= 16; ++k)
            p.slaves.push_back({k, 8, 0});
    });
    auto window = Open(0, 0);
    CVtxButton* view = window->Button(8410);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->geometry(), QRect(21, 32, 40, 28));
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->ImageIndex(), 0);
    EXPECT_EQ(window->Button(8427)->isVisible(), false);
    EXPECT_EQ(window->Button(8428)->geometry(), QRect(61 + 8 * 35 + 3, 37, 9, 16));

    QTest::mouseClick(window->Button(8415), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !device.RequestsFor("/SetChannel.cgi").empty(); }, 5000));
    EXPECT_EQ(device.RequestsFor("/SetChannel.cgi")[0].target, "/SetChannel.cgi?Cookie=5A17C0DE&CH=5");
    ASSERT_EQ(device.RequestsFor("/PTZReset.cgi").size(), 1u) << "the channel's PTZ devices first";
    EXPECT_EQ(app.C_ControlD.Snapshot().m_byCount, 17);
    EXPECT_EQ(window->Button(8415)->ImageIndex(), 1);  // until pictures of channel 5 arrive
    window->Port().SyncCurrentChannel(4);              // the stream's view channel 4 is channel 5
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return window->Button(8415)->ImageIndex() == 0; }));
    EXPECT_EQ(view->ImageIndex(), 1);
    EXPECT_EQ(app.C_ControlD.GetCurrentAddress(), 5);

    // A motion alarm's switch goes through the bar from the switch worker.
    app.CRTPHeader.ChannelSwitch().Request(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return device.RequestsFor("/SetChannel.cgi").size() == 2; }, 5000));
    EXPECT_EQ(device.RequestsFor("/SetChannel.cgi")[1].Param("CH"), "3");

    // A refused PTZ query shows 4065, and the switch still follows.
    QStringList messages;
    window->SetMessageSink([&](const QString& text) { messages << text; });
    device.AddFault("/PTZReset.cgi", devicesim::Fault::Status(500));
    QTest::mouseClick(window->Button(8417), Qt::LeftButton);
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return device.RequestsFor("/SetChannel.cgi").size() == 3; }, 5000));
    EXPECT_EQ(device.RequestsFor("/SetChannel.cgi")[2].Param("CH"), "7");
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return !messages.isEmpty(); }, 5000));
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("Komenda nie zostałana wysłana do urządzenia !!")});
    EXPECT_EQ(app.C_ControlD.Snapshot().m_byCount, 17) << "the list kept as it was";

    // The second page: channels 9-16 from the origin, the left arrow 12 px before it.
    QTest::mouseClick(window->Button(8428), Qt::LeftButton);
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(window->Button(8419)->geometry(), QRect(21, 32, 35, 28));
    EXPECT_TRUE(window->Button(8427)->isVisible());
    EXPECT_EQ(window->Button(8427)->geometry(), QRect(9, 37, 9, 16));
    EXPECT_FALSE(window->Button(8428)->isVisible());
    QTest::mouseClick(window->Button(8427), Qt::LeftButton);
    EXPECT_TRUE(view->isVisible());
    window->DestroyWindow();
}

}  // namespace
