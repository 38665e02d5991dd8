#pragma once
// Template 316: the firmware upgrade dialog.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kUpgradeFWDlgControls[] = {
    {-1, gui::ControlKind::Static, {1, 8, 31, 9}, gui::kNoStyle, "Wersja:"},
    {1385, gui::ControlKind::Static, {39, 8, 98, 11}, gui::kNoStyle, ""},
    {1459, gui::ControlKind::Static, {2, 20, 35, 16}, gui::kNoStyle, "Plik źródłowy:"},
    {1387, gui::ControlKind::Edit, {39, 23, 121, 12}, gui::kReadOnly, ""},
    {1386, gui::ControlKind::PushButton, {166, 23, 27, 11}, gui::kNoStyle, "Szukaj"},
    {1389, gui::ControlKind::Progress, {8, 43, 183, 13}, gui::kNoStyle, ""},
    {1388, gui::ControlKind::PushButton, {46, 64, 39, 14}, gui::kNoStyle, "Aktualizuj"},
    {1392, gui::ControlKind::PushButton, {122, 64, 36, 14}, gui::kNoStyle, "Anuluj"},
    {1195, gui::ControlKind::ComboBox, {144, 5, 48, 31}, gui::kHidden, ""},
};

inline constexpr gui::DialogTemplate kUpgradeFWDlgTemplate{316, "Upgrade Firware", 198, 82, gui::kSheetFont,
                                                           kUpgradeFWDlgControls};

}  // namespace config
