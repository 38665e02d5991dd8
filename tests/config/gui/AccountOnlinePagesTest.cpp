// The account and online-users pages, offscreen over a simulated device.

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "config/PageDevice.h"
#include "config/gui/AccountPageTemplate.h"
#include "config/gui/AccountPropertyPage.h"
#include "config/gui/COnlineUserPage.h"
#include "config/gui/OnlineUserPageTemplate.h"
#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/NumberEdit.h"
#include "gui/StringText.h"
#include "simulator/PageSettings.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace config {
namespace {

using session::LoadText;

TEST(AccountPropertyPage, FillingTheMaximumRunsItsRuleWithItsMessage) {
    struct Case {
        std::uint8_t stored;
        const char* shown;
        bool message;
    };
    for (const Case c : {Case{97, "5", true}, Case{0, "3", true}, Case{4, "4", false}, Case{1, "1", false}}) {
        testutil::PageDevice device("R47T", "1007", [&](auto& p) {
            devicesim::SetAccounts(p);
            p.blocks[2][2] = c.stored;
        });
        auto set = device.OpenSet();
        AccountPropertyPage page(*set, device.app);
        testutil::ConfigMessageCapture messages;
        page.show();
        EXPECT_EQ(page.MaxUsersEdit()->text(), c.shown) << int(c.stored);
        EXPECT_EQ(messages.texts, c.message ? QStringList{LoadText(4043)} : QStringList{}) << int(c.stored);
        EXPECT_EQ(page.Values().maxUsers.Current(), QString(c.shown).toInt());
        // Now an account can be added below the maximum.
        page.AddAccount();
        EXPECT_EQ(page.EditGroupOpen(), QString(c.shown).toInt() > 2) << int(c.stored);
    }
}

TEST(AccountPropertyPage, MaximumIsHeldToOneToFive) {
    testutil::PageDevice device("R47T", "1007", [](auto& p) {
        devicesim::SetAccounts(p);
        p.blocks[2][2] = 2;
    });
    auto set = device.OpenSet();
    AccountPropertyPage page(*set, device.app);
    testutil::ConfigMessageCapture messages;
    page.show();
    NumberEdit* max = page.MaxUsersEdit();
    EXPECT_EQ(max->text(), "2");
    EXPECT_TRUE(messages.texts.isEmpty());
    ASSERT_EQ(page.List()->topLevelItemCount(), 2);

    max->clear();
    QTest::keyClicks(max, "9");
    EXPECT_EQ(max->text(), "5");
    max->clear();
    QTest::keyClicks(max, "0");
    emit max->editingFinished();
    EXPECT_EQ(max->text(), "3");
    EXPECT_EQ(messages.texts, (QStringList{LoadText(4043), LoadText(4043)}));
    EXPECT_EQ(page.Values().maxUsers.Current(), 3);

    max->clear();
    QTest::keyClick(max, Qt::Key_Backspace);
    EXPECT_FALSE(page.ConfirmLeave());
    EXPECT_EQ(messages.texts.back(), LoadText(4042));
}

TEST(AccountPropertyPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::PageDevice device("R41T", "1052", devicesim::SetAccounts);
    auto set = device.OpenSet();
    testutil::ExpectTemplateGeometry(kAccountPageTemplate,
                                     [&] { return std::make_unique<AccountPropertyPage>(*set, device.app); });
    AccountPropertyPage page(*set, device.app);
    page.show();
    page.AddAccount();  // the edit group shows too
    ASSERT_TRUE(page.EditGroupOpen());
    testutil::ExpectNothingCut(page, "account-page");
    // A click at "DODAJ"'s template place lands on it.
    const QRect place = gui::TemplateUnits(kAccountPageTemplate).Rect(kAccountPageTemplate.Find(1285)->rect);
    EXPECT_EQ(page.childAt(place.center()), page.findChild<QPushButton*>(QStringLiteral("add")));
}

TEST(AccountPropertyPage, EditGroupAddsAnAccountWithoutBlanksAndWaitsForTheSheet) {
    testutil::PageDevice device("R41T", "1052", devicesim::SetAccounts);
    auto set = device.OpenSet();
    AccountPropertyPage page(*set, device.app);
    testutil::ConfigMessageCapture messages;
    QSignalSpy editing(&page, &AccountPropertyPage::EditingChanged);
    page.show();
    EXPECT_FALSE(page.NameEdit()->isVisible());

    page.AddAccount();
    EXPECT_TRUE(page.EditGroupOpen());
    EXPECT_TRUE(page.NameEdit()->isVisible());
    QTest::keyClicks(page.NameEdit(), "a b");
    EXPECT_EQ(page.NameEdit()->text(), "ab");
    QTest::keyClicks(page.NameEdit(), QString(20, 'c'));
    EXPECT_EQ(page.NameEdit()->text().size(), 15);
    QTest::keyClicks(page.PasswordEdit(), "p w");
    page.LevelList()->setCurrentIndex(2);
    page.ActivityList()->setCurrentIndex(2);
    page.SaveAccount();
    EXPECT_FALSE(page.EditGroupOpen());
    ASSERT_EQ(page.List()->topLevelItemCount(), 3);
    EXPECT_EQ(page.List()->topLevelItem(2)->text(1), LoadText(3012));
    EXPECT_EQ(page.Values().accounts[2].password, "pw");
    ASSERT_EQ(editing.count(), 2);
    EXPECT_EQ(editing[0][0].toBool(), true);
    EXPECT_EQ(editing[1][0].toBool(), false);

    page.DeleteAccount();
    page.EditAccount();
    EXPECT_EQ(messages.texts, (QStringList{LoadText(4086), LoadText(4087)}));
    page.List()->topLevelItem(1)->setSelected(true);
    page.DeleteAccount();
    EXPECT_EQ(messages.texts.back(), LoadText(4069));
    page.EditAccount();
    EXPECT_FALSE(page.List()->isEnabled());
    EXPECT_EQ(page.NameEdit()->text(), "TOVIK");
    EXPECT_TRUE(page.ConfirmLeave());  // leaving closes the group
    EXPECT_FALSE(page.EditGroupOpen());
    EXPECT_TRUE(page.List()->isEnabled());
}

TEST(COnlineUserPage, StandsWhereItsTemplatePutsItWithEveryHeadingWhole) {
    testutil::PageDevice device("R41T", "1052", [](auto& p) { p.multiChannel = 1; });
    auto set = device.OpenSet();
    testutil::ExpectTemplateGeometry(kOnlineUserPageTemplate,
                                     [&] { return std::make_unique<COnlineUserPage>(*set, device.app); });
    COnlineUserPage page(*set, device.app);
    page.show();
    // "Rozdzielczość" needs more than its given 60 pixels; "Adres IP" keeps its 80.
    EXPECT_GT(page.List()->header()->sectionSize(3), 60);
    EXPECT_EQ(page.List()->header()->sectionSize(1), 80);
    testutil::ExpectNothingCut(page, "online-users-page");
    device.app.h_DeviceCommandWorker.Stop();
}

TEST(COnlineUserPage, RefreshShowsTheDevicesNewListAndKeepsTheRowsWhenRefused) {
    testutil::PageDevice device("R41T", "1052", [](auto& p) {
        p.multiChannel = 1;
        devicesim::SetOnlineUsers(p, {{"ala", {10, 0, 0, 7}, 30, 3, 0, 0}, {"", {}, 0, 0, 0, 0},
                                      {"ola", {10, 0, 0, 8}, 10, 0, 1, 2}});
    });
    auto set = device.OpenSet();
    COnlineUserPage page(*set, device.app);
    page.SetTiming(device.timing);
    testutil::ConfigMessageCapture messages;
    page.show();
    QTreeWidget* list = page.List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->columnCount(), 6);
    EXPECT_EQ(list->topLevelItem(0)->text(5), " 3");
    EXPECT_EQ(list->topLevelItem(1)->text(5), "DVR");

    device.device->AddFault("/GetSysCfg.cgi", devicesim::Fault::Status(500));
    QSignalSpy refreshed(&page, &COnlineUserPage::Refreshed);
    page.RefreshButton()->click();
    ASSERT_TRUE(refreshed.wait(5000));
    EXPECT_EQ(messages.texts, QStringList{LoadText(4029)});
    EXPECT_EQ(list->topLevelItemCount(), 2);

    device.device->UpdateProfile(
        [](auto& p) { devicesim::SetOnlineUsers(p, {{"ewa", {10, 0, 0, 9}, 20, 1, 2, 0}}); });
    page.RefreshButton()->click();
    ASSERT_TRUE(refreshed.wait(5000));
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "ewa");
    const auto requests = device.device->RequestsFor("/GetSysCfg.cgi");
    EXPECT_EQ(requests.back().Param("Option"), "ONLINE");
    EXPECT_EQ(requests.back().Param("Size"), "240");
    device.app.h_DeviceCommandWorker.Stop();
}

}  // namespace
}  // namespace config
