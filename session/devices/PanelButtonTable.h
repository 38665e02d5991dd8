#pragma once
// The control-panel buttons of every linked-device type (26 types x 68
// buttons), built from three tables: the keys (control id, tooltip, picture),
// which keys each type shows with its notes, and the place of each key per
// picture format.

#include <array>
#include <cstdint>

#include "session/devices/ControlDeviceList.h"

namespace mainwindow {

using PanelButtonRow = std::array<PanelButtonDescriptor, kPanelButtonCount>;
extern const std::array<PanelButtonRow, kLinkedDeviceTypeCount> kPanelButtonTable;

// Panel indexes with a meaning of their own.
inline constexpr std::size_t kPanelRecordSearch = 25;
inline constexpr std::size_t kPanelJoystickMenu = 56;
inline constexpr std::size_t kPanelTurbo = 59;
inline constexpr std::size_t kPanelPtzControl = 60;
inline constexpr std::size_t kPanelRetr = 61;
inline constexpr std::size_t kPanelActionPreset = 67;
// Control ids of the keys with two-part tooltips.
inline constexpr std::uint16_t kPanelTurboId = 8310;
inline constexpr std::uint16_t kPanelPtzControlId = 8312;
inline constexpr std::uint16_t kPanelActionPresetId = 8356;

// PanelButtonDescriptor::wStyle
inline constexpr std::uint16_t kPanelPushStyle = 0x2;
inline constexpr std::uint16_t kPanelStateStyle = 0x40;
// PanelButtonDescriptor::wFlags: reloaded by every format's skin loader.
inline constexpr std::uint16_t kPanelReloadEachFormat = 0x4;

}  // namespace mainwindow
