#include "session/gui/CopyProgramDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "gui/TemplateBuilder.h"
#include "session/gui/CopyProgramDialogTemplate.h"

namespace session {

CopyProgramDialog::CopyProgramDialog(QWidget* parent, std::filesystem::path source,
                                     std::filesystem::path destination, const CSettingINI& settings,
                                     const platform::Timing& timing)
    : QDialog(parent),
      m_strSourcePath(std::move(source)),
      m_strDestPath(std::move(destination)),
      m_settings(settings),
      m_copyTimer(new QTimer(this)),
      m_reportLabel(new QLabel(this)) {
    setObjectName("copyProgramDialog");
    setWindowTitle(gui::TemplateText(kCopyProgramDialogTemplate.caption));
    const gui::TemplateControls controls = gui::BuildTemplate(*this, kCopyProgramDialogTemplate);
    m_ctrlProgress = controls.Get<QProgressBar>(1354);
    m_ctrlProgress->setObjectName("copyProgress");
    m_ctrlProgress->setRange(0, 100);
    m_ctrlProgress->setValue(0);
    m_percentLabel = controls.Get<QLabel>(1355);
    m_percentLabel->setObjectName("copyPercent");
    m_percentLabel->setWordWrap(false);
    m_okButton = controls.Get<QPushButton>(1);
    m_okButton->setObjectName("okButton");
    m_okButton->setEnabled(false);
    // The copy's report has no place in the template: eight lines below it, as wide as the progress bar.
    const QRect progress = m_ctrlProgress->geometry();
    const int reportHeight = 8 * fontMetrics().height();
    m_reportLabel->setObjectName("copyReport");
    m_reportLabel->setGeometry(progress.left(), height(), progress.width(), reportHeight);
    m_reportLabel->setWordWrap(true);
    m_reportLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFixedSize(width(), height() + reportHeight + progress.top());
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    ShowPercent(0);
    m_copyTimer->setSingleShot(true);
    m_copyTimer->setInterval(timing.copyProgramStartDelay);
    connect(m_copyTimer, &QTimer::timeout, this, &CopyProgramDialog::StartCopy);
}

CopyProgramDialog::~CopyProgramDialog() {
    m_worker.Stop();
}

void CopyProgramDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_copying && !m_finished && !m_copyTimer->isActive())
        m_copyTimer->start();
}

void CopyProgramDialog::ShowPercent(int percent) {
    const QString text = QString::fromStdString(FormatCopyPercent(percent));
    m_percentLabel->setText(text);
    m_ctrlProgress->setValue(percent);
    emit percentShown(text);
}

void CopyProgramDialog::StartCopy() {
    m_copying = true;
    // The worker reports each file's percentage and the end over here; the
    // dialog outlives it (its destructor stops and joins the worker).
    const bool started = m_worker.Start([this](std::stop_token stop) {
        CopyProgramReport report = CopyProgramFiles(
            m_strSourcePath, m_strDestPath, m_settings,
            [this](int percent) {
                QMetaObject::invokeMethod(this, [this, percent] { ShowPercent(percent); }, Qt::QueuedConnection);
            },
            stop);
        QMetaObject::invokeMethod(
            this, [this, report = std::move(report)] { OnCopyEnded(report); }, Qt::QueuedConnection);
    });
    if (!started) {
        CopyProgramReport report;
        report.stopped = true;
        OnCopyEnded(report);
    }
}

void CopyProgramDialog::OnCopyEnded(const CopyProgramReport& report) {
    m_worker.Join();
    m_copying = false;
    m_finished = true;
    m_report = report;
    m_reportLabel->setText(QString::fromStdString(DescribeCopy(report, m_strDestPath)));
    m_okButton->setEnabled(true);
    m_okButton->setFocus();
    emit copyFinished();
}

void CopyProgramDialog::reject() {
    if (m_copying)
        return;  // no input while the copy runs
    m_copyTimer->stop();
    done(kClosed);
}

}  // namespace session
