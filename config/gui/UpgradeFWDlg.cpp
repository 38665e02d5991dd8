#include "config/gui/UpgradeFWDlg.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>

#include "config/firmware/FirmwareImage.h"
#include "config/firmware/FirmwareRequests.h"
#include "config/gui/UpgradeFWDlgTemplate.h"
#include "gui/DeviceCommand.h"
#include "gui/DlgGetPath.h"
#include "gui/StringText.h"
#include "gui/TemplateBuilder.h"
#include "session/AppData.h"

namespace config {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

constexpr const char* kKernelFile = "KERNEL.BIN";
constexpr const char* kUnknownFolder = "UnKnown";

}  // namespace

// The uploader's reports, queued to the dialog on the GUI thread and tagged
// with the upload they belong to.
class CUpgradeFWDlg::UploadReports : public FirmwareUploadPort {
public:
    explicit UploadReports(CUpgradeFWDlg& dialog) : dialog_(dialog) {}
    void BeginRun(unsigned run) { run_ = run; }

    void SetProgress(int percent) override {
        Deliver([percent](CUpgradeFWDlg& d) { d.m_ctrlProgress->setValue(percent); });
    }
    void SetUpgradeEnabled(bool enabled) override {
        Deliver([enabled](CUpgradeFWDlg& d) { d.m_btnUpgrade->setEnabled(enabled); });
    }
    void UploadEnded(const UploadEnd& end) override {
        Deliver([end](CUpgradeFWDlg& d) { d.OnUploadEnded(end); });
    }

private:
    template <typename Call>
    void Deliver(Call call) {
        // The dialog stops the uploader before it goes, so it outlives every report sent.
        CUpgradeFWDlg* dialog = &dialog_;
        const unsigned run = run_.load();
        QMetaObject::invokeMethod(
            dialog,
            [dialog, run, call] {
                if (dialog->m_nRun == run)
                    call(*dialog);
            },
            Qt::QueuedConnection);
    }

    CUpgradeFWDlg& dialog_;
    std::atomic<unsigned> run_{0};
};

CUpgradeFWDlg::CUpgradeFWDlg(session::AppData& app, const platform::Timing& timing, QWidget* parent)
    : QDialog(parent),
      m_app(app),
      m_timing(timing),
      m_reports(std::make_unique<UploadReports>(*this)),
      m_uploader(app, *m_reports, timing) {
    setWindowTitle(gui::TemplateText(kUpgradeFWDlgTemplate.caption));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    const gui::TemplateControls controls = gui::BuildTemplate(*this, kUpgradeFWDlgTemplate);
    m_labelVersion = controls.Get<QLabel>(1385);
    m_labelVersion->setObjectName("version");
    m_labelVersion->setWordWrap(false);
    m_editFilePath = controls.Get<QLineEdit>(1387);
    m_editFilePath->setObjectName("filePath");
    m_ctrlProgress = controls.Get<QProgressBar>(1389);
    m_ctrlProgress->setObjectName("progress");

    const struct {
        QPushButton** button;
        int id;
        const char* name;
        void (CUpgradeFWDlg::*handler)();
    } buttons[] = {
        {&m_btnBrowse, 1386, "browse", &CUpgradeFWDlg::OnFwdlgBrowse},
        {&m_btnUpgrade, 1388, "upgrade", &CUpgradeFWDlg::OnFwdlgUpgrade},
        {&m_btnCancel, 1392, "cancel", &CUpgradeFWDlg::OnCancel},
    };
    for (const auto& row : buttons) {
        auto* button = controls.Get<QPushButton>(row.id);
        button->setObjectName(row.name);
        button->setAutoDefault(false);  // no default button: Enter is the dialog's own
        connect(button, &QPushButton::clicked, this, row.handler);
        *row.button = button;
    }
    OnInitDialog();
}

CUpgradeFWDlg::~CUpgradeFWDlg() {
    // Nothing may report to the dialog once it goes.
    m_worker.Stop();
    m_uploader.Stop();
}

QString CUpgradeFWDlg::Version() const { return m_labelVersion->text(); }
QString CUpgradeFWDlg::FilePath() const { return m_editFilePath->text(); }

void CUpgradeFWDlg::UpdateControls() {
    m_labelVersion->setText(Q(m_strVersion));
    m_editFilePath->setText(Q(m_strFilePath));
}

void CUpgradeFWDlg::ResetProgress() {
    m_ctrlProgress->setValue(0);
    m_ctrlProgress->hide();
}

void CUpgradeFWDlg::OnInitDialog() {
    m_ctrlProgress->setRange(0, 100);
    m_ctrlProgress->hide();
    const std::string product = m_app.str_ProductID.Get();
    m_path = ChooseUploadPath(product, m_app.str_FWVersion.Get());
    if (m_path && IsImagePath(*m_path)) {
        m_strFilePath = m_app.CSettingINI.m_strUpgradeFWPath.Get() + kKernelFile;
        m_strVersion = FormatImageVersion(m_app.str_FWVersion.Get());
        m_bInitialised = true;
        UpdateControls();
        return;
    }
    // Upgrade stays off until the DVR has told its version.
    m_btnUpgrade->setEnabled(false);
    session::AppData* app = &m_app;
    const bool posted = gui::RunDeviceCommand(
        this, m_worker,
        [app, timing = m_timing](std::stop_token stop) {
            return QueryDvrVersion(*app, FirmwareCommandOptions(timing, stop));
        },
        [this](std::optional<std::string> version) { OnVersionReply(version); });
    if (!posted)
        OnVersionReply(std::nullopt);
}

void CUpgradeFWDlg::OnVersionReply(const std::optional<std::string>& version) {
    m_bInitialised = true;
    if (!version)
        return;  // empty fields; nothing to upload into
    m_strVersion = *version;
    m_strFilePath = m_app.CSettingINI.m_strUpgradeDvrFWPath.Get();
    m_pComponentTable = ComponentTableFor(m_app.str_ProductID.Get());
    m_btnUpgrade->setEnabled(m_pComponentTable.has_value());
    UpdateControls();
}

void CUpgradeFWDlg::OnFwdlgBrowse() {
    if (!m_path)
        return;
    if (IsImagePath(*m_path)) {
        const std::string folder = m_app.CSettingINI.m_strUpgradeFWPath.Get();
        const auto chosen = ChooseImageFile(folder == kUnknownFolder ? std::string() : folder);
        if (!chosen || chosen->empty())
            return;
        m_strFilePath = *chosen;
        const std::size_t slash = chosen->rfind('/');
        m_app.CSettingINI.m_strUpgradeFWPath = slash == std::string::npos ? *chosen : chosen->substr(0, slash + 1);
    } else if (auto chosen = ChooseComponentFolder(m_strFilePath)) {
        if (chosen->size() > 1 && chosen->back() == '/')
            chosen->pop_back();
        m_strFilePath = *chosen;
        m_app.CSettingINI.m_strUpgradeDvrFWPath = m_strFilePath;
    }
    UpdateControls();
}

void CUpgradeFWDlg::OnFwdlgUpgrade() {
    if (!m_path || m_bCancelling)
        return;
    // A running upload ends before its successor's source is read; its bar
    // goes with it, and shows again only when the new upload starts.
    ++m_nRun;
    m_uploader.Stop();
    ResetProgress();
    if (IsImagePath(*m_path))
        StartImageUpgrade();
    else
        StartComponentUpgrade();
}

void CUpgradeFWDlg::StartImageUpgrade() {
    FirmwareImage image = LoadFirmwareImage(m_strFilePath);
    if (image.error != 0) {
        ShowMessageId(image.error);
        return;
    }
    StartUpload({*m_path, std::move(image.records), image.fileSize});
}

void CUpgradeFWDlg::StartComponentUpgrade() {
    if (!m_pComponentTable)
        return;  // the version request failed: no table to load into
    ComponentFolder folder = LoadComponentFolder(m_strFilePath, *m_pComponentTable);
    if (folder.error != 0) {
        ShowMessageId(folder.error);
        return;
    }
    StartUpload({*m_path, std::move(folder.items), folder.totalSize});
}

void CUpgradeFWDlg::StartUpload(UploadJob job) {
    m_ctrlProgress->setValue(0);
    m_ctrlProgress->show();
    m_reports->BeginRun(m_nRun);
    if (m_uploader.Start(std::move(job)))
        m_app.CSettingINI.SaveSetting(m_app.by_TurboRepeatStep.load());
}

void CUpgradeFWDlg::OnUploadEnded(const UploadEnd& end) {
    ShowMessageId(end.messageId);
    ResetProgress();
    m_btnUpgrade->setEnabled(true);
    if (end.closeDialog)
        done(0);
}

void CUpgradeFWDlg::OnCancel() {
    if (m_bCancelling)
        return;
    m_bCancelling = true;
    ResetProgress();
    ++m_nRun;
    m_uploader.Stop();
    // A version request still waiting for the device gives way to the cancel.
    m_worker.Stop();
    m_worker.Restart();
    if (!m_path) {
        done(0);
        return;
    }
    // The request goes whether or not an upload ran; the dialog ends once it went.
    session::AppData* app = &m_app;
    const UploadPath path = *m_path;
    m_btnBrowse->setEnabled(false);
    m_btnUpgrade->setEnabled(false);
    m_btnCancel->setEnabled(false);
    const bool posted = gui::RunDeviceCommand(
        this, m_worker,
        [app, path, timing = m_timing](std::stop_token stop) {
            SendCancelRequest(*app, path, FirmwareCommandOptions(timing, stop));
            return true;
        },
        [this](bool) {
            m_btnUpgrade->setEnabled(true);
            done(0);
        });
    if (!posted)
        done(0);
}

void CUpgradeFWDlg::reject() {
    OnCancel();
}

void CUpgradeFWDlg::accept() {
    if (Uploading() || m_bCancelling)
        return;
    QDialog::accept();
}

void CUpgradeFWDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CUpgradeFWDlg::ShowMessageId(unsigned id) {
    QMessageBox box(QMessageBox::NoIcon, QString(), session::LoadText(id), QMessageBox::Ok, this);
    box.exec();
}

std::optional<std::string> CUpgradeFWDlg::ChooseImageFile(const std::string& startFolder) {
    const QString file = QFileDialog::getOpenFileName(nullptr, QString(), Q(startFolder),
                                                      "Kernel Firmware files (*.BIN)");
    if (file.isEmpty())
        return std::nullopt;
    return file.toStdString();
}

std::optional<std::string> CUpgradeFWDlg::ChooseComponentFolder(const std::string& start) {
    session::CDlgGetPath browser(this);
    browser.SetPath(start);
    if (browser.exec() != QDialog::Accepted)
        return std::nullopt;
    return browser.GetPath();
}

}  // namespace config
