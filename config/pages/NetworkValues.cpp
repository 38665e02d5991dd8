#include "config/pages/NetworkValues.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "config/ConfigWorkingSet.h"
#include "session/AppData.h"

namespace config {

namespace {

constexpr std::array<const char*, 4> kProviderKeys{"custom", "dyndns", "statdns", "varuzarer"};

std::uint32_t Address(const ConfigWorkingSet& set, std::uint8_t option, const char* field) {
    return static_cast<std::uint32_t>(set.Number(option, field));
}

// A host name the client could be pointed at: not empty, no blanks or control characters.
bool UsableHostName(std::string_view name) {
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
}

}  // namespace

int PppoeTextLimit(const DeviceFacts& facts) { return facts.UsesNewPppoeLayout() ? 31 : 15; }

NetworkValues LoadNetworkValues(const ConfigWorkingSet& set) {
    NetworkValues values;
    values.pppoeUser.Load(set.Text(6, "sz_PppoeUser"));
    values.pppoePassword.Load(set.Text(6, "sz_PppoePassword"));
    values.address.Load(Address(set, 1, "by_IpAddress"));
    values.gateway.Load(Address(set, 1, "by_Gateway"));
    values.mask.Load(Address(set, 1, "by_SubnetMask"));
    values.webPort.Load(set.Number(1, "w_WebPort"));
    values.networkType.Load(static_cast<int>(set.Number(1, "by_NetworkType")));
    return values;
}

std::vector<std::string> DdnsProviderEntries(const DeviceFacts& facts) {
    if (facts.HasCapability(kCapabilityOnlyVaruzarer))
        return {"varuzarer"};
    return {kProviderKeys[0], kProviderKeys[1], kProviderKeys[2]};
}

int DdnsProviderIndex(const std::string& key, const DeviceFacts& facts) {
    // The one entry such a device lists, whatever key it holds.
    if (facts.HasCapability(kCapabilityOnlyVaruzarer))
        return 0;
    if (key == "varuzarer")
        return 1;
    for (int i = 0; i < 3; ++i)
        if (key == kProviderKeys[std::size_t(i)])
            return i;
    return 0;
}

std::string DdnsProviderKey(int index, const DeviceFacts& facts) {
    if (facts.HasCapability(kCapabilityOnlyVaruzarer))
        return "varuzarer";
    return index >= 0 && index < int(kProviderKeys.size()) ? kProviderKeys[std::size_t(index)] : "";
}

DdnsValues LoadDdnsValues(const ConfigWorkingSet& set) {
    DdnsValues values;
    values.dnsServer.Load(Address(set, 3, "by_DnsServer"));
    values.dnsAuto.Load(static_cast<int>(set.Number(3, "by_DnsAuto")));
    values.ddnsEnable.Load(static_cast<int>(set.Number(4, "by_DdnsEnable")));
    values.user.Load(set.Text(4, "sz_DdnsUser"));
    values.password.Load(set.Text(4, "sz_DdnsPassword"));
    values.domain.Load(set.Text(4, "sz_DdnsDomain"));
    values.providerIndex = DdnsProviderIndex(set.Text(4, "sz_DdnsProvider"), set.Facts());
    return values;
}

int SendNetworkConfig(const NetworkValues& values, ConfigWorkingSet& set, const StoreBlock& store,
                      session::AppData& app) {
    app.g_fPendingWebPort = false;
    app.g_fPendingServerName = false;

    if (values.pppoeUser.Changed())
        set.Write(6, "sz_PppoeUser", 0, values.pppoeUser.Current());
    if (values.pppoePassword.Changed())
        set.Write(6, "sz_PppoePassword", 0, values.pppoePassword.Current());
    if (!store(6))
        return 0;

    std::optional<std::string> serverName;
    std::optional<std::uint16_t> webPort;
    if (values.address.Changed()) {
        set.Write(1, "by_IpAddress", 0, std::int64_t(values.address.Current()));
        serverName = Ipv4Text(values.address.Current());
    }
    if (values.gateway.Changed())
        set.Write(1, "by_Gateway", 0, std::int64_t(values.gateway.Current()));
    if (values.mask.Changed())
        set.Write(1, "by_SubnetMask", 0, std::int64_t(values.mask.Current()));
    if (values.webPort.Changed()) {
        const std::int64_t port = values.webPort.Current();
        if (port < 1 || port > 65535)
            return 0;
        set.Write(1, "w_WebPort", 0, port);
        webPort = static_cast<std::uint16_t>(port);
    }
    if (values.networkType.Changed()) {
        set.Write(1, "by_NetworkType", 0, std::int64_t(values.networkType.Current()));
        const std::string domain = set.Text(4, "sz_DdnsDomain");
        switch (values.networkType.Current()) {
        case kNetworkFixed: serverName = Ipv4Text(Address(set, 1, "by_IpAddress")); break;
        // The device is then reached by its DDNS host name; without a usable one
        // the client keeps its server address rather than switch to nothing.
        case kNetworkPppoe:
        case kNetworkDhcp:
            if (UsableHostName(domain))
                serverName = domain;
            else
                serverName.reset();
            break;
        default: break;
        }
    }
    const bool changed = values.address.Changed() || values.gateway.Changed() || values.mask.Changed() ||
                         values.webPort.Changed() || values.networkType.Changed();
    if (!changed)
        return 0;
    // Armed just before the store: its own status 200 moves the client over.
    if (webPort) {
        app.g_wPendingWebPort = *webPort;
        app.g_fPendingWebPort = true;
    }
    if (serverName) {
        app.g_strPendingServerName = *serverName;
        app.g_fPendingServerName = true;
    }
    if (!store(1)) {
        // The device kept its old settings: the client stays where it is.
        app.g_fPendingWebPort = false;
        app.g_fPendingServerName = false;
    }
    return 1;
}

int SendDdnsConfig(const DdnsValues& values, ConfigWorkingSet& set, const StoreBlock& store) {
    if (values.dnsServer.Changed())
        set.Write(3, "by_DnsServer", 0, std::int64_t(values.dnsServer.Current()));
    if (values.dnsAuto.Changed())
        set.Write(3, "by_DnsAuto", 0, std::int64_t(values.dnsAuto.Current()));
    if (!store(3))
        return 0;
    if (values.ddnsEnable.Changed())
        set.Write(4, "by_DdnsEnable", 0, std::int64_t(values.ddnsEnable.Current()));
    if (values.user.Changed())
        set.Write(4, "sz_DdnsUser", 0, values.user.Current());
    if (values.password.Changed())
        set.Write(4, "sz_DdnsPassword", 0, values.password.Current());
    if (values.domain.Changed())
        set.Write(4, "sz_DdnsDomain", 0, values.domain.Current());
    // A device that takes only "varuzarer" gets it whatever key it held; elsewhere
    // only another entry the person picked rewrites the key.
    if (values.pickedProvider || set.Facts().HasCapability(kCapabilityOnlyVaruzarer)) {
        const std::string key = DdnsProviderKey(values.pickedProvider.value_or(values.providerIndex), set.Facts());
        if (key != set.Text(4, "sz_DdnsProvider"))
            set.Write(4, "sz_DdnsProvider", 0, key);
    }
    store(4);
    return 0;
}

}  // namespace config
