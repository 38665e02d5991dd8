#include "recording/netbackup/DownloadFileThread.h"

#include <algorithm>
#include <vector>

#include "config/DeviceRequest.h"
#include "recording/backup/CdBackupWriter.h"
#include "recording/netbackup/BlockReader.h"
#include "recording/netbackup/DownloadFilePageState.h"
#include "recording/player/BackupFileAppend.h"
#include "session/DeviceFamily.h"
#include "session/net/BlockingSocket.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CommandSender.h"

namespace recording {

namespace {

using session::CBlockingSocket;
using session::CBlockingSocketException;

}  // namespace

DownloadFileThread::DownloadFileThread(session::AppData& app, NetworkBackupRequest request, BackupStatusPort& status,
                                       PlayerLink* link, const platform::Timing& timing,
                                       config::SheetProgress& progress)
    : app_(app), request_(std::move(request)), status_(status), timing_(timing), progress_(progress) {
    if (link)
        feed_.emplace(app, *link);
}

DownloadFileThread::~DownloadFileThread() {
    RequestStop();
    Join();
}

bool DownloadFileThread::Create() {
    return thread_.Start([this](std::stop_token stop) { Run(stop); });
}

void DownloadFileThread::Attach(std::uint64_t dialogId) {
    if (feed_)
        feed_->Attach(dialogId);
}

void DownloadFileThread::RequestStop() {
    thread_.RequestStop();
    if (burning_ && app_.CdBackupWriter)
        app_.CdBackupWriter->m_bAbort = 1;
}

void DownloadFileThread::Fail(unsigned status, std::uint64_t playerCause) {
    status_.PostBackupStatus(status, 0);
    if (feed_)
        feed_->Failed(playerCause);
}

void DownloadFileThread::EndedEarly() {
    if (feed_)
        feed_->Finished(false);
}

void DownloadFileThread::TouchLock(std::stop_token stop) {
    // The player sees the end only after a read it has begun.
    if (const auto lock = app_.h_NetworkBackupMutex.Get())
        lock->Acquire(platform::kInfinite, stop);
}

void DownloadFileThread::Run(std::stop_token stop) {
    // 1. The dialog lets it begin, or ends it first.
    if (!start_.Wait(platform::kInfinite, stop))
        return;

    // 2-3. Its own connection and the request.
    CBlockingSocket socket;
    try {
        socket.Create(CBlockingSocket::kStream);
        socket.SetSendChunkTimeout(timing_.sendChunkTimeout);
        const session::SocketAddress device(app_.CSettingINI.m_strServerName.Get(), app_.CSettingINI.m_wWebPort);
        socket.Connect(device, timing_.connectTimeout, stop);
        const std::string target = NetworkBackupTarget(app_.SessionCookie.Get(), request_);
        if (target.empty())
            throw CBlockingSocketException("Send");
        const std::string header =
            session::FormatRequestHeader(target, std::nullopt, socket.GetLocalAddress().ToText());
        socket.SendAll(header.data(), static_cast<int>(header.size()), timing_.sendTimeout, stop);
    } catch (const CBlockingSocketException&) {
        socket.CloseQuietly();
        if (stop.stop_requested())
            EndedEarly();
        else
            Fail(BACKUP_STATUS_SEND_FAILED, NETBK_STOP_NETWORK);
        return;
    }

    // 4. The backup file, empty.
    if (!CreateEmptyBackupFile(request_.filePath)) {
        socket.CloseQuietly();
        Fail(BACKUP_STATUS_FILE_ERROR, NETBK_STOP_FILE);
        return;
    }

    // 5-6.
    progress_.Begin();
    progress_.SetRange(100);
    BlockReader reader([&](std::uint8_t* area, int capacity) {
        return socket.Receive(area, capacity, timing_.receiveTimeout, stop);
    });
    Transfer(reader, stop);
    socket.CloseQuietly();
    progress_.End();

    // The finished file to disc, unless the dialog is already closing.
    if (finished_ && total_ != 0) {
        if (request_.writeCd && app_.CdBackupWriter && !stop.stop_requested()) {
            status_.PostBackupStatus(BACKUP_STATUS_WRITING_CD, 0);
            burning_ = true;
            if (stop.stop_requested())
                app_.CdBackupWriter->m_bAbort = 1;
            app_.CdBackupWriter->Burn();
            burning_ = false;
        }
        status_.PostBackupStatus(BACKUP_STATUS_FINISHED, 0);
    }
}

void DownloadFileThread::Transfer(BlockReader& reader, std::stop_token stop) {
    std::vector<std::uint8_t> payload;
    payload.reserve(kBackupBlockBufferSize);
    for (;;) {
        if (stop.stop_requested())
            return EndedEarly();
        std::uint8_t head[kBackupBlockHeaderSize];
        if (!reader.ReadExact(head)) {
            if (stop.stop_requested())
                return EndedEarly();
            return Fail(BACKUP_STATUS_RECEIVE_FAILED, NETBK_STOP_NETWORK);
        }
        const BackupBlockHeader block = ReadBackupBlockHeader(std::span<const std::uint8_t, kBackupBlockHeaderSize>(head));
        switch (block.type) {
            case BACKUP_BLOCK_DATA: {
                // Only a whole block reaches the file.
                if (block.length > kBackupBlockLimit)
                    return Fail(BACKUP_STATUS_RECEIVE_FAILED, NETBK_STOP_NETWORK);
                payload.resize(block.length);
                if (!reader.ReadExact(payload)) {
                    if (stop.stop_requested())
                        return EndedEarly();
                    return Fail(BACKUP_STATUS_RECEIVE_FAILED, NETBK_STOP_NETWORK);
                }
                // However long the player reads, the download waits for it (or a stop).
                if (!AppendToBackupFile(app_, request_.filePath, payload, platform::kInfinite, stop)) {
                    if (stop.stop_requested())
                        return EndedEarly();
                    return Fail(BACKUP_STATUS_FILE_ERROR, NETBK_STOP_FILE);
                }
                total_ += block.length;
                if (feed_)
                    feed_->DataAppended(block.length);
                const std::uint32_t percent = BackupPercentage(total_, request_.sizeMb);
                status_.PostBackupStatus(BACKUP_STATUS_PROGRESS, percent);
                progress_.SetPos(std::min<std::uint32_t>(percent, 100));
                break;
            }
            case BACKUP_BLOCK_END:
                TouchLock(stop);
                finished_ = true;
                if (total_ == 0) {
                    status_.PostBackupStatus(BACKUP_STATUS_NO_DATA, 0);
                    return EndedEarly();
                }
                if (feed_)
                    feed_->Finished(true);
                return;
            case BACKUP_BLOCK_BUSY:
                TouchLock(stop);
                status_.PostBackupStatus(BACKUP_STATUS_BUSY, 0);
                return EndedEarly();
            default:
                break;  // only its header is consumed
        }
    }
}

bool CancelsOnDevice(const session::AppData& app, bool finished) {
    return !finished && session::IsDvrFamily(app.str_ProductID.Get()) &&
           session::CompareFirmwareVersion("1043", app.str_FWVersion.Get()) != 2;
}

void SendCancelNetworkBackup(session::AppData& app, const platform::Timing& timing, std::stop_token stop) {
    config::SendDeviceRequest(app, timing, config::RequestWithCookie(session::CMD_CANCEL_NB, app.SessionCookie.Get()),
                              stop);
}

}  // namespace recording
