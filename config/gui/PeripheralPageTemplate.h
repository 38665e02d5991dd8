#pragma once
// Template 275: the peripheral page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kPeripheralPageControls[] = {
    {1325, gui::ControlKind::GroupBox, {7, 11, 211, 52}, gui::kNoStyle, "Urządzenie 1"},
    {1327, gui::ControlKind::Static, {9, 24, 56, 9}, gui::kNoStyle, "Szykość trans. :"},
    {1301, gui::ControlKind::ComboBox, {68, 23, 51, 41}, gui::kNoStyle, ""},
    {1329, gui::ControlKind::Static, {20, 43, 18, 9}, gui::kNoStyle, "ID :"},
    {1040, gui::ControlKind::Edit, {41, 43, 19, 12}, gui::kNumber, ""},
    {1332, gui::ControlKind::Static, {68, 43, 28, 10}, gui::kNoStyle, "Model :"},
    {1302, gui::ControlKind::ComboBox, {97, 43, 114, 41}, gui::kNoStyle, ""},
    {1326, gui::ControlKind::GroupBox, {7, 67, 211, 52}, gui::kNoStyle, "Urządzenie 2"},
    {1328, gui::ControlKind::Static, {8, 81, 58, 9}, gui::kNoStyle, "Szykość trans. :"},
    {1304, gui::ControlKind::ComboBox, {68, 80, 51, 41}, gui::kNoStyle, ""},
    {1330, gui::ControlKind::Static, {20, 99, 18, 9}, gui::kNoStyle, "ID :"},
    {1041, gui::ControlKind::Edit, {41, 99, 19, 12}, gui::kNumber, ""},
    {1331, gui::ControlKind::Static, {68, 99, 28, 10}, gui::kNoStyle, "Model :"},
    {1303, gui::ControlKind::ComboBox, {97, 99, 114, 41}, gui::kNoStyle, ""},
};

inline constexpr gui::DialogTemplate kPeripheralPageTemplate{275, "Peripheral", 230, 130, gui::kSheetFont,
                                                             kPeripheralPageControls};

}  // namespace config
