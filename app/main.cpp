// The quenlo client.
//
//   quenlo           the client, with the device of Setting.ini
//   quenlo --demo    also starts the device simulator beside the program and
//                    points the login at it, in a temporary program folder
//   quenlo --help    the usage
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/DemoDevice.h"
#include "app/DemoFolder.h"
#include "app/TavrinApp.h"
#include "platform/ProgramFolder.h"
#include "session/AppData.h"

namespace {

constexpr char kUsage[] =
    "usage: quenlo [--demo]\n"
    "\n"
    "The client for network video recorders and video servers: log in to a\n"
    "device and watch its live picture.\n"
    "\n"
    "  --demo   start the device simulator on 127.0.0.1 and fill the login with it\n"
    "           (password \"tovik\"); the run uses a temporary program folder and\n"
    "           changes none of your settings or files\n"
    "  --help   print this text\n"
    "\n"
    "Files: $QUENLO_HOME when set; else the program's folder when it is writable\n"
    "and holds Setting.ini; else $XDG_DATA_HOME/quenlo (~/.local/share/quenlo).\n";

// Qt aborts without a display; say so in one line instead.
bool HasDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0) {
            demo = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "quenlo: unknown argument %s\n%s", argv[i], kUsage);
            return 2;
        }
    }
    if (!HasDisplay()) {
        std::fprintf(stderr, "quenlo: no display to show windows on (DISPLAY and WAYLAND_DISPLAY are not set)\n");
        return 1;
    }

    quenlo::DemoFolder demoFolder;
    if (demo && !demoFolder.Enter()) {
        std::fprintf(stderr, "quenlo --demo: %s\n", demoFolder.error().c_str());
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("quenlo");

    session::TavrinAppOptions options;
    quenlo::DemoDevice device;
    if (demo) {
        if (!device.Start(platform::ExecutableFolder() / "devicesim")) {
            std::fprintf(stderr, "quenlo --demo: %s\n", device.error().c_str());
            return 1;
        }
        std::printf("quenlo --demo: device simulator on 127.0.0.1:%u (user \"%s\", password \"%s\")\n",
                    device.Port(), quenlo::DemoDevice::kUser, quenlo::DemoDevice::kPassword);
        std::fflush(stdout);
        options.settingsLoaded = [&device](session::AppData& app) {
            app.CSettingINI.m_strServerName.Set("127.0.0.1");
            app.CSettingINI.m_szServerAddress.Set("");
            app.CSettingINI.m_wWebPort.store(device.Port());
            app.CSettingINI.m_strUserName.Set(quenlo::DemoDevice::kUser);
        };
    }

    session::CTavrinApp app(std::move(options));
    return app.Run();
}
