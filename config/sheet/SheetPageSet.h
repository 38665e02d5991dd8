#pragma once
// Which pages the configuration sheet holds for the logged-in device, in tab
// order, and which of its own buttons it shows.

#include <cstdint>
#include <string_view>
#include <vector>

#include "config/DeviceFacts.h"

namespace config {

// The page classes the sheet adds (the four it never shows are not built).
enum class SheetPageId : std::uint8_t {
    Network,
    Ddns,
    Mail,
    Ftp,
    Sntp,
    Camera,
    Device,
    Detection,
    Download,
    Event,
    TimerRecord,
    DvrDate,
    DvrRecord,
    Alarm,
    AlarmData,
    ToolBox,
    Account,
    Peripheral,
    OnlineUsers,
    RecordPaths,
};

// The page's tab caption (the name the page tree matches).
std::string_view PageCaption(SheetPageId page);

// The family's pages in order; the DVR's alarm list only with a linked DVR;
// none for a product outside the four families.
std::vector<SheetPageId> PageSetFor(const DeviceFacts& facts, bool hasLinkedDvr);

struct SheetButtonSet {
    bool exit = true;
    bool apply = false;
    bool restart = false;
};
SheetButtonSet SheetButtonsFor(const DeviceFacts& facts);

}  // namespace config
