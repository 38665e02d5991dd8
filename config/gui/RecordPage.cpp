#include "config/gui/RecordPage.h"

#include <algorithm>
#include <utility>

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/ConfigWorkingSet.h"
#include "config/gui/DialogUnits.h"
#include "config/sheet/PageTree.h"
#include "gui/DlgGetPath.h"
#include "session/AppData.h"

namespace config {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QLabel* Label(const char* text, const QRect& where, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(where);
    label->adjustSize();  // the template's width cuts the text in larger fonts
    return label;
}

QPushButton* ModifyButton(const char* name, const QRect& where, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("Modyfikuj"), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(where);
    return button;
}

QLineEdit* PathEdit(const char* name, const QRect& where, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(where);
    return edit;
}

}  // namespace

RecordPage::RecordPage(session::AppData& app, ConfigWorkingSet& set, const SheetPrefill& prefill, QWidget* parent)
    : ConfigPage(QString::fromUtf8(caption::kRecordPaths.data(), qsizetype(caption::kRecordPaths.size())), set, parent),
      m_strRecordPath(prefill.recordPath),
      m_strSnapshotPath(prefill.snapshotPath),
      m_strTriggerWavPath(prefill.triggerWavPath),
      app_(app) {
    Label("Ścieżka zapisywania zdjęć : ", Dlu(7, 7, 111, 12), this);
    snapshotButton_ = ModifyButton("snapshotButton", Dlu(2, 25, 38, 17), this);
    snapshotEdit_ = PathEdit("snapshotPath", Dlu(49, 25, 177, 15), this);
    Label("Ścieżka zapisywania Video : ", Dlu(7, 48, 103, 12), this);
    recordButton_ = ModifyButton("recordButton", Dlu(3, 66, 37, 17), this);
    recordEdit_ = PathEdit("recordPath", Dlu(49, 66, 177, 15), this);
    soundLabel_ = Label("Ścieżka zapisywania audio : ", Dlu(7, 89, 99, 12), this);
    soundButton_ = ModifyButton("soundButton", Dlu(2, 107, 38, 17), this);
    soundEdit_ = PathEdit("soundPath", Dlu(49, 107, 177, 15), this);
    soundEdit_->setReadOnly(true);
    // A button wider than its template slot pushes its edit right, not over it.
    for (auto [button, edit] : {std::pair{snapshotButton_, snapshotEdit_}, std::pair{recordButton_, recordEdit_},
                                std::pair{soundButton_, soundEdit_}}) {
        button->resize(std::max(button->width(), button->sizeHint().width()), button->height());
        const int left = std::max(edit->x(), button->geometry().right() + 4);
        edit->setGeometry(left, edit->y(), edit->geometry().right() + 1 - left, edit->height());
    }

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
