// screenshots FOLDER: grabs the login dialog, the main window showing the
// simulator's live picture with its control panel open, and the configuration
// sheet into FOLDER/login.png, FOLDER/main-window.png and FOLDER/sheet.png.
// Runs the client in the folders of a --demo run against an in-process device
// simulator with the --demo run's device; meant for QT_QPA_PLATFORM=offscreen (scripts/screenshots).
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/DemoFolder.h"
#include "app/TavrinApp.h"
#include "config/gui/MySystemDialog.h"
#include "gui/VtxButton.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "session/AppData.h"
#include "session/gui/LoginDialog.h"
#include "session/login/LoginExchange.h"
#include "simulator/DemoProfile.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/TestPattern.h"
#include "simulator/VideoStream.h"

namespace {

// About two seconds of pictures: the status line shows the rates by then.
constexpr int kPicturesBeforeGrab = 60;

bool Save(QWidget& widget, const std::filesystem::path& file) {
    const bool saved = widget.grab().save(QString::fromStdString(file.string()), "PNG");
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "cannot write", file.c_str());
    return saved;
}

// Lets queued work and paints happen for about `ms` milliseconds.
void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(argc == 2 ? stdout : stderr,
                     "usage: screenshots FOLDER\n"
                     "Grabs the login dialog, the main window and the configuration sheet into\n"
                     "FOLDER/login.png, FOLDER/main-window.png and FOLDER/sheet.png.\n");
        return argc == 2 ? 0 : 2;
    }
    const std::filesystem::path out = std::filesystem::absolute(argv[1]);  // the demo changes the working folder
    // The folders of a --demo run, before the application object reads them.
    quenlo::DemoFolder demoFolder;
    if (!demoFolder.Enter()) {
        std::fprintf(stderr, "screenshots: %s\n", demoFolder.error().c_str());
        return 1;
    }
    QApplication application(argc, argv);

    // The device of quenlo --demo, with the picture devicesim sends.
    const devicesim::DeviceProfile profile = devicesim::DemoProfile();
    devicesim::DeviceSimulator device(profile);
    devicesim::VideoStream stream(device);
    const auto full = devicesim::StandardPictureSize(profile, false);
    const auto reduced = devicesim::StandardPictureSize(profile, true);
    stream.SetPictures(devicesim::MovingBarPictures(full.width, full.height));
    stream.SetReducedPictures(devicesim::MovingBarPictures(reduced.width, reduced.height));
    stream.SetFrameRate(25);
    if (!device.Start()) {
        std::fprintf(stderr, "screenshots: the simulator cannot listen\n");
        return 1;
    }

    bool saved = true;
    session::TavrinAppOptions options;
    options.runLoginDialog = [&](session::AppData& app) {
        app.CSettingINI.m_strServerName.Set("127.0.0.1");
        app.CSettingINI.m_wWebPort.store(device.Port());
        app.CSettingINI.m_strUserName.Set(device.Profile().userName);
        {
            session::LoginDialog dialog(app);
            dialog.PrefillFromSettings();
            dialog.findChild<QLineEdit*>("passwordEdit")->setText(QString::fromStdString(device.Profile().password));
            dialog.show();
            QApplication::processEvents();
            saved &= Save(dialog, out / "login.png");
        }
        app.CSettingINI.m_strPassword.Set(device.Profile().password);
        return session::RunLoginRequest(app, {}) == session::kLoginLoggedIn ? 1 : 2;
    };
    bool grabbed = false;
    options.mainWindowCreated = [&](session::CTavrinDlg& window) {
        // Queued: the window is grabbed after the paint that showed the picture, not inside it.
        const auto grab = [&](quint64 sequence) {
            if (grabbed || sequence < kPicturesBeforeGrab)
                return;
            grabbed = true;
            // With the control panel of the linked PTZ camera open.
            if (auto* open = window.Button(session::CTavrinDlg::kOpenPanelButton))
                open->click();
            Settle(300);
            saved &= Save(window, out / "main-window.png");
            // The configuration sheet as the setup button opens it.
            window.OnSystemSetup();
            config::MySystemDialog* sheet = nullptr;
            for (int waited = 0; !sheet && waited < 5000; waited += 50) {
                Settle(50);
                for (QWidget* widget : QApplication::topLevelWidgets())
                    if (auto* found = qobject_cast<config::MySystemDialog*>(widget); found && found->isVisible())
                        sheet = found;
            }
            if (sheet) {
                Settle(500);
                saved &= Save(*sheet, out / "sheet.png");
            } else {
                std::fprintf(stderr, "screenshots: the configuration sheet did not open\n");
                saved = false;
            }
            window.DestroyWindow();
        };
        QObject::connect(&window, &session::CTavrinDlg::pictureShown, &window, grab, Qt::QueuedConnection);
        QTimer::singleShot(20000, &window, [&] { window.DestroyWindow(); });
    };
    session::CTavrinApp app(std::move(options));
    app.Run();
    if (!grabbed)
        std::fprintf(stderr, "screenshots: the main window showed no live picture\n");
    return saved && grabbed ? 0 : 1;
}
