#include "config/gui/RecordPage.h"

#include <algorithm>
#include <utility>

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/ConfigWorkingSet.h"
#include "config/gui/RecordPageTemplate.h"
#include "config/sheet/PageTree.h"
#include "gui/DlgGetPath.h"
#include "session/AppData.h"

namespace config {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

RecordPage::RecordPage(session::AppData& app, ConfigWorkingSet& set, const SheetPrefill& prefill, QWidget* parent)
    : ConfigPage(QString::fromUtf8(caption::kRecordPaths.data(), qsizetype(caption::kRecordPaths.size())), set, parent),
      m_strRecordPath(prefill.recordPath),
      m_strSnapshotPath(prefill.snapshotPath),
      m_strTriggerWavPath(prefill.triggerWavPath),
      app_(app) {
    const gui::TemplateControls controls = BuildFromTemplate(kRecordPageTemplate);
    snapshotButton_ = controls.Named<QPushButton>(1315, "snapshotButton");
    snapshotEdit_ = controls.Named<QLineEdit>(1041, "snapshotPath");
    recordButton_ = controls.Named<QPushButton>(1314, "recordButton");
    recordEdit_ = controls.Named<QLineEdit>(1040, "recordPath");
    soundLabel_ = controls.Get<QLabel>(1350);
    soundButton_ = controls.Named<QPushButton>(1316, "soundButton");
    soundEdit_ = controls.Named<QLineEdit>(1042, "soundPath");

    // Every change of a folder text is kept, so a typed folder needs no browse.
    connect(recordEdit_, &QLineEdit::textChanged, this, [this](const QString& text) { m_strRecordPath = text.toStdString(); });
    connect(snapshotEdit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_strSnapshotPath = text.toStdString(); });
    connect(recordButton_, &QPushButton::clicked, this, &RecordPage::OnModifyRecordPath);
    connect(snapshotButton_, &QPushButton::clicked, this, &RecordPage::OnModifySnapshotPath);
    connect(soundButton_, &QPushButton::clicked, this, &RecordPage::OnModifyAlarmSound);
}

void RecordPage::Fill() {
    m_strTriggerWavPath = app_.CSettingINI.m_strTriggerWavPath.Get();
    const DeviceFacts& facts = WorkingSet().Facts();
    const bool soundRow =
        app_.C_ControlD.HasLinkedDvr() || facts.IsVideoServer() || facts.IsG66M() || facts.IsN5H();
    for (QWidget* widget : {static_cast<QWidget*>(soundLabel_), static_cast<QWidget*>(soundButton_),
                            static_cast<QWidget*>(soundEdit_)})
        widget->setVisible(soundRow);
    UpdateControls();
}

void RecordPage::UpdateControls() {
    recordEdit_->setText(Q(m_strRecordPath));
    snapshotEdit_->setText(Q(m_strSnapshotPath));
    soundEdit_->setText(Q(m_strTriggerWavPath));
}

void RecordPage::ContributeSettings(SheetPageValues& values) const {
    values.recordPath = m_strRecordPath;
    values.snapshotPath = m_strSnapshotPath;
    values.triggerWavPath = m_strTriggerWavPath;
}

void RecordPage::ChooseFolder(std::string& member) {
    session::CDlgGetPath browser(this);
    browser.SetPath(member);
    if (browser.exec() != QDialog::Accepted)
        return;
    member = browser.GetPath();
    UpdateControls();
}

void RecordPage::OnModifyRecordPath() { ChooseFolder(m_strRecordPath); }

void RecordPage::OnModifySnapshotPath() { ChooseFolder(m_strSnapshotPath); }

void RecordPage::OnModifyAlarmSound() {
    QFileDialog dialog(nullptr, QString(), QString(), QStringLiteral("WAV files (*.wav)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog: the same on every desktop, and it honours the filter's case below.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // "*.wav" also lists "ALARM.WAV".
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().front();
    if (chosen.isEmpty())
        return;
    m_strTriggerWavPath = chosen.toStdString();
    UpdateControls();
}

}  // namespace config
