#pragma once
// Template 269: the mail page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kMailPageControls[] = {
    {-1, gui::ControlKind::Static, {7, 6, 30, 11}, gui::kNoStyle, "Serwer :"},
    {1044, gui::ControlKind::Edit, {55, 5, 72, 12}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {2, 28, 54, 11}, gui::kNoStyle, "Wiadomość od :"},
    {1045, gui::ControlKind::Edit, {55, 27, 72, 12}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::GroupBox, {7, 43, 119, 31}, gui::kNoStyle, "Modyfikacja adresu email "},
    {1118, gui::ControlKind::PushButton, {12, 58, 31, 13}, gui::kNoStyle, "DODAJ"},
    {1117, gui::ControlKind::PushButton, {50, 58, 31, 13}, gui::kNoStyle, "USUŃ"},
    {1119, gui::ControlKind::PushButton, {88, 58, 31, 13}, gui::kNoStyle, "EDYCJA"},
    {1267, gui::ControlKind::ListView, {7, 77, 214, 49}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::GroupBox, {129, 0, 106, 74}, gui::kNoStyle, "Weryfikacja hasła"},
    {-1, gui::ControlKind::Static, {132, 13, 38, 11}, gui::kNoStyle, "Weryfikuj :"},
    {1268, gui::ControlKind::RadioButton, {170, 13, 24, 9}, gui::kNoStyle, "Tak"},
    {1269, gui::ControlKind::RadioButton, {198, 13, 30, 9}, gui::kNoStyle, "Nie"},
    {-1, gui::ControlKind::Static, {132, 36, 44, 8}, gui::kNoStyle, "Użytkownik :"},
    {1042, gui::ControlKind::Edit, {177, 36, 45, 12}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {132, 58, 38, 11}, gui::kNoStyle, "Hasło :"},
    {1043, gui::ControlKind::Edit, {177, 58, 45, 12}, gui::kPassword, ""},
};

inline constexpr gui::DialogTemplate kMailPageTemplate{269, "Mail", 238, 130, gui::kSheetFont, kMailPageControls};

}  // namespace config
