// The quenlo client.
//
//   quenlo           the client, with the device of Setting.ini
//   quenlo --demo    also starts the device simulator beside the program and
//                    points the login at it (user "tovik", password "tovik")
#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstring>

#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "app/DemoDevice.h"
#include "app/TavrinApp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("quenlo");

    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0) {
            demo = true;
        } else {
            std::fprintf(stderr, "usage: %s [--demo]\n", argv[0]);
            return 2;
        }
    }

    session::TavrinAppOptions options;
    quenlo::DemoDevice device;
    if (demo) {
        const auto simulator = std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "devicesim";
        if (!device.Start(simulator)) {
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
