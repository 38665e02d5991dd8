// The configuration sheet of every device family offscreen, with the recording
// pages: each page built from a template shows with nothing cut, every shown
// control is the one under its converted template place, and a click there
// lands on a few of each kind per page. Pages still laid out otherwise are
// passed over, so each page joins once it is built from its template.

#include <QApplication>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/ConfigPage.h"
#include "config/gui/SheetRun.h"
#include "session/devices/ControlDeviceList.h"
#include "recording/gui/RecordingPages.h"
#include "support/TemplateClickCheck.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplatePairing.h"
#include "support/WaitWithEvents.h"

namespace recording {
namespace {

using testutil::WaitWithEvents;

struct Family {
    const char* name;
    const char* product;
    const char* firmware;
    bool linkedDvr;  // the DVR's sheet adds the alarm-data page for a linked DVR
};

std::ostream& operator<<(std::ostream& out, const Family& family) { return out << family.name; }

struct FamilySheet : testutil::SheetRun {
    explicit FamilySheet(const Family& family) : SheetRun(family.product, family.firmware) {
        app.w_UserLevel = 30;
        if (family.linkedDvr)
            app.C_ControlD.AddDevice(9600, 1, mainwindow::kTypeKlt316Dvr, mainwindow::kControlDeviceMaster);
        previous = config::SetRecordingPageMaker(&pages);
        Open();
        sheet->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    }
    ~FamilySheet() {
        sheet.reset();
        config::SetRecordingPageMaker(previous);
    }
    // Shows the page and lets the reads it starts reach it.
    bool ShowAndSettle(int index) {
        const bool shown = sheet->SetActivePage(index);
        EXPECT_TRUE(WaitWithEvents([&] { return app.h_DeviceCommandWorker.Pending() == 0; }));
        QCoreApplication::processEvents();
        return shown;
    }

    RecordingPages pages{timing};
    config::RecordingPageMaker* previous = nullptr;
    testutil::ConfigMessageCapture messages;
};

// The widget the page's template controls stand on: the page, or the holder it built them on.
QWidget* TemplateHolder(config::ConfigPage& page) {
    for (QWidget* control : page.findChildren<QWidget*>()) {
        const QVariant id = control->property(gui::kTemplateIdProperty);
        if (id.isValid() && page.Template()->Find(id.toInt()))
            return control->parentWidget();
    }
    return nullptr;
}

// A file name for the page's picture: the family and the page's caption in plain letters.
std::string GrabName(const Family& family, int index, const QString& caption) {
    std::string name = std::string(family.name) + "-" + std::to_string(index) + "-";
    for (const QChar c : caption.normalized(QString::NormalizationForm_D))
        if (c.isLetterOrNumber() && c.unicode() < 128)
            name += char(c.toLower().unicode());
    return name;
}

// The kinds of control a person clicks, each with a test of whether a click reached it.
enum class Kind { Edit, PushButton, CheckBox, Radio, List, None };

Kind KindOf(const QWidget& control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control))
        return edit->isReadOnly() ? Kind::None : Kind::Edit;
    if (qobject_cast<const QAbstractSpinBox*>(&control))
        return Kind::Edit;
    if (qobject_cast<const QPushButton*>(&control))
        return Kind::PushButton;
    if (qobject_cast<const QCheckBox*>(&control))
        return Kind::CheckBox;
    // A checked radio button: clicking it changes no value.
    if (const auto* radio = qobject_cast<const QRadioButton*>(&control))
        return radio->isChecked() ? Kind::Radio : Kind::None;
    if (qobject_cast<const QComboBox*>(&control))
        return Kind::List;
    return Kind::None;
}

// The shown, enabled controls a person clicks, at most `most` of each kind.
std::vector<testutil::TemplatePair> ClickTargets(const QWidget& holder, const gui::DialogTemplate& table, int most) {
    std::vector<testutil::TemplatePair> targets;
    std::map<Kind, int> counts;
    for (const testutil::TemplatePair& pair : testutil::PairWithTemplate(holder, table)) {
        if (!pair.widget || !pair.widget->isVisible() || !pair.widget->isEnabled())
            continue;
        const Kind kind = KindOf(*pair.widget);
        if (kind != Kind::None && counts[kind]++ < most)
            targets.push_back(pair);
    }
    return targets;
}

// Clicks where the control's template puts it and says what it saw there, or
// nothing when the click reached the control: an edit takes the focus, a
// button or check box reports the click, a drop-down list opens. A push
// button is pressed and let go off it, so its command (a dialog, a request)
// does not run; a check box is clicked twice, which leaves the page's values
// as they were.
std::string ClickAtPlace(QWidget& holder, const gui::DialogTemplate& table, const testutil::TemplatePair& target) {
    QWidget& control = *target.widget;
    const QPoint place = testutil::TemplatePlace(control, table, *target.entry);
    const std::string what =
        testutil::Describe(control) + " at " + std::to_string(place.x()) + "," + std::to_string(place.y());
    QWidget* hit = holder.childAt(place);
    if (hit != &control && !control.isAncestorOf(hit))
        return what + ": the place shows " + (hit ? testutil::Describe(*hit) : std::string("nothing"));
    const QPoint local = hit->mapFrom(&holder, place);
    switch (KindOf(control)) {
    case Kind::PushButton: {
        auto* button = static_cast<QPushButton*>(&control);
        QSignalSpy pressed(button, &QAbstractButton::pressed);
        QTest::mousePress(hit, Qt::LeftButton, {}, local);
        const bool down = button->isDown();
        QTest::mouseRelease(hit, Qt::LeftButton, {}, hit->mapFrom(&holder, QPoint(-1, -1)));
        return pressed.count() == 1 && down ? std::string() : what + ": the press did not reach it";
    }
    case Kind::CheckBox:
    case Kind::Radio: {
        QSignalSpy clicked(static_cast<QAbstractButton*>(&control), &QAbstractButton::clicked);
        const int clicks = KindOf(control) == Kind::CheckBox ? 2 : 1;
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(hit, Qt::LeftButton, {}, local);
        return clicked.count() == clicks ? std::string() : what + ": the click did not reach it";
    }
    case Kind::List: {
        auto* list = static_cast<QComboBox*>(&control);
        QTest::mouseClick(hit, Qt::LeftButton, {}, local);
        const bool open = list->view()->isVisible();
        list->hidePopup();
        // The closed popup leaves the sheet inactive here; the next edit's focus needs it active.
        holder.window()->activateWindow();
        if (!QTest::qWaitForWindowActive(holder.window()))
            return what + ": the sheet stays inactive after the list closed";
        return open ? std::string() : what + ": the click did not open it";
    }
    default:
        QTest::mouseClick(hit, Qt::LeftButton, {}, local);
        const QWidget* focus = QApplication::focusWidget();
        return focus == &control || control.isAncestorOf(focus) ? std::string()
                                                                : what + ": the click gave it no focus";
    }
}

class SheetFamilies : public ::testing::TestWithParam<Family> {};

TEST_P(SheetFamilies, EveryTemplatedPageShowsWholeAndTakesClicksAtItsTemplatePlaces) {
    const Family& family = GetParam();
    FamilySheet run(family);
    ASSERT_GT(run.sheet->GetPageCount(), 0);
    int templated = 0;
    for (int i = 0; i < run.sheet->GetPageCount(); ++i) {
        config::ConfigPage* page = run.sheet->GetPage(i);
        SCOPED_TRACE(page->Caption().toStdString());
        ASSERT_TRUE(run.ShowAndSettle(i));
        const gui::DialogTemplate* table = page->Template();
        if (!table)
            continue;  // laid out otherwise
        ++templated;
        QWidget* holder = TemplateHolder(*page);
        ASSERT_NE(holder, nullptr);
        const std::string name = GrabName(family, i, page->Caption());
        testutil::ExpectNothingCut(*holder, name.c_str());
        for (const std::string& fault : testutil::ControlsOffTheirPlaces(*holder, *table))
            ADD_FAILURE() << name << ": " << fault;
        const std::vector<testutil::TemplatePair> targets = ClickTargets(*holder, *table, 2);
        // A page may show nothing at all (the N5H's network page); one that shows controls offers some to click.
        const auto shown = [](const QWidget* w) {
            return w->isVisible() && w->property(gui::kTemplateIdProperty).isValid();
        };
        const QList<QWidget*> children = holder->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        if (std::any_of(children.begin(), children.end(), shown)) {
            EXPECT_FALSE(targets.empty()) << name << ": nothing to click";
        }
        for (const testutil::TemplatePair& target : targets)
            if (const std::string fault = ClickAtPlace(*holder, *table, target); !fault.empty())
                ADD_FAILURE() << name << ": " << fault;
    }
    EXPECT_GT(templated, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, SheetFamilies,
                         ::testing::Values(Family{"dvr", "R41T", "1058", false},
                                           Family{"dvr-linked", "R43T", "1058", true},
                                           Family{"server", "R47T", "1058", false},
                                           Family{"g66m", "G66M", "1010", false},
                                           Family{"n5h", "N51H", "1010", false}),
                         [](const ::testing::TestParamInfo<Family>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name))
                                 if (c != '-')
                                     name += c;
                             return name;
                         });

}  // namespace
}  // namespace recording
