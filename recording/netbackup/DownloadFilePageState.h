#pragma once
// The network backup page's rules without its window: the values its controls
// show, the disk list, the next free file name in the target folder, the pick
// of the record list taken over, the checks of Start and the request the
// download sends. The page moves these values into and out of its controls.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recording/netbackup/BackupBlock.h"
#include "recording/search/DiskMap.h"
#include "recording/search/RecordList.h"

namespace session {
class CSettingINI;
}

namespace recording {

// "Najpierw należy wybrać ścieżkę dostępu!", shown in the path box until a folder is chosen.
inline constexpr unsigned kChooseFolderMessage = 4103;
// "Wielkość pliku archiwizacyjnego jest nieodpowiednia"
inline constexpr unsigned kBadBackupSizeMessage = 4104;
// "Ścieżka dostępu jest nieprawidłowa."
inline constexpr unsigned kBadBackupPathMessage = 4105;
// "DVR nie zawiera zapisanych danych."
inline constexpr unsigned kNoBackupSourceMessage = 4107;

inline constexpr int kMaxBackupSizeMb = 500;
inline constexpr std::uint32_t kMaxBackupChannel = 16;
inline constexpr unsigned kBackupFileNumbers = 9999;

// One entry of the page's disk list: its name and the number the device knows it by.
struct BackupDisk {
    std::string name;
    std::uint8_t number = 0;
};
// One entry per present disk, in ascending order.
std::vector<BackupDisk> BackupDiskList(const DiskMap& map);

// The folder as the page keeps it: one trailing '/' removed (the root stays "/").
std::string BackupFolderOf(std::string folder);
// "<folder>/CH%.2d_%.4d.dvr" with the first number of 1-9999 that names no
// file yet; when all are taken, "<folder>/CH%.2d_Temp.dvr".
std::string NextBackupFileName(const std::string& folder, std::uint32_t channel);

// Makes the target file, empty, replacing one that exists; false when it cannot.
bool CreateEmptyBackupFile(const std::string& path);

struct BackupDateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

struct DownloadFilePageState {
    int m_nDiskIndex = -1;         // position in the disk list; -1 none
    int m_nFileSize = 5;           // MB
    std::uint32_t m_nChannel = 1;  // 1-16
    std::string m_strFilePath;     // the proposed target, or the prompt to choose a folder
    bool m_bDynamicLoad = false;
    bool m_bWriteCD = false;
    std::string m_strFolder;
    std::string m_strDownloadedFile;
    std::vector<BackupDisk> disks;

    // The folder setting at the page's start: the prompt while it is empty,
    // else the folder and its next free name.
    void LoadFolderSetting(const std::string& setting);
    // A folder chosen in the browser.
    void SetFolder(const std::string& folder);
    bool HasFolder() const { return hasFolder_; }
    // The next free name for the folder and channel; the prompt stays while no folder was chosen.
    void GetNextFileName();

    // The disk list of the device's reply; the first disk chosen when there is one.
    void SetDisks(const DiskMap& map);
    // The two option boxes as the settings hold them.
    void LoadOptions(const session::CSettingINI& settings);
    // The operator's click on a box: the value and its setting change together.
    void ToggleDynamicLoad(session::CSettingINI& settings);
    void ToggleWriteCd(session::CSettingINI& settings);

    // Takes a pending pick over once and clears it: its channel (0 keeps the
    // page's), its disk position, and a new name for a new channel. The
    // pickers' date and time when there was a pick.
    std::optional<BackupDateTime> TakeOver(PendingBackupSelection& selection);

    // Start's checks on the controls' values: 0, or the message that stops it.
    unsigned StartRefusal() const;
    // The number of the chosen disk; nothing when no entry is chosen.
    std::optional<std::uint8_t> DiskNumber() const;
    // The download of the chosen stretch (the date of one picker, the time of the other).
    NetworkBackupRequest Request(const BackupDateTime& date, const BackupDateTime& time) const;

private:
    bool hasFolder_ = false;
};

}  // namespace recording
