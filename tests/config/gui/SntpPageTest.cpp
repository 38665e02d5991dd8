// The time server page, offscreen over a simulated video server: what it
// shows, the synchronisation request and the block-8 store that follows it.

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include "config/PageDevice.h"
#include "config/gui/CSNTPPage.h"
#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/MySystemDialog.h"
#include "config/gui/SntpPageTemplate.h"
#include "gui/StringText.h"
#include "simulator/PageSettings.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"
#include "support/WaitUntil.h"

namespace config {
namespace {

using devicesim::Bytes;

struct SntpPage : ::testing::Test {
    void Open(const std::function<void(devicesim::DeviceProfile&)>& change = devicesim::SetSntp) {
        device = std::make_unique<testutil::PageDevice>("R47T", "1007", change);
        set = device->OpenSet();
        page = std::make_unique<CSNTPPage>(set, device->app);
        page->SetTiming(device->timing);
        page->show();
    }

    void PickZone(int zone) {
        page->ZoneList()->setCurrentIndex(zone);
        emit page->ZoneList()->activated(zone);
    }

    std::string SyncAndWait() {
        QSignalSpy done(page.get(), &CSNTPPage::Synchronised);
        page->SyncButton()->click();
        EXPECT_TRUE(done.wait(5000));
        const auto requests = device->device->RequestsFor("/SyncTime.cgi");
        return requests.empty() ? std::string() : requests.back().target;
    }

    ~SntpPage() override {
        page.reset();
        if (device)
            device->app.h_DeviceCommandWorker.Stop();
    }

    std::unique_ptr<testutil::PageDevice> device;
    std::shared_ptr<ConfigWorkingSet> set;
    std::unique_ptr<CSNTPPage> page;
    testutil::ConfigMessageCapture messages;
};

QLabel* LabelWithText(const QWidget& page, const QString& text) {
    for (QLabel* label : page.findChildren<QLabel*>())
        if (label->text() == text)
            return label;
    return nullptr;
}

TEST_F(SntpPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    Open();
    testutil::ExpectTemplateGeometry(kSntpPageTemplate,
                                     [&] { return std::make_unique<CSNTPPage>(set, device->app); });
    testutil::ExpectNothingCut(*page, "sntp-page-server-time");
    page->PersonTimeButton()->click();
    testutil::ExpectNothingCut(*page, "sntp-page-person-time");
}

TEST_F(SntpPage, ThePickersAndTheirLabelsStandAtTheirScaledPixelPlaces) {
    Open();
    for (const float scale : {1.0f, 1.5f}) {
        SCOPED_TRACE(scale);
        device->app.fl_DpiScale = scale;
        CSNTPPage made(set, device->app);
        const int at = int(100 * scale);
        const int labelX = int(40 * scale);
        EXPECT_EQ(made.DatePicker()->geometry(), QRect(at, at, 120, 20));
        EXPECT_EQ(made.TimePicker()->geometry(), QRect(at, at + 40, 120, 20));
        ASSERT_NE(LabelWithText(made, "Date"), nullptr);
        ASSERT_NE(LabelWithText(made, "Time"), nullptr);
        EXPECT_EQ(LabelWithText(made, "Date")->geometry(), QRect(labelX, at, 50, 20));
        EXPECT_EQ(LabelWithText(made, "Time")->geometry(), QRect(labelX, at + 40, 50, 20));
    }
    // At the usual scale they lie inside the settings box.
    const QGroupBox* box = page->findChild<QGroupBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), "Ustawienia");
    for (const QWidget* created : {static_cast<QWidget*>(page->DatePicker()), static_cast<QWidget*>(page->TimePicker()),
                                   static_cast<QWidget*>(LabelWithText(*page, "Date")),
                                   static_cast<QWidget*>(LabelWithText(*page, "Time"))})
        EXPECT_TRUE(box->geometry().contains(created->geometry())) << created->metaObject()->className();
}

TEST_F(SntpPage, AutomaticZone18SynchronisesThenStoresBlock8Once) {
    Open();
    const Bytes before = device->DeviceBlock(8);
    PickZone(18);
    page->AutomaticButton()->click();
    EXPECT_FALSE(page->ServerEdit()->isEnabled());
    EXPECT_EQ(SyncAndWait(), "/SyncTime.cgi?Cookie=5A17C0DE&Mode=1&ServerMode=1&NationID=18&Hour=-3&Minute=-30");
    const auto stores = device->Stores();
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Param("Option"), "SNTP");
    const Bytes after = device->DeviceBlock(8);
    EXPECT_EQ(after[5], 18);
    EXPECT_EQ(after[2], 0xFD);
    EXPECT_EQ(after[3], 0xE2);
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i >= 8) {
            EXPECT_EQ(after[i], 0) << i;
        } else if (i != 2 && i != 3 && i != 5) {
            EXPECT_EQ(after[i], before[i]) << i;
        }
    }
    EXPECT_TRUE(messages.texts.isEmpty());

    page->PullControls();
    SendSntpConfig(page->Values(), *set, device->Store(*set));
    EXPECT_EQ(device->Stores().size(), 1u);  // Apply afterwards sends nothing more
}

TEST_F(SntpPage, PersonsTimeAndNamedServerRequests) {
    Open([](auto& p) {
        devicesim::SetSntp(p);
        p.checkCookie = false;
    });
    page->PersonTimeButton()->click();
    EXPECT_TRUE(page->DatePicker()->isVisible());
    EXPECT_FALSE(page->ZoneList()->isVisible());
    page->DatePicker()->setDate(QDate(2007, 1, 5));
    page->TimePicker()->setTime(QTime(14, 3, 9));
    device->app.SessionCookie = "";
    EXPECT_EQ(SyncAndWait(), "/SyncTime.cgi?Mode=0&Year=2007&Month=1&Day=5&Hour=14&Minute=3&Second=9");

    device->app.SessionCookie = testutil::PageDevice::kCookie;
    page->ServerTimeButton()->click();
    page->NamedServerButton()->click();
    page->ServerEdit()->clear();
    QTest::keyClicks(page->ServerEdit(), "pool.example");
    EXPECT_EQ(SyncAndWait(),
              "/SyncTime.cgi?Cookie=5A17C0DE&Mode=1&ServerMode=0&Server=pool.example&NationID=30&Hour=1&Minute=0");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(device->DeviceBlock(8).data() + 8)), "pool.example");
}

TEST_F(SntpPage, RefusedSynchronisationIsReportedAndTheStoreStillFollows) {
    Open();
    device->device->AddFault("/SyncTime.cgi", devicesim::Fault::Status(500));
    PickZone(18);
    SyncAndWait();
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4064)});
    ASSERT_EQ(device->Stores().size(), 1u);
    EXPECT_EQ(device->DeviceBlock(8)[5], 18);
}

TEST_F(SntpPage, FailedSynchronisationStoreLeavesItToApply) {
    Open();
    device->device->AddFault("/SetSysCfg.cgi", devicesim::Fault::Status(500));
    PickZone(18);
    SyncAndWait();
    page->PullControls();
    SendSntpConfig(page->Values(), *set, device->Store(*set));
    EXPECT_EQ(device->Stores().size(), 2u);
    EXPECT_EQ(device->DeviceBlock(8)[5], 18);
}

TEST_F(SntpPage, EmptyNameIsAutomaticAndAnUnknownZoneHoldsTheButton) {
    Open([](auto& p) {
        devicesim::SetSntp(p);
        devicesim::PutBlockText(p, 8, 8, 28, "");
        p.blocks[8][5] = 80;
    });
    EXPECT_TRUE(page->AutomaticButton()->isChecked());
    EXPECT_FALSE(page->ServerEdit()->isEnabled());
    EXPECT_EQ(page->ZoneList()->currentIndex(), -1);
    EXPECT_FALSE(page->SyncButton()->isEnabled());
    page->PersonTimeButton()->click();
    EXPECT_TRUE(page->SyncButton()->isEnabled());
    page->ServerTimeButton()->click();
    page->PullControls();
    SendSntpConfig(page->Values(), *set, device->Store(*set));
    EXPECT_TRUE(device->Stores().empty());
}

// A sheet deleted (a second setup press, a disconnect) while its synchronisation waits for the
// device: the job still stores block 8 afterwards, into working copies that must outlive the sheet.
TEST(SntpPageInSheet, SheetDeletedDuringSynchronisationLeavesTheJobItsBlocks) {
    testutil::ConfigMessageCapture messages;
    testutil::PageDevice device("R47T", "1007", devicesim::SetSntp);
    device.device->AddFault("/SyncTime.cgi", devicesim::Fault::Delay(std::chrono::milliseconds(300)));
    auto sheet = std::make_unique<MySystemDialog>(session::LoadText(3027), nullptr, 0, device.app,
                                                  SheetPrefill::From(device.app));
    sheet->InitSheet();
    sheet->show();
    auto* page = dynamic_cast<CSNTPPage*>(sheet->PageFor(SheetPageId::Sntp));
    ASSERT_NE(page, nullptr);
    sheet->SetActivePage(page);
    page->SetTiming(device.timing);
    page->ZoneList()->setCurrentIndex(18);
    emit page->ZoneList()->activated(18);
    page->SyncButton()->click();
    sheet.reset();

    EXPECT_TRUE(testutil::WaitUntil([&] {
        QCoreApplication::processEvents();
        return device.app.h_DeviceCommandWorker.Pending() == 0;
    }));
    EXPECT_EQ(device.Targets("/SyncTime.cgi").size(), 1u);
    ASSERT_EQ(device.Stores().size(), 1u);
    EXPECT_EQ(device.DeviceBlock(8)[5], 18);
}

}  // namespace
}  // namespace config
