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

#include "app/DemoRun.h"
#include "app/TavrinApp.h"
#include "platform/ProgramFolder.h"

namespace {

constexpr char kUsage[] =
    "usage: quenlo [--demo]\n"
    "\n"
    "The client for network video recorders and video servers: log in to a\n"
    "device and watch its live picture.\n"
    "\n"
    "  --demo   start the device simulator on 127.0.0.1 and fill the login with it\n"
    "           (password \"tovik\"); the run keeps its settings, snapshots,\n"
    "           recordings and backups in a temporary folder, removed at its end,\n"
    "           and changes none of your files\n"
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

    // Before the application object: the demo's folders replace $HOME and the
    // XDG folders, which Qt reads once.
    quenlo::DemoRun demoRun;
    if (demo) {
        if (!demoRun.Start(platform::ExecutableFolder() / "devicesim")) {
            std::fprintf(stderr, "quenlo --demo: %s\n", demoRun.error().c_str());
            return 1;
        }
        std::printf("quenlo --demo: device simulator on 127.0.0.1:%u (user \"%s\", password \"%s\"); "
                    "this run's files are in %s and go when it ends\n",
                    demoRun.Device().Port(), quenlo::DemoDevice::kUser, quenlo::DemoDevice::kPassword,
                    demoRun.Folder().Path().c_str());
        std::fflush(stdout);
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("quenlo");

    session::TavrinAppOptions options;
    if (demo)
        demoRun.PrefillLogin(options);

    session::CTavrinApp app(std::move(options));
    return app.Run();
}
