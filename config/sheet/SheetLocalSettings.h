#pragma once
// What Apply takes from the pages into the program's own settings, after the
// device is done: folders, the alarm choices, the backup and search choices,
// the turbo step. A page that is not in the sheet leaves its values unset.

#include <cstdint>
#include <optional>
#include <string>

namespace session {
class AppData;
}

namespace config {

struct SheetPageValues {
    // Read before anything is sent (the PPPoE and DDNS check).
    std::optional<std::uint8_t> networkType;  // network page
    std::optional<bool> ddnsEnable;           // DDNS page
    // Taken after the sends.
    std::optional<std::string> recordPath, snapshotPath, triggerWavPath;  // record paths page
    std::optional<std::uint8_t> alarmTriggerRecord, alarmAutoSwitchVideo;  // alarm page
    std::optional<std::uint32_t> dynamicDownload;                          // network backup page
    std::optional<std::string> networkFileDirectory;                       // only when changed
    std::optional<std::uint8_t> searchListType;                            // record search page, each when changed
    std::optional<std::uint16_t> searchListHdd, searchListMaxNumber;
    std::optional<int> turboIndex;  // tool box page: the turbo step - 1
};

// The settings the sheet pre-fills its pages with when it opens.
struct SheetPrefill {
    std::string recordPath, snapshotPath, triggerWavPath;
    int turboIndex = 4;
    std::uint8_t alarmTriggerRecord = 1;
    static SheetPrefill From(const session::AppData& app);
};

// PPPoE without DDNS cannot work: the network type and DDNS flag the pages
// show, or those of the loaded blocks for a page never opened.
bool PppoeWithoutDdns(const SheetPageValues& values, std::uint8_t loadedNetworkType, std::uint8_t loadedDdnsEnable);

// The values into the settings, then the record and snapshot folders made (a failure is ignored).
void ApplyLocalSettings(const SheetPageValues& values, session::AppData& app);

}  // namespace config
