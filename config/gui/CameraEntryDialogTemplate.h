#pragma once
// Template 327: one channel's row of the camera page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kCameraEntryDialogControls[] = {
    {1, gui::ControlKind::PushButton, {199, 2, 18, 23}, gui::kDefaultButton, "OK"},
    {1427, gui::ControlKind::Static, {3, 2, 21, 10}, gui::kCentre, "NR."},
    {1433, gui::ControlKind::Static, {3, 13, 21, 12}, gui::kCentre | gui::kSunken, ""},
    {1426, gui::ControlKind::Static, {24, 2, 44, 10}, gui::kCentre, "NAZWA"},
    {1439, gui::ControlKind::Edit, {24, 13, 44, 12}, gui::kCentre, ""},
    {1428, gui::ControlKind::Static, {68, 2, 18, 10}, gui::kCentre, "JAS"},
    {1434, gui::ControlKind::Edit, {68, 13, 18, 12}, gui::kCentre | gui::kNumber, ""},
    {1429, gui::ControlKind::Static, {86, 2, 18, 10}, gui::kCentre, "KON"},
    {1435, gui::ControlKind::Edit, {86, 13, 18, 12}, gui::kCentre | gui::kNumber, ""},
    {1430, gui::ControlKind::Static, {104, 2, 18, 10}, gui::kCentre, "NAS"},
    {1436, gui::ControlKind::Edit, {104, 13, 18, 12}, gui::kCentre | gui::kNumber, ""},
    {1437, gui::ControlKind::Static, {122, 2, 19, 10}, gui::kCentre, "KOL"},
    {1438, gui::ControlKind::Edit, {122, 13, 19, 12}, gui::kCentre | gui::kNumber, ""},
    {1440, gui::ControlKind::Static, {141, 2, 27, 10}, gui::kCentre, "UKR"},
    {1195, gui::ControlKind::ComboBox, {141, 13, 27, 30}, gui::kNoStyle, ""},
    {1441, gui::ControlKind::Static, {168, 2, 27, 10}, gui::kCentre, "NAGR"},
    {1196, gui::ControlKind::ComboBox, {168, 13, 27, 30}, gui::kNoStyle, ""},
};

inline constexpr gui::DialogTemplate kCameraEntryDialogTemplate{327, "Edit", 220, 27, gui::kSheetFont,
                                                                kCameraEntryDialogControls};

}  // namespace config
