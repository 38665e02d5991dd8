#include "recording/gui/WriteCdSettingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

#include "gui/TemplateBuilder.h"
#include "recording/backup/CdBackupWriter.h"
#include "recording/gui/WriteCdSettingDialogTemplate.h"
#include "session/files/SettingsFile.h"

namespace recording {

WriteCdSettingDialog::WriteCdSettingDialog(session::CSettingINI& settings, CdBackupWriter& writer, QWidget* parent)
    : QDialog(parent), settings_(settings), writer_(writer) {
    setWindowTitle(gui::TemplateText(kWriteCdSettingTemplate.caption));
    const gui::TemplateControls controls = gui::BuildTemplate(*this, kWriteCdSettingTemplate);
    m_editSource = controls.Get<QLineEdit>(1040);
    m_editFileName = controls.Get<QLineEdit>(1041);
    m_cbDrives = controls.Get<QComboBox>(1195);
    m_checkClose = controls.Get<QCheckBox>(1506);
    m_checkPlayer = controls.Get<QCheckBox>(1510);
    // The media choice and the import box are kept but never offered (hidden and disabled in the table).
    m_radioCd = controls.Get<QRadioButton>(1508);
    m_radioDvd = controls.Get<QRadioButton>(1509);
    m_checkImport = controls.Get<QCheckBox>(1507);
    auto* cancelWrite = controls.Get<QPushButton>(1068);
    auto* ok = controls.Get<QPushButton>(1);
    m_editSource->setObjectName(QStringLiteral("sourcePath"));
    m_editFileName->setObjectName(QStringLiteral("fileName"));
    m_cbDrives->setObjectName(QStringLiteral("drives"));
    m_checkClose->setObjectName(QStringLiteral("closeSession"));
    m_checkPlayer->setObjectName(QStringLiteral("attachPlayer"));
    cancelWrite->setObjectName(QStringLiteral("cancelWrite"));
    ok->setObjectName(QStringLiteral("ok"));

    connect(m_cbDrives, &QComboBox::currentIndexChanged, this, [this](int index) { m_nDriveIndex = index; });
    connect(m_checkClose, &QCheckBox::clicked, this, [this] { OnCloseSession(); });
    connect(m_checkPlayer, &QCheckBox::clicked, this, [this] { OnAttachPlayer(); });
    connect(m_editFileName, &QLineEdit::textEdited, this, [this] { UpdateData(true); });
    connect(cancelWrite, &QPushButton::clicked, this, [this] { done(2); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

int WriteCdSettingDialog::Setup(const std::string& sourcePath, const std::vector<std::string>& driveNames,
                                int driveCount, std::uint32_t mediaType, std::uint64_t size) {
    m_strSourcePath = sourcePath;
    m_dwMediaType = mediaType;
    const std::filesystem::path full = std::filesystem::absolute(sourcePath);
    m_strFileName = full.filename().string();
    writer_.m_dwRecordSize = size;
    m_strFolder = full.parent_path().string() + "/";
    if (driveCount <= 0)
        return 0;
    m_DriveNames = driveNames;
    m_nDriveCount = driveCount;
    return 1;
}

void WriteCdSettingDialog::OnInitDialog() {
    m_cbDrives->blockSignals(true);
    m_cbDrives->clear();
    for (int i = 0; i < m_nDriveCount && i < static_cast<int>(m_DriveNames.size()); ++i)
        m_cbDrives->addItem(QString::fromStdString(m_DriveNames[static_cast<std::size_t>(i)]));
    m_nDriveIndex = 0;
    m_bCloseSession = static_cast<std::int32_t>(settings_.m_dwWriteCDClose.load());
    m_cbDrives->setCurrentIndex(0);
    m_cbDrives->blockSignals(false);
    m_radioCd->setChecked(m_dwMediaType == 1);
    m_radioDvd->setChecked(m_dwMediaType != 1);
    // Every opening starts with the installer left out.
    settings_.m_dwWritePlayerSetup = static_cast<std::uint32_t>(m_bAttachPlayer);
    UpdateData(false);
}

void WriteCdSettingDialog::UpdateData(bool save) {
    if (save) {
        m_bCloseSession = m_checkClose->isChecked();
        m_bAttachPlayer = m_checkPlayer->isChecked();
        m_strFileName = m_editFileName->text().toStdString();
        return;
    }
    m_checkClose->setChecked(m_bCloseSession != 0);
    m_checkPlayer->setChecked(m_bAttachPlayer != 0);
    m_editSource->setText(QString::fromStdString(m_strSourcePath));
    // A path longer than the field shows from its start, where the folder is named.
    m_editSource->setCursorPosition(0);
    m_editFileName->setText(QString::fromStdString(m_strFileName));
}

void WriteCdSettingDialog::OnCloseSession() {
    m_bCloseSession = !m_bCloseSession;
    settings_.m_dwWriteCDClose = static_cast<std::uint32_t>(m_bCloseSession);
    UpdateData(false);
}

void WriteCdSettingDialog::OnAttachPlayer() {
    m_bAttachPlayer = !m_bAttachPlayer;
    settings_.m_dwWritePlayerSetup = static_cast<std::uint32_t>(m_bAttachPlayer);
    UpdateData(false);
}

int WriteCdSettingDialog::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void WriteCdSettingDialog::accept() {
    UpdateData(true);
    done(1);
}

void WriteCdSettingDialog::reject() {
    done(2);
}

}  // namespace recording
