// The "/PTZReset.cgi" reply reader over any text: bounded, and every type it
// gives is a known one.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mainwindow/control/PtzResetReply.h"
#include "session/devices/ControlDeviceList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto devices =
        mainwindow::ParsePtzResetReply(std::string_view(reinterpret_cast<const char*>(data), size));
    if (devices.size() > 255)
        std::abort();
    for (const auto& device : devices)
        if (device.type >= mainwindow::kLinkedDeviceTypeCount)
            std::abort();
    return 0;
}
