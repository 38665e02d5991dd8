// The network and DDNS pages, offscreen over a simulated device.

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "config/PageDevice.h"
#include "config/gui/CDNSPage.h"
#include "config/gui/ConfigMessageCapture.h"
#include "config/gui/DdnsPageTemplate.h"
#include "config/gui/IndexedCombo.h"
#include "config/gui/Ipv4Edit.h"
#include "config/gui/LimitedTextEdit.h"
#include "config/gui/NetworkConfigPage.h"
#include "config/gui/NetworkPageTemplate.h"
#include "config/gui/NumberEdit.h"
#include "gui/StringText.h"
#include "simulator/PageSettings.h"
#include "support/TemplateLayoutCheck.h"
#include "support/TemplateTableCheck.h"

namespace config {
namespace {

TEST(NetworkConfigPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    testutil::PageDevice device("R41T", "1052", [](auto& p) { devicesim::SetNetwork(p, 80, 1); });
    auto set = device.OpenSet();
    testutil::ExpectTemplateGeometry(kNetworkPageTemplate, [&] { return std::make_unique<NetworkConfigPage>(*set); });
    NetworkConfigPage page(*set);
    page.show();
    testutil::ExpectNothingCut(page, "network-page");
}

TEST(NetworkConfigPage, AClickAtTheWebPortsTemplatePlaceLandsOnIt) {
    testutil::PageDevice device("R41T", "1052");
    auto set = device.OpenSet();
    NetworkConfigPage page(*set);
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    const QRect place = gui::TemplateUnits(kNetworkPageTemplate).Rect(kNetworkPageTemplate.Find(1040)->rect);
    QWidget* hit = page.childAt(place.center());
    ASSERT_EQ(hit, page.WebPortEdit());
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&page, place.center()));
    EXPECT_TRUE(page.WebPortEdit()->hasFocus());
}

TEST(CDNSPage, StandsWhereItsTemplatePutsItWithNothingCut) {
    // A DVR on DHCP shows the AUTO box beside the DNS address: it must fit there too.
    testutil::PageDevice device("R41T", "1052", [](auto& p) { devicesim::SetNetwork(p, 80, kNetworkDhcp); });
    auto set = device.OpenSet();
    testutil::ExpectTemplateGeometry(kDdnsPageTemplate, [&] { return std::make_unique<CDNSPage>(*set); });
    CDNSPage page(*set);
    page.show();
    ASSERT_TRUE(page.AutoBox()->isVisible());
    testutil::ExpectNothingCut(page, "ddns-page");
}

TEST(NetworkConfigPage, WebPortTypingStaysWithinOneTo9999) {
    testutil::PageDevice device("R41T", "1052");
    auto set = device.OpenSet();
    NetworkConfigPage page(*set);
    testutil::ConfigMessageCapture messages;
    page.show();
    NumberEdit* port = page.WebPortEdit();
    port->clear();
    QTest::keyClicks(port, "70000");
    EXPECT_EQ(port->text(), "9999");
    port->clear();
    QTest::keyClicks(port, "0");
    emit port->editingFinished();
    EXPECT_EQ(port->text(), "1");
    QTest::keyClicks(port, "ab");
    EXPECT_EQ(port->text(), "1");
    EXPECT_TRUE(messages.texts.isEmpty());

    port->clear();
    QTest::keyClick(port, Qt::Key_Backspace);
    EXPECT_FALSE(page.ConfirmLeave());
    EXPECT_EQ(messages.texts, QStringList{session::LoadText(4090)});
}

TEST(NetworkConfigPage, PppoeTextsStopAtTheLayoutsLimit) {
    for (const auto& [firmware, limit] : {std::pair{"1051", 15}, std::pair{"1052", 31}}) {
        testutil::PageDevice device("R41T", firmware, [](auto& p) { devicesim::SetNetwork(p, 80, 1); });
        auto set = device.OpenSet();
        NetworkConfigPage page(*set);
        page.show();
        EXPECT_TRUE(page.PppoeUserEdit()->isVisible());
        page.PppoeUserEdit()->clear();
        QTest::keyClicks(page.PppoeUserEdit(), QString(40, 'u'));
        EXPECT_EQ(page.PppoeUserEdit()->text().size(), limit) << firmware;
    }
}

TEST(NetworkConfigPage, TypeSevenShowsPppoeAndStaysUnlessPicked) {
    testutil::PageDevice device("R47T", "1007", [](auto& p) {
        devicesim::SetNetwork(p, 10080, 7, 0x80);
        devicesim::SetDdns(p, "varuzarer", "g.example");
    });
    auto set = device.OpenSet();
    NetworkConfigPage network(*set);
    CDNSPage ddns(*set);
    network.show();
    ddns.show();
    EXPECT_TRUE(network.TypeButton(kNetworkPppoe)->isChecked());
    EXPECT_TRUE(network.PppoeUserEdit()->isVisible());
    EXPECT_FALSE(network.AddressEdit()->isEnabled());
    EXPECT_EQ(network.WebPortEdit()->text(), "10080");
    EXPECT_EQ(ddns.ProviderList()->count(), 1);
    EXPECT_EQ(ddns.ProviderList()->currentText(), "varuzarer");
    network.PullControls();
    ddns.PullControls();
    SendDdnsConfig(ddns.Values(), *set, device.Store(*set));
    EXPECT_EQ(SendNetworkConfig(network.Values(), *set, device.Store(*set), device.app), 0);
    EXPECT_TRUE(device.Stores().empty());
}

TEST(CDNSPage, CapabilityVaruzarerShowsItsOneEntryWhateverKeyIsStored) {
    for (const char* stored : {"dyndns", "statdns"}) {
        testutil::PageDevice device("R47T", "1007", [&](auto& p) {
            devicesim::SetNetwork(p, 80, 0, 0x80);
            devicesim::SetDdns(p, stored, "g.example");
        });
        auto set = device.OpenSet();
        CDNSPage ddns(*set);
        ddns.show();
        EXPECT_EQ(ddns.ProviderList()->count(), 1);
        EXPECT_EQ(ddns.ProviderList()->currentText(), "varuzarer") << stored;
        ddns.PullControls();
        SendDdnsConfig(ddns.Values(), *set, device.Store(*set));
        const auto block = device.DeviceBlock(4);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data() + 88)), "varuzarer") << stored;
    }
}

TEST(NetworkConfigPage, N5HShowsNothingAndChangesNothing) {
    testutil::PageDevice device("N51H", "1010");
    auto set = device.OpenSet();
    NetworkConfigPage page(*set);
    page.show();
    EXPECT_FALSE(page.WebPortEdit()->isVisible());
    EXPECT_FALSE(page.AddressEdit()->isVisible());
    EXPECT_TRUE(page.ConfirmLeave());
    page.PullControls();
    EXPECT_EQ(SendNetworkConfig(page.Values(), *set, device.Store(*set), device.app), 0);
    EXPECT_TRUE(device.Stores().empty());
}

TEST(CDNSPage, AutoBoxFollowsTheNetworkPagesTypeOnADvr) {
    testutil::PageDevice device("R41T", "1052", [](auto& p) {
        devicesim::SetNetwork(p, 80, 0);
        devicesim::SetDdns(p, "varuzarer", "d.example");
    });
    auto set = device.OpenSet();
    NetworkConfigPage network(*set);
    CDNSPage ddns(*set);
    ddns.SetNetworkTypeSource([&] { return network.WasFilled() ? network.NetworkType() : 0; });
    ddns.show();
    EXPECT_FALSE(ddns.AutoBox()->isVisible());
    EXPECT_EQ(ddns.ProviderList()->currentText(), "dyndns");
    ddns.hide();

    network.show();
    network.TypeButton(kNetworkDhcp)->click();
    network.hide();
    ddns.show();
    EXPECT_TRUE(ddns.AutoBox()->isVisible());
    EXPECT_TRUE(ddns.AutoBox()->isChecked());  // the filled block's flag is on
    EXPECT_FALSE(ddns.DnsServerEdit()->isEnabled());
    ddns.AutoBox()->click();
    EXPECT_TRUE(ddns.DnsServerEdit()->isEnabled());
    ddns.hide();

    network.show();
    network.TypeButton(kNetworkFixed)->click();
    network.hide();
    ddns.show();
    EXPECT_FALSE(ddns.AutoBox()->isVisible());
    EXPECT_TRUE(ddns.DnsServerEdit()->isEnabled());
}

TEST(CDNSPage, VideoServerNeverShowsAuto) {
    testutil::PageDevice device("R47T", "1007", [](auto& p) { devicesim::SetNetwork(p, 80, 2); });
    auto set = device.OpenSet();
    CDNSPage ddns(*set);
    ddns.show();
    EXPECT_FALSE(ddns.AutoBox()->isVisible());
    ddns.DdnsOff()->click();
    EXPECT_FALSE(ddns.DomainEdit()->isEnabled());
    EXPECT_FALSE(ddns.DdnsEnabled());
}

}  // namespace
}  // namespace config
