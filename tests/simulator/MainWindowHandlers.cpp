// The device's answers to the main window's tool commands: picture colours,
// live resolution and quality, and a G66M's sensor mode and mirrors, which
// later frame headers carry.

#include <cstdlib>
#include <functional>
#include <string>

#include "simulator/DeviceSimulator.h"

namespace devicesim {

namespace {

int Number(const Request& request, std::string_view key, int otherwise) {
    const auto value = request.Param(key);
    return value ? std::atoi(value->c_str()) : otherwise;
}

// A handler that changes the state of an authorised request and answers 200.
ReplyHandler Changing(std::function<void(DeviceState&, const Request&)> change) {
    return [change = std::move(change)](DeviceSimulator& device, const Request& request) {
        Reply reply = Reply::WithStatus(401);
        device.Update([&](DeviceState& state) {
            if (!Authorised(state, request))
                return;
            change(state, request);
            reply = Reply::Ok();
        });
        return reply;
    };
}

Reply GetColor(DeviceSimulator& device, const Request& request) {
    const DeviceState state = device.State();
    if (!Authorised(state, request))
        return Reply::WithStatus(401);
    return Reply::Ok("BRI=" + std::to_string(state.brightness) + ";HUE=" + std::to_string(state.hue) +
                     ";CON=" + std::to_string(state.contrast) + ";");
}

void SetColor(DeviceState& state, const Request& request) {
    state.contrast = Number(request, "CON", state.contrast);
    state.brightness = Number(request, "BRI", state.brightness);
    state.hue = Number(request, "HUE", state.hue);
}

void SetMirror(DeviceState& state, const Request& request, std::string_view key, std::uint8_t bit) {
    if (const auto on = request.Param(key))
        state.sensorByte = static_cast<std::uint8_t>(*on == "1" ? state.sensorByte | bit : state.sensorByte & ~bit);
}

}  // namespace

void InstallMainWindowHandlers(DeviceSimulator& simulator) {
    simulator.SetHandler("/GetColor.cgi", GetColor);
    simulator.SetHandler("/SetColor.cgi", Changing(SetColor));
    simulator.SetHandler("/Setresolution.cgi", Changing([](DeviceState& state, const Request& request) {
                             state.resolution = Number(request, "RES", state.resolution);
                         }));
    simulator.SetHandler("/Setquality.cgi", Changing([](DeviceState& state, const Request& request) {
                             state.quality = Number(request, "QUA", state.quality);
                         }));
    simulator.SetHandler("/OV9653Zoom.cgi", Changing([](DeviceState& state, const Request& request) {
                             const int mode = Number(request, "MODE", state.sensorByte & 0x0F);
                             state.sensorByte = static_cast<std::uint8_t>((state.sensorByte & 0xF0) | (mode & 0x0F));
                         }));
    simulator.SetHandler("/OV9653Rotate.cgi", Changing([](DeviceState& state, const Request& request) {
                             SetMirror(state, request, "HR", 0x80);
                             SetMirror(state, request, "VR", 0x40);
                         }));
}

}  // namespace devicesim
