// The PTZ control key with its selection dialog, and a click in the video
// area in click-to-position mode, against the simulated device.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "gui/DeviceCommand.h"
#include "gui/VtxButton.h"
#include "mainwindow/gui/PtzSelectDialog.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "session/devices/PanelButtonTable.h"
#include "session/SessionResources.h"
#include "simulator/DeviceSimulator.h"
#include "support/AppAtDevice.h"
#include "support/TempFolder.h"
#include "StartedWindow.h"
#include "support/WaitWithEvents.h"

namespace {

using session::AppData;
using session::CTavrinDlg;
using session::PtzSelectDialog;

class PtzSelectGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetShippedFolders(std::vector<std::filesystem::path>{});
        ASSERT_TRUE(device.Start());
        device.UpdateProfile([](devicesim::DeviceProfile& p) {
            for (int k = 1; k <= 16; ++k)
                p.slaves.push_back({k, 1, 0});
        });
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        testutil::AimAtDevice(app, device);
        app.str_ProductID = "R42T";
        app.str_FWVersion = "1034";
        app.w_UserLevel = 30;
        app.by_UserLevelIndex = 0;
        app.C_ControlD.AddDevice(0, 0, mainwindow::kTypeKlt316Dvr, mainwindow::kControlDeviceMaster);
        for (int k = 1; k <= 16; ++k)
            app.C_ControlD.AddDevice(0, 0, mainwindow::kTypePtzSlave, mainwindow::kControlDeviceSlave);
        app.C_ControlD.MakeCurrent(mainwindow::kControlDeviceMaster, 0);
        ASSERT_TRUE(app.lp_ImageBuffer.Allocate(session::kPictureBufferSize));
        window = testutil::OpenStartedWindow(app, resources, {}, messages);
        ASSERT_TRUE(window->Started());
    }
    void TearDown() override {
        window->DestroyWindow();
        platform::SetShippedFolders(std::nullopt);
    }
    // The dialog answers with the number typed and the button pressed.
    void Answer(const QString& number, int result) {
        window->SetPtzDialogRunner([this, number, result](PtzSelectDialog& dialog) {
            dialogOrdinalText = dialog.NumberEdit()->text();
            exitOffered = !dialog.ExitButton()->isHidden();
            dialog.NumberEdit()->setText(number);
            if (result == mainwindow::kPtzSelectOk)
                dialog.OnOK();
            return result;
        });
    }
    void Settle() {
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return gui::PendingRequests(window.get()) == 0; }, 5000));
    }
    std::string LastRs485Body() const {
        const auto requests = device.RequestsFor("/RS485Cmd.cgi");
        return requests.empty() ? std::string() : requests.back().body;
    }

    testutil::TempFolder folder;
    devicesim::DeviceSimulator device;
    AppData app;
    session::SessionResources resources{app};
    std::unique_ptr<CTavrinDlg> window;
    QStringList messages;
    QString dialogOrdinalText;
    bool exitOffered = true;
};

TEST_F(PtzSelectGuiTest, SlaveTwelveThenExit) {
    Answer("12", mainwindow::kPtzSelectOk);
    window->OnPtzControl();
    Settle();
    EXPECT_EQ(dialogOrdinalText, "1") << "a master current: its ordinal 0 plus 1";
    EXPECT_FALSE(exitOffered);
    ASSERT_EQ(device.RequestsFor("/PTZReset.cgi").size(), 1u) << "the recorder's slaves first";
    EXPECT_EQ(LastRs485Body(), std::string("\x02\x06\x07\x01\x32"));
    EXPECT_EQ(device.RequestsFor("/RS485Cmd.cgi").back().target, "/RS485Cmd.cgi?Control=R41T&MASTER=1&Cookie=C00C1E");
    EXPECT_EQ(app.C_ControlD.GetCurrentAddress(), 12) << "address from the reset reply";
    EXPECT_EQ(window->PanelButton(mainwindow::kPanelPtzControl)->ImageIndex(), 1);
    EXPECT_EQ(app.by_MouseMode.load(), 2) << "a PTZ slave on a recorder older than 1035";

    Answer("12", mainwindow::kPtzSelectExit);
    window->OnPtzControl();
    Settle();
    EXPECT_TRUE(exitOffered);
    EXPECT_EQ(dialogOrdinalText, "12");
    EXPECT_EQ(LastRs485Body(), std::string("\x01\x10\x01\x32"));
    EXPECT_TRUE(app.C_ControlD.IsCurrentMaster());
    EXPECT_EQ(window->PanelButton(mainwindow::kPanelPtzControl)->ImageIndex(), 0);
    EXPECT_EQ(app.by_MouseMode.load(), 1);
    EXPECT_TRUE(messages.isEmpty());
}

// Cancel keeps the selection: the key's picture says whether a slave stays
// current, and the recorder is told again with a second "/PTZReset.cgi",
// whose failure shows 4065.
TEST_F(PtzSelectGuiTest, CancelKeepsTheSelectionAndTellsTheRecorderAgain) {
    const struct {
        bool slaveCurrent;
        bool secondResetFails;
        int picture;
    } cases[] = {{false, false, 0}, {true, false, 1}, {true, true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.slaveCurrent << c.secondResetFails);
        if (c.slaveCurrent)
            app.C_ControlD.MakeCurrent(mainwindow::kControlDeviceSlave, 2);
        else
            app.C_ControlD.MakeCurrent(mainwindow::kControlDeviceMaster, 0);
        window->PanelButton(mainwindow::kPanelPtzControl)->SetImageState(1 - c.picture);
        device.ClearRequests();
        messages.clear();
        if (c.secondResetFails)
            device.AddFaultOnRequest("/PTZReset.cgi", 2, devicesim::Fault::Status(500));
        Answer("5", mainwindow::kPtzSelectCancel);
        window->OnPtzControl();
        Settle();
        EXPECT_EQ(device.RequestsFor("/PTZReset.cgi").size(), 2u);
        EXPECT_TRUE(device.RequestsFor("/RS485Cmd.cgi").empty());
        EXPECT_EQ(window->PanelButton(mainwindow::kPanelPtzControl)->ImageIndex(), c.picture);
        EXPECT_EQ(app.C_ControlD.IsCurrentMaster(), !c.slaveCurrent);
        EXPECT_EQ(messages, c.secondResetFails ? QStringList{QString::fromUtf8(
                                                     "Komenda nie zostałana wysłana do urządzenia !!")}
                                               : QStringList{});
    }
}

TEST_F(PtzSelectGuiTest, RefusalsAndTheGate) {
    Answer("17", mainwindow::kPtzSelectOk);
    window->OnPtzControl();
    Settle();
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("Numer PTZ jest nieprawidłowy.")});
    EXPECT_TRUE(device.RequestsFor("/RS485Cmd.cgi").empty());

    messages.clear();
    device.AddFault("/RS485Cmd.cgi", devicesim::Fault::Status(500));
    Answer("3", mainwindow::kPtzSelectOk);
    window->OnPtzControl();
    Settle();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(app.C_ControlD.IsCurrentMaster()) << "a refused selection changes nothing";
    EXPECT_EQ(window->PanelButton(mainwindow::kPanelPtzControl)->ImageIndex(), 0);
    EXPECT_EQ(app.w_MarkerCountdown.load(), 2);

    // A guest of an R43T: nothing at all.
    device.ClearRequests();
    app.str_ProductID = "R43T";
    app.by_UserLevelIndex = 2;
    bool asked = false;
    window->SetPtzDialogRunner([&asked](PtzSelectDialog&) {
        asked = true;
        return 2;
    });
    window->OnPtzControl();
    Settle();
    EXPECT_FALSE(asked);
    EXPECT_TRUE(device.Requests().empty());
}

TEST_F(PtzSelectGuiTest, DialogKeepsDigitsAndStaysOpenWithoutANumber) {
    PtzSelectDialog dialog(false, 3, 1.0f, window.get());
    EXPECT_EQ(dialog.windowTitle(), "Select PTZ device");
    EXPECT_EQ(dialog.NumberEdit()->text(), "4");
    EXPECT_EQ(dialog.ExitButton()->toolTip(), QString::fromUtf8("Powrót do głównego okna "));
    dialog.show();
    QTest::keyClicks(dialog.NumberEdit(), "x");
    EXPECT_EQ(dialog.NumberEdit()->text(), "4");
    dialog.NumberEdit()->clear();
    dialog.OnOK();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
}

TEST_F(PtzSelectGuiTest, AClickInTheVideoAreaPointsTheCamera) {
    app.C_ControlD.MakeCurrent(mainwindow::kControlDeviceSlave, 0);
    app.w_ClickPosX = 42 + 3 * 40 + 5;
    app.w_ClickPosY = 96 + 2 * 38 + 5;
    window->OnPostPtzPosition();
    Settle();
    EXPECT_EQ(LastRs485Body(), std::string("\x07\xD0\x00\x3C\x52\x23\x00\x81\x01\x32", 10));
    EXPECT_EQ(app.w_MarkerCountdown.load(), 4);
}

}  // namespace
