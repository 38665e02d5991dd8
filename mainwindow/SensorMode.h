#pragma once
// A G66M camera's sensor mode and mirrors: what its frame headers report,
// the tool bar's buttons, and the two requests that change them. The bar
// shows what the camera reports, never what was asked for.

#include <array>
#include <cstdint>
#include <stop_token>
#include <string_view>

#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace mainwindow {

inline constexpr int kSensorBarWidth = 45;
inline constexpr int kSensorBarHeight = 300;
inline constexpr unsigned kSensorCommandFailedMessage = 4064;

// The sensor byte of a frame header: mode in the low 4 bits, horizontal
// mirror 0x80, vertical mirror 0x40.
struct SensorState {
    std::uint8_t frameMode = 0;
    bool horizontalMirror = false;
    bool verticalMirror = false;
    friend bool operator==(const SensorState&, const SensorState&) = default;
};
SensorState DecodeSensorByte(unsigned byte);

// The bar's buttons, 30 x 30 at (6, 10 + 34 i): six modes (state pairs
// UP/DOWN), then the horizontal and vertical mirror (flat UP, focus and selected DOWN).
struct SensorButtonRow {
    std::uint16_t id;
    int x, y;
    std::string_view up, down;
    bool mirror;  // false: mode button of mode id - 8600
};
inline constexpr std::uint16_t kFirstSensorButton = 8600;
inline constexpr std::uint16_t kHorizontalMirrorButton = 8606;
inline constexpr std::uint16_t kVerticalMirrorButton = 8607;
inline constexpr int kSensorModeCount = 6;
extern const std::array<SensorButtonRow, 8> kSensorButtons;
inline constexpr std::string_view kSensorBarBackground = "BMP/CMOS/ToolBarBG.bmp";

// Where the bar stands: at start beside the centred main window, later
// docked 2 pixels over the main window's left edge at its top.
struct BarPlace {
    int x = 0, y = 0;
    friend bool operator==(const BarPlace&, const BarPlace&) = default;
};
BarPlace SensorBarStartPlace(int workWidth, int workHeight, int windowWidth, int windowHeight);
BarPlace SensorBarDockPlace(int mainLeft, int mainTop);

// /OV9653Zoom.cgi with MODE; 1 on success.
int SendSensorMode(session::AppData& app, const platform::Timing& timing, int mode, std::stop_token stop = {});
// /OV9653Rotate.cgi from the reported state: the button's own mirror flipped
// and sent first, the other as reported. 1 on success.
int SendMirror(session::AppData& app, const platform::Timing& timing, bool horizontalButton,
               const SensorState& reported, std::stop_token stop = {});

}  // namespace mainwindow
