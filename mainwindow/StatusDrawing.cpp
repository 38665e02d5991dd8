#include "mainwindow/StatusDrawing.h"

#include <array>
#include <cstdio>

#include "session/TextHelpers.h"
#include "session/net/CommandSender.h"

namespace mainwindow {

namespace {

// "IP:a.b.c.d" for a server name of digits and dots; empty otherwise.
std::string AddressText(const std::string& serverName) {
    if (serverName.empty() || session::IsNumericHost(serverName) != 2)
        return {};
    std::array<std::uint8_t, 4> bytes{};
    session::SplitToBytes(serverName, bytes, ".");
    char text[32];
    std::snprintf(text, sizeof text, "IP:%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

std::string ClockText(const session::SystemTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%.4d/%.2d/%.2d %.2d:%.2d:%.2d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

}  // namespace

StatusDrawing DrawStatus(const WindowLayoutRow& L, const StatusFacts& facts) {
    StatusDrawing drawing;
    const int statusX = L[kStatusRect], statusY = L[kStatusRect + 1];
    drawing.texts.push_back({facts.statusText, statusX + 5, statusY + 2, kTextBlack});
    if (!facts.extraStatus.empty())
        drawing.texts.push_back({facts.extraStatus, statusX + 160, statusY + 2, kTextBlack});
    const int iconLeft = L[kChannelIcon], iconTop = L[kChannelIcon + 1];
    const int iconRight = L[kChannelIcon + 2], iconBottom = L[kChannelIcon + 3];
    if (!facts.alarmText.empty()) {
        drawing.icons.push_back(
            {DrawnIcon::Which::Alarm, iconLeft - 34, iconTop, iconRight - iconLeft, iconBottom - iconTop});
        drawing.texts.push_back({facts.alarmText, iconRight - 30, iconTop + 2, kTextRed});
    }
    if (facts.statusText.starts_with("FR")) {
        drawing.icons.push_back(
            {DrawnIcon::Which::Channel, iconLeft, iconTop, iconRight - iconLeft, iconBottom - iconTop});
        drawing.texts.push_back({std::to_string(facts.channel), iconRight + 4, iconTop + 2, kTextBlack});
    }
    const int infoX = L[kInfoOrigin], infoY = L[kInfoOrigin + 1];
    const std::string address = AddressText(facts.serverName);
    if (facts.dvrFamily) {
        if (!facts.deviceName.empty() && facts.statusHover == 1)
            drawing.texts.push_back({facts.deviceName, infoX, infoY, kTextYellow});
        else if (!address.empty())
            drawing.texts.push_back({address, infoX, infoY, kTextCyan});
    } else if (facts.statusHover == 0) {
        if (!address.empty())
            drawing.texts.push_back({address, infoX, infoY, kTextCyan});
    } else {
        drawing.texts.push_back({ClockText(facts.clock), infoX, infoY, kTextYellow});
    }
    return drawing;
}

std::uint8_t StatusHoverAt(const WindowLayoutRow& L, int x, int y) {
    const int left = L[kInfoOrigin], top = L[kInfoOrigin + 1];
    const bool inside = x >= left && x <= left + kInfoAreaWidth && y >= top && y <= top + kInfoAreaHeight;
    return inside ? 0 : 1;
}

}  // namespace mainwindow
