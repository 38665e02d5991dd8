#include "app/DemoRun.h"

#include "session/AppData.h"

namespace quenlo {

bool DemoRun::Start(const std::filesystem::path& simulator) {
    if (!folder_.Enter()) {
        error_ = folder_.error();
        return false;
    }
    if (!device_.Start(simulator)) {
        error_ = device_.error();
        return false;
    }
    return true;
}

void DemoRun::PrefillLogin(session::TavrinAppOptions& options) const {
    options.settingsLoaded = [port = device_.Port()](session::AppData& app) {
        app.CSettingINI.m_strServerName.Set("127.0.0.1");
        app.CSettingINI.m_szServerAddress.Set("");
        app.CSettingINI.m_wWebPort.store(port);
        app.CSettingINI.m_strUserName.Set(DemoDevice::kUser);
    };
}

}  // namespace quenlo
