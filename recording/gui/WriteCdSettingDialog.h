#pragma once
// "Write CD Setting": before a backup goes to disc, the operator picks the
// drive, the name on the disc, whether the disc is closed and whether the
// player's installer goes with it. One dialog per round of the backup page's
// preparation: Setup, exec (1 OK, 2 cancelled), then the page copies the choices.

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace session {
class CSettingINI;
}

namespace recording {

class CdBackupWriter;

inline constexpr int kWriteCdSettingDialogId = 349;

class WriteCdSettingDialog : public QDialog {
    Q_OBJECT

public:
    WriteCdSettingDialog(session::CSettingINI& settings, CdBackupWriter& writer, QWidget* parent = nullptr);

    // 0 (and nothing stored) when there is no drive: the dialog is then not shown.
    int Setup(const std::string& sourcePath, const std::vector<std::string>& driveNames, int driveCount,
              std::uint32_t mediaType, std::uint64_t size);
    int exec() override;
    void accept() override;
    void reject() override;

    std::int32_t m_bCloseSession = 0;
    std::int32_t m_bImportSession = 0;
    std::string m_strSourcePath;
    std::int32_t m_bAttachPlayer = 0;
    std::string m_strFileName;
    std::vector<std::string> m_DriveNames;
    std::int32_t m_nDriveCount = 0;
    std::int32_t m_nDriveIndex = 0;
    std::uint32_t m_dwMediaType = 1;
    std::string m_strFolder;

private:
    void OnInitDialog();
    void UpdateData(bool save);
    void OnCloseSession();
    void OnAttachPlayer();

    session::CSettingINI& settings_;
    CdBackupWriter& writer_;
    QLineEdit* m_editSource = nullptr;
    QLineEdit* m_editFileName = nullptr;
    QComboBox* m_cbDrives = nullptr;
    QCheckBox* m_checkClose = nullptr;
    QCheckBox* m_checkPlayer = nullptr;
    QRadioButton* m_radioCd = nullptr;
    QRadioButton* m_radioDvd = nullptr;
    QCheckBox* m_checkImport = nullptr;
};

}  // namespace recording
