#pragma once
// The network backup's wire and its outcomes: the 8-byte header of every block
// of the "/NetworkBk.cgi" reply, the statuses the download reports to its
// dialog, the percentage, and the request the download sends.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace recording {

// Block types; any other is skipped after its header.
inline constexpr std::uint32_t BACKUP_BLOCK_END = 1;
inline constexpr std::uint32_t BACKUP_BLOCK_DATA = 3;
inline constexpr std::uint32_t BACKUP_BLOCK_BUSY = 6;

inline constexpr std::size_t kBackupBlockHeaderSize = 8;
// The usual payload; longer ones are gathered in a larger buffer up to the limit.
inline constexpr std::size_t kBackupBlockBufferSize = 2048;
// A payload announced above this is a broken stream.
inline constexpr std::size_t kBackupBlockLimit = std::size_t{1} << 20;

struct BackupBlockHeader {
    std::uint32_t length = 0;  // payload bytes that follow (data blocks only)
    std::uint32_t type = 0;
};
BackupBlockHeader ReadBackupBlockHeader(std::span<const std::uint8_t, kBackupBlockHeaderSize> bytes);

// What the download tells its dialog.
enum BackupStatus : unsigned {
    BACKUP_STATUS_SEND_FAILED = 1,
    BACKUP_STATUS_FILE_ERROR = 2,
    BACKUP_STATUS_RECEIVE_FAILED = 3,
    BACKUP_STATUS_NO_DATA = 4,
    BACKUP_STATUS_FINISHED = 5,
    BACKUP_STATUS_PROGRESS = 6,
    BACKUP_STATUS_BUSY = 7,
    BACKUP_STATUS_WRITING_CD = 8,
};
inline constexpr const char* kBackupFinishedText = "Download process is finished";
inline constexpr const char* kWritingCdText = "Writing cd ...";
// The string-table message a failure shows (4065, 4105, 4106, 4107, 4115); 0 for the others.
unsigned BackupStatusMessage(unsigned status);

// ((total x 100) >> 20) / size in MB, not cut to a byte (0 for a size below 1).
std::uint32_t BackupPercentage(std::uint64_t total, std::int32_t sizeMb);

// One stretch of one channel of one disk.
struct NetworkBackupRequest {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    std::uint32_t diskNumber = 0;  // Num
    std::uint32_t channel = 0;     // CH, zero-based
    std::int32_t sizeMb = 5;       // Size
    std::string filePath;
    bool writeCd = false;
};

// "/NetworkBk.cgi?Cookie=...&Year=...&Size=..."; empty when the cookie cannot go on the line.
std::string NetworkBackupTarget(const std::string& cookie, const NetworkBackupRequest& request);

}  // namespace recording
