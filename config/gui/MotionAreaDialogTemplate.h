#pragma once
// Template 324: one channel's row of the detection page and its area editor.
// The select-all and remove-all buttons are moved beside the picture in pixels
// once it shows.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kMotionAreaDialogControls[] = {
    {1, gui::ControlKind::PushButton, {216, 2, 18, 23}, gui::kDefaultButton, "OK"},
    {1414, gui::ControlKind::Static, {3, 2, 21, 10}, gui::kCentre, "NR."},
    {1406, gui::ControlKind::Static, {24, 2, 44, 10}, gui::kCentre, "DETEKCJA"},
    {1407, gui::ControlKind::Static, {68, 2, 36, 10}, gui::kCentre, "POLE"},
    {1408, gui::ControlKind::Static, {104, 2, 19, 10}, gui::kCentre, "LS"},
    {1409, gui::ControlKind::Static, {123, 2, 19, 10}, gui::kCentre, "SS"},
    {1410, gui::ControlKind::Static, {142, 2, 19, 10}, gui::kCentre, "TS"},
    {1411, gui::ControlKind::Static, {161, 2, 19, 10}, gui::kCentre, "RE"},
    {1412, gui::ControlKind::Static, {180, 2, 33, 10}, gui::kCentre, "ALARM"},
    {1413, gui::ControlKind::Static, {3, 13, 21, 12}, gui::kCentre | gui::kSunken, ""},
    {1416, gui::ControlKind::ComboBox, {24, 13, 44, 37}, gui::kNoStyle, ""},
    {1068, gui::ControlKind::PushButton, {68, 13, 36, 12}, gui::kNoStyle, "Ustaw"},
    {1417, gui::ControlKind::Edit, {104, 13, 19, 12}, gui::kCentre | gui::kNumber, ""},
    {1418, gui::ControlKind::Edit, {123, 13, 19, 12}, gui::kCentre | gui::kNumber, ""},
    {1419, gui::ControlKind::Edit, {142, 13, 19, 12}, gui::kCentre | gui::kNumber, ""},
    {1420, gui::ControlKind::Edit, {161, 13, 19, 12}, gui::kCentre | gui::kNumber, ""},
    {1421, gui::ControlKind::ComboBox, {180, 13, 33, 37}, gui::kNoStyle, ""},
    {1423, gui::ControlKind::PushButton, {151, 23, 50, 30}, gui::kMultiline | gui::kHidden, "( + )\nWYBÓR\nWSZYST"},
    {1424, gui::ControlKind::PushButton, {169, 23, 50, 30}, gui::kMultiline | gui::kHidden, "( - )\nUSUŃ\nWSZYST"},
};

inline constexpr gui::DialogTemplate kMotionAreaDialogTemplate{324, "Edit", 265, 44, gui::kSheetFont,
                                                               kMotionAreaDialogControls};

}  // namespace config
