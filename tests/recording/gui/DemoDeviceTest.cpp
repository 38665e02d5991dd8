// The device of the --demo run, offscreen in the configuration sheet with its
// recording pages: every page of the family is there and enabled, and no page
// shows a filler text or number; its disks hold recordings a search lists.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "config/gui/SheetRun.h"
#include "config/sheet/SheetPageSet.h"
#include "recording/gui/CEventPage.h"
#include "recording/gui/RecordListDialog.h"
#include "recording/gui/RecordingPages.h"
#include "simulator/DemoProfile.h"
#include "support/ChildWidget.h"
#include "support/WaitWithEvents.h"

namespace recording {
namespace {

using testutil::WaitWithEvents;

struct DemoSheet : testutil::SheetRun {
    DemoSheet() : SheetRun("R41T", nullptr, [](devicesim::DeviceProfile& p) { p = devicesim::DemoProfile(); }) {
        app.w_UserLevel = 30;
        previous = config::SetRecordingPageMaker(&pages);
        Open();
    }
    ~DemoSheet() {
        sheet.reset();
        config::SetRecordingPageMaker(previous);
    }
    // Shows the page and waits for the reads it starts.
    void ShowAndSettle(int index) {
        sheet->SetActivePage(index);
        EXPECT_TRUE(WaitWithEvents([&] { return app.h_DeviceCommandWorker.Pending() == 0; }));
        QTest::qWait(20);  // the reads' answers, queued to the page
    }

    RecordingPages pages{timing};
    config::RecordingPageMaker* previous = nullptr;
};

// Every text a page shows the person: edits, lists, tables, trees and labels.
QStringList ShownTexts(QWidget& page) {
    QStringList texts;
    for (auto* edit : page.findChildren<QLineEdit*>())
        texts << edit->text();
    for (auto* box : page.findChildren<QComboBox*>())
        texts << box->currentText();
    for (auto* label : page.findChildren<QLabel*>())
        texts << label->text();
    for (auto* list : page.findChildren<QListWidget*>())
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
    for (auto* tree : page.findChildren<QTreeWidget*>())
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            for (int c = 0; c < tree->columnCount(); ++c)
                texts << tree->topLevelItem(i)->text(c);
    for (auto* table : page.findChildren<QTableWidget*>())
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount(); ++c)
                if (auto* item = table->item(r, c))
                    texts << item->text();
    return texts;
}

// The test profiles' filler: runs of the alphabet ("KLMNOPQR") and numbers
// made of block bytes ("2018717193").
bool LooksLikeFiller(const QString& text) {
    for (int i = 0; i + 3 < text.size(); ++i) {
        const QChar c = text[i].toUpper();
        if (c.isLetter() && text[i + 1].toUpper().unicode() == c.unicode() + 1 &&
            text[i + 2].toUpper().unicode() == c.unicode() + 2 && text[i + 3].toUpper().unicode() == c.unicode() + 3)
            return true;
    }
    static const QRegularExpression longNumber(QStringLiteral("\\d{7,}"));
    return longNumber.match(text).hasMatch();
}

TEST(DemoDevice, EveryPageIsThereEnabledAndReadsAsARealDevice) {
    DemoSheet run;
    const auto expected = config::PageSetFor(config::DeviceFacts::From(run.app), false);
    ASSERT_EQ(run.sheet->GetPageCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < run.sheet->GetPageCount(); ++i) {
        run.ShowAndSettle(i);
        config::ConfigPage* page = run.sheet->GetPage(i);
        const std::string name = page->Caption().toStdString();
        EXPECT_TRUE(page->PageEnabled()) << name;
        int enabledInputs = 0;
        for (auto* input : page->findChildren<QWidget*>())
            if ((qobject_cast<QLineEdit*>(input) || qobject_cast<QComboBox*>(input) ||
                 qobject_cast<QAbstractButton*>(input)) &&
                input->isEnabled())
                ++enabledInputs;
        EXPECT_GT(enabledInputs, 0) << name << ": nothing to change";
        for (const QString& text : ShownTexts(*page))
            EXPECT_FALSE(LooksLikeFiller(text)) << name << ": \"" << text.toStdString() << "\"";
    }
}

TEST(DemoDevice, ASearchOfItsDisksListsRecordings) {
    DemoSheet run;
    auto* page = run.Show<CEventPage>(config::SheetPageId::Event);
    ASSERT_TRUE(page && WaitWithEvents([&] { return page->DisksRead(); }));
    auto* disks = testutil::Child<QComboBox>(*page, "disk");
    ASSERT_EQ(disks->count(), 2);
    int rows = -1;
    page->SetRecordListRunner([&](RecordListDialog& list) {
        rows = list.List()->topLevelItemCount();
        return 0;
    });
    QTest::mouseClick(testutil::Child<QPushButton>(*page, "load"), Qt::LeftButton);
    EXPECT_TRUE(WaitWithEvents([&] { return !page->Searching(); }));
    EXPECT_GE(rows, 8);
}

}  // namespace
}  // namespace recording
