#pragma once
// Which skin files each main-window button loads, as plain lists the window
// applies: the panel skin of a format (the four loaders) and the title skin
// of the start. File names are relative to the program folder.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mainwindow/WindowLayoutTable.h"
#include "session/devices/ControlDeviceList.h"

namespace mainwindow {

// Buttons a load can be for besides the 68 panel buttons.
inline constexpr std::uint16_t kOpenPanelId = 8192;
inline constexpr std::uint16_t kClosePanelId = 8193;
inline constexpr std::uint16_t kPowerId = 8311;
inline constexpr std::array<std::uint16_t, 3> kTitleIds{8200, 8201, 8202};

struct SkinLoad {
    enum class Kind { Three, Pairs };
    std::uint16_t controlId = 0;  // 0 for a panel button
    int panelIndex = -1;          // 0-67 for a panel button
    Kind kind = Kind::Three;
    std::vector<std::string> files;  // flat, focus, selected; or normal, hover per state
    std::uint16_t style = 0;
};

// The panel loader of a format for the current type's buttons: turbo
// pictures while turbo is on, the descriptors' pictures, then 8192 and 8193.
// `holdsPictures` says per panel index whether the button holds pictures.
std::vector<SkinLoad> PanelSkinLoads(SkinFormat format, bool turbo, std::span<const PanelButtonDescriptor> buttons,
                                     std::span<const bool> holdsPictures);

// The turbo key's reload of the joystick direction keys (54, 55, 57, 58) and
// the zoom and focus keys (30-33): turbo or plain pictures, with the arrows
// of the layout class's own format, "_OVER" ("_a" for the lenses) as focus
// and selected picture.
std::vector<SkinLoad> TurboToggleLoads(std::size_t layoutClass, bool turbo);

// The start's title skin: title buttons, panel buttons without pictures,
// power (when the user's row enables it), 8192 and 8193 of the layout class.
std::vector<SkinLoad> TitleSkinLoads(std::size_t layoutClass, std::uint32_t resolution, bool powerEnabled,
                                     std::span<const PanelButtonDescriptor> buttons,
                                     std::span<const bool> holdsPictures);

// The skin format the resolution setting and video standard ask for;
// nullopt for a resolution other than 0, 1 or 2.
std::optional<SkinFormat> PanelFormatFor(std::uint8_t videoMode, std::uint32_t resolution);

// Whether a panel button shows: flag 0x20 needs login level 30, flag 0x40 a
// rank of at least `topRank`; others always.
bool PanelButtonShown(std::uint16_t flags, std::uint16_t userLevel, std::uint8_t rank, std::uint8_t topRank = 30);

// Mouse mode 2 (click-to-position) for the PTZ slave types 11 and 18; a DVR
// from "1035" also needs capability bit 0x2.
std::uint8_t MouseModeFor(std::uint8_t type, bool dvrFrom1035, bool hasPositionCapability);

}  // namespace mainwindow
