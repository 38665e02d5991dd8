// The search dialog offscreen, against the simulator's search responder on 127.0.0.1.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "session/gui/ConfirmAuthorityDialog.h"
#include "session/gui/DeviceSearchDialog.h"
#include "session/tools/SearchTestDevices.h"

using namespace session;
using namespace std::chrono_literals;
using searchtest::Device;
using searchtest::FreeUdpPort;

namespace {

class DeviceSearchDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::uint16_t replyPort = FreeUdpPort();
        responder_ = std::make_unique<devicesim::SearchResponder>(
            devicesim::SearchResponderOptions{"127.0.0.1", 0, replyPort});
        options_.endpoints.broadcastAddress = "127.0.0.1";
        options_.endpoints.sourcePort = 0;
        options_.endpoints.replyPort = replyPort;
        options_.endpoints.localAddress = "127.0.0.1";
        // Waits that end early on an answer are long enough for a responder on a
        // loaded machine; a search still ends 2 s after its last reply.
        options_.timing.searchDuration = 10000ms;
        options_.timing.searchReplyWait = 2000ms;
        options_.timing.setIpAnswerWait = 10000ms;
        options_.timing.resetAnswerWait = 10000ms;
        options_.timing.searchAnimationPeriod = 20ms;
    }

    // Starts the responder and opens the dialog on it; messages and the
    // credentials question are answered by the test.
    void Open() {
        ASSERT_TRUE(responder_->Start());
        options_.endpoints.broadcastPort = responder_->Port();
        dialog_ = std::make_unique<DeviceSearchDialog>(nullptr, options_);
        dialog_->SetMessageSink([this](const QString& text) { messages_ << text; });
        dialog_->SetCredentialsSource([this]() -> std::optional<SearchCredentials> {
            ++credentialQuestions_;
            return credentials_;
        });
        dialog_->show();
    }

    template <class T>
    T* Find(const char* name) const {
        return dialog_->findChild<T*>(QString::fromLatin1(name));
    }
    QTreeWidget* List() const { return Find<QTreeWidget>("deviceList"); }
    QPushButton* Button(const char* name) const { return Find<QPushButton>(name); }
    QLineEdit* Edit(const char* name) const { return Find<QLineEdit>(name); }

    bool WaitSearchStopped() {
        return QTest::qWaitFor([this] { return Button("ok")->isEnabled(); }, 20000);
    }
    void SelectRow(int row) { List()->setCurrentItem(List()->topLevelItem(row)); }
    QStringList RowTexts(int row) const {
        QStringList texts;
        for (int c = 0; c < List()->columnCount(); ++c)
            texts << List()->topLevelItem(row)->text(c);
        return texts;
    }

    std::unique_ptr<devicesim::SearchResponder> responder_;
    DeviceSearchOptions options_;
    std::unique_ptr<DeviceSearchDialog> dialog_;
    QStringList messages_;
    std::optional<SearchCredentials> credentials_ = SearchCredentials{"admin", "admin"};
    int credentialQuestions_ = 0;
};

}  // namespace

TEST_F(DeviceSearchDialogTest, ListsTheDevicesAndReturnsTheChosenRowsAddressAndPort) {
    responder_->AddDevice(Device(50, 10));
    responder_->AddDevice(Device(113, 20));
    Open();
    ASSERT_TRUE(WaitSearchStopped());
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Wyszukiwanie_zatrzymane"));

    QTreeWidget* list = List();
    const QStringList headers = {"ADRES IP", "ADRES MAC", "PORT", "URZĄDZENIE", "UŻYWANY"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(list->headerItem()->text(c), headers[c]);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(RowTexts(0), (QStringList{"192.168.1.20", "00:0e:a6:01:02:14", "8020", "4CH NETWORK DVR", ""}));
    EXPECT_EQ(RowTexts(1), (QStringList{"192.168.1.10", "00:0e:a6:01:02:0a", "8010", "Video Server", ""}));
    EXPECT_FALSE(Edit("ipAddress")->isEnabled());

    SelectRow(1);
    EXPECT_EQ(Edit("ipAddress")->text(), "192.168.1.10");
    EXPECT_EQ(Edit("macAddress")->text(), "00:0e:a6:01:02:0a");
    EXPECT_EQ(Edit("subnetMask")->text(), "255.255.255.0");
    EXPECT_EQ(Edit("gateway")->text(), "192.168.1.1");
    EXPECT_EQ(Edit("dnsServer")->text(), "192.168.1.1");
    EXPECT_EQ(Edit("webPort")->text(), "8010");
    EXPECT_TRUE(Edit("ipAddress")->isEnabled());
    EXPECT_TRUE(Edit("macAddress")->isReadOnly());

    QTest::mouseClick(Button("ok"), Qt::LeftButton);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    const DeviceSearchChoice choice = dialog_->Choice();
    EXPECT_TRUE(choice.chosen);
    EXPECT_EQ(choice.address, "192.168.1.10");
    EXPECT_EQ(choice.webPort, 8010);
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(DeviceSearchDialogTest, WhileSearchingNothingCanReadTheListOrEndTheDialog) {
    options_.timing.searchReplyWait = 10000ms;
    Open();
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog_->windowTitle().startsWith(" Wyszukiwanie ."); }, 5000));
    for (const char* name : {"searchAgain", "apply", "setDefaults", "ok"})
        EXPECT_FALSE(Button(name)->isEnabled()) << name;
    EXPECT_FALSE(List()->isEnabled());
    EXPECT_FALSE(Edit("ipAddress")->isEnabled());
    QTest::keyClick(dialog_.get(), Qt::Key_Escape);
    dialog_->close();
    EXPECT_TRUE(dialog_->isVisible());

    // Going away ends the search at once.
    const auto start = std::chrono::steady_clock::now();
    dialog_.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms) << "far within the 10 s reply wait";
}

TEST_F(DeviceSearchDialogTest, WithNobodyAnsweringOkChoosesNothing) {
    Open();
    ASSERT_TRUE(WaitSearchStopped());
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    QTest::mouseClick(Button("apply"), Qt::LeftButton);
    EXPECT_EQ(messages_, QStringList{"Nalezy wybrać coś z listy"});
    QTest::mouseClick(Button("ok"), Qt::LeftButton);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog_->Choice().chosen);
}

TEST_F(DeviceSearchDialogTest, ChangedAddressIsSentAndOffered) {
    responder_->AddDevice(Device(87, 10));
    Open();
    ASSERT_TRUE(WaitSearchStopped());
    SelectRow(0);
    Edit("ipAddress")->setText("192.168.1.77");
    Edit("webPort")->setText("8080");
    QTest::mouseClick(Button("apply"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !messages_.isEmpty(); }, 20000));
    EXPECT_EQ(messages_, QStringList{"Dane zachowane prawidłowo"});
    EXPECT_EQ(responder_->Devices()[0].ipAddress, (std::array<std::uint8_t, 4>{192, 168, 1, 77}));
    ASSERT_TRUE(QTest::qWaitFor([this] { return Button("ok")->isEnabled(); }, 10000));
    // The row shows the device as it now is.
    EXPECT_EQ(RowTexts(0)[0], "192.168.1.77");
    EXPECT_EQ(RowTexts(0)[2], "8080");

    QTest::mouseClick(Button("ok"), Qt::LeftButton);
    const DeviceSearchChoice choice = dialog_->Choice();
    EXPECT_TRUE(choice.chosen);
    EXPECT_EQ(choice.address, "192.168.1.77");
    EXPECT_EQ(choice.webPort, 8080);
}

TEST_F(DeviceSearchDialogTest, ChangeIsRefusedBeforeAnythingIsSent) {
    responder_->AddDevice(Device(50, 10));
    responder_->AddDevice(Device(113, 20));
    Open();
    ASSERT_TRUE(WaitSearchStopped());

    SelectRow(0);  // the network DVR takes no change: no credentials asked
    QTest::mouseClick(Button("setDefaults"), Qt::LeftButton);
    EXPECT_EQ(messages_, QStringList{"Błąd modyfikacji ustawień sieciowych"});
    EXPECT_EQ(credentialQuestions_, 0);

    SelectRow(1);
    messages_.clear();
    credentials_.reset();  // the operator cancels
    QTest::mouseClick(Button("apply"), Qt::LeftButton);
    EXPECT_TRUE(messages_.isEmpty());

    credentials_ = SearchCredentials{"admin", "admin"};  // nothing edited
    QTest::mouseClick(Button("apply"), Qt::LeftButton);
    EXPECT_EQ(messages_, QStringList{"Ustawienia sieci nie zostały zmienione"});

    messages_.clear();
    Edit("webPort")->setText("10000");
    QTest::mouseClick(Button("ok"), Qt::LeftButton);
    EXPECT_EQ(messages_, QStringList{"Please enter an integer between 0 and 9999."});
    EXPECT_TRUE(dialog_->isVisible());

    QTest::qWait(50);
    EXPECT_EQ(responder_->Requests().size(), 1u);  // the search only
    EXPECT_FALSE(dialog_->Choice().chosen);
}

TEST_F(DeviceSearchDialogTest, ResetAnsweredOrNotDecidesTheOfferedAddress) {
    options_.timing.resetAnswerWait = 3000ms;  // waited out once, below
    responder_->AddDevice(Device(50, 10));
    Open();
    ASSERT_TRUE(WaitSearchStopped());
    SelectRow(0);
    QTest::mouseClick(Button("setDefaults"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Button("ok")->isEnabled(); }, 20000));
    EXPECT_EQ(messages_, QStringList{"Reset został wykonany prawidłowo.Proces zostanie zakończony za kilka minut"});
    EXPECT_TRUE(dialog_->Choice().chosen);
    EXPECT_EQ(dialog_->Choice().address, "");

    messages_.clear();
    responder_->SetAnswerChanges(false);
    QTest::mouseClick(Button("setDefaults"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !messages_.isEmpty(); }, 20000));
    EXPECT_EQ(messages_, QStringList{"Minał czas wysyłania komendy"});
    EXPECT_EQ(dialog_->Choice().address, "192.168.1.10");
}

TEST_F(DeviceSearchDialogTest, SearchingAgainEmptiesTheListAndTheSelection) {
    responder_->AddDevice(Device(50, 10));
    Open();
    ASSERT_TRUE(WaitSearchStopped());
    SelectRow(0);
    QTest::mouseClick(Button("searchAgain"), Qt::LeftButton);
    EXPECT_FALSE(Button("ok")->isEnabled());
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    ASSERT_TRUE(WaitSearchStopped());
    EXPECT_EQ(List()->topLevelItemCount(), 1);
    QTest::mouseClick(Button("apply"), Qt::LeftButton);
    EXPECT_EQ(messages_, QStringList{"Nalezy wybrać coś z listy"});
    EXPECT_EQ(responder_->Requests().size(), 2u);
}

TEST(ConfirmAuthorityDialogTest, TakesAtMostFifteenCharactersAndHidesThePassword) {
    ConfirmAuthorityDialog confirm;
    EXPECT_EQ(confirm.windowTitle(), "Confirm Authority");
    auto* user = confirm.findChild<QLineEdit*>("userName");
    auto* password = confirm.findChild<QLineEdit*>("password");
    ASSERT_TRUE(user && password);
    EXPECT_TRUE(user->text().isEmpty());
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    QTest::keyClicks(user, "administrator_long");
    QTest::keyClicks(password, "secret");
    EXPECT_EQ(confirm.UserName(), "administrator_l");
    EXPECT_EQ(confirm.Password(), "secret");
}
