#include "config/sheet/SheetLocalSettings.h"

#include <filesystem>
#include <system_error>

#include "session/AppData.h"

namespace config {

SheetPrefill SheetPrefill::From(const session::AppData& app) {
    SheetPrefill prefill;
    prefill.recordPath = app.CSettingINI.m_strRecordPath.Get();
    prefill.snapshotPath = app.CSettingINI.m_strSnapshotPath.Get();
    prefill.triggerWavPath = app.CSettingINI.m_strTriggerWavPath.Get();
    prefill.turboIndex = app.by_TurboRepeatStep.load() - 1;
    prefill.alarmTriggerRecord = app.CSettingINI.m_byAlarmTriggerRecord.load();
    return prefill;
}

bool PppoeWithoutDdns(const SheetPageValues& values, std::uint8_t loadedNetworkType, std::uint8_t loadedDdnsEnable) {
    const std::uint8_t type = values.networkType.value_or(loadedNetworkType);
    const bool ddns = values.ddnsEnable.value_or(loadedDdnsEnable != 0);
    return type == 1 && !ddns;
}

namespace {

// A value a page reported goes into its setting; an unset one leaves it.
template <typename Target, typename Value>
void Take(Target& target, const std::optional<Value>& value) {
    if (value)
        target = *value;
}

}  // namespace

void ApplyLocalSettings(const SheetPageValues& v, session::AppData& app) {
    auto& settings = app.CSettingINI;
    Take(settings.m_strRecordPath, v.recordPath);
    Take(settings.m_strSnapshotPath, v.snapshotPath);
    Take(settings.m_strTriggerWavPath, v.triggerWavPath);
    Take(settings.m_byAlarmTriggerRecord, v.alarmTriggerRecord);
    Take(settings.m_byAlarmAutoSwitchVideo, v.alarmAutoSwitchVideo);
    Take(settings.m_dwDynamicDownload, v.dynamicDownload);
    if (v.turboIndex)
        app.by_TurboRepeatStep = static_cast<std::uint8_t>(*v.turboIndex + 1);

    for (const std::string& folder : {settings.m_strRecordPath.Get(), settings.m_strSnapshotPath.Get()}) {
        std::error_code ignored;
        if (!folder.empty())
            std::filesystem::create_directories(folder, ignored);
    }

    Take(settings.m_strNetworkFileDirectory, v.networkFileDirectory);
    Take(settings.m_bySearchListType, v.searchListType);
    Take(settings.m_wSearchListHDD, v.searchListHdd);
    Take(settings.m_wSearchListMaxNumber, v.searchListMaxNumber);
}

}  // namespace config
