#include "app/TavrinApp.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "config/gui/UpgradeFWDlg.h"
#include "platform/ProgramFolder.h"
#include "recording/Recorders.h"
#include "recording/backup/CdBackupWriter.h"
#include "recording/backup/IsoBurnEngine.h"
#include "recording/gui/ImageFileDialog.h"
#include "recording/gui/PlaybackSearchDialog.h"
#include "recording/gui/RecordingPages.h"
#include "recording/player/PlayerHandOver.h"
#include "recording/player/UnixPlayerLink.h"
#include "session/devices/ControlFile.h"
#include "res/StringTable.h"
#include "resize/CpuSelection.h"
#include "session/AppData.h"
#include "session/ApplicationStartup.h"
#include "session/login/LoginExchange.h"
#include "session/SessionResources.h"
#include "session/files/TraceLog.h"
#include "session/gui/LoginDialog.h"
#include "config/gui/MySystemDialog.h"
#include "config/gui/SheetPages.h"
#include "gui/QtUiPort.h"
#include "mainwindow/gui/TavrinDlg.h"

namespace session {

namespace {

constexpr int kTraceLogLines = 300;

// Messages before the main window exists (and after it closed): message boxes.
class MessageBoxes : public UiPort {
public:
    void ShowMessageBox(unsigned stringId) override { ShowMessageText(std::string(res::LoadString(stringId))); }
    void ShowMessageText(const std::string& text) override {
        QMessageBox::warning(nullptr, QStringLiteral("quenlo"), QString::fromStdString(text));
    }
};

// The startup port: message boxes on the GUI thread, whichever thread asks.
class StartupPort : public UiPort {
public:
    StartupPort() : queued_(boxes_) {}
    void ShowMessageBox(unsigned stringId) override { queued_.ShowMessageBox(stringId); }
    void ShowMessageText(const std::string& text) override { queued_.ShowMessageText(text); }

private:
    MessageBoxes boxes_;
    QtUiPort queued_;
};

// The message boxes name no file; standard error gets the full paths.
void ReportControlFileProblem() {
    const auto path = mainwindow::ControlFilePath();
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        std::fprintf(stderr, "quenlo: cannot use %s (unreadable or damaged)\n", path.c_str());
        return;
    }
    std::string places = (platform::ProgramFolder() / "CtrlFile.ini").string();
    for (const auto& folder : platform::ShippedFolders())
        places += ", " + (folder / "CtrlFile.ini").string();
    std::fprintf(stderr, "quenlo: CtrlFile.ini is missing; looked for %s\n", places.c_str());
}

int RunLoginDialog(AppData& app, const platform::Timing& timing) {
    LoginDialog dialog(app);
    dialog.SetTiming(timing);
    dialog.SetUpgradeDialog([](LoginDialog& login) {
        // Without a parent window, as the login dialog's own tools.
        config::CUpgradeFWDlg upgrade(login.App(), login.Timing());
        upgrade.exec();
    });
    dialog.PrefillFromSettings();
    return dialog.exec();
}

bool OpensMainWindow(std::uint16_t loginResult) {
    return loginResult == 30 || loginResult == 20 || loginResult == 10 || loginResult == 0;
}

}  // namespace

CTavrinApp::CTavrinApp(TavrinAppOptions options) : options_(std::move(options)) {
    if (!options_.startupUi) {
        messageBoxes_ = std::make_unique<StartupPort>();
        options_.startupUi = messageBoxes_.get();
    }
}

CTavrinApp::~CTavrinApp() { ExitInstance(); }

int CTavrinApp::Run() {
    InitInstance();
    return ExitInstance();
}

StartupEnd CTavrinApp::InitInstance() {
    app_ = InitKernelObject(options_.startupUi);
    if (!app_) {
        ReportControlFileProblem();
        return StartupEnd::NoControlFile;
    }
    g_lpApp = app_.get();
    recorders_ = std::make_unique<recording::Recorders>(*app_, platform::ProgramFolder());
    app_->CdBackupWriter = std::make_shared<recording::CdBackupWriter>(
        *app_, std::make_unique<recording::IsoBurnEngine>(true, [](const std::string& line) { WriteTraceLog(line); }),
        recording::ImageFileDialogQuestion());
    auto playerLink = std::make_shared<recording::UnixPlayerLink>(options_.timing.playerAnswerWait);
    app_->PlayerLink = playerLink;
    app_->PlayerHandOver = std::make_shared<recording::PlayerHandOver>(*app_, *playerLink, options_.timing);
    GetLocalHostAddress(*app_);
    GetScreenDpi();
    if (AllocateSystemBuffer(*app_) == 0) {
        std::fprintf(stderr, "quenlo: not enough memory for the picture buffers\n");
        return StartupEnd::NoBuffers;
    }

    resources_ = std::make_unique<SessionResources>(*app_, options_.timing);
    resources_->InitialSemaphore();

    std::uint8_t turboRepeatStep = app_->by_TurboRepeatStep.load();
    app_->CSettingINI.LoadSetting(turboRepeatStep, &app_->Ui());
    app_->by_TurboRepeatStep.store(turboRepeatStep);
    if (options_.settingsLoaded)
        options_.settingsLoaded(*app_);
    const auto folder = platform::ProgramFolder();
    if (const std::string problem = platform::ProgramFolderProblem(folder); !problem.empty()) {
        // Said once; every later write fails quietly and the run goes on.
        const std::string text = problem + ": this run saves no settings, address book, alarm list or trace.";
        std::fprintf(stderr, "quenlo: %s\n", text.c_str());
        options_.startupUi->ShowMessageText(text);
    }
    TraceLog(kTraceLogLines, folder);
    traceLogOpen_ = true;
    // A resize build setting that could not be followed was said on standard error at start-up;
    // the trace keeps it too.
    if (const std::string notice = resize::ResizeBuildSelectionNotice(); !notice.empty())
        WriteTraceLog(notice);
    app_->DebugTraceLog.Open(folder);

    // The login dialog until a login, or until the operator gives up.
    do {
        const int result = options_.runLoginDialog ? options_.runLoginDialog(*app_)
                                                   : RunLoginDialog(*app_, options_.timing);
        if (result != LoginDialog::kLoggedIn)
            return StartupEnd::LoginCancelled;
    } while (app_->w_LoginResult.load() == kLoginNotLoggedIn);

    if (resources_->InitProcessResource() == 0)
        return StartupEnd::NoProcessResources;
    if (resources_->InitLoginResource() == 0)
        return StartupEnd::NoLoginResources;

    if (!OpensMainWindow(app_->w_LoginResult.load()))
        return StartupEnd::NoMainWindow;
    // The setup command opens the configuration sheet through this port; the
    // sheet ends with the window at the latest.
    config::SystemDialogPort sheetPort(*app_);
    gui::SetConfigSheetPort(&sheetPort);
    recording::RecordingPages recordingPages(options_.timing);
    config::SetRecordingPageMaker(&recordingPages);
    {
        CTavrinDlg window(*app_, *resources_, options_.timing);
        window.SetRecordSearchDialog([this](CTavrinDlg&) {
            recording::PlaybackSearchDialog search(*app_, options_.timing);
            search.exec();
            return true;
        });
        if (options_.mainWindowCreated)
            options_.mainWindowCreated(window);
        window.exec();
        sheetPort.CloseSheet();
    }
    config::SetRecordingPageMaker(nullptr);
    gui::SetConfigSheetPort(nullptr);
    return StartupEnd::MainWindowClosed;
}

int CTavrinApp::ExitInstance() {
    if (resources_) {
        resources_->ExitLoginResource();
        resources_->ExitProcessResource();
    }
    if (app_)
        FreeSystemBuffer(*app_);
    if (resources_)
        resources_->CloseSemaphores();
    if (traceLogOpen_) {
        FreeTraceLog();
        traceLogOpen_ = false;
    }
    resources_.reset();
    recorders_.reset();
    if (g_lpApp == app_.get())
        g_lpApp = nullptr;
    app_.reset();
    return 0;
}

int CTavrinApp::GetScreenDpi() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const auto dpi = static_cast<std::uint16_t>(screen->logicalDotsPerInchX());
        app_->w_DpiX.store(dpi);
        app_->fl_DpiScale.store(static_cast<float>(dpi) / 96.0f);
    }
    return 1;
}

}  // namespace session
