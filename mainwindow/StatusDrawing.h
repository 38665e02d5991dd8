#pragma once
// What the main window's status area shows: texts with their colours and
// places, and the alarm and channel icons, from the row and the facts of the
// moment. The window's paint routine draws exactly this.

#include <cstdint>
#include <string>
#include <vector>

#include "mainwindow/WindowLayoutTable.h"
#include "session/SystemTime.h"

namespace mainwindow {

inline constexpr std::uint32_t kTextBlack = 0x000000;
inline constexpr std::uint32_t kTextRed = 0xFF0000;
inline constexpr std::uint32_t kTextYellow = 0xFFFF00;
inline constexpr std::uint32_t kTextCyan = 0x00FFFF;

// The info text's area from (L69, L70).
inline constexpr int kInfoAreaWidth = 120;
inline constexpr int kInfoAreaHeight = 14;

struct StatusFacts {
    std::string statusText;
    std::string extraStatus;  // the display's "HU: " text
    std::string alarmText;
    int channel = 0;          // the frame-header parser's channel number
    bool dvrFamily = false;
    std::string deviceName;
    std::string serverName;
    std::uint8_t statusHover = 1;  // 0 while the pointer rests on the info area
    session::SystemTime clock;     // the device's clock of the last frame
};

struct DrawnText {
    std::string text;
    int x = 0, y = 0;  // the text's top left
    std::uint32_t rgb = kTextBlack;
    friend bool operator==(const DrawnText&, const DrawnText&) = default;
};

struct DrawnIcon {
    enum class Which { Alarm, Channel };
    Which which;
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const DrawnIcon&, const DrawnIcon&) = default;
};

struct StatusDrawing {
    std::vector<DrawnText> texts;
    std::vector<DrawnIcon> icons;
};

StatusDrawing DrawStatus(const WindowLayoutRow& row, const StatusFacts& facts);

// The pointer's hover value: 0 inside the info area (edges included), else 1.
std::uint8_t StatusHoverAt(const WindowLayoutRow& row, int x, int y);

}  // namespace mainwindow
