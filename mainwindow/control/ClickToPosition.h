#pragma once
// Pointing a PTZ camera by a click in the live picture: the picture is cut
// into 16 columns by 12 rows, and the clicked cell (row in the high four
// bits, column in the low four) goes to the current control device.

#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

#include "mainwindow/control/ControlCommandSender.h"
#include "platform/Timing.h"

namespace session {
class AppData;
}

namespace mainwindow {

struct ClickRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct ClickCell {
    int column = 0;  // 0-15
    int row = 0;     // 0-11
    std::uint8_t Cell() const { return static_cast<std::uint8_t>(row * 16 + column); }
};

// The cell of a click strictly inside R (in full screen, R shrunk by 8 on
// every side); a point on a grid line belongs to the cell left of (above) it.
std::optional<ClickCell> CellOfClick(const ClickRect& picture, int x, int y, bool fullScreen);

// The marker in picture coordinates: relative to the video area, or in full
// screen the point scaled from the work area into the video area's size.
struct MarkerPoint {
    int x = 0, y = 0;
};
MarkerPoint MarkerOfClick(const ClickRect& picture, const ClickRect& video, int x, int y, bool fullScreen);

// The go-to body for the current type: "PTZ" {5, D0, address, 52, cell, 0, 1, 50},
// the slave and Pelco types {7, D0, address, rank, 52, cell, 0, sum, 1, 50},
// any other type three zero bytes.
std::vector<std::uint8_t> PositionBody(std::uint8_t type, std::uint8_t address, std::uint8_t rank, std::uint8_t cell);

// The click at (w_ClickPosX, w_ClickPosY): nothing outside the picture;
// otherwise the marker, then the request (Pelco parameters for a Pelco
// device only, 15 s); the marker countdown becomes 4 on success, 4065 on failure.
ControlOutcome SendClickToPosition(session::AppData& app, const ClickRect& workArea, bool fullScreen,
                                   const platform::Timing& timing, std::stop_token stop = {});

}  // namespace mainwindow
