// The page framework's widgets, offscreen: what the device fills is shown as
// it is, what the person types is normalised, and unknown codes stay unchanged.

#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ChoiceBindings.h"
#include "config/gui/ConfigPage.h"
#include "config/gui/DevicePageTemplate.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/Ipv4Edit.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/NumberEdit.h"
#include "config/gui/RowTablePage.h"
#include "config/gui/ConfigMessageCapture.h"
#include "gui/StringText.h"
#include "session/AppData.h"

namespace config {
namespace {

// Types text a key at a time, letters outside Latin-1 included.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
    }
}

TEST(NumberEdit, KeepsWhatTheDeviceGaveAndFiltersWhatIsTyped) {
    NumberEdit::Rules rules;
    rules.min = 1;
    rules.max = 9999;
    NumberEdit edit(rules);
    edit.Load(10000);
    EXPECT_EQ(edit.text(), "10000");
    EXPECT_FALSE(edit.Changed());

    edit.clear();
    QTest::keyClicks(&edit, "12a34");
    EXPECT_EQ(edit.text(), "1234");
    EXPECT_EQ(edit.Value(), 1234);
    EXPECT_TRUE(edit.Changed());

    QTest::keyClicks(&edit, "5");  // 12345 is above the range: held at the top
    EXPECT_EQ(edit.text(), "9999");
}

TEST(NumberEdit, RangeAndEmptyMessagesSetTheirValues) {
    testutil::ConfigMessageCapture messages;
    NumberEdit::Rules rules;
    rules.min = 1;
    rules.max = 65535;
    rules.rangeMessage = 4012;
    rules.fallback = 80;
    rules.emptyMessage = 4046;
    NumberEdit edit(rules);
    edit.Load(8080);
    edit.clear();
    QTest::keyClicks(&edit, "70000");
    EXPECT_EQ(edit.text(), "80");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], session::LoadText(4012));

    edit.clear();
    QTest::keyClick(&edit, Qt::Key_Backspace);  // an edit that leaves the field empty
    emit edit.editingFinished();
    EXPECT_EQ(edit.text(), "8080");
    EXPECT_EQ(messages.texts.back(), session::LoadText(4046));
}

TEST(LimitedTextEdit, RefusesWhatDoesNotFitAndShowsLoadedTextsWhole) {
    LimitedTextEdit edit(4);
    edit.Load(QStringLiteral("LONGER TEXT"));
    EXPECT_EQ(edit.text(), "LONGER TEXT");
    EXPECT_FALSE(edit.Changed());

    edit.clear();
    QTest::keyClicks(&edit, "abcdef");
    EXPECT_EQ(edit.text(), "abcd");
    edit.clear();
    Type(&edit, QString::fromUtf8("aж"));
    EXPECT_EQ(edit.text(), "a");
    Type(&edit, QString::fromUtf8("ą"));
    EXPECT_EQ(edit.text(), QString::fromUtf8("aą"));

    LimitedTextEdit upper(8, LimitedTextEdit::Mode::UpperCase);
    QTest::keyClicks(&upper, "dvr1");
    EXPECT_EQ(upper.text(), "DVR1");
}

TEST(LimitedTextEdit, APasteIsCutToTheRoomTheLimitLeaves) {
    struct Case {
        const char* name;
        const char* before;
        int cursor;
        const char* pasted;
        const char* after;
    };
    const Case cases[] = {
        {"intoEmpty", "", 0, "abcdefgh", "abcdef"},
        {"atTheEnd", "abcd", 4, "xyz", "abcdxy"},
        {"inTheMiddle", "abcd", 2, "xyz", "abxycd"},
        {"atTheStart", "abc", 0, "xyzw", "xyzabc"},
        {"atTheLimit", "abcdef", 3, "x", "abcdef"},
        {"withAForeignCharacter", "ab", 2, "cдe", "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LimitedTextEdit edit(6);
        edit.Load(QString::fromUtf8(c.before));
        edit.setCursorPosition(c.cursor);
        edit.insert(QString::fromUtf8(c.pasted));  // a paste, as the person's edit
        emit edit.textEdited(edit.text());
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.after));
    }
}

TEST(IndexedCombo, UnknownCodeShowsNoSelectionAndStaysUnchanged) {
    IndexedCombo combo;
    combo.SetItems({"3", "15", "30", "60", "1800", "65535"}, {3, 15, 30, 60, 1800, 65535});
    combo.LoadCode(12);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_FALSE(combo.Changed());
    EXPECT_EQ(combo.Code(), std::nullopt);

    combo.LoadCode(1800);
    EXPECT_EQ(combo.Index(), 4);
    EXPECT_FALSE(combo.Changed());  // a fill is no change
    combo.setCurrentIndex(1);
    emit combo.activated(1);
    EXPECT_TRUE(combo.Changed());
    EXPECT_EQ(combo.Code(), 15);
}

TEST(Ipv4Edit, ValueHasTheFirstPartOnTop) {
    Ipv4Edit edit;
    edit.Load(0xC0A80107);
    EXPECT_EQ(edit.Part(0)->text(), "192");
    EXPECT_EQ(edit.Part(3)->text(), "7");
    edit.Part(3)->clear();
    QTest::keyClicks(edit.Part(3), "9");
    EXPECT_EQ(edit.Value(), 0xC0A80109u);
    EXPECT_TRUE(edit.Changed());
}

TEST(ChoiceBindings, UnknownValueChecksNoRadioAndIsNoChange) {
    QWidget parent;
    auto* a = new QRadioButton("a", &parent);
    auto* b = new QRadioButton("b", &parent);
    RadioGroup group;
    group.Add(a, 0);
    group.Add(b, 2);
    group.Load(7);
    EXPECT_FALSE(a->isChecked() || b->isChecked());
    EXPECT_FALSE(group.Changed());
    group.Load(2);
    EXPECT_TRUE(b->isChecked());
    a->click();
    EXPECT_EQ(group.Value(), 0);
    EXPECT_TRUE(group.Changed());

    ConfigCheckBox check("c");
    check.Load(5);
    EXPECT_TRUE(check.isChecked());
    EXPECT_FALSE(check.Changed());
}

// A page that counts its fills and pulls and refuses to be left while told to.
class CountingPage : public ConfigPage {
public:
    using ConfigPage::ConfigPage;
    int fills = 0;
    int pulls = 0;
    unsigned refusal = 0;

protected:
    void Fill() override { ++fills; }
    void Pull() override { ++pulls; }
    unsigned LeaveRefusal() override { return refusal; }
};

TEST(ConfigPage, FillsOnceWhenFirstShownAndPullsOnlyThen) {
    session::AppData app;
    ConfigWorkingSet set(app, DeviceFacts{"R41T", "1052"});
    CountingPage page(QStringLiteral("DDNS"), set);
    page.PullControls();
    EXPECT_EQ(page.pulls, 0);
    EXPECT_FALSE(page.Contributes());

    page.show();
    page.hide();
    page.show();
    EXPECT_EQ(page.fills, 1);
    page.PullControls();
    EXPECT_EQ(page.pulls, 1);
    EXPECT_TRUE(page.Contributes());
    page.SetPageEnabled(false);
    EXPECT_FALSE(page.Contributes());

    testutil::ConfigMessageCapture messages;
    EXPECT_TRUE(page.ConfirmLeave());
    page.refusal = 4046;
    EXPECT_FALSE(page.ConfirmLeave());
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4046)});
}

// Rows are numbers; the editor doubles the row's number when accepted.
class NumberRowsPage : public RowTablePage {
public:
    // Any row-table template serves: the device page's list and "Edytuj".
    NumberRowsPage(ConfigWorkingSet& set) : RowTablePage(kDevicePageTemplate, 1404, 1119, set, {"Nr"}) {}
    std::vector<int> values{1, 2, 3};
    std::vector<int> edited;
    bool accept = true;

protected:
    bool EditRow(int row) override {
        edited.push_back(row);
        if (accept)
            values[static_cast<std::size_t>(row)] *= 2;
        return accept;
    }
    std::vector<QStringList> RowTexts() const override {
        std::vector<QStringList> rows;
        for (int v : values)
            rows.push_back({QString::number(v)});
        return rows;
    }
};

TEST(RowTablePage, EditWithoutSelectionShowsItsMessageAndEditsTheSelectedRow) {
    session::AppData app;
    ConfigWorkingSet set(app, DeviceFacts{"R41T", "1052"});
    NumberRowsPage page(set);
    page.show();
    ASSERT_EQ(page.Table()->topLevelItemCount(), 3);

    testutil::ConfigMessageCapture messages;
    QTest::mouseClick(page.EditButton(), Qt::LeftButton);
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4046)});
    EXPECT_TRUE(page.edited.empty());

    page.Table()->topLevelItem(1)->setSelected(true);
    QTest::mouseClick(page.EditButton(), Qt::LeftButton);
    EXPECT_EQ(page.edited, std::vector<int>{1});
    EXPECT_EQ(page.Table()->topLevelItem(1)->text(0), "4");
    EXPECT_EQ(page.SelectedRow(), 1);

    page.accept = false;
    emit page.Table()->itemDoubleClicked(page.Table()->topLevelItem(1), 0);
    EXPECT_EQ(page.edited.size(), 2u);
    EXPECT_EQ(page.Table()->topLevelItem(1)->text(0), "4");
    EXPECT_FALSE(set.Changed(2));  // an edit changes the page, never the blocks
}

}  // namespace
}  // namespace config
