#pragma once
// The application object: the whole run from the process-wide services to
// the closed main window, then the release in a fixed order.
//
// InitInstance, in order: the data object with CtrlFile.ini (message 4094
// and the end when it cannot be read), this computer's address, the screen's
// DPI, the picture buffers, the stream semaphores and the recorders'
// resources, Setting.ini, the trace logs, the login dialog until the operator
// has logged in or given up, the process and session resources, and the main
// window, run modally. ExitInstance releases whatever start-up made, in the
// reverse order, and skips what it never made.

#include <functional>
#include <memory>

#include "platform/Timing.h"
#include "session/UiPort.h"

namespace recording {
class Recorders;
}

namespace session {

class AppData;
class CTavrinDlg;
class SessionResources;

// How start-up ended.
enum class StartupEnd {
    NoControlFile,      // CtrlFile.ini unreadable (message 4094 shown)
    NoBuffers,          // a picture buffer could not be allocated
    LoginCancelled,     // the login dialog ended without a login
    NoProcessResources, // a process event or thread could not be made
    NoLoginResources,   // a session event or thread could not be made
    NoMainWindow,       // a login result that opens no main window
    MainWindowClosed,   // the normal end of a run
};

struct TavrinAppOptions {
    platform::Timing timing;
    // Runs the login dialog once over the data object; returns 1 after a
    // login, anything else when the operator gave up. Default: LoginDialog,
    // pre-filled from the settings.
    std::function<int(AppData&)> runLoginDialog;
    // Called with the main window before it runs (tests and the demo).
    std::function<void(CTavrinDlg&)> mainWindowCreated;
    // Called once Setting.ini is loaded (the demo points the login at its device).
    std::function<void(AppData&)> settingsLoaded;
    // Where messages go before the main window exists; default: message boxes.
    UiPort* startupUi = nullptr;
};

class CTavrinApp {
public:
    explicit CTavrinApp(TavrinAppOptions options = {});
    ~CTavrinApp();
    CTavrinApp(const CTavrinApp&) = delete;
    CTavrinApp& operator=(const CTavrinApp&) = delete;

    // Start-up and the main window's run; then ExitInstance. Returns the
    // process exit code (0).
    int Run();

    StartupEnd InitInstance();
    int ExitInstance();

    // Null before start-up made them and after the exit released them.
    AppData* Data() const { return app_.get(); }
    SessionResources* Resources() const { return resources_.get(); }

private:
    int GetScreenDpi();

    TavrinAppOptions options_;
    std::unique_ptr<UiPort> messageBoxes_;
    std::unique_ptr<AppData> app_;
    // Beside the data object, attached to it; released before it.
    std::unique_ptr<recording::Recorders> recorders_;
    std::unique_ptr<SessionResources> resources_;
    bool traceLogOpen_ = false;
};

}  // namespace session
