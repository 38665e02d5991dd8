// The PTZ device and peripheral pages offscreen, alone and in the sheet:
// rows by product, the row editor, and the control-device list rebuilt only
// after a store the device took.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

#include "config/PageDevice.h"
#include "config/gui/CPeripheralPage.h"
#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/DevicePage.h"
#include "config/gui/DevicePageTemplate.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/PeripheralPageTemplate.h"
#include "config/gui/SheetRun.h"
#include "config/gui/PtzEntryDialog.h"
#include "config/gui/PtzEntryDialogTemplate.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"
#include "fakes/RecordingUiPort.h"
#include "gui/StringText.h"
#include "support/ChildWidget.h"

namespace config {
namespace {

using testutil::Child;

class ScriptedDevicePage : public DevicePage {
public:
    using DevicePage::DevicePage;
    std::function<bool(PtzEntryDialog&)> script;

protected:
    bool RunEditor(PtzEntryDialog& editor) override { return script(editor); }
};

void Pick(IndexedCombo* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

TEST(PtzEntryDialog, StandsWhereItsTemplatePutsItWithNothingCut) {
    const PtzRow row{1, 12, 1, 115200};
    testutil::ExpectTemplateGeometry(kPtzEntryDialogTemplate,
                                     [&] { return std::make_unique<PtzEntryDialog>(15, row); });
    PtzEntryDialog dialog(15, row);
    dialog.show();
    EXPECT_EQ(Child<QLabel>(dialog, "row")->text(), "16");
    testutil::ExpectNothingCut(dialog, "ptz-entry-dialog");
}

TEST(DevicePage, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::PageDevice run("R41T", "1058");
    auto set = run.OpenSet();
    testutil::ExpectTemplateGeometry(kDevicePageTemplate, [&] { return std::make_unique<DevicePage>(*set); });
    DevicePage page(*set);
    page.show();
    ASSERT_EQ(page.Table()->topLevelItemCount(), 16);
    testutil::ExpectNothingCut(page, "device-page");
}

TEST(DevicePage, RowsAndTheEditorKeepWhatTheListsLack) {
    testutil::PageDevice run("R43T", "1058");
    auto set = run.OpenSet();
    ScriptedDevicePage page(*set);
    page.show();
    QTreeWidget* table = page.Table();
    ASSERT_EQ(table->topLevelItemCount(), 4);
    EXPECT_EQ(table->topLevelItem(0)->text(1), "CAMERA");  // type 3
    EXPECT_EQ(table->topLevelItem(1)->text(4), "1200");
    EXPECT_EQ(table->headerItem()->text(3), session::LoadText(8542));

    page.script = [](PtzEntryDialog& editor) {
        EXPECT_EQ(Child<QComboBox>(editor, "type")->currentIndex(), -1);
        auto* id = Child<QLineEdit>(editor, "address");
        id->clear();
        QTest::keyClicks(id, "300");
        EXPECT_EQ(id->text(), "255");
        return true;
    };
    table->topLevelItem(0)->setSelected(true);
    page.EditSelectedRow();
    EXPECT_EQ(page.Rows()[0].type, 3);
    EXPECT_EQ(page.Rows()[0].address, 255);

    page.script = [](PtzEntryDialog& editor) {
        EXPECT_EQ(Child<QComboBox>(editor, "speed")->currentIndex(), -1);
        EXPECT_EQ(Child<QComboBox>(editor, "speed")->itemText(0), "    2400");
        return true;
    };
    table->clearSelection();
    table->topLevelItem(1)->setSelected(true);
    page.EditSelectedRow();
    EXPECT_EQ(page.Rows()[1].baud, 1200u);
    EXPECT_EQ(table->topLevelItem(1)->text(4), "1200");
}

TEST(DevicePage, EscapeOrNoRowChangesNothing) {
    testutil::PageDevice run("R42T", "1058");
    testutil::ConfigMessageCapture messages;
    auto set = run.OpenSet();
    ScriptedDevicePage page(*set);
    page.show();
    EXPECT_EQ(page.Table()->topLevelItemCount(), 8);
    page.EditSelectedRow();
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4046)});
    // A double click with no row selected does nothing.
    page.resize(600, 600);
    const QPoint beside(5, page.Table()->viewport()->height() - 3);
    ASSERT_EQ(page.Table()->itemAt(beside), nullptr);
    QTest::mouseDClick(page.Table()->viewport(), Qt::LeftButton, {}, beside);
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4046)});
    page.script = [](PtzEntryDialog& editor) {
        Pick(Child<IndexedCombo>(editor, "type"), 1);
        return false;
    };
    page.Table()->topLevelItem(3)->setSelected(true);
    page.EditSelectedRow();
    EXPECT_FALSE(page.Modified());
    ApplyRoutines routines;
    page.AddSendRoutines(routines);
    EXPECT_FALSE(routines[static_cast<std::size_t>(ApplyRoutine::Device)]);
}

TEST(CPeripheralPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::PageDevice run("R47T", "1010");
    auto set = run.OpenSet();
    testutil::ExpectTemplateGeometry(kPeripheralPageTemplate, [&] { return std::make_unique<CPeripheralPage>(*set); });
    CPeripheralPage page(*set);
    page.show();
    testutil::ExpectNothingCut(page, "peripheral-page");
}

TEST(CPeripheralPage, ShowsUnknownCodesAsTheFirstItem) {
    testutil::PageDevice run("R47T", "1010");
    auto set = run.OpenSet();
    CPeripheralPage page(*set);
    page.show();
    EXPECT_EQ(Child<QComboBox>(page, "model1")->currentText(), "PTZ(P-D)");
    EXPECT_EQ(Child<QComboBox>(page, "model2")->currentText(), "CAMERA");
    EXPECT_EQ(Child<QComboBox>(page, "speed1")->currentText(), "2400");
    EXPECT_EQ(Child<QLineEdit>(page, "id2")->text(), "2");
}

using testutil::SheetRun;

// Makes row 3 a Pelco-D PTZ in the sheet's own (modal) editor.
void EditThirdRow(DevicePage& page) {
    page.Table()->topLevelItem(2)->setSelected(true);
    QTimer::singleShot(0, [] {
        auto* editor = qobject_cast<PtzEntryDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        Pick(editor->findChild<IndexedCombo*>("type"), 1);
        Pick(editor->findChild<IndexedCombo*>("protocol"), 1);
        editor->accept();
    });
    page.EditSelectedRow();
}

TEST(PtzPagesInTheSheet, TheControlDeviceListFollowsAStoredBlock) {
    {
        SheetRun untouched("R43T", "1058");
        untouched.Open();
        ASSERT_NE(untouched.Show<DevicePage>(SheetPageId::Device), nullptr);
        untouched.Apply();
        EXPECT_TRUE(untouched.Stores().empty());
    }
    {
        fakes::RecordingUiPort ui;
        SheetRun refused("R43T", "1058");
        refused.app.SetUiPort(&ui);
        refused.Open();
        auto* page = refused.Show<DevicePage>(SheetPageId::Device);
        const auto before = refused.app.C_ControlD.Snapshot();
        refused.device->AddFault("/SetSysCfg.cgi", devicesim::Fault::Status(500));
        EditThirdRow(*page);
        ASSERT_TRUE(page->Modified());
        refused.Apply();
        EXPECT_EQ(ui.Calls(), std::vector<std::string>{"msgbox:4012"});
        EXPECT_EQ(refused.app.C_ControlD.Snapshot(), before);
    }
    SheetRun run("R43T", "1058");
    run.Open();
    EditThirdRow(*run.Show<DevicePage>(SheetPageId::Device));
    run.Apply();
    ASSERT_EQ(run.Stores().size(), 1u);
    EXPECT_EQ(run.app.C_ControlD.GetSlaveType(2), mainwindow::kTypePtzPelco);
}

TEST(PtzPagesInTheSheet, PeripheralIdsRebuildTheListSpeedsDoNot) {
    SheetRun run("R47T", "1010");
    run.Open();
    auto* page = run.Show<CPeripheralPage>(SheetPageId::Peripheral);
    ASSERT_NE(page, nullptr);
    auto* id = Child<QLineEdit>(*page, "id2");
    id->clear();
    QTest::keyClicks(id, "9");
    run.Apply();
    ASSERT_EQ(run.Stores().size(), 1u);
    EXPECT_EQ(run.DeviceBlock(16)[13], 9);
    const auto list = run.app.C_ControlD.Snapshot();
    EXPECT_EQ(list.entries[0].byType, 25);
    EXPECT_EQ(list.entries[1].byType, 12);
    EXPECT_EQ(list.entries[1].byAddress, 9);

    SheetRun speed("R47T", "1010");
    speed.Open();
    Pick(Child<IndexedCombo>(*speed.Show<CPeripheralPage>(SheetPageId::Peripheral), "speed2"), 4);
    const auto before = speed.app.C_ControlD.Snapshot();
    speed.Apply();
    ASSERT_EQ(speed.Stores().size(), 1u);
    EXPECT_EQ(speed.app.C_ControlD.Snapshot(), before);
}

}  // namespace
}  // namespace config
