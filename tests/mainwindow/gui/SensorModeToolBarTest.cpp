// The G66M sensor-mode tool bar in the main window against the simulated
// camera: who gets it, where it stands, what its buttons send and show.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gui/DeviceCommand.h"
#include "gui/VtxButton.h"
#include "mainwindow/gui/SensorModeToolBar.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "session/SessionResources.h"
#include "simulator/DeviceSimulator.h"
#include "StartedWindow.h"
#include "support/DeviceSession.h"
#include "support/TempFolder.h"
#include "support/WaitWithEvents.h"

namespace {

using mainwindow::SensorModeToolBar;
using session::CTavrinDlg;

class SensorModeToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetShippedFolders(std::vector<std::filesystem::path>{});
        ASSERT_TRUE(device.Start());
        testutil::JoinDevice(device, app, timing);
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
    }
    void TearDown() override {
        window.reset();
        platform::SetShippedFolders(std::nullopt);
    }
    void Open(const char* product) {
        app.str_ProductID = product;
        window = testutil::OpenStartedWindow(app, resources, timing, messages);
        device.ClearRequests();
    }
    SensorModeToolBar& Bar() { return *window->SensorBar(); }
    void Click(std::uint16_t id) {
        QTest::mouseClick(Bar().Button(id), Qt::LeftButton);
        ASSERT_TRUE(testutil::WaitWithEvents([&] { return gui::PendingRequests(&Bar()) == 0; }));
    }
    // The image state of each mode button.
    std::vector<int> ModeStates() {
        std::vector<int> states;
        for (std::uint16_t id = 8600; id <= 8605; ++id)
            states.push_back(Bar().Button(id)->ImageIndex());
        return states;
    }
    std::vector<std::string> Targets(std::string_view path) const { return testutil::RequestTargets(device, path); }

    testutil::TempFolder folder;
    devicesim::DeviceSimulator device{devicesim::DeviceProfile::ForProduct("G66M")};
    session::AppData app;
    session::SessionResources resources{app};
    platform::Timing timing;
    std::unique_ptr<CTavrinDlg> window;
    QStringList messages;
};

TEST_F(SensorModeToolBarTest, OnlyAG66MGetsTheBar) {
    for (const char* product : {"R47T", "R41T", "N51H"}) {
        Open(product);
        EXPECT_EQ(window->SensorBar(), nullptr) << product;
    }
}

TEST_F(SensorModeToolBarTest, TheBarStandsDockedOverTheWindowsLeftEdgeAndFollowsIt) {
    std::filesystem::create_directories(folder.path() / "BMP" / "CMOS");
    QImage background(45, 300, QImage::Format_RGB32);
    background.fill(QColor(30, 160, 90));
    background.save(QString::fromStdString((folder.path() / "BMP/CMOS/ToolBarBG.bmp").string()));
    Open("G66M");
    SensorModeToolBar& bar = Bar();
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.size(), QSize(45, 300));
    EXPECT_TRUE(bar.windowFlags() & Qt::Tool);
    window->move(300, 200);
    EXPECT_EQ(bar.pos(), QPoint(window->frameGeometry().left() - 43, window->frameGeometry().top()));
    window->move(420, 150);
    EXPECT_EQ(bar.pos(), QPoint(window->frameGeometry().left() - 43, 150));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bar.Button(static_cast<std::uint16_t>(8600 + i))->geometry(), QRect(6, 10 + 34 * i, 30, 30)) << i;
    EXPECT_EQ(bar.Button(8606)->toolTip(), QString::fromUtf8("Obrót w poziomie"));
    const QImage shot = bar.grab().toImage();
    shot.save("/tmp/quenlo-sensor-bar.png");
    EXPECT_EQ(shot.pixelColor(3, 150), QColor(30, 160, 90));  // the background beside the buttons
}

TEST_F(SensorModeToolBarTest, WithoutPicturesTheButtonsAreDrawnInPlace) {
    Open("G66M");
    const QImage shot = Bar().grab().toImage();
    shot.save("/tmp/quenlo-sensor-bar-drawn.png");
    for (std::uint16_t id = 8600; id <= 8607; ++id)
        EXPECT_TRUE(Bar().Button(id)->isVisible()) << id;
    EXPECT_EQ(ModeStates(), (std::vector<int>{1, 0, 0, 0, 0, 0}));
}

TEST_F(SensorModeToolBarTest, AModeIsSentButTheButtonsWaitForTheHeader) {
    Open("G66M");
    Click(8603);
    EXPECT_EQ(Targets("/OV9653Zoom.cgi"), std::vector<std::string>{"/OV9653Zoom.cgi?Cookie=C0FFEE&MODE=3"});
    EXPECT_EQ(ModeStates(), (std::vector<int>{1, 0, 0, 0, 0, 0}));
    app.Ui().PostSensorMode(3);  // the camera's next header
    EXPECT_EQ(ModeStates(), (std::vector<int>{0, 0, 0, 1, 0, 0}));
    // The mode already shown is still asked for.
    Click(8603);
    EXPECT_EQ(device.RequestsFor("/OV9653Zoom.cgi").size(), 2u);
    EXPECT_EQ(ModeStates(), (std::vector<int>{0, 0, 0, 1, 0, 0}));
}

TEST_F(SensorModeToolBarTest, HeadersSetModeAndMirrorsAndClearThemAgain) {
    Open("G66M");
    app.Ui().PostSensorMode(0xC2);
    EXPECT_EQ(Bar().Reported(), (mainwindow::SensorState{2, true, true}));
    EXPECT_EQ(ModeStates(), (std::vector<int>{0, 0, 1, 0, 0, 0}));
    // A press moves the pressed button's picture; a header of the same mode
    // changes nothing, one that clears the mirrors repaints the mode buttons.
    Bar().Button(8605)->SetImageState(1);
    app.Ui().PostSensorMode(0x02);
    EXPECT_EQ(Bar().Reported(), (mainwindow::SensorState{2, false, false}));
    EXPECT_EQ(ModeStates(), (std::vector<int>{0, 0, 1, 0, 0, 0}));
}

TEST_F(SensorModeToolBarTest, MirrorButtonsSendFromTheReportedStateOnly) {
    Open("G66M");
    Click(8606);
    Click(8606);
    Click(8607);
    EXPECT_EQ(Targets("/OV9653Rotate.cgi"),
              (std::vector<std::string>{"/OV9653Rotate.cgi?Cookie=C0FFEE&HR=1&VR=0",
                                        "/OV9653Rotate.cgi?Cookie=C0FFEE&HR=1&VR=0",
                                        "/OV9653Rotate.cgi?Cookie=C0FFEE&VR=1&HR=0"}));
    EXPECT_EQ(Bar().Reported(), mainwindow::SensorState{});
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SensorModeToolBarTest, ARefusedRequestShows4064AndTheButtonsKeepTheReportedState) {
    Open("G66M");
    app.Ui().PostSensorMode(0x01);
    device.AddFault("/OV9653Zoom.cgi", devicesim::Fault::Status(500));
    Click(8604);
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("Minał czas wysyłania komendy")});
    EXPECT_EQ(ModeStates(), (std::vector<int>{0, 1, 0, 0, 0, 0}));
}

TEST_F(SensorModeToolBarTest, EnterAndEscapeDoNothing) {
    Open("G66M");
    Bar().activateWindow();
    Bar().Button(8600)->setFocus();
    QTest::keyClick(Bar().Button(8600), Qt::Key_Return);
    QTest::keyClick(&Bar(), Qt::Key_Escape);
    QTest::qWait(50);
    EXPECT_TRUE(Bar().isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(device.Requests().empty());
}

}  // namespace
