#pragma once
// Template 309: the time server page. Its date and time pickers and their
// labels are not in the template; the page makes them at pixel places.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kSntpPageControls[] = {
    {1449, gui::ControlKind::RadioButton, {11, 11, 126, 11}, gui::kNoStyle, "Korekcja czasu z serwera SNTP"},
    {1450, gui::ControlKind::RadioButton, {11, 26, 153, 11}, gui::kNoStyle, "Korekcja czasu przez użytkownika"},
    {1068, gui::ControlKind::PushButton, {169, 13, 56, 23}, gui::kNoStyle, "Synchronizuj"},
    {-1, gui::ControlKind::GroupBox, {6, 42, 212, 81}, gui::kNoStyle, "Ustawienia"},
    {1454, gui::ControlKind::Static, {16, 63, 18, 8}, gui::kNoStyle, "GMT:"},
    {1195, gui::ControlKind::ComboBox, {39, 61, 116, 70}, gui::kNoStyle, ""},
    {1455, gui::ControlKind::Static, {9, 79, 55, 30}, gui::kNoStyle, "Korekcja czasu z serwera SNTP:"},
    {1452, gui::ControlKind::RadioButton, {66, 86, 9, 8}, gui::kNoStyle, ""},
    {1040, gui::ControlKind::Edit, {80, 85, 133, 12}, gui::kNoStyle, ""},
    {1453, gui::ControlKind::RadioButton, {66, 104, 109, 8}, gui::kNoStyle, "  Automatycznie"},
};

inline constexpr gui::DialogTemplate kSntpPageTemplate{309, "Server Time Config", 230, 130, gui::kSheetFont,
                                                       kSntpPageControls};

}  // namespace config
