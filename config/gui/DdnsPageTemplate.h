#pragma once
// Template 312: the DDNS page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kDdnsPageControls[] = {
    {-1, gui::ControlKind::Static, {54, 14, 18, 8}, gui::kNoStyle, "DNS:"},
    {1251, gui::ControlKind::IpAddress, {76, 10, 100, 15}, gui::kNoStyle, ""},
    {1469, gui::ControlKind::CheckBox, {183, 11, 34, 11}, gui::kHidden, "AUTO"},
    {-1, gui::ControlKind::GroupBox, {33, 28, 163, 97}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {64, 38, 23, 8}, gui::kNoStyle, "DDNS:"},
    {1380, gui::ControlKind::RadioButton, {90, 38, 49, 10}, gui::kNoStyle, "Załączony"},
    {1381, gui::ControlKind::RadioButton, {145, 38, 51, 10}, gui::kNoStyle, "Wyłączony"},
    {-1, gui::ControlKind::Static, {40, 53, 50, 8}, gui::kNoStyle, "Nazwa użytk:"},
    {1040, gui::ControlKind::Edit, {92, 52, 81, 12}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {62, 71, 30, 8}, gui::kNoStyle, "Hasło:"},
    {1041, gui::ControlKind::Edit, {92, 69, 81, 12}, gui::kPassword, ""},
    {-1, gui::ControlKind::Static, {56, 89, 29, 8}, gui::kNoStyle, "Domena:"},
    {1042, gui::ControlKind::Edit, {92, 86, 81, 12}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {43, 104, 49, 8}, gui::kNoStyle, "Nazwa syst.:"},
    {1195, gui::ControlKind::ComboBox, {92, 103, 81, 38}, gui::kNoStyle, ""},
};

inline constexpr gui::DialogTemplate kDdnsPageTemplate{312, "DDNS", 230, 130, gui::kSheetFont, kDdnsPageControls};

}  // namespace config
