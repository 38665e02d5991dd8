#include "recording/gui/BackupProgressDialog.h"

#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "gui/FontStandIns.h"
#include "gui/StringText.h"
#include "gui/TemplateBuilder.h"
#include "recording/backup/CdBackupWriter.h"
#include "recording/gui/BackupProgressDialogTemplate.h"

namespace recording {

BackupProgressDialog::BackupProgressDialog(session::AppData& app, NetworkBackupRequest request, PlayerLink* link,
                                           const platform::Timing& timing, QWidget* parent)
    : QDialog(parent),
      app_(app),
      timing_(timing),
      writeCd_(request.writeCd),
      thread_(std::make_unique<DownloadFileThread>(app, std::move(request), static_cast<BackupStatusPort&>(*this),
                                                   link, timing)),
      playerWatch_(new QTimer(this)) {
    setWindowTitle(gui::TemplateText(kBackupProgressTemplate.caption));
    const gui::TemplateControls controls = gui::BuildTemplate(*this, kBackupProgressTemplate);
    cancel_ = controls.Get<QPushButton>(2);
    cancel_->setObjectName(QStringLiteral("button2"));
    start_ = controls.Get<QPushButton>(1068);
    start_->setObjectName(QStringLiteral("button1068"));
    // The progress shows in the configuration sheet; the dialog's own bar stays hidden.
    controls.Widget(1447)->setObjectName(QStringLiteral("progress1447"));
    connect(cancel_, &QPushButton::clicked, this, &BackupProgressDialog::reject);
    connect(start_, &QPushButton::clicked, this, &BackupProgressDialog::OnButtonPlay);
    playerWatch_->setInterval(200);
    connect(playerWatch_, &QTimer::timeout, this, &BackupProgressDialog::ShowStartWhenFree);
}

BackupProgressDialog::~BackupProgressDialog() {
    // An orderly end: the stop (and a burn's abort), then the join; no status comes after it.
    thread_->RequestStop();
    thread_->Join();
}

bool BackupProgressDialog::OnInitDialog() {
    if (initialised_)
        return true;
    initialised_ = true;
    if (!thread_->Create())
        return false;
    start_->hide();
    // Attach clears the last download's acknowledgement and stop.
    thread_->Attach(reinterpret_cast<std::uintptr_t>(this));
    thread_->Begin();
    return true;
}

int BackupProgressDialog::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void BackupProgressDialog::open() {
    OnInitDialog();
    QDialog::open();
}

void BackupProgressDialog::PostBackupStatus(unsigned status, std::uint32_t percent) {
    QMetaObject::invokeMethod(this, [this, status, percent] { OnPostBackupStatus(status, percent); },
                              Qt::QueuedConnection);
}

void BackupProgressDialog::OnPostBackupStatus(unsigned status, std::uint32_t) {
    switch (status) {
        case BACKUP_STATUS_PROGRESS:
            return;
        case BACKUP_STATUS_WRITING_CD:
            m_strStatus = QString::fromLatin1(kWritingCdText);
            update();
            return;
        case BACKUP_STATUS_FINISHED:
            m_strStatus = QString::fromLatin1(kBackupFinishedText);
            start_->setEnabled(true);
            ShowStartWhenFree();
            if (start_->isHidden())
                playerWatch_->start();
            break;
        default:
            if (const unsigned message = BackupStatusMessage(status))
                m_strStatus = session::LoadText(message);
            else
                return;
            break;
    }
    update();
    cancel_->setText(QStringLiteral("Exit"));
}

void BackupProgressDialog::ShowStartWhenFree() {
    // A following player has the file; once it stops following, the file may be opened anew.
    const bool follows = app_.dw_PlayerAck == 1 && app_.dw_PlayerStopped == 0;
    if (!follows) {
        start_->show();
        playerWatch_->stop();
    }
}

void BackupProgressDialog::reject() {
    thread_->RequestStop();
    if (CancelsOnDevice(app_, thread_->Finished()))
        app_.h_DeviceCommandWorker.Post(
            [&app = app_, timing = timing_](std::stop_token stop) { SendCancelNetworkBackup(app, timing, stop); });
    if (thread_->Finished() && writeCd_) {
        if (app_.CdBackupWriter)
            app_.CdBackupWriter->m_bAbort = 1;
        config::g_lpSheetProgress().End();
    }
    playerWatch_->stop();
    done(0);
}

void BackupProgressDialog::OnButtonPlay() {
    playerWatch_->stop();
    done(kBackupStartResult);
}

void BackupProgressDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (m_strStatus.isEmpty())
        return;
    const float scale = app_.fl_DpiScale.load();
    QPainter painter(this);
    painter.setFont(gui::StandInFontPixels("Arial", std::max(1, static_cast<int>(18 * scale))));
    painter.drawText(QRect(static_cast<int>(25 * scale), static_cast<int>(12 * scale), width(), height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_strStatus);
}

}  // namespace recording
