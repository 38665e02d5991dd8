// screenshots FOLDER: grabs the login dialog and the main window showing the
// simulator's live picture into FOLDER/login.png and FOLDER/main-window.png.
// Runs the client in a temporary program folder against an in-process device
// simulator with the --demo run's device; meant for QT_QPA_PLATFORM=offscreen (scripts/screenshots).
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/TavrinApp.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "session/AppData.h"
#include "session/gui/LoginDialog.h"
#include "session/login/LoginExchange.h"
#include "simulator/DemoProfile.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/TestPattern.h"
#include "simulator/VideoStream.h"

namespace {

constexpr int kPicturesBeforeGrab = 10;

bool Save(QWidget& widget, const std::filesystem::path& file) {
    const bool saved = widget.grab().save(QString::fromStdString(file.string()), "PNG");
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "cannot write", file.c_str());
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(argc == 2 ? stdout : stderr,
                     "usage: screenshots FOLDER\n"
                     "Grabs the login dialog and the main window into FOLDER/login.png and FOLDER/main-window.png.\n");
        return argc == 2 ? 0 : 2;
    }
    const std::filesystem::path out = argv[1];
    QApplication application(argc, argv);
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    ::setenv("QUENLO_HOME", home.path().toLocal8Bit().constData(), 1);

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
            saved &= Save(window, out / "main-window.png");
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
