// The network and DDNS routines: PPPoE texts in the device's layout, block 1
// with the client's switch to a new address or port, and the provider key.

#include <gtest/gtest.h>

#include "config/PageDevice.h"
#include "config/pages/NetworkValues.h"
#include "simulator/PageSettings.h"

namespace config {
namespace {

using devicesim::Bytes;

std::vector<std::size_t> DifferingBytes(const Bytes& a, const Bytes& b) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            at.push_back(i);
    return at;
}

TEST(SendNetworkConfig, PppoePasswordGoesIntoTheDevicesLayoutAlone) {
    struct Case {
        const char* firmware;
        std::size_t from, to;
    };
    for (const Case c : {Case{"1051", 52, 68}, Case{"1052", 36, 68}}) {
        testutil::PageDevice device("R41T", c.firmware);
        const Bytes before = device.DeviceBlock(6);
        auto set = device.OpenSet();
        NetworkValues values = LoadNetworkValues(*set);
        values.pppoePassword.Edit(std::string(15, 'q'));
        EXPECT_EQ(SendNetworkConfig(values, *set, device.Store(*set), device.app), 0);
        const auto stores = device.Stores();
        ASSERT_EQ(stores.size(), 1u) << c.firmware;
        EXPECT_EQ(stores[0].Param("Option"), "PPPOE");
        EXPECT_EQ(stores[0].body.size(), 68u);
        const Bytes after = device.DeviceBlock(6);
        for (std::size_t i : DifferingBytes(before, after))
            EXPECT_TRUE(i >= c.from && i < c.to) << c.firmware << " byte " << i;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&after[c.from]), 15), std::string(15, 'q'));
        EXPECT_EQ(after[c.from + 15], 0);
    }
    EXPECT_EQ(PppoeTextLimit(DeviceFacts{"R41T", "1051"}), 15);
    EXPECT_EQ(PppoeTextLimit(DeviceFacts{"R47T", "1007"}), 31);
}

TEST(SendNetworkConfig, NewAddressMovesTheClientOnlyWhenTheDeviceTookIt) {
    for (const bool refused : {false, true}) {
        testutil::PageDevice device("R47T", "1007");
        if (refused)
            device.device->AddFault("/SetSysCfg.cgi", devicesim::Fault::Status(500));
        const Bytes before = device.DeviceBlock(1);
        auto set = device.OpenSet();
        NetworkValues values = LoadNetworkValues(*set);
        values.address.Edit(0x0A000007);
        EXPECT_EQ(SendNetworkConfig(values, *set, device.Store(*set), device.app), 1);
        if (refused) {
            EXPECT_EQ(device.failedStores, 1);
            EXPECT_EQ(device.app.CSettingINI.m_strServerName.Get(), "127.0.0.1");
            EXPECT_FALSE(device.app.g_fPendingServerName);
            continue;
        }
        const Bytes after = device.DeviceBlock(1);
        EXPECT_EQ(Bytes(after.begin() + 4, after.begin() + 8), (Bytes{0x0A, 0, 0, 7}));
        EXPECT_EQ(DifferingBytes(before, after), (std::vector<std::size_t>{4, 5, 6, 7}));
        EXPECT_EQ(device.app.CSettingINI.m_strServerName.Get(), "10.0.0.7");
    }
}

TEST(SendNetworkConfig, NewPortCarriesTheNextCommand) {
    testutil::PageDevice device("R41T", "1052");
    auto set = device.OpenSet();
    NetworkValues values = LoadNetworkValues(*set);
    const std::uint16_t second = device.device->Port(1);
    values.webPort.Edit(second);
    EXPECT_EQ(SendNetworkConfig(values, *set, device.Store(*set), device.app), 1);
    EXPECT_EQ(device.app.CSettingINI.m_wWebPort.load(), second);
    device.Fetch();
    EXPECT_EQ(device.device->Requests().back().port, second);
}

TEST(SendNetworkConfig, ChangedTypeArmsTheAddressTheDomainOrNothing) {
    struct Case {
        int type;
        const char* domain;
        const char* server;
    };
    // Without a usable host name the client stays at the address it has.
    const Case cases[] = {{1, "cam.dyndns.org", "cam.dyndns.org"}, {1, "", "127.0.0.1"},
                          {1, "cam dyndns", "127.0.0.1"},          {2, "", "127.0.0.1"},
                          {2, " ", "127.0.0.1"},                   {2, "d.example", "d.example"}};
    for (const Case c : cases) {
        testutil::PageDevice device("R41T", "1052", [&](auto& p) {
            devicesim::SetNetwork(p, 80, 0);
            devicesim::SetDdns(p, "dyndns", c.domain);
        });
        auto set = device.OpenSet();
        NetworkValues values = LoadNetworkValues(*set);
        values.networkType.Edit(c.type);
        EXPECT_EQ(SendNetworkConfig(values, *set, device.Store(*set), device.app), 1);
        EXPECT_EQ(device.DeviceBlock(1)[22], c.type);
        EXPECT_EQ(device.app.CSettingINI.m_strServerName.Get(), c.server) << c.type << c.domain;
        EXPECT_FALSE(device.app.g_fPendingServerName.load());
    }
}

TEST(SendNetworkConfig, UntouchedValuesSendNothingWhateverTheyHold) {
    testutil::PageDevice device("R47T", "1007", [](auto& p) {
        devicesim::SetNetwork(p, 10080, 7, 0x80);
        devicesim::SetDdns(p, "varuzarer", "g.example");
    });
    auto set = device.OpenSet();
    NetworkValues network = LoadNetworkValues(*set);
    EXPECT_EQ(network.webPort.Loaded(), 10080);
    DdnsValues ddns = LoadDdnsValues(*set);
    EXPECT_EQ(SendDdnsConfig(ddns, *set, device.Store(*set)), 0);
    EXPECT_EQ(SendNetworkConfig(network, *set, device.Store(*set), device.app), 0);
    EXPECT_TRUE(device.Stores().empty());
}

TEST(DdnsProvider, CapabilityBitLeavesOnlyVaruzarer) {
    DeviceFacts with{"R47T", "1007", 0x80};
    DeviceFacts without{"R47T", "1007", 0};
    EXPECT_EQ(DdnsProviderEntries(with), (std::vector<std::string>{"varuzarer"}));
    for (const char* key : {"custom", "dyndns", "statdns", "varuzarer", "other"})
        EXPECT_EQ(DdnsProviderIndex(key, with), 0) << key;  // the one entry, selected
    EXPECT_EQ(DdnsProviderIndex("varuzarer", without), 1);
    EXPECT_EQ(DdnsProviderIndex("other", without), 0);
    EXPECT_EQ(DdnsProviderKey(1, with), "varuzarer");
    EXPECT_EQ(DdnsProviderKey(2, without), "statdns");
    EXPECT_EQ(DdnsProviderKey(7, without), "");
}

TEST(SendDdnsConfig, ADeviceTakingOnlyVaruzarerGetsItWhateverKeyItHeld) {
    struct Case {
        const char* stored;
        bool stores;
    };
    for (const Case c : {Case{"dyndns", true}, Case{"statdns", true}, Case{"custom", true}, Case{"varuzarer", false}}) {
        testutil::PageDevice device("R47T", "1007", [&](auto& p) {
            devicesim::SetNetwork(p, 80, 0, 0x80);
            devicesim::SetDdns(p, c.stored, "g.example");
        });
        auto set = device.OpenSet();
        const DdnsValues values = LoadDdnsValues(*set);
        EXPECT_EQ(values.providerIndex, 0);
        SendDdnsConfig(values, *set, device.Store(*set));
        ASSERT_EQ(device.Stores().size(), c.stores ? 1u : 0u) << c.stored;
        const auto block = device.DeviceBlock(4);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data() + 88)), "varuzarer") << c.stored;
    }
}

TEST(SendDdnsConfig, StoresDnsThenDdnsEachWhenChanged) {
    testutil::PageDevice device("G66M", "1010", [](auto& p) { devicesim::SetDdns(p, "custom", "g.example"); });
    auto set = device.OpenSet();
    DdnsValues values = LoadDdnsValues(*set);
    values.dnsServer.Edit(0x08080808);
    values.domain.Edit("h.example");
    values.pickedProvider = 2;
    SendDdnsConfig(values, *set, device.Store(*set));
    const auto stores = device.Stores();
    ASSERT_EQ(stores.size(), 2u);
    EXPECT_EQ(stores[0].Param("Option"), "DNS");
    EXPECT_EQ(stores[0].Param("Refresh"), "False");
    EXPECT_EQ(stores[1].Param("Option"), "SMTP");
    const Bytes smtp = device.DeviceBlock(4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&smtp[88])), "statdns");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&smtp[328])), "h.example");
}

}  // namespace
}  // namespace config
