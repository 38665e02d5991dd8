#pragma once
// Template 277: the general (tool box) page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kToolBoxPageControls[] = {
    {1436, gui::ControlKind::Static, {9, 11, 62, 9}, gui::kNoStyle, "Wersja systemu:"},
    {1305, gui::ControlKind::Static, {75, 11, 98, 13}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {9, 31, 48, 18}, gui::kNoStyle, "Poziom trybu TURBO :"},
    {1195, gui::ControlKind::ComboBox, {75, 31, 50, 33}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {9, 54, 52, 13}, gui::kNoStyle, "Adres Mac :"},
    {1316, gui::ControlKind::Static, {75, 54, 125, 13}, gui::kNoStyle, ""},
    {1068, gui::ControlKind::PushButton, {9, 76, 63, 18}, gui::kMultiline, "Zdarzenia serwera"},
    {1443, gui::ControlKind::Static, {78, 81, 68, 10}, gui::kNoStyle, "MAX ILOŚĆ ZDARZ :"},
    {1042, gui::ControlKind::Edit, {150, 80, 26, 12}, gui::kNumber, ""},
    {1473, gui::ControlKind::Static, {9, 105, 24, 14}, gui::kNoStyle, "Opis :"},
    {1474, gui::ControlKind::Edit, {44, 103, 58, 14}, gui::kNoStyle, ""},
    {1504, gui::ControlKind::Static, {116, 98, 43, 11}, gui::kNoStyle, "Nazwa Kan1:"},
    {1475, gui::ControlKind::Edit, {163, 95, 58, 13}, gui::kNoStyle, ""},
    {1505, gui::ControlKind::Static, {116, 112, 45, 11}, gui::kNoStyle, "Nazwa Kan2:"},
    {1476, gui::ControlKind::Edit, {163, 111, 58, 13}, gui::kNoStyle, ""},
};

inline constexpr gui::DialogTemplate kToolBoxPageTemplate{277, "Ogólne ", 230, 130, gui::kSheetFont,
                                                          kToolBoxPageControls};

}  // namespace config
