#pragma once
// Template 347: the DVR record settings page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kDvrRecordPageControls[] = {
    {-1, gui::ControlKind::GroupBox, {31, 3, 166, 24}, gui::kNoStyle, "NAGRYWANIE RĘCZNE"},
    {1483, gui::ControlKind::RadioButton, {39, 13, 30, 10}, gui::kNoStyle, "TAK"},
    {1484, gui::ControlKind::RadioButton, {82, 13, 26, 10}, gui::kNoStyle, "NIE"},
    {-1, gui::ControlKind::Static, {125, 13, 32, 11}, gui::kNoStyle, "KL/SEK :"},
    {1195, gui::ControlKind::ComboBox, {159, 12, 34, 34}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::GroupBox, {31, 29, 166, 24}, gui::kNoStyle, "NAGRYWANIE ALARMOWE"},
    {1485, gui::ControlKind::RadioButton, {39, 38, 30, 10}, gui::kNoStyle, "TAK"},
    {1486, gui::ControlKind::RadioButton, {82, 38, 26, 10}, gui::kNoStyle, "NIE"},
    {-1, gui::ControlKind::Static, {125, 39, 32, 11}, gui::kNoStyle, "KL/SEK :"},
    {1198, gui::ControlKind::ComboBox, {160, 38, 34, 34}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::GroupBox, {31, 56, 166, 24}, gui::kNoStyle, "NAGRYWANIE Z TERMINARZA"},
    {1487, gui::ControlKind::RadioButton, {40, 66, 30, 10}, gui::kNoStyle, "TAK"},
    {1488, gui::ControlKind::RadioButton, {83, 66, 26, 10}, gui::kNoStyle, "NIE"},
    {-1, gui::ControlKind::Static, {126, 67, 32, 11}, gui::kNoStyle, "KL/SEK:"},
    {1197, gui::ControlKind::ComboBox, {160, 65, 34, 34}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::GroupBox, {5, 82, 80, 22}, gui::kNoStyle, "NADPISYWANIE"},
    {1489, gui::ControlKind::RadioButton, {17, 91, 29, 10}, gui::kNoStyle, "TAK"},
    {1490, gui::ControlKind::RadioButton, {47, 91, 26, 10}, gui::kNoStyle, "NIE"},
    {-1, gui::ControlKind::GroupBox, {92, 82, 135, 22}, gui::kNoStyle, "TRYB NAGRYWANIA"},
    {1491, gui::ControlKind::RadioButton, {97, 91, 44, 10}, gui::kNoStyle, "RAMKA"},
    {1492, gui::ControlKind::RadioButton, {148, 91, 41, 10}, gui::kNoStyle, "POLE"},
    {1493, gui::ControlKind::RadioButton, {196, 91, 29, 10}, gui::kNoStyle, "CIF"},
    {-1, gui::ControlKind::GroupBox, {5, 105, 80, 25}, gui::kNoStyle, "JAKOŚĆ NAGRYWANIA"},
    {1494, gui::ControlKind::ComboBox, {14, 115, 61, 48}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::GroupBox, {92, 105, 135, 25}, gui::kNoStyle, "MAX. ILOŚĆ KL/SEK"},
    {1496, gui::ControlKind::RadioButton, {113, 116, 35, 10}, gui::kNoStyle, "STAŁA"},
    {1497, gui::ControlKind::RadioButton, {160, 116, 63, 10}, gui::kNoStyle, "GRUPOWANA"},
};

inline constexpr gui::DialogTemplate kDvrRecordPageTemplate{347, "Ust.Nagrywan. ", 230, 130, gui::kSheetFont,
                                                            kDvrRecordPageControls};

}  // namespace config
