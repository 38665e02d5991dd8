#include "recording/netbackup/BackupBlock.h"

#include "platform/ByteOrder.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CgiRequest.h"

namespace recording {

BackupBlockHeader ReadBackupBlockHeader(std::span<const std::uint8_t, kBackupBlockHeaderSize> bytes) {
    return {platform::LoadLe32(bytes.data()), platform::LoadLe32(bytes.data() + 4)};
}

unsigned BackupStatusMessage(unsigned status) {
    switch (status) {
        case BACKUP_STATUS_SEND_FAILED: return 4065;
        case BACKUP_STATUS_FILE_ERROR: return 4105;
        case BACKUP_STATUS_RECEIVE_FAILED: return 4106;
        case BACKUP_STATUS_NO_DATA: return 4107;
        case BACKUP_STATUS_BUSY: return 4115;
        default: return 0;
    }
}

std::uint32_t BackupPercentage(std::uint64_t total, std::int32_t sizeMb) {
    if (sizeMb < 1)
        return 0;
    // total x 100 stays far below 2^64 for any file a disk holds.
    return static_cast<std::uint32_t>(((total * 100) >> 20) / static_cast<std::uint64_t>(sizeMb));
}

std::string NetworkBackupTarget(const std::string& cookie, const NetworkBackupRequest& r) {
    session::CgiRequest request(session::CMD_NETWORK_BK);
    request.AddParam("Cookie", cookie);
    request.AddIntParam("Year", r.year);
    request.AddIntParam("Month", r.month);
    request.AddIntParam("Day", r.day);
    request.AddIntParam("Hour", r.hour);
    request.AddIntParam("Minute", r.minute);
    request.AddIntParam("Second", r.second);
    request.AddIntParam("Num", static_cast<std::int32_t>(r.diskNumber));
    request.AddIntParam("CH", static_cast<std::int32_t>(r.channel));
    request.AddIntParam("Size", r.sizeMb);
    return std::string(request.Text());
}

}  // namespace recording
