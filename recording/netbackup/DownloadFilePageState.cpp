#include "recording/netbackup/DownloadFilePageState.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "res/StringTable.h"
#include "session/files/SettingsFile.h"

namespace recording {

namespace {

std::string ChooseFolderText() { return std::string(res::LoadString(kChooseFolderMessage)); }

std::string InFolder(const std::string& folder, const char* name) {
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

bool NameTaken(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

}  // namespace

std::vector<BackupDisk> BackupDiskList(const DiskMap& map) {
    std::vector<BackupDisk> disks;
    for (const std::uint8_t disk : map.Disks())
        disks.push_back({DiskName(disk), disk});
    return disks;
}

std::string BackupFolderOf(std::string folder) {
    if (folder.size() > 1 && folder.ends_with('/'))
        folder.pop_back();
    return folder;
}

std::string NextBackupFileName(const std::string& folder, std::uint32_t channel) {
    char name[64];
    for (unsigned n = 1; n <= kBackupFileNumbers; ++n) {
        std::snprintf(name, sizeof name, "CH%.2u_%.4u.dvr", static_cast<unsigned>(channel), n);
        std::string path = InFolder(folder, name);
        if (!NameTaken(path))
            return path;
    }
    std::snprintf(name, sizeof name, "CH%.2u_Temp.dvr", static_cast<unsigned>(channel));
    return InFolder(folder, name);
}

bool CreateEmptyBackupFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd >= 0 && ::close(fd) == 0;
}

void DownloadFilePageState::LoadFolderSetting(const std::string& setting) {
    if (setting.empty()) {
        m_strFilePath = ChooseFolderText();
        return;
    }
    SetFolder(setting);
}

void DownloadFilePageState::SetFolder(const std::string& folder) {
    m_strFolder = BackupFolderOf(folder);
    hasFolder_ = true;
    GetNextFileName();
}

void DownloadFilePageState::GetNextFileName() {
    // Without a folder the path box keeps asking for one rather than naming a file in the root.
    if (hasFolder_)
        m_strFilePath = NextBackupFileName(m_strFolder, m_nChannel);
}

void DownloadFilePageState::SetDisks(const DiskMap& map) {
    disks = BackupDiskList(map);
    if (!disks.empty())
        m_nDiskIndex = 0;
}

void DownloadFilePageState::LoadOptions(const session::CSettingINI& settings) {
    m_bDynamicLoad = settings.m_dwDynamicDownload.load() != 0;
    m_bWriteCD = settings.m_dwWriteCD.load() != 0;
}

void DownloadFilePageState::ToggleDynamicLoad(session::CSettingINI& settings) {
    m_bDynamicLoad = !m_bDynamicLoad;
    settings.m_dwDynamicDownload = m_bDynamicLoad ? 1 : 0;
}

void DownloadFilePageState::ToggleWriteCd(session::CSettingINI& settings) {
    m_bWriteCD = !m_bWriteCD;
    settings.m_dwWriteCD = m_bWriteCD ? 1 : 0;
}

std::optional<BackupDateTime> DownloadFilePageState::TakeOver(PendingBackupSelection& selection) {
    if (selection.byPending == 0)
        return std::nullopt;
    if (selection.byChannel != 0) {
        m_nChannel = selection.byChannel;
        GetNextFileName();
    }
    m_nDiskIndex = selection.byDiskIndex;
    const auto& t = selection.dateTime;
    const BackupDateTime when{2000 + t[0], t[1], t[2], t[3], t[4], t[5]};
    selection = {};
    return when;
}

unsigned DownloadFilePageState::StartRefusal() const {
    if (m_nFileSize <= 0)
        return kBadBackupSizeMessage;
    if (m_strFilePath == ChooseFolderText())
        return kBadBackupPathMessage;
    if (!DiskNumber() || m_nChannel == 0 || m_nChannel > kMaxBackupChannel)
        return kNoBackupSourceMessage;
    return 0;
}

std::optional<std::uint8_t> DownloadFilePageState::DiskNumber() const {
    if (m_nDiskIndex < 0 || static_cast<std::size_t>(m_nDiskIndex) >= disks.size())
        return std::nullopt;
    return disks[static_cast<std::size_t>(m_nDiskIndex)].number;
}

NetworkBackupRequest DownloadFilePageState::Request(const BackupDateTime& date, const BackupDateTime& time) const {
    NetworkBackupRequest request;
    request.year = date.year, request.month = date.month, request.day = date.day;
    request.hour = time.hour, request.minute = time.minute, request.second = time.second;
    request.diskNumber = DiskNumber().value_or(0);
    request.channel = m_nChannel - 1;
    request.sizeMb = m_nFileSize;
    request.filePath = m_strFilePath;
    request.writeCd = m_bWriteCD;
    return request;
}

}  // namespace recording
