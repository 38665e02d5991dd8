#include "recording/gui/WriteCdSettingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

#include "recording/backup/CdBackupWriter.h"
#include "session/files/SettingsFile.h"

namespace recording {

WriteCdSettingDialog::WriteCdSettingDialog(session::CSettingINI& settings, CdBackupWriter& writer, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      writer_(writer),
      m_editSource(new QLineEdit(this)),
      m_editFileName(new QLineEdit(this)),
      m_cbDrives(new QComboBox(this)),
      m_checkClose(new QCheckBox(QStringLiteral("Zamknij sesję"), this)),
      m_checkPlayer(new QCheckBox(QStringLiteral("Dołącz odtwarzacz "), this)),
      m_radioCd(new QRadioButton(QStringLiteral("CD"), this)),
      m_radioDvd(new QRadioButton(QStringLiteral("DVD"), this)),
      m_checkImport(new QCheckBox(QStringLiteral("Importuj sesję"), this)) {
    setWindowTitle(QStringLiteral("Write CD Setting"));
    m_editSource->setObjectName(QStringLiteral("sourcePath"));
    m_editSource->setReadOnly(true);
    m_editFileName->setObjectName(QStringLiteral("fileName"));
    m_cbDrives->setObjectName(QStringLiteral("drives"));
    m_checkClose->setObjectName(QStringLiteral("closeSession"));
    m_checkPlayer->setObjectName(QStringLiteral("attachPlayer"));
    // The media choice and the import box are kept but never offered.
    for (QWidget* hidden : std::initializer_list<QWidget*>{m_radioCd, m_radioDvd, m_checkImport}) {
        hidden->setVisible(false);
        hidden->setEnabled(false);
    }
    auto* cancelWrite = new QPushButton(QStringLiteral("ANULUJ ZAPIS NA CD"), this);
    cancelWrite->setObjectName(QStringLiteral("cancelWrite"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("PLIK ŹRÓDŁOWY :"), this), 0, 0);
    grid->addWidget(m_editSource, 0, 1);
    grid->addWidget(m_checkClose, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("NAZWA PLIKU :"), this), 1, 0);
    grid->addWidget(m_editFileName, 1, 1);
    grid->addWidget(m_checkPlayer, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Dostępne urządzenie :"), this), 2, 0);
    grid->addWidget(m_cbDrives, 2, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelWrite);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

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
