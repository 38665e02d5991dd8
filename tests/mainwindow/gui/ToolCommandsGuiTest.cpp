// The main window's tool buttons against the simulated device: resolution
// and quality steps, the commands that need a stream, manual recording, the
// configuration sheet's toggle and the colour dialog's opening.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fakes/RecordingRecorderPort.h"
#include "gui/ConfigSheetPort.h"
#include "gui/DeviceCommand.h"
#include "gui/VtxButton.h"
#include "mainwindow/gui/ColourAdjustDialog.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "recording/recorders/UserRecord.h"
#include "session/AppData.h"
#include "session/SessionResources.h"
#include "simulator/DeviceSimulator.h"
#include "StartedWindow.h"
#include "support/DeviceSession.h"
#include "support/TempFolder.h"
#include "support/WaitWithEvents.h"

namespace {

using session::CTavrinDlg;

// Counts what the setup command asks of the sheet.
class FakeSheetPort : public gui::ConfigSheetPort {
public:
    void OpenSheet(QWidget*) override {
        ++opened;
        open = true;
    }
    void CloseSheet() override {
        ++closed;
        open = false;
    }
    bool IsSheetOpen() const override { return open; }
    int opened = 0, closed = 0;
    bool open = false;
};

class ToolCommandsGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        testutil::JoinDevice(device, app, timing);
        app.str_ProductID = "R47T";
        app.str_FWVersion = "0002";
        app.CSettingINI.m_strRecordPath = folder.path().string();
        app.SetRecorders(nullptr, &recorder, nullptr);
        gui::SetConfigSheetPort(&sheet);
    }
    void TearDown() override {
        window.reset();
        gui::SetConfigSheetPort(nullptr);
        app.SetRecorders(nullptr, nullptr, nullptr);
    }
    void Open(bool streamRan = true) {
        app.dw_VideoConnected = streamRan ? 1 : 0;
        window = testutil::OpenStartedWindow(app, resources, timing, messages);
        device.ClearRequests();
    }
    session::CVtxButton& Button(std::uint16_t id) {
        session::CVtxButton* button = window->Button(id);
        EXPECT_NE(button, nullptr) << id;
        return *button;
    }
    void Click(std::uint16_t id) { QTest::mouseClick(&Button(id), Qt::LeftButton); }
    // Waits for the window's device requests to be answered.
    bool Settled() {
        return testutil::WaitWithEvents([&] { return app.h_DeviceCommandWorker.Pending() == 0; }) &&
               testutil::WaitWithEvents([&] { return gui::PendingRequests(window.get()) == 0; });
    }
    std::vector<std::string> Targets(std::string_view path) const { return testutil::RequestTargets(device, path); }

    testutil::TempFolder folder;
    devicesim::DeviceSimulator device;
    session::AppData app;
    session::SessionResources resources{app};
    platform::Timing timing;
    fakes::RecordingRecorderPort recorder;
    FakeSheetPort sheet;
    std::unique_ptr<CTavrinDlg> window;
    QStringList messages;
};

TEST_F(ToolCommandsGuiTest, ResolutionTogglesAtThePressAndComesBackWhenRefused) {
    Open();
    Click(1007);
    EXPECT_EQ(app.CSettingINI.m_dwImageResolution.load(), 1u);  // at the press
    EXPECT_EQ(Button(1007).ImageIndex(), 1);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(Targets("/Setresolution.cgi"), std::vector<std::string>{"/Setresolution.cgi?Cookie=C0FFEE&RES=1"});

    device.ClearRequests();
    app.CSettingINI.m_dwImageResolution = 0;
    device.AddFault("/Setresolution.cgi", devicesim::Fault::Status(500));
    Click(1007);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(Targets("/Setresolution.cgi"), std::vector<std::string>{"/Setresolution.cgi?Cookie=C0FFEE&RES=1"});
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("Błąd zmiany rozdzielczości")});
    EXPECT_EQ(app.CSettingINI.m_dwImageResolution.load(), 0u);
    EXPECT_EQ(Button(1007).ImageIndex(), 0);

    // Quarter size: nothing is sent, the button shows the setting.
    device.ClearRequests();
    app.CSettingINI.m_dwImageResolution = 2;
    Click(1007);
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(device.Requests().empty());
    EXPECT_EQ(app.CSettingINI.m_dwImageResolution.load(), 2u);
}

TEST_F(ToolCommandsGuiTest, QualityStepsThroughItsThreeValues) {
    Open();
    for (int press = 0; press < 3; ++press) {
        Click(1008);
        ASSERT_TRUE(Settled());
    }
    EXPECT_EQ(Targets("/Setquality.cgi"),
              (std::vector<std::string>{"/Setquality.cgi?Cookie=C0FFEE&QUA=1", "/Setquality.cgi?Cookie=C0FFEE&QUA=2",
                                        "/Setquality.cgi?Cookie=C0FFEE&QUA=0"}));
    EXPECT_EQ(app.CSettingINI.m_dwImageQuality.load(), 0u);
    device.AddFault("/Setquality.cgi", devicesim::Fault::Status(500));
    Click(1008);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("błąd zmiany jakości obrazu !!")});
    EXPECT_EQ(app.CSettingINI.m_dwImageQuality.load(), 0u);
    EXPECT_EQ(Button(1008).ImageIndex(), 0);
}

TEST_F(ToolCommandsGuiTest, WithoutAStreamTheDeviceCommandsRefuseAndSendNothing) {
    Open(false);
    for (std::uint16_t id : {1004, 1005, 1006, 999})
        Click(id);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(messages, QStringList(4, QString::fromUtf8("Najpierw należy podłączyć serwer Video")));
    EXPECT_TRUE(device.Requests().empty());
    EXPECT_EQ(app.dw_SnapshotRequest.load(), 0u);
    EXPECT_TRUE(recorder.Calls().empty());
    EXPECT_EQ(sheet.opened, 0);
    window->OnToolCommand(1001);  // the recorder switch does nothing
    EXPECT_EQ(messages.size(), 4);
}

TEST_F(ToolCommandsGuiTest, SnapshotAsksForTheNextPicture) {
    Open();
    Click(1004);
    EXPECT_EQ(app.dw_SnapshotRequest.load(), 1u);
}

TEST_F(ToolCommandsGuiTest, TheRecordButtonStartsAndStopsWithItsToolTip) {
    app.by_RecordChannel = 2;
    Open();
    EXPECT_EQ(Button(1005).toolTip(), "NAGRAJ");
    Click(1005);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(Button(1005).toolTip(), "NAGRYWANIE");
    EXPECT_EQ(Button(1005).ImageIndex(), 1);
    Click(1005);
    EXPECT_EQ(Button(1005).toolTip(), "NAGRAJ");
    EXPECT_EQ(Button(1005).ImageIndex(), 0);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(recorder.Calls(), (std::vector<std::string>{"startrecord:" + folder.path().string() + ",2", "stoprecord"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ToolCommandsGuiTest, AnUnwritableRecordFolderShows4018) {
    recording::CUserRecord userRecord(app);
    app.SetRecorders(nullptr, &userRecord, nullptr);
    folder.Write("file", "not a folder");
    app.CSettingINI.m_strRecordPath = (folder.path() / "file" / "inside").string();
    Open();
    Click(1005);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("Błąd tworzenia pliku. Sprawdź prawidłowość wybranego folderu")});
    EXPECT_EQ(Button(1005).toolTip(), "NAGRAJ");
    window.reset();
}

TEST_F(ToolCommandsGuiTest, SetupReadsTheConfigurationThenOpensAndASecondPressClosesWithoutARequest) {
    Open();
    Click(1006);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(device.RequestsFor("/GetSysCfg.cgi").size(), 11u);  // a server before "0003"
    EXPECT_EQ(sheet.opened, 1);
    device.ClearRequests();
    Click(1006);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(sheet.closed, 1);
    EXPECT_EQ(sheet.opened, 1);
    EXPECT_TRUE(device.Requests().empty());
    EXPECT_EQ(app.dw_SystemDialogActive.load(), 0u);

    device.AddFault("/GetSysCfg.cgi?Option=SMTP", devicesim::Fault::Status(500));
    Click(1006);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("Błąd odczytu konfiguracji!! Spróbuj ponownie!!")});
    EXPECT_EQ(sheet.opened, 1);
}

TEST_F(ToolCommandsGuiTest, ColourOpensTheDialogWithTheDevicesValues) {
    device.SetReply("/GetColor.cgi", devicesim::Reply::Ok("BRI=5;HUE=6;"));
    Open();
    Click(999);
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return window->ColourDialog() != nullptr; }));
    mainwindow::ColourAdjustDialog& dialog = *window->ColourDialog();
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.Edit(1)->text(), "128");  // no CON: 128
    EXPECT_EQ(dialog.Edit(0)->text(), "133");  // a server's brightness, halves exchanged
    EXPECT_EQ(Targets("/GetColor.cgi"), std::vector<std::string>{"/GetColor.cgi?Cookie=C0FFEE"});
    dialog.reject();
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return window->ColourDialog() == nullptr; }));

    device.AddFault("/GetColor.cgi", devicesim::Fault::Status(500));
    Click(999);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("Minał czas wysyłania komendy")});
    EXPECT_EQ(window->ColourDialog(), nullptr);
}

// A reply longer than the colour query's 256-byte area is cut to it: the
// dialog opens with the values of those bytes, and a key beyond them is not read.
TEST_F(ToolCommandsGuiTest, ALongerColourReplyOpensTheDialogWithTheValuesOfItsFirst256Bytes) {
    std::string text = devicesim::PadItems("BRI=5;HUE=6;", 300) + "CON=50;";
    text = devicesim::PadItems(text, 400);
    ASSERT_EQ(text.size(), 400u);
    device.SetReply("/GetColor.cgi", devicesim::Reply::Ok(text));
    Open();
    Click(999);
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return window->ColourDialog() != nullptr; }));
    mainwindow::ColourAdjustDialog& dialog = *window->ColourDialog();
    EXPECT_EQ(dialog.Edit(0)->text(), "133");  // BRI 5, halves exchanged
    EXPECT_EQ(dialog.Edit(1)->text(), "128");  // CON beyond byte 256: as if absent
    EXPECT_EQ(dialog.Edit(2)->text(), "134");  // HUE 6
    dialog.reject();
    ASSERT_TRUE(testutil::WaitWithEvents([&] { return window->ColourDialog() == nullptr; }));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

}  // namespace
