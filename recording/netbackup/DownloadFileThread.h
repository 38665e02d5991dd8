#pragma once
// One network backup's transfer: on a connection of its own it sends the
// "/NetworkBk.cgi" request, reads the reply as blocks, appends each whole data
// block to the backup file (under the backup lock while a player may read it),
// reports each step to its dialog, moves the sheet's progress bar, keeps a
// following player informed and, when asked, writes the finished file to disc.
//
// Every wait watches the stop request (also inside a payload and while the
// lock is awaited), so a stop ends the thread promptly and leaves neither the
// lock nor the progress bar held. Only a burn in progress needs its abort too.

#include <atomic>
#include <cstdint>
#include <optional>
#include <stop_token>

#include "config/sheet/SheetProgress.h"
#include "platform/SyncObjects.h"
#include "platform/Timing.h"
#include "platform/WorkerThread.h"
#include "recording/netbackup/BackupBlock.h"
#include "recording/player/PlayerFeed.h"
#include "session/AppData.h"

namespace recording {

class BackupStatusPort {
public:
    virtual ~BackupStatusPort() = default;
    // Called on the download thread; the dialog takes it on the GUI thread.
    virtual void PostBackupStatus(unsigned status, std::uint32_t percent) = 0;
};

class DownloadFileThread {
public:
    // `link` is the companion player's link; null when the run has none.
    DownloadFileThread(session::AppData& app, NetworkBackupRequest request, BackupStatusPort& status,
                       PlayerLink* link, const platform::Timing& timing,
                       config::SheetProgress& progress = config::g_lpSheetProgress());
    ~DownloadFileThread();
    DownloadFileThread(const DownloadFileThread&) = delete;
    DownloadFileThread& operator=(const DownloadFileThread&) = delete;

    // Starts the thread, which waits for Begin or a stop; false when it cannot.
    bool Create();
    // The dialog opened (GUI thread, before Begin): a known player is told to acknowledge `dialogId`.
    void Attach(std::uint64_t dialogId);
    void Begin() { start_.Set(); }
    // Asks the thread to end; a burn in progress is aborted as well.
    void RequestStop();
    // Waits for the thread's end.
    void Join() { thread_.Join(); }
    bool Running() const { return thread_.Running(); }

    // The end block arrived.
    bool Finished() const { return finished_.load(); }
    const NetworkBackupRequest& Request() const { return request_; }

private:
    void Run(std::stop_token stop);
    // The transfer after the file exists; the progress bar is ended by the caller.
    void Transfer(class BlockReader& reader, std::stop_token stop);
    void TouchLock(std::stop_token stop);
    void Fail(unsigned status, std::uint64_t playerCause);
    void EndedEarly();

    session::AppData& app_;
    const NetworkBackupRequest request_;
    BackupStatusPort& status_;
    std::optional<PlayerFeed> feed_;
    const platform::Timing timing_;
    config::SheetProgress& progress_;
    platform::Event start_;
    std::atomic<bool> finished_{false};
    std::atomic<bool> burning_{false};
    std::uint64_t total_ = 0;
    platform::WorkerThread thread_;
};

// Leaving the dialog before the end block asks a DVR of firmware "1043" or
// newer (or of a version that is not four characters) to cancel its side.
bool CancelsOnDevice(const session::AppData& app, bool finished);
// "/CancelNB.cgi" with the cookie; the result is of no interest.
void SendCancelNetworkBackup(session::AppData& app, const platform::Timing& timing, std::stop_token stop);

}  // namespace recording
