#include "session/files/SettingsFile.h"

#include <charconv>
#include <limits>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <variant>

#include "platform/AtomicFile.h"
#include "platform/MoveAside.h"
#include "platform/ProgramFolder.h"
#include "session/files/ProfileFile.h"
#include "session/live/LocalClock.h"
#include "session/UiPort.h"

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


enum Key {
    kImageQuility = 2, kServerPort = 3, kImageResolution = 4, kTurboRepeatStep = 5,
    kUsername = 6, kBrightness = 7, kContrast = 8, kSaturation = 9, kRetrAlarmRecord = 11,
    kServerName = 14, kSubPort = 15, kNetworkFileDirectory = 16, kZoomRatio = 18,
    kFrameRate = 19, kTargetBitRate = 20, kPeakBitRate = 21, kBitRateControlType = 22,
    kResolutionType = 23, kSelectedChannel = 24, kDynamicDownload = 25, kWriteCD = 26,
    kRecordPath = 27, kSnapshotPath = 28, kUpgradeFWPath = 29, kLastMAC1 = 30, kLastMAC2 = 31,
    kAlarmTriggerRecord = 32, kAlarmEnableButton = 35, kAlarmTriggerQuality = 36,
    kAlarmTriggerResolution = 37, kTriggerWavPath = 38, kTriggerWavPathLoword = 39,
    kTriggerCloseHour = 40, kTriggerCloseMinute = 41, kTriggerCloseDate = 42,
    kSearchListHDD = 43, kSearchListType = 44, kSearchListMaxNumber = 45,
    kUpgradeDvrFWPath = 46, kAlarmAutoSwitchVideo = 47, kWriteCDClose = 48,
};

using U8 = std::atomic<std::uint8_t> CSettingINI::*;
using U16 = std::atomic<std::uint16_t> CSettingINI::*;
using U32 = std::atomic<std::uint32_t> CSettingINI::*;
using Text = SharedText CSettingINI::*;
struct TurboStep {};  // kept by the application data object, passed in and out
using Field = std::variant<U8, U16, U32, Text, TurboStep>;

// What each saved key holds. For numbers, a default of nullopt means "the
// member's value before the load" (the constructor's); texts get their
// defaults where they are loaded.
struct Setting {
    int key;
    Field field;
    std::optional<std::uint32_t> numberDefault = std::nullopt;
};

constexpr std::nullopt_t kCurrent = std::nullopt;

const Setting kSettings[] = {
    {kImageQuility, &CSettingINI::m_byImageQuility, 0},
    {kServerPort, &CSettingINI::m_wWebPort, kCurrent},
    {kImageResolution, &CSettingINI::m_dwImageResolution, 1},
    {kTurboRepeatStep, TurboStep{}, 5},
    {kUsername, &CSettingINI::m_strUserName},
    {kBrightness, &CSettingINI::m_dwBrightness, kCurrent},
    {kContrast, &CSettingINI::m_dwContrast, kCurrent},
    {kSaturation, &CSettingINI::m_dwSaturation, kCurrent},
    {kRetrAlarmRecord, &CSettingINI::m_byRetrAlarmRecord, 1},
    {kServerName, &CSettingINI::m_strServerName},
    {kSubPort, &CSettingINI::m_dwSubPort, kCurrent},
    {kNetworkFileDirectory, &CSettingINI::m_strNetworkFileDirectory},
    {kZoomRatio, &CSettingINI::m_wZoomRatio, 100},
    {kFrameRate, &CSettingINI::m_wFrameRate, 30},
    {kTargetBitRate, &CSettingINI::m_wTargetBitRate, 400},
    {kPeakBitRate, &CSettingINI::m_wPeakBitRate, 450},
    {kBitRateControlType, &CSettingINI::m_wBitRateControlType, 1},
    {kResolutionType, &CSettingINI::m_byResolutionType, 3},
    {kSelectedChannel, &CSettingINI::m_bySelectedChannel, 1},
    {kDynamicDownload, &CSettingINI::m_dwDynamicDownload, 0},
    {kWriteCD, &CSettingINI::m_dwWriteCD, 0},
    {kRecordPath, &CSettingINI::m_strRecordPath},
    {kSnapshotPath, &CSettingINI::m_strSnapshotPath},
    {kUpgradeFWPath, &CSettingINI::m_strUpgradeFWPath},
    {kLastMAC1, &CSettingINI::m_wLastMAC1, 255},
    {kLastMAC2, &CSettingINI::m_wLastMAC2, 255},
    {kAlarmTriggerRecord, &CSettingINI::m_byAlarmTriggerRecord, 1},
    {kAlarmEnableButton, &CSettingINI::m_wAlarmEnableButton, 3},
    {kAlarmTriggerQuality, &CSettingINI::m_dwImageQuality, 0},
    {kAlarmTriggerResolution, &CSettingINI::m_dwAlarmTriggerResolution, 1},
    {kTriggerWavPath, &CSettingINI::m_strTriggerWavPath},
    {kTriggerWavPathLoword, &CSettingINI::m_dwTriggerWavPathLoword, 0},
    {kTriggerCloseHour, &CSettingINI::m_byTriggerCloseHour, 0},
    {kTriggerCloseMinute, &CSettingINI::m_byTriggerCloseMinute, 0},
    {kTriggerCloseDate, &CSettingINI::m_byTriggerCloseDate, 0},
    {kSearchListHDD, &CSettingINI::m_wSearchListHDD, 0},
    {kSearchListType, &CSettingINI::m_bySearchListType, 0},
    {kSearchListMaxNumber, &CSettingINI::m_wSearchListMaxNumber, 128},
    {kUpgradeDvrFWPath, &CSettingINI::m_strUpgradeDvrFWPath},
    {kAlarmAutoSwitchVideo, &CSettingINI::m_byAlarmAutoSwitchVideo, 0},
    {kWriteCDClose, &CSettingINI::m_dwWriteCDClose, 0},
};

const Setting& SettingOf(int key) {
    for (const auto& s : kSettings)
        if (s.key == key)
            return s;
    throw std::logic_error("no setting for key " + std::to_string(key));
}

// The numbers read before the turbo step, then those read after it.
constexpr int kFirstNumbers[] = {kBrightness, kContrast, kSaturation, kImageResolution};
constexpr int kSecondNumbers[] = {
    kServerPort, kSubPort, kZoomRatio, kFrameRate, kTargetBitRate, kPeakBitRate,
    kBitRateControlType, kResolutionType, kImageQuility, kSelectedChannel, kDynamicDownload,
    kWriteCD, kWriteCDClose, kLastMAC1, kLastMAC2, kAlarmTriggerRecord, kAlarmEnableButton};
constexpr int kThirdNumbers[] = {kSearchListHDD, kSearchListType, kSearchListMaxNumber,
                                 kAlarmTriggerQuality, kAlarmTriggerResolution,
                                 kTriggerWavPathLoword, kTriggerCloseHour, kTriggerCloseMinute,
                                 kTriggerCloseDate, kAlarmAutoSwitchVideo};
constexpr int kDesktopFolders[] = {kRecordPath, kSnapshotPath, kUpgradeFWPath, kUpgradeDvrFWPath};

constexpr int kSaveOrder[] = {
    kBrightness, kContrast, kSaturation, kImageResolution, kUsername, kServerName, kServerPort,
    kSubPort, kZoomRatio, kFrameRate, kTargetBitRate, kPeakBitRate, kBitRateControlType,
    kResolutionType, kImageQuility, kSelectedChannel, kDynamicDownload, kWriteCD, kWriteCDClose,
    kLastMAC1, kLastMAC2, kAlarmTriggerRecord, kRetrAlarmRecord, kAlarmEnableButton,
    kTurboRepeatStep, kAlarmTriggerQuality, kAlarmTriggerResolution, kTriggerWavPathLoword,
    kTriggerCloseHour, kTriggerCloseMinute, kTriggerCloseDate, kAlarmAutoSwitchVideo,
    kSearchListHDD, kSearchListType, kSearchListMaxNumber, kRecordPath, kSnapshotPath,
    kUpgradeFWPath, kUpgradeDvrFWPath, kTriggerWavPath, kNetworkFileDirectory};

// The member's range in the file. 32-bit members are also read as the
// negative numbers that saving writes for values above 2^31 - 1.
template <class T>
std::optional<T> ParseNumber(std::string_view text) {
    long long value = 0;
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    constexpr long long max = std::numeric_limits<T>::max();
    constexpr long long min = sizeof(T) == 4 ? std::numeric_limits<std::int32_t>::min() : 0;
    if (value < min || value > max)
        return std::nullopt;
    return static_cast<T>(value);
}

// At most kSettingTextMax characters, cut between characters, not inside one.
std::string CutText(std::string text) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;  // continuation byte
        if (++chars > kSettingTextMax) {
            text.resize(i);
            break;
        }
    }
    return text;
}

std::string WithTrailingSlash(std::string path) {
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

// Reads and writes the members through the table; the turbo step is the caller's.
class SettingIO {
public:
    SettingIO(CSettingINI& settings, ProfileFile& file, std::uint8_t& turbo)
        : s_(settings), file_(file), turbo_(turbo) {}

    std::optional<std::string> Value(int key) const {
        return file_.Get(s_.m_strKeyName[0], s_.m_strKeyName[key]);
    }

    void LoadNumber(int key) {
        const Setting& setting = SettingOf(key);
        const auto text = Value(key);
        std::visit(
            [&](auto field) {
                using F = decltype(field);
                if constexpr (std::is_same_v<F, TurboStep>) {
                    turbo_ = Number<std::uint8_t>(text, setting, turbo_);
                } else if constexpr (!std::is_same_v<F, Text>) {
                    auto& member = s_.*field;
                    using T = typename std::remove_reference_t<decltype(member)>::value_type;
                    member = Number<T>(text, setting, member.load());
                }
            },
            setting.field);
    }

    void LoadText(int key, const std::string& defaultText) {
        const auto text = Value(key);
        (s_.*std::get<Text>(SettingOf(key).field)) = text ? CutText(*text) : defaultText;
    }

    void Save(int key) {
        std::string text = std::visit(
            [&](auto field) -> std::string {
                using F = decltype(field);
                if constexpr (std::is_same_v<F, TurboStep>)
                    return std::to_string(turbo_);
                else if constexpr (std::is_same_v<F, Text>)
                    return (s_.*field).Get();
                else if constexpr (std::is_same_v<F, U32>)
                    // Written signed, as the original program did; the unsigned LOWORD is the exception.
                    return key == kTriggerWavPathLoword
                               ? std::to_string((s_.*field).load())
                               : std::to_string(static_cast<std::int32_t>((s_.*field).load()));
                else
                    return std::to_string((s_.*field).load());
            },
            SettingOf(key).field);
        if (key == kServerName && !s_.m_szServerAddress.Empty())
            text = s_.m_szServerAddress.Get();
        file_.Set(s_.m_strKeyName[0], s_.m_strKeyName[key], text);
    }

private:
    template <class T>
    static T Number(const std::optional<std::string>& text, const Setting& setting, T current) {
        const T fallback =
            setting.numberDefault ? static_cast<T>(*setting.numberDefault) : current;
        if (!text)
            return fallback;
        return ParseNumber<T>(*text).value_or(fallback);
    }

    CSettingINI& s_;
    ProfileFile& file_;
    std::uint8_t& turbo_;
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
    m_strAppPath = WithTrailingSlash(folders.program.string());
    ProfileFile file;
    const auto path = SettingFilePath();
    // No file, or one that cannot be read: every key takes its default.
    if (const auto read = file.Load(path); read.tooLarge) {
        std::filesystem::path aside;
        const auto moved = platform::MoveFileAside(path, LocalCalendarTime(), &aside);
        if (ui)
            ui->ShowMessageText(read.error + (moved ? "; it was moved to " + aside.string() : "; " + moved.error) +
                                ", and the settings start from their defaults.");
    }
    SettingIO io(*this, file, turboRepeatStep);

    for (int key : kFirstNumbers)
        io.LoadNumber(key);
    io.LoadText(kUsername, m_strUserName.Get());
    io.LoadText(kServerName, std::string(kDefaultServerName));
    for (int key : kSecondNumbers)
        io.LoadNumber(key);
    m_byRetrAlarmRecord = 1;
    io.LoadNumber(kTurboRepeatStep);
    for (int key : kThirdNumbers)
        io.LoadNumber(key);

    const std::string desktop = folders.desktop.string();
    m_strDesktopPath = desktop;
    if (desktop.empty() && ui)
        ui->ShowMessageBox(4056);
    for (int key : kDesktopFolders)
        io.LoadText(key, desktop);
    // The drive root default of the original becomes the home folder.
    io.LoadText(kNetworkFileDirectory, WithTrailingSlash(platform::HomeFolder().string()));

    m_strUpgradeFWPath = WithTrailingSlash(m_strUpgradeFWPath.Get());
    if (std::string dvr = m_strUpgradeDvrFWPath.Get(); !dvr.empty() && dvr.back() == '/') {
        dvr.pop_back();
        m_strUpgradeDvrFWPath = dvr;
    }
    io.LoadText(kTriggerWavPath, m_strAppPath.Get() + "alarm.wav");
    if (m_strRecordPath.Empty())
        m_strRecordPath = desktop;
    if (m_strSnapshotPath.Empty())
        m_strSnapshotPath = desktop;

    for (const SharedText* folder : {&m_strRecordPath, &m_strSnapshotPath}) {
        // An existing or uncreatable folder is no error. A relative text (a
        // Windows path from the original program) would land in the working folder.
        std::error_code ignored;
        if (const std::filesystem::path path = folder->Get(); path.is_absolute())
            std::filesystem::create_directory(path, ignored);
    }
    return 1;
}

int CSettingINI::SaveSetting(std::uint8_t turboRepeatStep) {
    ProfileFile file;
    const auto path = SettingFilePath();
    std::error_code ec;
    if (!file.Load(path) && std::filesystem::exists(path, ec) && !platform::MoveFileAside(path, LocalCalendarTime()))
        return 1;  // never replace what could not be read with a file that lost it
    SettingIO io(*this, file, turboRepeatStep);
    for (int key : kSaveOrder)
        io.Save(key);
    file.Save(path);  // a write failure is ignored; the old file stays whole
    return 1;
}

void CSettingINI::SetTypedServer(std::string server) {
    m_szServerAddress = std::string();
    m_strServerName = std::move(server);
}

std::filesystem::path CSettingINI::SettingFilePath() const {
    std::string folder = m_strAppPath.Get();
    if (folder.empty())
        folder = WithTrailingSlash(platform::ProgramFolder().string());
    return std::filesystem::path(folder) / "Setting.ini";
}

}  // namespace session
