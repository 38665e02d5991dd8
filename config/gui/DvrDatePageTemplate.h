#pragma once
// Template 343: the DVR date page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kDvrDatePageControls[] = {
    {-1, gui::ControlKind::Static, {10, 13, 25, 11}, gui::kNoStyle, "DATA"},
    {1480, gui::ControlKind::DateTime, {45, 9, 80, 15}, gui::kNoStyle, ""},
    {1481, gui::ControlKind::DateTime, {136, 9, 79, 15}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {10, 31, 32, 11}, gui::kNoStyle, "FORMAT"},
    {1195, gui::ControlKind::ComboBox, {45, 29, 63, 51}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::GroupBox, {9, 47, 214, 79}, gui::kNoStyle, "CZAS LETNI"},
    {1482, gui::ControlKind::RadioButton, {75, 59, 32, 13}, gui::kNoStyle, "ZAŁ"},
    {1483, gui::ControlKind::RadioButton, {121, 59, 32, 13}, gui::kNoStyle, "WYŁ"},
    {-1, gui::ControlKind::Static, {18, 76, 27, 8}, gui::kNoStyle, "START :"},
    {1497, gui::ControlKind::ComboBox, {54, 73, 38, 30}, gui::kNoStyle, ""},
    {1504, gui::ControlKind::ComboBox, {96, 73, 33, 30}, gui::kNoStyle, ""},
    {1505, gui::ControlKind::ComboBox, {134, 73, 33, 30}, gui::kNoStyle, ""},
    {1499, gui::ControlKind::DateTime, {172, 73, 45, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {18, 94, 34, 8}, gui::kNoStyle, "KONIEC :"},
    {1500, gui::ControlKind::ComboBox, {54, 91, 38, 30}, gui::kNoStyle, ""},
    {1506, gui::ControlKind::ComboBox, {96, 91, 33, 30}, gui::kNoStyle, ""},
    {1507, gui::ControlKind::ComboBox, {134, 91, 33, 30}, gui::kNoStyle, ""},
    {1502, gui::ControlKind::DateTime, {172, 91, 45, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {11, 112, 42, 8}, gui::kNoStyle, "KOREKCJA :"},
    {1503, gui::ControlKind::DateTime, {54, 110, 55, 12}, gui::kTimeFormat, ""},
};

inline constexpr gui::DialogTemplate kDvrDatePageTemplate{343, "Data", 230, 130, gui::kSheetFont,
                                                          kDvrDatePageControls};

}  // namespace config
