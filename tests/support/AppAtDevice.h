#pragma once
// Points a test's AppData at a simulated device: its address and port, a
// session cookie, and a device that takes requests without checking it.

#include <string>

#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"

namespace testutil {

inline constexpr const char* kTestCookie = "C00C1E";

inline void AimAtDevice(session::AppData& app, devicesim::DeviceSimulator& device) {
    device.UpdateProfile([](devicesim::DeviceProfile& p) { p.checkCookie = false; });
    app.CSettingINI.m_strServerName = "127.0.0.1";
    app.CSettingINI.m_wWebPort = device.Port();
    app.SessionCookie = kTestCookie;
}

}  // namespace testutil
