#pragma once
// Points a test's AppData at a started simulated device with a session the
// device knows, so requests go out with that cookie; time-outs shortened.

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Timing.h"
#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"

namespace testutil {

inline constexpr const char* kTestCookie = "C0FFEE";

inline void JoinDevice(devicesim::DeviceSimulator& device, session::AppData& app, platform::Timing& timing) {
    using namespace std::chrono_literals;
    device.Update([](devicesim::DeviceState& state) { state.sessions[kTestCookie] = {}; });
    app.CSettingINI.m_strServerName = "127.0.0.1";
    app.CSettingINI.m_wWebPort = device.Port();
    app.SessionCookie = kTestCookie;
    timing.connectTimeout = 2000ms;
    timing.commandTimeout = 2000ms;
    timing.sysCfgQueryTimeout = 2000ms;
}

// The targets of the device's requests of one path, in order.
inline std::vector<std::string> RequestTargets(const devicesim::DeviceSimulator& device, std::string_view path) {
    std::vector<std::string> targets;
    for (const auto& request : device.RequestsFor(path))
        targets.push_back(request.target);
    return targets;
}

}  // namespace testutil
