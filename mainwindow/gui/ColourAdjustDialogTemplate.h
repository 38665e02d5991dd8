#pragma once
// Template 278: the colour dialog. Its initialisation moves every control to
// a fixed place in pixels on the 304 x 196 window, so the table holds those.

#include "gui/DialogTemplate.h"

namespace mainwindow {

inline constexpr gui::TemplateControl kColourAdjustDialogControls[] = {
    {1313, gui::ControlKind::Trackbar, {60, 47, 150, 20}, gui::kNoStyle, ""},
    {1315, gui::ControlKind::Trackbar, {60, 87, 150, 20}, gui::kNoStyle, ""},
    {1316, gui::ControlKind::Trackbar, {60, 127, 150, 20}, gui::kNoStyle, ""},
    {1314, gui::ControlKind::Trackbar, {60, 127, 150, 20}, gui::kHidden, ""},
    {1040, gui::ControlKind::Edit, {240, 47, 40, 20}, gui::kNoStyle, ""},
    {1041, gui::ControlKind::Edit, {240, 87, 40, 20}, gui::kNoStyle, ""},
    {1042, gui::ControlKind::Edit, {240, 127, 40, 20}, gui::kNoStyle, ""},
    {1043, gui::ControlKind::Edit, {240, 127, 40, 20}, gui::kHidden, ""},
    {1306, gui::ControlKind::PushButton, {34, 160, 88, 25}, gui::kNoStyle, "Domyślne"},
    {1, gui::ControlKind::PushButton, {125, 160, 88, 25}, gui::kDefaultButton, "Zastosuj"},
    {2, gui::ControlKind::PushButton, {216, 160, 44, 25}, gui::kNoStyle, "OK"},
};

inline constexpr gui::DialogTemplate kColourAdjustDialogTemplate{
    278, "", 304, 196, gui::kSheetFont, kColourAdjustDialogControls, /*pixels=*/true};

}  // namespace mainwindow
