// The control panel in the main window offscreen: opening and closing it by
// the current type, its keys' requests against the simulated device, and the
// keys with handlers of their own.
#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "gui/DeviceCommand.h"
#include "gui/VtxButton.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "session/SessionResources.h"
#include "simulator/DeviceSimulator.h"
#include "support/AppAtDevice.h"
#include "support/TempFolder.h"
#include "StartedWindow.h"
#include "support/WaitWithEvents.h"

namespace {

using session::AppData;
using session::CTavrinDlg;
using session::CVtxButton;
using namespace std::chrono_literals;

class ControlPanelGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetShippedFolders(std::vector<std::filesystem::path>{});  // drawn replacements only
        ASSERT_TRUE(device.Start());
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        testutil::AimAtDevice(app, device);
        app.str_ProductID = "R42T";
        app.str_FWVersion = "1052";
        app.w_UserLevel = 30;
        app.by_UserLevelIndex = 0;
        const auto file = platform::FindShippedFile(platform::ExecutableFolder(), "CtrlFile.ini");
        ASSERT_TRUE(file);
        ASSERT_TRUE(mainwindow::LoadControlFile(*file, app.ControlFile).ok);
        mainwindow::BindControlProtocols(app.ControlFile);
        ASSERT_TRUE(app.lp_ImageBuffer.Allocate(session::kPictureBufferSize));
    }
    void TearDown() override {
        if (window)
            window->DestroyWindow();
        platform::SetShippedFolders(std::nullopt);
    }
    // The recorder and three slaves of the type, the one of `ordinal` current.
    void SlaveCurrent(std::uint8_t type, std::uint8_t ordinal) {
        app.C_ControlD.Clear();
        app.C_ControlD.AddDevice(0, 0, mainwindow::kTypeKlt316Dvr, mainwindow::kControlDeviceMaster);
        for (std::uint8_t i = 0; i < 3; ++i)
            app.C_ControlD.AddDevice(0, static_cast<std::uint8_t>(i + 1), type, mainwindow::kControlDeviceSlave);
        app.C_ControlD.MakeCurrent(mainwindow::kControlDeviceSlave, ordinal);
    }
    void Open() {
        window = testutil::OpenStartedWindow(app, resources, {}, messages);
        ASSERT_TRUE(window->Started());
    }
    void Click(std::uint16_t id) {
        CVtxButton* button = window->Button(id);
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Waits until the window's requests are done.
    void Settle() {
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return gui::PendingRequests(window.get()) == 0; }, 5000));
    }
    std::vector<std::string> Targets(std::string_view path) const {
        std::vector<std::string> targets;
        for (const auto& request : device.RequestsFor(path))
            targets.push_back(request.target);
        return targets;
    }

    testutil::TempFolder folder;
    devicesim::DeviceSimulator device;
    AppData app;
    session::SessionResources resources{app};
    std::unique_ptr<CTavrinDlg> window;
    QStringList messages;
};

TEST_F(ControlPanelGuiTest, PtzSlavePanelOpensWithItsTellingRowsAndCloses) {
    SlaveCurrent(mainwindow::kTypePtzSlave, 2);
    Open();
    EXPECT_EQ(window->size(), QSize(722, 608));
    Click(8192);
    EXPECT_TRUE(window->PanelOpen());
    EXPECT_EQ(window->size(), QSize(722, 680));
    EXPECT_FALSE(window->Button(8192)->isVisible());
    EXPECT_TRUE(window->Button(8193)->isVisible());
    EXPECT_EQ(window->PanelButton(0)->geometry(), QRect(8, 568, 18, 18));
    EXPECT_EQ(window->PanelButton(54)->geometry(), QRect(580, 600, 21, 23));
    EXPECT_EQ(window->PanelButton(56)->geometry(), QRect(610, 600, 21, 23));
    EXPECT_EQ(window->PanelButton(60)->geometry(), QRect(578, 629, 14, 14));
    for (std::size_t i : {0u, 15u, 24u, 30u, 46u, 54u, 58u, 59u, 60u, 62u, 63u})
        EXPECT_TRUE(window->PanelButton(i)->isVisible()) << i;
    for (std::size_t i : {16u, 25u, 61u, 67u})
        EXPECT_FALSE(window->PanelButton(i)->isVisible()) << i;
    EXPECT_EQ(window->PanelButton(3)->toolTip(), "Preset 4");
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(722, 680));
    if (const char* keep = std::getenv("QUENLO_TEST_SCREENSHOTS"); keep && *keep)
        shot.save(QString::fromUtf8(keep) + "/control-panel-ptz-slave.png");

    Click(8193);
    EXPECT_FALSE(window->PanelOpen());
    EXPECT_EQ(window->size(), QSize(722, 608));
    EXPECT_TRUE(window->Button(8192)->isVisible());
    for (std::size_t i = 0; i < mainwindow::kPanelButtonCount; ++i)
        EXPECT_FALSE(window->PanelButton(i)->isVisible()) << i;
}

TEST_F(ControlPanelGuiTest, WhatTheTypeAndTheDeviceLeaveOut) {
    app.C_ControlD.AddDevice(0, 0, mainwindow::kTypeCamera, mainwindow::kControlDeviceMaster);
    Open();
    EXPECT_FALSE(window->Button(8192)->isVisible()) << "CAMERA has no panel";
    window->DestroyWindow();
    window.reset();

    app.by_MultiChannel = 1;
    SlaveCurrent(mainwindow::kTypePtzSlave, 0);
    Open();
    Click(8192);
    EXPECT_TRUE(window->PanelButton(54)->isVisible());
    EXPECT_FALSE(window->PanelButton(60)->isVisible()) << "no PTZ control key on a multi-channel recorder";
}

// A type code past the table (a newer device's) is a camera: no panel, at
// the start, after a relayout and after full screen alike.
TEST_F(ControlPanelGuiTest, ATypePastTheTableGetsTheCamerasNoPanel) {
    for (const std::uint8_t type : {std::uint8_t{27}, std::uint8_t{52}, std::uint8_t{255}}) {
        SCOPED_TRACE(int{type});
        app.C_ControlD.Clear();
        app.C_ControlD.AddDevice(0, 0, type, mainwindow::kControlDeviceMaster);
        Open();
        auto expectNoPanel = [&](const char* when) {
            EXPECT_FALSE(window->Button(8192)->isVisible()) << when;
            EXPECT_TRUE(window->Button(8193)->isVisible()) << when;
            for (std::size_t i = 0; i < mainwindow::kPanelButtonCount; ++i)
                EXPECT_FALSE(window->PanelButton(i)->isVisible()) << when << " " << i;
        };
        expectNoPanel("start");
        window->ChangeItemPositionForDeviceModified();
        expectNoPanel("relayout");
        window->OnFullScreenButton();
        window->Port().EnterFullScreen();  // the frame display's first picture
        ASSERT_TRUE(testutil::WaitWithEvents([&] { return !window->Button(8200)->isVisible(); }, 5000));
        window->LeaveFullScreen();
        EXPECT_FALSE(window->Button(8192)->isVisible()) << "after full screen";
        EXPECT_EQ(app.by_MouseMode.load(), 1);
        window->DestroyWindow();
        window.reset();
    }
}

// Firmware older than "1078" on a recorder takes the record-search key (25)
// from the linked recorders' panels; newer firmware keeps it.
TEST_F(ControlPanelGuiTest, OldFirmwareHidesTheRecordSearchKeyOfTheLinkedRecorders) {
    for (const std::uint32_t removed : {1u, 0u})
        for (const std::uint8_t type : {14, 19, 20, 21, 22, 23}) {
            SCOPED_TRACE(testing::Message() << "removed " << removed << " type " << int{type});
            app.dw_RecordSearchRemoved = removed;
            app.C_ControlD.Clear();
            app.C_ControlD.AddDevice(0, 0, type, mainwindow::kControlDeviceMaster);
            Open();
            Click(8192);
            ASSERT_TRUE(window->PanelOpen());
            EXPECT_EQ(window->PanelButton(25)->isVisible(), removed == 0);
            EXPECT_TRUE(window->PanelButton(24 + 10)->isVisible()) << "the keys around it stay";
            window->DestroyWindow();
            window.reset();
        }
}

TEST_F(ControlPanelGuiTest, KeysSendTheirCommands) {
    SlaveCurrent(mainwindow::kTypePtzSlave, 2);
    app.by_TurboRepeatStep = 5;
    Open();
    Click(8192);
    Click(8310);  // turbo on
    EXPECT_EQ(app.dw_TurboMode.load(), 1u);
    EXPECT_EQ(window->PanelButton(59)->ImageIndex(), 1);
    EXPECT_EQ(window->PanelButton(59)->toolTip(), "TURBO_ZAŁ");
    Click(8240);  // "W LEWO"
    Click(8242);  // "MENU"
    Settle();
    const auto requests = device.RequestsFor("/RS485Cmd.cgi");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].target, "/RS485Cmd.cgi?Control=R41T&CH=2&MASTER=0&Cookie=C00C1E");
    EXPECT_EQ(requests[0].body.substr(requests[0].body.size() - 2), std::string("\x05\x32"));
    EXPECT_EQ(requests[1].body.substr(requests[1].body.size() - 2), std::string("\x01\x32"));
    // Turbo off: the direction, zoom and focus keys get their plain pictures back.
    const std::size_t asked = window->SkinFilesAsked().size();
    Click(8310);  // turbo off
    EXPECT_EQ(window->PanelButton(59)->toolTip(), "TURBO_WYŁ");
    EXPECT_EQ(window->PanelButton(59)->ImageIndex(), 0);
    const std::vector<std::string> plain(window->SkinFilesAsked().begin() + static_cast<std::ptrdiff_t>(asked),
                                         window->SkinFilesAsked().end());
    ASSERT_EQ(plain.size(), 24u);
    EXPECT_EQ(std::vector<std::string>(plain.begin(), plain.begin() + 3),
              (std::vector<std::string>{"BMP/N_VGA_LEFT.bmp", "BMP/N_VGA_LEFT_OVER.bmp", "BMP/N_VGA_LEFT_OVER.bmp"}));
    EXPECT_EQ(std::vector<std::string>(plain.end() - 3, plain.end()),
              (std::vector<std::string>{"BMP/2Col_focus_out.bmp", "BMP/2Col_focus_out_a.bmp",
                                        "BMP/2Col_focus_out_a.bmp"}));
    EXPECT_TRUE(std::none_of(plain.begin(), plain.end(),
                             [](const std::string& f) { return f.find("turbo") != std::string::npos ||
                                                               f.find("TURBO") != std::string::npos; }));

    // A guest of a recorder: the menu key does nothing at all.
    app.by_UserLevelIndex = 2;
    device.ClearRequests();
    Click(8242);
    Settle();
    EXPECT_TRUE(device.Requests().empty());
    EXPECT_TRUE(messages.isEmpty());

    // Power without a stream.
    app.by_UserLevelIndex = 0;
    window->OnPower();
    Settle();
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("Błąd połączenia z urządzeniem")});
}

TEST_F(ControlPanelGuiTest, RetrAsksAndTheButtonFollowsTheHeaders) {
    SlaveCurrent(mainwindow::kTypePtzPelco, 0);
    app.C_ControlD.Clear();
    app.C_ControlD.AddDevice(0, 0, 15, mainwindow::kControlDeviceMaster);  // a type with the R.E.T.R. key
    Open();
    Click(8192);
    ASSERT_TRUE(window->PanelButton(61)->isVisible());
    Click(8331);
    Click(8331);
    Settle();
    EXPECT_EQ(Targets("/SetRetr.cgi"), std::vector<std::string>(2, "/SetRetr.cgi?Cookie=C00C1E&SET=1"));
    EXPECT_EQ(window->PanelButton(61)->ImageIndex(), 0) << "until a frame header reports it";
    app.C_ControlD.SetRetrState(1);
    EXPECT_TRUE(testutil::WaitWithEvents([&] { return window->PanelButton(61)->ImageIndex() == 1; }, 5000));
    EXPECT_EQ(window->PanelButton(61)->toolTip(), QString::fromUtf8("R.E.T.R.(Załączony)"));
}

TEST_F(ControlPanelGuiTest, ActionPresetAndRecordSearch) {
    SlaveCurrent(mainwindow::kTypePtzPelco, 0);
    Open();
    Click(8192);
    Click(8356);
    EXPECT_EQ(app.dw_PresetMode.load(), 1u);
    EXPECT_EQ(window->PanelButton(67)->toolTip(), "PRESET");
    Click(8356);
    EXPECT_EQ(app.dw_PresetMode.load(), 0u);
    EXPECT_EQ(window->PanelButton(67)->toolTip(), "AKCJA");
    window->OnPanelButton(25);
    EXPECT_EQ(messages, QStringList{"Dialog box could not be created!"});
}

}  // namespace
