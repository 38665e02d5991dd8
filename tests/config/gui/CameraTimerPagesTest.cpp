// The camera and timer record pages offscreen: rows by product, the row
// editor's fields, edits that live in the working copies only, and the timer
// rows by firmware.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

#include "config/PageDevice.h"
#include "config/gui/CameraEntryDialog.h"
#include "config/gui/CameraEntryDialogTemplate.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"
#include "config/gui/CameraPage.h"
#include "config/gui/CameraPageTemplate.h"
#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/PageRoutine.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/TimerRecordPage.h"
#include "config/gui/TimerRecordPageTemplate.h"
#include "gui/StringText.h"
#include "support/ChildWidget.h"
#include "support/TemplateClickCheck.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace config {
namespace {

using testutil::Child;
using testutil::RunRoutine;

// The camera page with the editor driven by the test instead of the person.
class ScriptedCameraPage : public CameraPage {
public:
    using CameraPage::CameraPage;
    std::function<bool(CameraEntryDialog&)> script;

protected:
    bool RunEditor(CameraEntryDialog& editor) override { return script(editor); }
};

QStringList RowTexts(QTreeWidget* table, int row) {
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << table->topLevelItem(row)->text(column);
    return texts;
}

TEST(CameraEntryDialog, StandsWhereItsTemplatePutsItWithNothingCut) {
    const CameraRow row{"FRONT DOOR", 128, 255, 64, 9, 1, 0};
    testutil::ExpectTemplateGeometry(kCameraEntryDialogTemplate,
                                     [&] { return std::make_unique<CameraEntryDialog>(15, row); });
    CameraEntryDialog dialog(15, row);
    dialog.show();
    testutil::ExpectNothingCut(dialog, "camera-entry-dialog");
}

TEST(CameraPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::PageDevice run("R41T", "1058");
    auto set = run.OpenSet();
    testutil::ExpectTemplateGeometry(kCameraPageTemplate, [&] { return std::make_unique<CameraPage>(*set); });
    CameraPage page(*set);
    page.show();
    testutil::ExpectNothingCut(page, "camera-page");
    for (const std::string& fault : testutil::ControlsOffTheirPlaces(page, kCameraPageTemplate))
        ADD_FAILURE() << fault;
}

TEST(CameraPage, RowsAndTheEditorsFields) {
    testutil::PageDevice run("R43T", "1058");
    testutil::ConfigMessageCapture messages;
    auto set = run.OpenSet();
    ScriptedCameraPage page(*set);
    page.show();
    QTreeWidget* table = page.Table();
    ASSERT_EQ(table->topLevelItemCount(), 4);
    EXPECT_EQ(table->headerItem()->text(4), session::LoadText(8563));
    const CameraRow third = LoadCameraRow(*set, 2);
    EXPECT_EQ(third.covert, 5);
    EXPECT_EQ(RowTexts(table, 2)[0], " 3");
    EXPECT_EQ(RowTexts(table, 2)[6], "NO");

    page.script = [&](CameraEntryDialog& editor) {
        EXPECT_EQ(Child<QComboBox>(editor, "covert")->currentIndex(), -1);
        EXPECT_EQ(Child<QLabel>(editor, "row")->text(), "3");
        auto* name = Child<QLineEdit>(editor, "name");
        name->clear();
        QTest::keyClicks(name, "ab-1");
        EXPECT_EQ(name->text(), "AB1");
        name->selectAll();
        name->insert("CAMERA12");
        emit name->textEdited(name->text());
        EXPECT_EQ(name->text(), "CAMERA");
        auto* brightness = Child<QLineEdit>(editor, "brightness");
        brightness->clear();
        QTest::keyClicks(brightness, "300");
        EXPECT_EQ(brightness->text(), "255");
        return true;
    };
    table->topLevelItem(2)->setSelected(true);
    page.EditSelectedRow();
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4112)});
    const CameraRow edited = LoadCameraRow(*set, 2);
    EXPECT_EQ(edited.name, "CAMERA");
    EXPECT_EQ(edited.brightness, 255);
    EXPECT_EQ(edited.covert, 5);
    EXPECT_EQ(RowTexts(table, 2)[1], "CAMERA");

    // Exit: nothing reaches the device or the session's blocks.
    set.reset();
    auto next = run.OpenSet();
    EXPECT_EQ(LoadCameraRow(*next, 2), third);
    EXPECT_TRUE(run.Stores().empty());
}

TEST(CameraPage, NoRowOrEscapeChangesNothing) {
    testutil::PageDevice run("R42T", "1058");
    testutil::ConfigMessageCapture messages;
    auto set = run.OpenSet();
    ScriptedCameraPage page(*set);
    page.show();
    EXPECT_EQ(page.Table()->topLevelItemCount(), 8);
    QTest::mouseClick(page.EditButton(), Qt::LeftButton);
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4046)});
    // A double click beside the rows with none selected: the same message.
    page.resize(600, 600);
    const QPoint beside(5, page.Table()->viewport()->height() - 3);
    ASSERT_EQ(page.Table()->itemAt(beside), nullptr);
    QTest::mouseDClick(page.Table()->viewport(), Qt::LeftButton, {}, beside);
    EXPECT_EQ(messages.texts, QStringList(2, session::LoadText(4046)));
    page.script = [](CameraEntryDialog& editor) {
        QTest::keyClicks(Child<QLineEdit>(editor, "hue"), "9");
        return false;
    };
    page.Table()->topLevelItem(0)->setSelected(true);
    page.EditSelectedRow();
    EXPECT_FALSE(set->Changed(13));
    EXPECT_EQ(RunRoutine(page, run, *set, ApplyRoutine::Camera), 1);
    EXPECT_TRUE(run.Stores().empty());
}

TEST(TimerRecordPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::PageDevice device("R41T", "1058");
    auto set = device.OpenSet();
    testutil::ExpectTemplateGeometry(kTimerRecordPageTemplate, [&] { return std::make_unique<TimerRecordPage>(*set); });
    TimerRecordPage page(*set);
    page.show();
    testutil::ExpectNothingCut(page, "timer-record-page");
}

TEST(TimerRecordPage, RowsByFirmwareAndApply) {
    {
        testutil::PageDevice old("R41T", "1057");
        auto set = old.OpenSet();
        TimerRecordPage page(*set);
        page.show();
        EXPECT_FALSE(page.Contributes());
        EXPECT_FALSE(Child<QComboBox>(page, "day1")->isEnabled());
        EXPECT_EQ(Child<QComboBox>(page, "day1")->currentIndex(), -1);
    }
    testutil::PageDevice run("R41T", "1058");
    const auto before = run.DeviceBlock(15);
    auto set = run.OpenSet();
    TimerRecordPage page(*set);
    page.show();
    EXPECT_EQ(Child<QTimeEdit>(page, "start1")->text(), "08 : 48");
    EXPECT_EQ(Child<QComboBox>(page, "day6")->currentIndex(), -1);
    EXPECT_EQ(Child<QComboBox>(page, "day2")->currentText(), "MON-FRI");
    EXPECT_EQ(RunRoutine(page, run, *set, ApplyRoutine::TimerRecord), 1);
    EXPECT_TRUE(run.Stores().empty());

    auto* day = Child<IndexedCombo>(page, "day1");
    day->setCurrentIndex(10);
    emit day->activated(10);
    Child<QTimeEdit>(page, "start1")->setTime(QTime(17, 5));
    Child<QTimeEdit>(page, "end1")->setTime(QTime(18, 0));
    EXPECT_EQ(RunRoutine(page, run, *set, ApplyRoutine::TimerRecord), 1);
    ASSERT_EQ(run.Stores().size(), 1u);
    auto expected = before;
    expected[87] = 10;
    expected[94] = 0x05;
    expected[95] = 0x11;
    expected[108] = 0x00;
    expected[109] = 0x12;
    EXPECT_EQ(run.DeviceBlock(15), expected);  // day 11 and time 0x1E00 stay
}

}  // namespace
}  // namespace config
