// The tree property sheet offscreen, with placeholder pages captioned as the
// real ones: its tree per family, selection and its veto, the keyboard walk,
// the page frame and the progress strip.

#include <QPainter>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <thread>

#include "config/ConfigWorkingSet.h"
#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/PageFrame.h"
#include "config/gui/PlaceholderPage.h"
#include "config/gui/SheetProgressStrip.h"
#include "config/gui/TreePropSheet.h"
#include "session/AppData.h"
#include "support/WaitUntil.h"

namespace config {
namespace {

using namespace caption;

const std::vector<std::string_view> kDvrPages{kNetwork,  kDdns,       kMail,      kFtp,        kCamera,
                                              kDevice,   kDetection,  kDownload,  kEvent,      kTimerRecord,
                                              kDvrDate,  kDvrRecord,  kAlarm,     kAlarmData,  kToolBox,
                                              kAccount,  kOnlineUsers, kRecordPaths};
const std::vector<std::string_view> kVideoServerPages{kNetwork, kDdns,     kMail,    kFtp,
                                                      kSntp,    kAlarm,    kAlarmData, kToolBox,
                                                      kAccount, kPeripheral, kOnlineUsers, kRecordPaths};

class LeaveRefusingPage : public PlaceholderPage {
public:
    using PlaceholderPage::PlaceholderPage;
    unsigned refusal = 0;

protected:
    unsigned LeaveRefusal() override { return refusal; }
};

struct SheetFixture : ::testing::Test {
    void Build(const char* product, const std::vector<std::string_view>& captions) {
        set = std::make_unique<ConfigWorkingSet>(app, DeviceFacts{product, "1052"});
        sheet = std::make_unique<CTreePropSheet>(QStringLiteral("Ustawienia systemu"), nullptr, product);
        for (auto caption : captions) {
            auto* page = new LeaveRefusingPage(QString::fromUtf8(caption.data(), caption.size()), *set, sheet.get());
            pages.push_back(page);
            sheet->AddPage(page);
        }
        sheet->InitSheet();
    }
    QStringList Roots() const {
        QStringList roots;
        for (int i = 0; i < sheet->Tree()->topLevelItemCount(); ++i)
            roots << sheet->Tree()->topLevelItem(i)->text(0);
        return roots;
    }
    QTreeWidgetItem* Item(const QString& text) const {
        const auto found = sheet->Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.front();
    }
    int IndexOf(std::string_view caption) const {
        for (std::size_t i = 0; i < pages.size(); ++i)
            if (pages[i]->Caption() == QString::fromUtf8(caption.data(), caption.size()))
                return int(i);
        return -1;
    }

    session::AppData app;
    std::unique_ptr<ConfigWorkingSet> set;
    std::unique_ptr<CTreePropSheet> sheet;
    std::vector<LeaveRefusingPage*> pages;
};

TEST_F(SheetFixture, DvrTreeHasFourRootsAndFrameTitles) {
    Build("R41T", kDvrPages);
    EXPECT_EQ(Roots(), (QStringList{"Sieć   ", "DVR", "Alarm", "Ogólne "}));
    EXPECT_EQ(Item("Sieć   ")->childCount(), 3);  // DDNS, Mail, FTP
    EXPECT_EQ(Item("DVR")->childCount(), 7);
    EXPECT_EQ(Item("Ogólne ")->childCount(), 3);
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_EQ(sheet->Frame()->GetCaption(), "Sieć   ");

    ASSERT_TRUE(sheet->SetActivePage(IndexOf(kDevice)));
    EXPECT_EQ(sheet->Frame()->GetCaption(), "DVR-Urządz.");
    sheet->Tree()->setCurrentItem(Item("DVR"));
    EXPECT_EQ(sheet->GetActiveIndex(), IndexOf(kCamera));
    EXPECT_EQ(sheet->Frame()->GetCaption(), "DVR-KAMERA");
    EXPECT_TRUE(pages[IndexOf(kCamera)]->WasFilled());
    EXPECT_FALSE(pages[IndexOf(kMail)]->WasFilled());
    EXPECT_EQ(sheet->BannerText(), "16CH DVR");
}

TEST_F(SheetFixture, VideoServerTreeHasNoDvrRoot) {
    Build("R47T", kVideoServerPages);
    EXPECT_EQ(Roots(), (QStringList{"Sieć   ", "Alarm", "Ogólne "}));
    EXPECT_EQ(Item("Sieć   ")->childCount(), 4);
    EXPECT_EQ(Item("Ogólne ")->childCount(), 4);
    sheet->SetActivePage(IndexOf(kSntp));
    EXPECT_EQ(sheet->Frame()->GetCaption(), "Server Time Config");
}

TEST_F(SheetFixture, CtrlTabWrapsAroundTheTree) {
    Build("R47T", kVideoServerPages);
    sheet->SetActivePage(IndexOf(kRecordPaths));  // the last item
    sheet->ActivateNextPage();
    EXPECT_EQ(sheet->Tree()->currentItem()->text(0), "Sieć   ");
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    sheet->ActivatePreviousPage();
    EXPECT_EQ(sheet->Tree()->currentItem()->text(0), "Ścieżka  ");
    sheet->ActivatePreviousPage();
    EXPECT_EQ(sheet->Tree()->currentItem()->text(0), "Podłączeni użyt.");

    sheet->SetActivePage(IndexOf(kFtp));
    sheet->ActivateNextPage();  // the last child of its parent: on to the parent's next sibling
    EXPECT_EQ(sheet->Tree()->currentItem()->text(0), "Server Time Config");
    sheet->ActivateNextPage();
    EXPECT_EQ(sheet->Tree()->currentItem()->text(0), "Alarm");
}

TEST_F(SheetFixture, CtrlTabAndCtrlShiftTabKeysMoveThroughTheTree) {
    Build("R47T", kVideoServerPages);
    sheet->show();
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    sheet->SetActivePage(IndexOf(kRecordPaths));  // the last item
    sheet->Tree()->setFocus();
    const auto current = [&] { return sheet->Tree()->currentItem()->text(0); };
    QTest::keyClick(sheet->Tree(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(current(), "Sieć   ");
    // Shift+Tab as most keyboards give it (Backtab), and as plain Tab with Shift.
    QTest::keyClick(sheet->Tree(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(current(), "Ścieżka  ");
    QTest::keyClick(sheet->Tree(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(current(), "Podłączeni użyt.");
    QTest::keyClick(sheet->Tree(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(current(), "Ścieżka  ");
}

TEST_F(SheetFixture, PageRefusingToBeLeftKeepsTheTreeOnIt) {
    Build("R41T", kDvrPages);
    testutil::ConfigMessageCapture messages;
    pages[0]->refusal = 4046;
    sheet->Tree()->setCurrentItem(Item("Mail"));
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_EQ(sheet->Tree()->currentItem()->text(0), "Sieć   ");
    EXPECT_EQ(messages.texts.size(), 1);
    EXPECT_FALSE(sheet->SetActivePage(IndexOf(kAlarm)));
    pages[0]->refusal = 0;
    EXPECT_TRUE(sheet->SetActivePage(IndexOf(kAlarm)));
}

TEST_F(SheetFixture, ProgressCommandsFromAnyThreadReachTheStripInOrder) {
    Build("R41T", kDvrPages);
    std::thread writer([] {
        g_lpSheetProgress().Begin();
        g_lpSheetProgress().SetRange(200);
        g_lpSheetProgress().SetPos(50);
    });
    writer.join();
    ASSERT_TRUE(testutil::WaitUntil([&] {
        QCoreApplication::processEvents();
        return sheet->Progress()->State().position == 50;
    }));
    const auto drawing = sheet->Progress()->Drawing();
    ASSERT_TRUE(drawing);
    EXPECT_EQ(drawing->percent, " 25 %");
    EXPECT_EQ(drawing->fillWidth, (sheet->Progress()->width() - 4) / 4);
    sheet->grab();  // paints without trouble

    sheet.reset();
    EXPECT_FALSE(g_lpSheetProgress().Attached());
    g_lpSheetProgress().SetPos(60);  // nothing left to reach
    QCoreApplication::processEvents();
}

TEST(PageFrame, MessageAreaCaptionElisionAndEmptyMessage) {
    DefaultPageFrame frame;
    frame.resize(200, 120);
    frame.ShowCaption(true);
    frame.SetCaptionHeight(20);
    EXPECT_EQ(frame.CalcMsgArea().top(), 21);
    EXPECT_EQ(frame.CalcCaptionArea().height(), 20);

    frame.SetCaption(QString(200, QChar('W')));
    EXPECT_TRUE(frame.DisplayedCaption().endsWith(QChar(0x2026)));
    frame.SetCaption(QStringLiteral("DDNS"));
    EXPECT_EQ(frame.DisplayedCaption(), "DDNS");

    frame.ShowCaption(false);
    const QImage shot = frame.grab().toImage();
    const QColor background = shot.pixelColor(0, 0);
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3)
            ASSERT_EQ(shot.pixelColor(x, y), background) << x << "," << y;
}

}  // namespace
}  // namespace config
