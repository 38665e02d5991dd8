#pragma once
// The firmware upgrade dialog: shows the device's firmware version, lets the
// operator choose the source (a component folder for a DVR, one combined
// image file for the other families), loads it whole and hands it to the
// uploader on the path of the device. The uploader's reports (progress,
// button state, the final message and whether the dialog closes) are handled
// here on the GUI thread. The DVR's version request and the cancel request
// run on the dialog's own device worker while the dialog shows it is busy.

#include <QDialog>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "config/firmware/FirmwareComponentTable.h"
#include "config/firmware/FirmwareUploader.h"
#include "platform/Timing.h"
#include "session/DeviceCommandWorker.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace session {
class AppData;
}

namespace config {

class CUpgradeFWDlg : public QDialog {
    Q_OBJECT

public:
    // Starts the initialisation: the image families' fields at once, the
    // DVR's version request on the dialog's worker.
    explicit CUpgradeFWDlg(session::AppData& app, const platform::Timing& timing = {}, QWidget* parent = nullptr);
    ~CUpgradeFWDlg() override;

    QString Version() const;
    QString FilePath() const;
    bool Uploading() const { return m_uploader.Running(); }
    // The DVR's version request has ended (at once for the other families).
    bool Initialised() const { return m_bInitialised; }

    void OnFwdlgBrowse();
    void OnFwdlgUpgrade();
    void OnCancel();

    void reject() override;  // Esc and the window's close: the cancel routine
    void accept() override;  // Enter: ends the dialog, but not while an upload runs

protected:
    // How the dialog reaches the operator; overridable so tests can answer.
    virtual void ShowMessageId(unsigned id);
    // The open-file dialog for the image (start folder empty: the system's
    // default); nullopt when the operator cancelled.
    virtual std::optional<std::string> ChooseImageFile(const std::string& startFolder);
    // The folder browser for the component folder; nullopt when cancelled.
    virtual std::optional<std::string> ChooseComponentFolder(const std::string& start);

    void keyPressEvent(QKeyEvent* event) override;

private:
    class UploadReports;

    void OnInitDialog();
    void OnVersionReply(const std::optional<std::string>& version);
    void StartImageUpgrade();
    void StartComponentUpgrade();
    void StartUpload(UploadJob job);
    void OnUploadEnded(const UploadEnd& end);
    void ResetProgress();
    void UpdateControls();

    session::AppData& m_app;
    platform::Timing m_timing;
    std::optional<UploadPath> m_path;
    std::string m_strFilePath;  // the image file, or the component folder without a trailing separator
    std::string m_strVersion;
    std::optional<FirmwareComponentTable> m_pComponentTable;  // none until the DVR's version came
    bool m_bInitialised = false;
    bool m_bCancelling = false;
    unsigned m_nRun = 0;  // reports of an earlier upload are dropped

    QLabel* m_labelVersion = nullptr;
    QLineEdit* m_editFilePath = nullptr;
    QPushButton* m_btnBrowse = nullptr;
    QProgressBar* m_ctrlProgress = nullptr;
    QPushButton* m_btnUpgrade = nullptr;
    QPushButton* m_btnCancel = nullptr;

    // Declared last: they stop before anything they report to goes.
    std::unique_ptr<UploadReports> m_reports;
    FirmwareUploader m_uploader;
    session::DeviceCommandWorker m_worker;
};

}  // namespace config
