#pragma once
// The network and DDNS pages' values: block 1 (address, mask, gateway, web
// port, network type), the PPPoE texts of block 6 in the device's layout,
// block 3 (DNS server, automatic DNS) and block 4's DDNS fields.

#include <cstdint>
#include <optional>
#include <string>

#include "config/Tracked.h"
#include "config/pages/BlockStore.h"

namespace session {
class AppData;
}

namespace config {

class ConfigWorkingSet;
struct DeviceFacts;

inline constexpr int kNetworkFixed = 0;
inline constexpr int kNetworkPppoe = 1;
inline constexpr int kNetworkDhcp = 2;
inline constexpr std::uint32_t kCapabilityOnlyVaruzarer = 0x80;

// 31 characters in block 6's new layout, 15 in the old one.
int PppoeTextLimit(const DeviceFacts& facts);

struct NetworkValues {
    Tracked<std::string> pppoeUser, pppoePassword;
    Tracked<std::uint32_t> address, gateway, mask;  // the first dotted part on top
    Tracked<std::int64_t> webPort;
    Tracked<int> networkType;  // any value but 0 and 2 shows as PPPoE
};

struct DdnsValues {
    Tracked<std::uint32_t> dnsServer;
    Tracked<int> dnsAuto;
    Tracked<int> ddnsEnable;
    Tracked<std::string> user, password, domain;
    int providerIndex = 0;               // the list's index as filled
    std::optional<int> pickedProvider;   // the entry the person picked, if another one
};

NetworkValues LoadNetworkValues(const ConfigWorkingSet& set);
DdnsValues LoadDdnsValues(const ConfigWorkingSet& set);
// The provider list's entries on this device and the index the stored key
// shows: on a device with capability 0x80 its one entry "varuzarer", whatever
// key is stored.
std::vector<std::string> DdnsProviderEntries(const DeviceFacts& facts);
int DdnsProviderIndex(const std::string& key, const DeviceFacts& facts);
// The key stored for a list index: "varuzarer" on a device with capability 0x80, else by index.
std::string DdnsProviderKey(int index, const DeviceFacts& facts);

// The network page's Apply. Stores block 6 when the PPPoE texts changed, then
// writes block 1's changes; a web port outside 1-65535 ends it before block 1.
// When block 1 changed, the client's switch to the new address or port is
// armed just before the store, so the store's own reply applies it; a refused
// store disarms it again. Returns 1 when block 1 changed, else 0.
int SendNetworkConfig(const NetworkValues& values, ConfigWorkingSet& set, const StoreBlock& store,
                      session::AppData& app);
// The DDNS page's Apply: block 3, then block 4, each when changed; on a
// device with capability 0x80 the provider key becomes "varuzarer". Returns 0.
int SendDdnsConfig(const DdnsValues& values, ConfigWorkingSet& set, const StoreBlock& store);

}  // namespace config
