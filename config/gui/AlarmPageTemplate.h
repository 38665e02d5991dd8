#pragma once
// Template 286: the alarm page. The controls it holds that are never shown
// (picture size, alarm sound, spin and scroll controls) are left out.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kAlarmPageControls[] = {
    {1400, gui::ControlKind::Static, {7, 7, 70, 11}, gui::kNoStyle, "Wejście alarmowe : "},
    {1292, gui::ControlKind::RadioButton, {80, 7, 50, 9}, gui::kNoStyle, "Załączone"},
    {1293, gui::ControlKind::RadioButton, {134, 7, 48, 9}, gui::kNoStyle, "Wyłączone"},
    {1401, gui::ControlKind::Static, {7, 25, 66, 11}, gui::kNoStyle, "Typ reakcji : "},
    {1318, gui::ControlKind::CheckBox, {80, 25, 32, 11}, gui::kNoStyle, "Email"},
    {1319, gui::ControlKind::CheckBox, {127, 25, 52, 11}, gui::kNoStyle, "FTP"},
    {1354, gui::ControlKind::Static, {7, 43, 56, 11}, gui::kNoStyle, "Po alarmie : "},
    {1296, gui::ControlKind::ComboBox, {80, 43, 60, 33}, gui::kNoStyle, ""},
    {1326, gui::ControlKind::Static, {142, 44, 24, 11}, gui::kNoStyle, "Zdjęć"},
    {1353, gui::ControlKind::Static, {7, 61, 56, 11}, gui::kNoStyle, "Czas alarmu : "},
    {1294, gui::ControlKind::ComboBox, {80, 61, 47, 33}, gui::kNoStyle, ""},
    {1461, gui::ControlKind::CheckBox, {7, 81, 134, 10}, gui::kNoStyle, "Przełączanie na tryb video"},
    {1355, gui::ControlKind::GroupBox, {7, 76, 178, 35}, gui::kNoStyle, "Definiowanie żródła Video"},
    {1476, gui::ControlKind::Static, {13, 87, 46, 10}, gui::kNoStyle, "Źródło kan1:"},
    {1477, gui::ControlKind::Static, {13, 99, 46, 10}, gui::kNoStyle, "Źródło kan2:"},
    {1478, gui::ControlKind::RadioButton, {67, 87, 20, 8}, gui::kNoStyle, "1"},
    {1479, gui::ControlKind::RadioButton, {67, 99, 20, 8}, gui::kNoStyle, "1"},
    {1480, gui::ControlKind::RadioButton, {90, 87, 20, 8}, gui::kNoStyle, "2"},
    {1481, gui::ControlKind::RadioButton, {90, 99, 20, 8}, gui::kNoStyle, "2"},
    {1482, gui::ControlKind::RadioButton, {113, 87, 20, 8}, gui::kNoStyle, "3"},
    {1483, gui::ControlKind::RadioButton, {113, 99, 20, 8}, gui::kNoStyle, "3"},
    {1484, gui::ControlKind::RadioButton, {136, 87, 44, 8}, gui::kNoStyle, "4 (Alarm)"},
    {1485, gui::ControlKind::RadioButton, {136, 99, 44, 8}, gui::kNoStyle, "4 (Alarm)"},
    {1068, gui::ControlKind::PushButton, {188, 96, 40, 25}, gui::kMultiline, "Alarm\nOdśwież"},
    {1440, gui::ControlKind::Static, {7, 111, 68, 11}, gui::kNoStyle, "Nagrywanie alarm.:"},
    {1441, gui::ControlKind::RadioButton, {80, 111, 22, 12}, gui::kNoStyle, "ZAŁ"},
    {1442, gui::ControlKind::RadioButton, {117, 111, 30, 12}, gui::kNoStyle, "WYŁ"},
};

inline constexpr gui::DialogTemplate kAlarmPageTemplate{286, "Alarm", 230, 125, gui::kSheetFont, kAlarmPageControls};

}  // namespace config
