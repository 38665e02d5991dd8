#include "mainwindow/ColourSettings.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "session/AppData.h"
#include "session/DeviceFamily.h"
#include "session/login/LoginExchange.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/DeviceRequest.h"

namespace mainwindow {

namespace {

constexpr int kHalf = 128;

int Clamp(int value) { return std::clamp(value, 0, kColourMax); }

void TakeNumber(std::string_view reply, std::string_view key, int& value) {
    if (auto text = session::ReplyValue(reply, key))
        value = session::ReplyNumber(*text);
}

}  // namespace

bool CountsColourAroundZero(std::string_view productId) {
    return session::IsVideoServerFamily(productId) || session::IsN5HFamily(productId) ||
           session::IsG66MFamily(productId);
}

int ShownColour(int deviceValue, bool server) {
    if (!server)
        return Clamp(deviceValue);
    return Clamp(deviceValue < kHalf ? deviceValue + kHalf : deviceValue - kHalf);
}

int DeviceColour(int shownValue, bool server) {
    if (!server)
        return shownValue;
    return shownValue < kHalf ? shownValue + kHalf : shownValue - kHalf;
}

ShownColours ShownFromDevice(const ColourValues& device, bool server) {
    return {ShownColour(device.brightness, server), Clamp(device.contrast), ShownColour(device.hue, server), 0};
}

ColourValues DeviceFromShown(const ShownColours& shown, bool server) {
    return {shown.contrast, DeviceColour(shown.brightness, server), DeviceColour(shown.hue, server)};
}

ShownColours DefaultColours(bool server) {
    return server ? ShownColours{175, 150, 130, 128} : ShownColours{128, 128, 128, 128};
}

int TypedColour(std::string text, int previous) {
    if (session::FilterNumericText(text, 1) != 1 || text.empty())
        return previous;
    int value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
        if (value > kColourMax)
            return kColourMax;
    }
    return value;
}

ColourValues ParseColourReply(std::string_view reply) {
    ColourValues values;
    TakeNumber(reply, "CON", values.contrast);
    TakeNumber(reply, "BRI", values.brightness);
    TakeNumber(reply, "HUE", values.hue);
    return values;
}

std::optional<ColourValues> QueryColour(session::AppData& app, const platform::Timing& timing,
                                        std::stop_token stop) {
    const auto request = session::RequestWithCookie(session::CMD_GET_COLOR, app.SessionCookie.Get());
    std::array<std::uint8_t, kColourReplySize> reply{};
    std::uint32_t length = 0;
    // A longer reply is cut: the values are read from what fits.
    if (session::SendDeviceRequest(app, timing, request, std::move(stop), reply, &length,
                                   session::LongReply::CutToArea) != 1)
        return std::nullopt;
    return ParseColourReply(std::string_view(reinterpret_cast<const char*>(reply.data()),
                                             std::min<std::size_t>(length, reply.size())));
}

int SendColour(session::AppData& app, const platform::Timing& timing, const ColourValues& device,
               std::stop_token stop) {
    auto request = session::RequestWithCookie(session::CMD_SET_COLOR, app.SessionCookie.Get());
    request.AddIntParam("CON", device.contrast);
    request.AddIntParam("BRI", device.brightness);
    request.AddIntParam("HUE", device.hue);
    return session::SendDeviceRequest(app, timing, request, std::move(stop));
}

}  // namespace mainwindow
