#pragma once
// The main window's geometry: one row of 79 values per layout index (0-17),
// pixels of the window's client area. The fields the window reads are named
// below; the others hold nothing it uses and read as 0.
//
// Rows in use: 0-3 DVR, 6-9 video server and N5H, 12-13 G66M; in each group
// NTSC full, NTSC reduced, PAL full, PAL reduced. The layout class (row
// modulo 6) picks the skin format.

#include <array>
#include <cstddef>
#include <cstdint>

namespace mainwindow {

inline constexpr std::size_t kLayoutRowCount = 18;
inline constexpr std::size_t kLayoutFieldCount = 79;

// Field numbers.
enum LayoutField : std::size_t {
    kClosedRect = 0,       // 0-3 window with the panel closed: left, top, right, bottom
    kOpenRect = 4,         // 4-7 window with the panel open
    kPaintClosedRect = 8,  // 8-11 where the panel-closed background is stretched
    kVideoRect = 12,       // 12-15 where the picture is drawn
    kStatusRect = 16,      // 16-19 the status line
    kPowerButton = 20,     // 20-23 power: width, height, right edge, top
    kOpenPanelButton = 24, // 24-27 8192: left, top, width, height
    kClosePanelButton = 28,// 28-31 8193: left, top, width, height
    kTitleButtons = 32,    // 32-36 first title button's left, top, width, height, gap
    kInfoOrigin = 69,      // 69-70 the info text
    kChannelIcon = 75,     // 75-78 the channel icon's rectangle
};

using WindowLayoutRow = std::array<std::uint16_t, kLayoutFieldCount>;
extern const std::array<WindowLayoutRow, kLayoutRowCount> WindowLayoutTable;

// The row of a layout index; indices past the table read as row 0.
const WindowLayoutRow& LayoutRow(std::size_t index);

// Skin formats, by layout class: 0 NTSC full, 1 NTSC reduced, 2 PAL full,
// 3 PAL reduced; classes 4 and 5 take the reduced NTSC and PAL skins.
enum class SkinFormat : std::uint8_t { NVga = 0, NQvga = 1, PVga = 2, PQvga = 3 };
inline constexpr std::size_t LayoutClass(std::size_t index) { return index % 6; }
SkinFormat SkinFormatOfClass(std::size_t layoutClass);

}  // namespace mainwindow
