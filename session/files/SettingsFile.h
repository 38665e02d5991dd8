#pragma once
// The program's settings and their file, Setting.ini in the program folder:
// one section "Quenlo" of key=value lines.
//
// The members are read by worker threads (server, port, folders, MAC words)
// while the GUI thread may change them, so numbers are atomics and texts are
// SharedText (a copy-out getter behind a mutex). Plain reads and assignments
// work on both: `std::uint16_t port = s.m_wWebPort;`, `s.m_strServerName = "x";`,
// `std::string name = s.m_strServerName.Get();`.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "session/SharedValue.h"

namespace session {

class UiPort;

// A text shared between threads: every read is a copy taken under the lock.
// It also takes plain assignments and reads, as the settings' users write them.
class SharedText : public SharedValue<std::string> {
public:
    using SharedValue::SharedValue;

    SharedText& operator=(std::string text) {
        Set(std::move(text));
        return *this;
    }
    operator std::string() const { return Get(); }
    bool Empty() const { return Get().empty(); }
};

// The folders the settings are computed from; FromSystem() gives the program
// folder and the user's desktop folder. Tests pass their own.
struct SettingsFolders {
    std::filesystem::path program;
    std::filesystem::path desktop;  // empty: the desktop folder could not be found
    static SettingsFolders FromSystem();
};

// The default device address.
inline constexpr std::string_view kDefaultServerName = "127.0.0.1";
// Texts read from the file keep at most this many characters.
inline constexpr std::size_t kSettingTextMax = 255;
// The login account's default name and password.
inline constexpr std::string_view kDefaultAccount = "tovik";

class CSettingINI {
public:
    static constexpr int kKeyCount = 49;  // entry 0 is the section name

    CSettingINI();
    CSettingINI(const CSettingINI&) = delete;
    CSettingINI& operator=(const CSettingINI&) = delete;

    // Reads Setting.ini from the program folder; a missing or unreadable file
    // or key gives the defaults. A file larger than kProfileFileMaxBytes is
    // moved aside (platform::MoveFileAside) and reported through ui. The turbo
    // repeat step (kept by the application data object) is read into
    // turboRepeatStep. Creates the record and snapshot folders. Shows message
    // 4056 through ui when the desktop folder is unknown. Returns 1 in every case.
    int LoadSetting(std::uint8_t& turboRepeatStep, UiPort* ui = nullptr);
    int LoadSetting(const SettingsFolders& folders, std::uint8_t& turboRepeatStep,
                    UiPort* ui = nullptr);

    // Writes every saved key into Setting.ini in the program folder found at
    // load (keys already in the file are updated in place, other keys and
    // sections kept). A file that exists but cannot be read is moved aside
    // first, and left alone when it cannot be. Returns 1 in every case.
    int SaveSetting(std::uint8_t turboRepeatStep);

    // The device's address as the person typed or picked it. A host name an
    // earlier login resolved (m_szServerAddress) belongs to another attempt:
    // it is forgotten, so neither the save nor a re-login goes back to it.
    void SetTypedServer(std::string server);

    // Setting.ini's full path (valid after LoadSetting).
    std::filesystem::path SettingFilePath() const;

    // Section and key names by key number (entry 17 is empty).
    std::array<std::string, kKeyCount> m_strKeyName;

    std::atomic<std::uint32_t> m_dwImageResolution{0};
    std::atomic<std::uint32_t> m_dwBrightness{0};
    std::atomic<std::uint32_t> m_dwContrast{96};
    std::atomic<std::uint32_t> m_dwSaturation{0};

    SharedText m_strPassword{std::string(kDefaultAccount)};  // never loaded or saved
    SharedText m_strUserName{std::string(kDefaultAccount)};
    SharedText m_strServerName{std::string(kDefaultServerName)};

    std::atomic<std::uint16_t> m_wWebPort{80};

    // The server as the user typed it (at most 255 characters); saved in
    // preference to m_strServerName when not empty.
    SharedText m_szServerAddress;

    std::atomic<std::uint32_t> m_dwSubPort{8888};

    std::atomic<std::uint16_t> m_wZoomRatio{100};
    std::atomic<std::uint16_t> m_wFrameRate{30};
    std::atomic<std::uint16_t> m_wTargetBitRate{400};
    std::atomic<std::uint16_t> m_wPeakBitRate{450};
    std::atomic<std::uint16_t> m_wBitRateControlType{1};

    std::atomic<std::uint8_t> m_byResolutionType{3};
    std::atomic<std::uint8_t> m_byImageQuility{0};
    std::atomic<std::uint8_t> m_byAlarmAutoSwitchVideo{0};

    std::atomic<std::uint16_t> m_wSearchListHDD{0};
    std::atomic<std::uint8_t> m_bySearchListType{0};
    std::atomic<std::uint16_t> m_wSearchListMaxNumber{128};

    std::atomic<std::uint8_t> m_bySelectedChannel{1};

    std::atomic<std::uint16_t> m_wLastMAC1{255};
    std::atomic<std::uint16_t> m_wLastMAC2{255};

    std::atomic<std::uint8_t> m_byRetrAlarmRecord{1};
    std::atomic<std::uint8_t> m_byAlarmTriggerRecord{1};

    std::atomic<std::uint16_t> m_wAlarmEnableButton{3};

    std::atomic<std::uint32_t> m_dwImageQuality{0};
    std::atomic<std::uint32_t> m_dwAlarmTriggerResolution{1};
    std::atomic<std::uint32_t> m_dwTriggerWavPathLoword{0};

    std::atomic<std::uint8_t> m_byTriggerCloseHour{0};
    std::atomic<std::uint8_t> m_byTriggerCloseMinute{0};
    std::atomic<std::uint8_t> m_byTriggerCloseDate{0};

    // Folders end without a separator, except m_strUpgradeFWPath and
    // m_strAppPath, which end with "/".
    SharedText m_strDesktopPath;  // computed at load, not saved
    SharedText m_strRecordPath;
    SharedText m_strSnapshotPath;
    SharedText m_strUpgradeFWPath;
    SharedText m_strUpgradeDvrFWPath;
    SharedText m_strAppPath;  // the program folder, computed at load, not saved
    SharedText m_strTriggerWavPath;
    SharedText m_strNetworkFileDirectory;

    std::atomic<std::uint32_t> m_dwDynamicDownload{0};
    std::atomic<std::uint32_t> m_dwWriteCD{0};
    std::atomic<std::uint32_t> m_dwWriteCDClose{0};
    std::atomic<std::uint32_t> m_dwWritePlayerSetup{0};  // no key
};

}  // namespace session
