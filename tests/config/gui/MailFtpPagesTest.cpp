// The mail and FTP pages, offscreen over a simulated device's blocks: what
// they show, what typing does, and that untouched pages change no block.

#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "config/PageDevice.h"
#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/FTPPropertyPage.h"
#include "config/gui/FtpPageTemplate.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/MailAccountDialog.h"
#include "config/gui/MailAccountDialogTemplate.h"
#include "config/gui/MailPageTemplate.h"
#include "config/gui/MailPropertyPage.h"
#include "config/gui/NumberEdit.h"
#include "gui/StringText.h"
#include "simulator/PageSettings.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace config {
namespace {

using session::LoadText;

void SetAuth(devicesim::DeviceProfile& profile, std::uint8_t auth) {
    devicesim::Bytes block = profile.Block(4);
    block[4] = auth;
    profile.blocks[4] = block;
}

TEST(MailPropertyPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::PageDevice device("R41T", "1052", devicesim::SetMailRecipients);
    auto set = device.OpenSet();
    testutil::ExpectTemplateGeometry(kMailPageTemplate, [&] { return std::make_unique<MailPropertyPage>(*set); });
    MailPropertyPage page(*set);
    page.show();
    testutil::ExpectNothingCut(page, "mail-page");
}

TEST(MailPropertyPage, SenderTypingStopsAtTheDevicesLimit) {
    for (const auto& [firmware, limit] : {std::pair{"1026", 15}, std::pair{"1027", 42}}) {
        testutil::PageDevice device("R41T", firmware);
        auto set = device.OpenSet();
        MailPropertyPage page(*set);
        page.show();
        page.SenderEdit()->clear();
        QTest::keyClicks(page.SenderEdit(), QString(50, 'a'));
        EXPECT_EQ(page.SenderEdit()->text().size(), limit) << firmware;
    }
}

TEST(MailPropertyPage, AuthenticationRadiosFollowTheStoredValue) {
    struct Case {
        std::uint8_t auth;
        bool yes, no, editsEnabled;
    };
    for (const Case c : {Case{0, false, true, false}, Case{2, true, false, true}, Case{1, false, false, true}}) {
        testutil::PageDevice device("R47T", "1007", [&](auto& p) { SetAuth(p, c.auth); });
        auto set = device.OpenSet();
        MailPropertyPage page(*set);
        page.show();
        EXPECT_EQ(page.AuthYes()->isChecked(), c.yes) << int(c.auth);
        EXPECT_EQ(page.AuthNo()->isChecked(), c.no) << int(c.auth);
        EXPECT_EQ(page.UserEdit()->isEnabled(), c.editsEnabled) << int(c.auth);
        page.PullControls();
        WriteMailChanges(page.Values(), *set);
        EXPECT_FALSE(set->Changed(4)) << int(c.auth);
    }
}

TEST(MailPropertyPage, RecipientListAddsDeletesAndEdits) {
    testutil::PageDevice device("R41T", "1052", devicesim::SetMailRecipients);
    auto set = device.OpenSet();
    MailPropertyPage page(*set);
    testutil::ConfigMessageCapture messages;
    std::vector<std::pair<QString, QString>> asked;
    std::optional<QString> answer;
    page.SetAccountDialogRunner([&](const QString& prompt, const QString& address) {
        asked.emplace_back(prompt, address);
        return answer;
    });
    page.show();
    QTreeWidget* list = page.Recipients();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "john@x.pl");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "x");

    page.DeleteRecipient();
    page.EditRecipient();
    EXPECT_EQ(messages.texts, (QStringList{LoadText(4088), LoadText(4089)}));

    answer = QString();  // OK with nothing typed adds nothing
    page.AddRecipient();
    EXPECT_EQ(list->topLevelItemCount(), 2);
    answer = "a@b.pl";
    page.AddRecipient();
    page.AddRecipient();
    EXPECT_EQ(list->topLevelItemCount(), 4);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].first, LoadText(8329));
    page.AddRecipient();
    EXPECT_EQ(messages.texts.back(), LoadText(4041));
    EXPECT_EQ(asked.size(), 3u);

    list->topLevelItem(0)->setSelected(true);
    answer = QString();  // an edit that ends empty keeps the row
    page.EditRecipient();
    EXPECT_EQ(asked.back(), (std::pair{LoadText(8330), QString("john@x.pl")}));
    EXPECT_EQ(list->topLevelItem(0)->text(0), "john@x.pl");
    page.DeleteRecipient();
    EXPECT_EQ(list->topLevelItemCount(), 3);
    EXPECT_TRUE(page.Values().recipientsChanged);
}

TEST(MailAccountDialog, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::ExpectTemplateGeometry(kMailAccountDialogTemplate,
                                     [] { return std::make_unique<MailAccountDialog>(LoadText(8330), QString()); });
    for (const int prompt : {8329, 8330}) {
        MailAccountDialog dialog(LoadText(prompt), QString());
        dialog.show();
        testutil::ExpectNothingCut(dialog, "mail-account-dialog");
    }
}

TEST(MailAccountDialog, TakesAtMost63Characters) {
    MailAccountDialog dialog(LoadText(8329), QString());
    EXPECT_EQ(dialog.windowTitle(), "Edycja kont email");
    QTest::keyClicks(dialog.AddressEdit(), QString(10, 'l') + "@" + QString(29, 'd'));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    QTest::keyClicks(dialog.AddressEdit(), QString(40, 'd'));
    EXPECT_EQ(dialog.Address().size(), 63);
}

TEST(MailPropertyPage, AnAddressWhoseStoredFormMissesItsSlotIsRefused) {
    testutil::PageDevice device("R41T", "1052", devicesim::SetMailRecipients);
    auto set = device.OpenSet();
    MailPropertyPage page(*set);
    testutil::ConfigMessageCapture messages;
    const QString tooLong = QString(10, 'l') + "@" + QString(29, 'd');  // "llllllllll <...>": 53 bytes
    page.SetAccountDialogRunner([&](const QString&, const QString&) { return std::optional<QString>(tooLong); });
    page.show();
    page.AddRecipient();
    page.Recipients()->topLevelItem(1)->setSelected(true);
    page.EditRecipient();
    EXPECT_EQ(messages.texts, (QStringList{LoadText(4002), LoadText(4022)}));
    EXPECT_EQ(page.Values().Addresses(), (std::vector<std::string>{"john@x.pl", "x"}));
    EXPECT_FALSE(page.Values().recipientsChanged);
}

TEST(FTPPropertyPage, StandsWhereItsTemplatePutsItWithNothingCutAndTheSiteListNeverShows) {
    testutil::PageDevice device("R47T", "1007");
    auto set = device.OpenSet();
    testutil::ExpectTemplateGeometry(kFtpPageTemplate, [&] { return std::make_unique<FTPPropertyPage>(*set); });
    FTPPropertyPage page(*set);
    page.show();
    testutil::ExpectNothingCut(page, "ftp-page");
    for (const int id : {1275, 1278, 1276, 1277, 1284}) {
        QWidget* unused = nullptr;
        for (QWidget* child : page.findChildren<QWidget*>())
            if (child->property(gui::kTemplateIdProperty).toInt() == id)
                unused = child;
        ASSERT_NE(unused, nullptr) << id;
        EXPECT_FALSE(unused->isVisible()) << id;
        EXPECT_FALSE(unused->isEnabled()) << id;
    }
}

TEST(FTPPropertyPage, PortOutsideItsRangeFallsBackTo21AndAnEmptyPortKeepsThePage) {
    testutil::PageDevice device("R41T");
    auto set = device.OpenSet();
    FTPPropertyPage page(*set);
    testutil::ConfigMessageCapture messages;
    page.show();
    NumberEdit* port = page.PortEdit();
    struct Case {
        const char* typed;
        const char* shown;
        bool message;
    };
    for (const Case c : {Case{"0", "21", true}, Case{"65535", "65535", false}, Case{"65536", "21", true}}) {
        messages.texts.clear();
        port->clear();
        QTest::keyClicks(port, c.typed);
        emit port->editingFinished();
        EXPECT_EQ(port->text(), c.shown) << c.typed;
        EXPECT_EQ(messages.texts, c.message ? QStringList{LoadText(4054)} : QStringList{}) << c.typed;
    }
    messages.texts.clear();
    port->clear();
    QTest::keyClick(port, Qt::Key_Backspace);
    emit port->editingFinished();
    EXPECT_FALSE(page.ConfirmLeave());
    EXPECT_EQ(messages.texts, QStringList{LoadText(4090)});
}

TEST(FTPPropertyPage, LongStoredServerShowsEmptyAndBothPagesUntouchedChangeNothing) {
    testutil::PageDevice device("R47T", "1007", devicesim::SetLongFtpServer);
    auto set = device.OpenSet();
    FTPPropertyPage ftp(*set);
    MailPropertyPage mail(*set);
    ftp.show();
    mail.show();
    EXPECT_EQ(ftp.ServerEdit()->text(), "");
    EXPECT_FALSE(ftp.UserEdit()->text().isEmpty());
    ftp.PullControls();
    mail.PullControls();
    WriteFtpChanges(ftp.Values(), *set);
    WriteMailChanges(mail.Values(), *set);
    for (std::uint8_t option = 0; option < session::kOptionAll; ++option)
        EXPECT_FALSE(set->Changed(option)) << int(option);
}

}  // namespace
}  // namespace config
