#pragma once
// Template 273: the account page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kAccountPageControls[] = {
    {1284, gui::ControlKind::ListView, {8, 4, 209, 52}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {2, 58, 48, 16}, gui::kNoStyle, "Maks. Ilość użytkow :"},
    {1040, gui::ControlKind::Edit, {44, 61, 18, 12}, gui::kNumber, ""},
    {1285, gui::ControlKind::PushButton, {64, 60, 29, 14}, gui::kNoStyle, "DODAJ"},
    {1286, gui::ControlKind::PushButton, {95, 60, 31, 14}, gui::kNoStyle, "USUŃ"},
    {1287, gui::ControlKind::PushButton, {128, 60, 32, 14}, gui::kNoStyle, "EDYTUJ"},
    {1068, gui::ControlKind::PushButton, {162, 60, 34, 14}, gui::kNoStyle, "WYJŚCIE"},
    {1288, gui::ControlKind::PushButton, {198, 60, 20, 14}, gui::kNoStyle, "OK"},
    {1289, gui::ControlKind::Static, {8, 90, 50, 10}, gui::kNoStyle, "Nazwa użytk. :"},
    {1041, gui::ControlKind::Edit, {57, 90, 41, 12}, gui::kNoStyle, ""},
    {1290, gui::ControlKind::Static, {8, 113, 40, 10}, gui::kNoStyle, "Hasło :"},
    {1042, gui::ControlKind::Edit, {57, 113, 41, 12}, gui::kPassword, ""},
    {1292, gui::ControlKind::Static, {111, 90, 40, 10}, gui::kNoStyle, "Aktywność :"},
    {1291, gui::ControlKind::ComboBox, {161, 90, 52, 42}, gui::kNoStyle, ""},
    {1293, gui::ControlKind::Static, {111, 113, 40, 10}, gui::kNoStyle, "Poziom :"},
    {1294, gui::ControlKind::ComboBox, {161, 113, 52, 42}, gui::kNoStyle, ""},
};

inline constexpr gui::DialogTemplate kAccountPageTemplate{273, "Konta  ", 230, 130, gui::kSheetFont,
                                                          kAccountPageControls};

}  // namespace config
