#pragma once
// Template 321: one channel's row of the PTZ page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kPtzEntryDialogControls[] = {
    {1, gui::ControlKind::PushButton, {214, 2, 22, 23}, gui::kDefaultButton, "OK"},
    {1405, gui::ControlKind::Static, {3, 2, 21, 10}, gui::kCentre, "NR."},
    {1406, gui::ControlKind::Static, {3, 13, 21, 12}, gui::kCentre | gui::kSunken, ""},
    {1407, gui::ControlKind::Static, {24, 2, 57, 10}, gui::kCentre, "URZĄDZENIE"},
    {1195, gui::ControlKind::ComboBox, {24, 13, 57, 37}, gui::kNoStyle, ""},
    {1408, gui::ControlKind::Static, {81, 2, 25, 10}, gui::kCentre, "ID"},
    {1040, gui::ControlKind::Edit, {81, 13, 25, 12}, gui::kCentre | gui::kNumber, ""},
    {1410, gui::ControlKind::Static, {106, 2, 60, 10}, gui::kCentre, "PROTOKÓŁ"},
    {1409, gui::ControlKind::ComboBox, {106, 13, 60, 36}, gui::kNoStyle, ""},
    {1411, gui::ControlKind::Static, {166, 2, 43, 10}, gui::kCentre, "SZYBKOŚĆ"},
    {1412, gui::ControlKind::ComboBox, {166, 13, 44, 33}, gui::kNoStyle, ""},
};

inline constexpr gui::DialogTemplate kPtzEntryDialogTemplate{321, "Edit", 246, 36, gui::kSheetFont,
                                                             kPtzEntryDialogControls};

}  // namespace config
