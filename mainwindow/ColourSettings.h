#pragma once
// The device's picture colours (contrast, brightness, hue) as the colour
// dialog shows and sends them. Video servers, N5H and G66M devices count
// brightness and hue around a midpoint of 0, so the dialog shows them with
// the two halves of 0-255 exchanged; contrast and every DVR value pass as
// they are.

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace mainwindow {

inline constexpr int kColourMax = 255;
// The colour query's reply area: a longer reply is a failed query.
inline constexpr std::size_t kColourReplySize = 256;
inline constexpr unsigned kColourCommandFailedMessage = 4064;

// Values as the device counts them.
struct ColourValues {
    int contrast = 128;
    int brightness = 0;
    int hue = 0;
    friend bool operator==(const ColourValues&, const ColourValues&) = default;
};

// Values as the dialog shows them, 0-255 each (the spare one is hidden).
struct ShownColours {
    int brightness = 0;
    int contrast = 0;
    int hue = 0;
    int spare = 0;
    friend bool operator==(const ShownColours&, const ShownColours&) = default;
};

// The server families: video servers, N5H and G66M.
bool CountsColourAroundZero(std::string_view productId);

// The exchange of halves (below 128: + 128, else − 128) for the server
// families, the value itself for DVRs; shown values are kept within 0-255.
int ShownColour(int deviceValue, bool server);
int DeviceColour(int shownValue, bool server);
ShownColours ShownFromDevice(const ColourValues& device, bool server);
ColourValues DeviceFromShown(const ShownColours& shown, bool server);

// The Default button's shown values.
ShownColours DefaultColours(bool server);

// A number box's text after an edit: digits only; an empty result keeps
// `previous`; the number is held within 0-255.
int TypedColour(std::string text, int previous);

// "CON", "BRI" and "HUE" of a /GetColor.cgi reply; an absent key leaves its
// default (contrast 128, brightness and hue 0).
ColourValues ParseColourReply(std::string_view reply);

// /GetColor.cgi: the device's values, nullopt when the request failed or its
// reply did not fit its area.
std::optional<ColourValues> QueryColour(session::AppData& app, const platform::Timing& timing,
                                        std::stop_token stop = {});
// /SetColor.cgi with CON, BRI and HUE: 1 on success, else 0.
int SendColour(session::AppData& app, const platform::Timing& timing, const ColourValues& device,
               std::stop_token stop = {});

}  // namespace mainwindow
