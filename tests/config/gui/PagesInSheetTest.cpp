// The network, DDNS, mail, FTP, account and online-users pages inside the
// configuration sheet: untouched they send nothing, an edit reaches the
// device through Apply, and the pages talk to the sheet.

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "config/PageDevice.h"
#include "config/gui/AccountPropertyPage.h"
#include "config/gui/CDNSPage.h"
#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/MailPropertyPage.h"
#include "config/gui/MySystemDialog.h"
#include "config/gui/NetworkConfigPage.h"
#include "gui/StringText.h"
#include "simulator/PageSettings.h"
#include "support/WaitUntil.h"

namespace config {
namespace {

struct PagesInSheet : ::testing::Test {
    void Open(const char* product, const char* firmware,
              const std::function<void(devicesim::DeviceProfile&)>& change = {}) {
        Close();
        device = std::make_unique<testutil::PageDevice>(product, firmware, change);
        session::AppData& app = device->app;
        app.CSettingINI.m_strRecordPath = "";
        app.CSettingINI.m_strSnapshotPath = "";
        sheet = std::make_unique<MySystemDialog>(session::LoadText(3027), nullptr, 0, app, SheetPrefill::From(app));
        sheet->SetApplyTiming(device->timing, std::chrono::milliseconds(10));
        sheet->InitSheet();
        sheet->show();
    }

    template <typename Page>
    Page* Show(SheetPageId id) {
        auto* page = qobject_cast<Page*>(sheet->PageFor(id));
        EXPECT_NE(page, nullptr);
        EXPECT_TRUE(sheet->SetActivePage(page));
        return page;
    }

    bool Apply() {
        QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
        return testutil::WaitUntil([&] {
            QCoreApplication::processEvents();
            return !sheet->ApplyRunning();
        });
    }

    void Close() {
        sheet.reset();
        if (device)
            device->app.h_DeviceCommandWorker.Stop();
    }
    ~PagesInSheet() override { Close(); }

    std::unique_ptr<testutil::PageDevice> device;
    std::unique_ptr<MySystemDialog> sheet;
    testutil::ConfigMessageCapture messages;
};

TEST_F(PagesInSheet, EveryPageOpenedAndUntouchedSendsNothing) {
    for (const char* product : {"R41T", "R47T", "N51H"}) {
        Open(product, nullptr, [](auto& p) {
            // Capability 0x80 takes only "varuzarer", which the block holds.
            devicesim::SetNetwork(p, 10080, 7, 0x80);
            devicesim::SetDdns(p, "varuzarer", "d.example");
            devicesim::SetMailRecipients(p);
            devicesim::SetLongFtpServer(p);
            devicesim::SetAccounts(p);
        });
        for (int i = 0; i < sheet->GetPageCount(); ++i)
            sheet->SetActivePage(i);
        ASSERT_TRUE(Apply()) << product;
        EXPECT_TRUE(device->Stores().empty()) << product;
        EXPECT_TRUE(messages.texts.isEmpty()) << product;
    }
}

TEST_F(PagesInSheet, MailEditReachesTheDeviceThroughApply) {
    Open("R47T", "1007");
    auto* mail = Show<MailPropertyPage>(SheetPageId::Mail);
    mail->ServerEdit()->clear();
    QTest::keyClicks(mail->ServerEdit(), "smtp.example");
    ASSERT_TRUE(Apply());
    const auto stores = device->Stores();
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Param("Option"), "SMTP");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(device->DeviceBlock(4).data() + 8)), "smtp.example");
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(PagesInSheet, PppoeChosenWithDdnsOffIsRefused) {
    Open("R41T", "1052", [](auto& p) {
        devicesim::SetNetwork(p, 80, 0);
        devicesim::SetDdns(p, "dyndns", "d.example", false);
    });
    auto* network = Show<NetworkConfigPage>(SheetPageId::Network);
    network->TypeButton(kNetworkPppoe)->click();
    QTest::mouseClick(sheet->ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4101)});
    EXPECT_TRUE(sheet->isVisible());

    auto* ddns = Show<CDNSPage>(SheetPageId::Ddns);
    ddns->DdnsOn()->click();
    ASSERT_TRUE(Apply());
    EXPECT_EQ(device->DeviceBlock(1)[22], 1);
    EXPECT_EQ(device->DeviceBlock(4)[5], 1);
    EXPECT_EQ(device->app.CSettingINI.m_strServerName.Get(), "d.example");
}

TEST_F(PagesInSheet, DdnsPageReadsTheNetworkPagesChoiceAndAccountEditingHoldsTheButtons) {
    Open("R41T", "1052", [](auto& p) {
        devicesim::SetNetwork(p, 80, 0);
        devicesim::SetAccounts(p);
    });
    auto* network = Show<NetworkConfigPage>(SheetPageId::Network);
    network->TypeButton(kNetworkDhcp)->click();
    auto* ddns = Show<CDNSPage>(SheetPageId::Ddns);
    EXPECT_TRUE(ddns->AutoBox()->isVisible());

    auto* accounts = Show<AccountPropertyPage>(SheetPageId::Account);
    accounts->AddAccount();
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());
    EXPECT_FALSE(sheet->ExitButton()->isEnabled());
    accounts->CloseEdit();
    EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
}

}  // namespace
}  // namespace config
