#pragma once
// The time server page's values over block 8: the time source, the zone, the
// server name and its derived mode (automatic when no name is stored), and
// the "/SyncTime.cgi" request its "Synchronizuj" sends.

#include <cstdint>
#include <string>

#include "config/Tracked.h"
#include "config/pages/BlockStore.h"

namespace config {

class ConfigWorkingSet;

inline constexpr int kTimeFromServer = 1;
inline constexpr int kTimeByPerson = 0;
inline constexpr int kServerNamed = 0;
inline constexpr int kServerAutomatic = 1;
inline constexpr int kSntpServerChars = 27;

struct SntpValues {
    Tracked<std::string> server;
    Tracked<int> timeZone;    // a stored zone outside 0-74 is kept as it is
    Tracked<int> timeMode;    // 1 from a server, 0 set by the person
    Tracked<int> serverMode;  // 0 the named server, 1 automatic
};

SntpValues LoadSntpValues(const ConfigWorkingSet& set);

// The date and time the person set.
struct PersonTime {
    int year, month, day, hour, minute, second;
};
// "/SyncTime.cgi" with Cookie (when not empty) and Mode, then the person's
// date and time, or ServerMode, Server (named only), NationID and the zone's
// offset. Empty when the zone has no row in server mode.
std::string SyncTimeRequest(const SntpValues& values, const PersonTime& time, const std::string& cookie);

// Apply: writes the changes (a changed server mode or name rewrites the name,
// empty for automatic; a changed zone its index and offset; a changed time
// mode the source) and stores block 8 when it changed. Returns 0.
int SendSntpConfig(const SntpValues& values, ConfigWorkingSet& set, const StoreBlock& store);

// After "Synchronizuj": brings block 8 to what the page shows where it
// differs and stores it when it changed. True when nothing needed storing or
// the device took it (the page's values then count as loaded).
bool StoreSynchronisedSntp(const SntpValues& values, ConfigWorkingSet& set, const StoreBlock& store);

}  // namespace config
