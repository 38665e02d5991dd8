// The detection and alarm pages offscreen against the simulated device: rows
// and labels by product and capability, the editor's accepted and cancelled
// edits in the working copies, the channel brought onto the picture before
// the editor shows, and the alarm page's reactions, lists, video sources and
// settings on Apply.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

#include "config/PageDevice.h"
#include "config/gui/AlarmPageTemplate.h"
#include "config/gui/AlarmPropertyPage.h"
#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/PageRoutine.h"
#include "config/gui/DetectionPage.h"
#include "config/gui/DetectionPageTemplate.h"
#include "config/gui/MotionAreaDialog.h"
#include "config/gui/SheetRun.h"
#include "fakes/FakeFrameDisplay.h"
#include "fakes/TestPictures.h"
#include "session/devices/ControlFile.h"
#include "support/ChildWidget.h"
#include "support/TemplateClickCheck.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"
#include "support/WaitUntil.h"
#include "support/WaitWithEvents.h"

namespace config {
namespace {

using testutil::Child;
using testutil::RunRoutine;

// The detection page with the editor driven by the test instead of the person.
class ScriptedDetectionPage : public DetectionPage {
public:
    using DetectionPage::DetectionPage;
    std::function<bool(MotionAreaDialog&)> script;

protected:
    bool RunEditor(MotionAreaDialog& editor) override { return script(editor); }
};

QString Cell(QTreeWidget* table, int row, int column) { return table->topLevelItem(row)->text(column); }

void Edit(RowTablePage& page, int row) {
    page.Table()->clearSelection();
    page.Table()->topLevelItem(row)->setSelected(true);
    page.EditSelectedRow();
}

TEST(DetectionPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::PageDevice run("R41T", "1058");
    auto set = run.OpenSet();
    testutil::ExpectTemplateGeometry(kDetectionPageTemplate,
                                     [&] { return std::make_unique<DetectionPage>(*set, run.app); });
    DetectionPage page(*set, run.app);
    page.show();
    testutil::ExpectNothingCut(page, "detection-page");
    for (const std::string& fault : testutil::ControlsOffTheirPlaces(page, kDetectionPageTemplate))
        ADD_FAILURE() << fault;
}

TEST(DetectionPage, RowsAndAlarmNamesByCapability) {
    for (const std::uint32_t capability : {0x00u, 0x80u}) {
        testutil::PageDevice run("R42T", "1058",
                                 [capability](devicesim::DeviceProfile& p) { p.SetCapability(capability); });
        auto set = run.OpenSet();
        ScriptedDetectionPage page(*set, run.app);
        page.show();
        QTreeWidget* table = page.Table();
        ASSERT_EQ(table->topLevelItemCount(), 8);
        EXPECT_EQ(table->headerItem()->text(1), "DETEKC");
        EXPECT_EQ(table->headerItem()->text(2), "LS");
        EXPECT_EQ(table->headerItem()->text(6), "ALARM");
        EXPECT_EQ(Cell(table, 2, 0), " 3");
        EXPECT_EQ(Cell(table, 1, 1), "ON");
        EXPECT_EQ(Cell(table, 2, 5), "6");  // RE
        EXPECT_EQ(Cell(table, 1, 6), capability ? "N.C." : "HIGH");
        EXPECT_EQ(Cell(table, 4, 6), "OFF");

        // Type 7 opens with no selection and stays 7 through an accepted edit.
        page.script = [&](MotionAreaDialog& editor) {
            EXPECT_EQ(Child<QComboBox>(editor, "alarmType")->currentIndex(), -1);
            EXPECT_EQ(Child<QComboBox>(editor, "alarmType")->itemText(1), capability ? "N.C." : "HIGH");
            return true;
        };
        Edit(page, 4);
        EXPECT_EQ(LoadDetectionRow(*set, 4).alarmType, 7);
        EXPECT_FALSE(set->Changed(11));
        EXPECT_FALSE(set->Changed(13));
    }
}

TEST(DetectionPage, AClickedCellIsStoredInDvrliveAlone) {
    testutil::PageDevice run("R42T", "1058");
    run.app.w_ImageWidth = 640;
    run.app.w_ImageHeight = 228;
    testutil::FakeFrameDisplay display(run.app, testpictures::QuadrantPicture(640, 456), 640, 456);
    const auto live = run.DeviceBlock(13);
    const auto alarm = run.DeviceBlock(11);
    auto set = run.OpenSet();
    ScriptedDetectionPage page(*set, run.app);
    page.show();
    page.script = [&](MotionAreaDialog& editor) {
        editor.show();
        editor.OnSetArea();
        EXPECT_TRUE(testutil::WaitWithEvents([&] { return editor.PictureShown(); }));
        QTest::mouseClick(&editor, Qt::LeftButton, {}, editor.PictureRect().topLeft() + QPoint(5, 5));
        return true;
    };
    Edit(page, 2);
    EXPECT_EQ(RunRoutine(page, run, *set, ApplyRoutine::Detection), 1);
    const auto stores = run.Stores();
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_NE(stores[0].target.find("Option=DVRLIVE"), std::string::npos);
    auto expected = live;
    expected[437] ^= 0x01;
    EXPECT_EQ(run.DeviceBlock(13), expected);
    EXPECT_EQ(run.DeviceBlock(11), alarm);
}

TEST(DetectionPage, CancelledOrNotAppliedEditsChangeNothing) {
    testutil::PageDevice run("R43T", "1058");
    testutil::ConfigMessageCapture messages;
    auto set = run.OpenSet();
    const DetectionRow before = LoadDetectionRow(*set, 1);
    {
        ScriptedDetectionPage page(*set, run.app);
        page.show();
        ASSERT_EQ(page.Table()->topLevelItemCount(), 4);
        QTest::mouseClick(page.EditButton(), Qt::LeftButton);
        EXPECT_EQ(messages.texts, QStringList{session::LoadText(4046)});

        page.script = [](MotionAreaDialog& editor) {
            editor.OnRemoveAll();
            return false;
        };
        Edit(page, 1);
        EXPECT_FALSE(set->Changed(13));

        page.script = [](MotionAreaDialog& editor) {
            editor.OnRemoveAll();
            auto* ls = Child<QLineEdit>(editor, "ls");
            ls->clear();
            QTest::keyClicks(ls, "9");
            return true;
        };
        Edit(page, 1);
        const DetectionRow after = LoadDetectionRow(*set, 1);
        EXPECT_EQ(after.ls, 9);
        EXPECT_EQ(after.area[0], 0xFF);
        EXPECT_EQ(Cell(page.Table(), 1, 2), "9");
    }
    // Exit: nothing reaches the device, and the next sheet shows its values.
    set.reset();
    EXPECT_TRUE(run.Stores().empty());
    auto next = run.OpenSet();
    EXPECT_EQ(LoadDetectionRow(*next, 1), before);
}

TEST(DetectionPage, TheChannelComesOntoThePictureBeforeTheEditorShows) {
    testutil::PageDevice run("R42T", "1058", [](devicesim::DeviceProfile& p) { p.multiChannel = 1; });
    ASSERT_TRUE(mainwindow::ParseControlFile("[DEVICE NUMBER]\n1\n[DEVICE NAME]\nKLT 316 DVR\n"
                                             "[CH3]\n0x02 0x11 0x33\n[EOF]\nEND\n",
                                             run.app.ControlFile)
                    .ok);
    mainwindow::BindControlProtocols(run.app.ControlFile);
    run.app.C_ControlD.AddDevice(9600, 1, mainwindow::kTypeKlt316Dvr, mainwindow::kControlDeviceMaster);
    run.app.C_ControlD.MakeCurrent(mainwindow::kControlDeviceMaster, 0);
    run.app.CSettingINI.m_bySelectedChannel = 5;
    run.app.ChannelButtonBar.Create();
    ASSERT_EQ(run.app.ChannelButtonBar.CurrentChannel(), 5);
    auto set = run.OpenSet();
    ScriptedDetectionPage page(*set, run.app, run.timing);
    page.show();
    // The editor is up while the request goes out.
    const auto waitFor = [&](const char* path) {
        page.script = [&run, path](MotionAreaDialog&) {
            EXPECT_TRUE(testutil::WaitUntil([&] { return !run.Targets(path).empty(); })) << path;
            return false;
        };
    };
    waitFor("/SetChannel.cgi");
    Edit(page, 2);
    const auto targets = run.Targets("/SetChannel.cgi");
    ASSERT_EQ(targets.size(), 1u);
    EXPECT_NE(targets[0].find("CH=3"), std::string::npos);
    EXPECT_TRUE(run.Targets("/RS485Cmd.cgi").empty());

    // The bar on the multi-channel view: the panel key of the row instead.
    run.app.ChannelButtonBar.SyncCurrentChannel(0);
    waitFor("/RS485Cmd.cgi");
    Edit(page, 2);
    const auto keys = run.device->RequestsFor("/RS485Cmd.cgi");
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_NE(std::string(keys[0].body.begin(), keys[0].body.end()).find("\x11\x33"), std::string::npos);
    EXPECT_EQ(run.Targets("/SetChannel.cgi").size(), 1u);
}

TEST(AlarmPropertyPage, StandsWhereItsTemplatePutsItWithNothingCutInEveryFamily) {
    // Each family shows its own rows: a multi-channel DVR the switch to video,
    // a video server the video sources and alarm recording, N5H the recording;
    // a click at any shown control's template place lands on it.
    const struct {
        const char* product;
        const char* firmware;
        const char* grab;
    } cases[] = {{"R42T", "1058", "alarm-page-dvr"}, {"R47T", "1058", "alarm-page-server"},
                 {"N51H", "1010", "alarm-page-n5h"}, {"G66M", "1010", "alarm-page-g66m"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        testutil::PageDevice run(c.product, c.firmware, [](devicesim::DeviceProfile& p) { p.multiChannel = 1; });
        auto set = run.OpenSet();
        testutil::ExpectTemplateGeometry(kAlarmPageTemplate,
                                         [&] { return std::make_unique<AlarmPropertyPage>(*set, run.app, 1); });
        AlarmPropertyPage page(*set, run.app, 1);
        page.show();
        testutil::ExpectNothingCut(page, c.grab);

        for (const std::string& fault : testutil::ControlsOffTheirPlaces(page, kAlarmPageTemplate))
            ADD_FAILURE() << fault;
        // A click at the place of "Alarm" / "Odśwież" clears the latched alarm.
        run.app.CRTPHeader.m_wAlarmData = 0x0010;
        const QPoint clear = testutil::TemplatePlace(*Child<QPushButton>(page, "clearAlarm"), kAlarmPageTemplate, 1068);
        QWidget* hit = page.childAt(clear);
        ASSERT_NE(hit, nullptr);
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&page, clear));
        EXPECT_EQ(run.app.CRTPHeader.m_wAlarmData.load(), 0u);
    }
}

TEST(AlarmPropertyPage, UntouchedSendsNothingAndUnknownValuesStay) {
    testutil::PageDevice run("R42T", "1058", [](devicesim::DeviceProfile& p) { p.multiChannel = 1; });
    auto set = run.OpenSet();
    AlarmPropertyPage page(*set, run.app, 1);
    page.show();
    auto* time = Child<QComboBox>(page, "time");
    ASSERT_EQ(time->count(), 4);
    EXPECT_EQ(time->currentText(), "5      SEC");
    EXPECT_EQ(Child<QComboBox>(page, "pictures")->currentText(), "4");
    EXPECT_TRUE(Child<QCheckBox>(page, "email")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(page, "ftp")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(page, "recordingOn")->isVisible());
    EXPECT_FALSE(Child<QWidget>(page, "sourceGroup")->isVisible());
    EXPECT_TRUE(Child<QCheckBox>(page, "switchVideo")->isVisible());
    EXPECT_EQ(RunRoutine(page, run, *set, ApplyRoutine::Alarm), 1);
    EXPECT_TRUE(run.Stores().empty());

    // "Alarm" / "Odśwież" clears the latched alarm of the frame headers.
    run.app.CRTPHeader.m_wAlarmData = 0x0010;
    QTest::mouseClick(Child<QPushButton>(page, "clearAlarm"), Qt::LeftButton);
    EXPECT_EQ(run.app.CRTPHeader.m_wAlarmData.load(), 0u);

    // "Email" alone, then "FTP": both; picture size and time stay as they were.
    QTest::mouseClick(Child<QCheckBox>(page, "email"), Qt::LeftButton);
    EXPECT_TRUE(Child<QCheckBox>(page, "email")->isChecked());
    QTest::mouseClick(Child<QCheckBox>(page, "ftp"), Qt::LeftButton);
    EXPECT_EQ(page.Values().reaction, 3);
    EXPECT_EQ(RunRoutine(page, run, *set, ApplyRoutine::Alarm), 1);
    auto expected = run.DeviceBlock(11);
    ASSERT_EQ(run.Stores().size(), 1u);
    EXPECT_EQ(expected[3], 3);
    EXPECT_EQ(expected[5], 1);
    EXPECT_EQ(expected[6], 15);
    EXPECT_EQ(expected[12], 7);
}

TEST(AlarmPropertyPage, ReactionTogglesAndVideoSourcesOfAServer) {
    testutil::PageDevice run("R47T", "1058");
    auto set = run.OpenSet();
    AlarmPropertyPage page(*set, run.app, 0);
    page.show();
    EXPECT_EQ(Child<QComboBox>(page, "time")->currentText(), "30     MIN");
    EXPECT_EQ(Child<QComboBox>(page, "pictures")->currentIndex(), -1);
    EXPECT_TRUE(Child<QRadioButton>(page, "recordingOff")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(page, "switchVideo")->isVisible());
    for (int input = 1; input <= 4; ++input) {
        const bool second = input == 1 || input == 3;
        EXPECT_EQ(Child<QRadioButton>(page, ("source2" + std::to_string(input)).c_str())->isChecked(), second);
        EXPECT_EQ(Child<QRadioButton>(page, ("source1" + std::to_string(input)).c_str())->isChecked(), !second);
    }
    QTest::mouseClick(Child<QRadioButton>(page, "inputOff"), Qt::LeftButton);
    EXPECT_FALSE(Child<QCheckBox>(page, "email")->isEnabled());
    QTest::mouseClick(Child<QRadioButton>(page, "inputOn"), Qt::LeftButton);
    EXPECT_TRUE(Child<QCheckBox>(page, "email")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(page, "ftp")->isChecked());
    QTest::mouseClick(Child<QRadioButton>(page, "source22"), Qt::LeftButton);
    EXPECT_TRUE(Child<QRadioButton>(page, "source22")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(page, "source12")->isChecked());
    QTest::mouseClick(Child<QRadioButton>(page, "recordingOn"), Qt::LeftButton);
    EXPECT_EQ(page.AlarmRecording(), 1);

    EXPECT_EQ(RunRoutine(page, run, *set, ApplyRoutine::Alarm), 1);
    ASSERT_EQ(run.Stores().size(), 1u);
    const auto block = run.DeviceBlock(11);
    EXPECT_EQ(block[3], 1);
    EXPECT_EQ(block[9], 0x07);
    EXPECT_EQ(block[2], 12);
    EXPECT_EQ(block[5], 2);
}

TEST(AlarmPropertyPage, TheSheetTakesBothSettingsOnApply) {
    testutil::SheetRun run("R47T", "1058");
    run.app.CSettingINI.m_byAlarmTriggerRecord = 1;
    run.app.CSettingINI.m_byAlarmAutoSwitchVideo = 1;
    run.Open();
    run.app.CSettingINI.m_byAlarmTriggerRecord = 0;  // changed behind the sheet's back
    run.Apply();
    // The page was never opened: its values, as the sheet opened, go back.
    EXPECT_EQ(run.app.CSettingINI.m_byAlarmTriggerRecord.load(), 1);
    EXPECT_TRUE(run.Stores().empty());

    run.Open();
    auto* page = run.Show<AlarmPropertyPage>(SheetPageId::Alarm);
    ASSERT_NE(page, nullptr);
    QTest::mouseClick(Child<QRadioButton>(*page, "recordingOff"), Qt::LeftButton);
    run.Apply();
    EXPECT_EQ(run.app.CSettingINI.m_byAlarmTriggerRecord.load(), 0);
    EXPECT_EQ(run.app.CSettingINI.m_byAlarmAutoSwitchVideo.load(), 1);
    EXPECT_TRUE(run.Stores().empty());
}

}  // namespace
}  // namespace config
