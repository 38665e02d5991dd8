#pragma once
// "DVR-Network Backup": runs one network backup's download thread and shows
// its outcome as one line of text. Its button reads "Anuluj" until an outcome
// is shown, then "Exit"; "Start" appears after a complete download unless a
// player follows the file. exec() gives 0 for Cancel/Exit, 255 for "Start".

#include <QDialog>

#include <memory>

#include "platform/Timing.h"
#include "recording/netbackup/DownloadFileThread.h"

class QPushButton;
class QTimer;

namespace recording {

inline constexpr int kBackupProgressDialogId = 331;
inline constexpr int kBackupStartResult = 255;

class BackupProgressDialog : public QDialog, private BackupStatusPort {
    Q_OBJECT

public:
    // `link`: the companion player's link (null: the run has none).
    BackupProgressDialog(session::AppData& app, NetworkBackupRequest request, PlayerLink* link,
                         const platform::Timing& timing, QWidget* parent = nullptr);
    ~BackupProgressDialog() override;

    int exec() override;
    void open() override;
    // Button 2 and Esc.
    void reject() override;

    // WM_POSTBACKUPSTATUS, on the GUI thread.
    void OnPostBackupStatus(unsigned status, std::uint32_t percent);
    const QString& StatusText() const { return m_strStatus; }
    bool Finished() const { return thread_ && thread_->Finished(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool OnInitDialog();
    void OnButtonPlay();
    void PostBackupStatus(unsigned status, std::uint32_t percent) override;
    void ShowStartWhenFree();

    session::AppData& app_;
    const platform::Timing timing_;
    const bool writeCd_;
    std::unique_ptr<DownloadFileThread> thread_;
    QPushButton* cancel_ = nullptr;
    QPushButton* start_ = nullptr;
    QTimer* playerWatch_;
    QString m_strStatus;
    bool initialised_ = false;
};

}  // namespace recording
