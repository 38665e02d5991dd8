#include "session/SettingsFile.h"

#include "platform/ProgramFolder.h"

namespace session {

namespace {

// Section and key names by key number; empty entries are unused numbers.
constexpr std::array<std::string_view, CSettingINI::kKeyCount> kKeyNames = {
    "Quenlo",
    "LANGUAGE",
    "Image Quility",
    "ServerPort",
    "Image Resolution",
    "Turbo repeat step",
    "Username",
    "brightness",
    "contrast",
    "saturation",
    "AvSwitch Option",
    "RETR Alarm Record",
    "Enable_ALARM",
    "ALARM_DURATION",
    "Server Name",
    "Sub Port Number",
    "Network File Directory",
    "",
    "Zoom Ratio",
    "Frame Rate",
    "Target Bit Rate",
    "Peak Bit Rate",
    "Control Bit Rate Type",
    "Resolution Type",
    "Selected Channel",
    "Dynamic Download Option",
    "Write CD Option",
    "Record Path",
    "Snapshot Path",
    "Upgrade FW Path",
    "Last Connection MAC1",
    "Last Connection MAC2",
    "Alarm Trigger Record",
    "Alarm Trigger Audio",
    "Alarm Audio New Path III",
    "Alarm Enable Button",
    "Alarm Trigger Quality",
    "Alarm Trigger Resolution",
    "Trigger Wav Path",
    "Trigger Wav Path LOWORD",
    "Trigger Close Time Hour",
    "Trigger Close Time Min",
    "Trigger Close Time date",
    "Search List HDD",
    "Search List Type",
    "Search List Max Number",
    "Upgrade DVR FW Path",
    "Alarm auto switch video",
    "Write CD Close Option",
};

}  // namespace

SettingsFolders SettingsFolders::FromSystem() {
    return {platform::ProgramFolder(), platform::DesktopFolder()};
}

CSettingINI::CSettingINI() {
    for (int i = 0; i < kKeyCount; ++i)
        m_strKeyName[i] = std::string(kKeyNames[i]);
}

int CSettingINI::LoadSetting(std::uint8_t& turboRepeatStep, UiPort* ui) {
    return LoadSetting(SettingsFolders::FromSystem(), turboRepeatStep, ui);
}

int CSettingINI::LoadSetting(const SettingsFolders& folders, std::uint8_t& turboRepeatStep,
                             UiPort* ui) {
    return 1;
}

int CSettingINI::SaveSetting(std::uint8_t turboRepeatStep) {
    return 1;
}

std::filesystem::path CSettingINI::SettingFilePath() const {
    return std::filesystem::path(m_strAppPath.Get()) / "Setting.ini";
}

}  // namespace session
