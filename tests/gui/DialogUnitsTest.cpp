// The dialog-unit conversion, the font stand-ins and the template builder.
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "gui/TemplateBuilder.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace {

using gui::ControlKind;

TEST(DialogUnits, MulDivRoundsHalfAwayFromZero) {
    struct Case {
        int number, numerator, denominator, result;
    };
    const Case cases[] = {
        {5, 6, 4, 8},     {3, 6, 4, 5},    {1, 6, 4, 2},    {-1, 6, 4, -2}, {1, -6, 4, -2},
        {7, 13, 8, 11},   {4, 13, 8, 7},   {8, 96, 72, 11}, {10, 96, 72, 13}, {0, 5, 3, 0},
        {1, 1, 0, -1},    {1000000, 1000000, 1000, 1000000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gui::MulDiv(c.number, c.numerator, c.denominator), c.result)
            << c.number << "*" << c.numerator << "/" << c.denominator;
}

TEST(DialogUnits, ConvertsEachNumberWithTheExactAverage) {
    // 52 letters 286 px wide: 5.5 px on average, so 4 units are 5.5 px, rounded to 6.
    const gui::DialogBaseUnits units{286, 13};
    EXPECT_EQ(units.X(4), 6);
    EXPECT_EQ(units.X(8), 11);
    EXPECT_EQ(units.X(230), 316);
    EXPECT_EQ(units.Y(8), 13);
    EXPECT_EQ(units.Y(4), 7);
    EXPECT_EQ(units.Rect({12, 10, 40, 10}), QRect(17, 16, 55, 16));
    EXPECT_EQ(units.Size(230, 130), QSize(316, 211));
    EXPECT_EQ(gui::kPixelUnits.Rect({60, 47, 150, 20}), QRect(60, 47, 150, 20));
}

TEST(FontStandIns, EveryNamedFaceResolvesToItsInstalledFamily) {
    for (const gui::FontStandIn& row : gui::FontStandIns()) {
        const QFont font = gui::StandInFont({row.named, 8});
        EXPECT_EQ(QFontInfo(font).family().toStdString(), std::string(row.family)) << row.named;
        EXPECT_EQ(font.pixelSize(), 11) << row.named;
    }
    EXPECT_EQ(gui::StandInFont({"Unknown face", 10}).family().toStdString(), "Liberation Sans");
    EXPECT_EQ(gui::StandInFont(gui::kSystemFont).weight(), QFont::Bold);
}

TEST(FontStandIns, TheWiderFamilyGivesOtherBaseUnits) {
    const gui::DialogBaseUnits standIn = gui::BaseUnitsOf(gui::StandInFont(gui::kSheetFont));
    gui::StandInFamilyScope wider(testutil::kWiderFamily);
    EXPECT_EQ(QFontInfo(gui::StandInFont(gui::kSheetFont)).family().toStdString(),
              std::string(testutil::kWiderFamily));
    const gui::DialogBaseUnits other = gui::BaseUnitsOf(gui::StandInFont(gui::kSheetFont));
    EXPECT_GT(other.lettersWidth, standIn.lettersWidth);
    EXPECT_NE(other.X(230), standIn.X(230));
}

constexpr gui::TemplateControl kControls[] = {
    {10, ControlKind::GroupBox, {4, 40, 100, 40}, gui::kNoStyle, "Group"},
    {-1, ControlKind::Static, {4, 4, 40, 10}, gui::kNoStyle, "Name :"},
    {11, ControlKind::Edit, {50, 4, 60, 12}, gui::kPassword | gui::kNumber, ""},
    {12, ControlKind::CheckBox, {8, 52, 80, 10}, gui::kNoStyle, "Check"},
    {13, ControlKind::ComboBox, {8, 64, 80, 60}, gui::kNoStyle, ""},
    {-1, ControlKind::Static, {4, 20, 40, 10}, gui::kNoStyle, "Other :"},
    {1, ControlKind::PushButton, {120, 60, 40, 14}, gui::kDefaultButton, "OK"},
};
constexpr gui::DialogTemplate kTable{999, "Test", 170, 90, gui::kSheetFont, kControls};

TEST(TemplateBuilder, PlacesEveryControlAtItsConvertedRectangleForEitherFont) {
    testutil::ExpectTemplateGeometry(kTable, [] {
        auto window = std::make_unique<QWidget>();
        gui::BuildTemplate(*window, kTable);
        return window;
    });
}

TEST(TemplateBuilder, AppliesTextStyleAndKeepsGroupBoxesUnderTheirControls) {
    QWidget window;
    const gui::TemplateControls controls = gui::BuildTemplate(window, kTable);
    ASSERT_EQ(controls.Widgets().size(), std::size(kControls));
    EXPECT_EQ(controls.All(-1).size(), 2u);
    EXPECT_EQ(controls.Get<QLabel>(-1)->text(), QStringLiteral("Name :"));
    auto* edit = controls.Get<QLineEdit>(11);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    ASSERT_NE(edit->validator(), nullptr);
    QString letters = QStringLiteral("12a");
    int at = 0;
    EXPECT_EQ(edit->validator()->validate(letters, at), QValidator::Invalid);
    EXPECT_TRUE(controls.Get<QPushButton>(1)->isDefault());
    EXPECT_EQ(controls.Get<QGroupBox>(10)->title(), QStringLiteral("Group"));
    // The group box was made first but lies under everything.
    EXPECT_EQ(window.children().indexOf(controls.Widget(10)), 0);
    EXPECT_EQ(window.childAt(controls.Widget(12)->geometry().center()), controls.Widget(12));
    EXPECT_LE(controls.Widget(13)->height(), controls.Units().Y(60));
    EXPECT_EQ(window.font().family(), QStringLiteral("Liberation Sans"));
}

// A one-row editor: the drop-down's rectangle reaches past the window for its open list.
constexpr gui::TemplateControl kRowControls[] = {
    {1195, ControlKind::ComboBox, {4, 13, 30, 30}, gui::kNoStyle, ""},
};
constexpr gui::DialogTemplate kRowTable{998, "Row", 40, 27, gui::kSheetFont, kRowControls};

TEST(TemplateBuilder, AClosedDropDownStandsAsTallAsItsFontAndFrameSoARowKeepsIt) {
    for (const std::string_view family : {std::string_view(), testutil::kWiderFamily}) {
        std::unique_ptr<gui::StandInFamilyScope> scope;
        if (!family.empty())
            scope = std::make_unique<gui::StandInFamilyScope>(family);
        QWidget window;
        const gui::TemplateControls controls = gui::BuildTemplate(window, kRowTable);
        const QWidget* combo = controls.Widget(1195);
        EXPECT_EQ(combo->height(), std::min(combo->sizeHint().height(), combo->fontMetrics().height() + 8)) << family;
        EXPECT_LE(combo->geometry().bottom(), window.rect().bottom()) << family;
        EXPECT_TRUE(testutil::LayoutFaults(window).empty()) << family;
    }
}

TEST(TemplateLayoutCheck, LeavesOutHiddenControls) {
    QWidget window;
    const gui::TemplateControls controls = gui::BuildTemplate(window, kTable);
    controls.Widget(1)->move(window.width() - 5, controls.Widget(1)->y());
    EXPECT_EQ(testutil::LayoutFaults(window).size(), 1u);
    controls.Widget(1)->hide();
    EXPECT_TRUE(testutil::LayoutFaults(window).empty());
}

TEST(TemplateLayoutCheck, FindsCutTextsAndControlsOutsideTheirFrames) {
    QWidget window;
    const gui::TemplateControls controls = gui::BuildTemplate(window, kTable);
    EXPECT_TRUE(testutil::LayoutFaults(window).empty());

    controls.Widget(12)->resize(20, controls.Widget(12)->height());  // the check box's text no longer fits
    controls.Widget(13)->move(controls.Widget(13)->pos() + QPoint(40, 0));
    controls.Widget(1)->move(window.width() - 5, controls.Widget(1)->y());
    const std::vector<std::string> faults = testutil::LayoutFaults(window);
    std::string all;
    for (const std::string& fault : faults)
        all += fault + "\n";
    ASSERT_EQ(faults.size(), 3u) << all;
    EXPECT_NE(faults[0].find("\"Check\""), std::string::npos) << faults[0];
    EXPECT_NE(faults[1].find("leaves group box"), std::string::npos) << faults[1];
    EXPECT_NE(faults[2].find("leaves its window"), std::string::npos) << faults[2];
}

}  // namespace
