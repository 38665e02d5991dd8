#pragma once
// Template 349: the Write CD Setting dialog.

#include "gui/DialogTemplate.h"

namespace recording {

inline constexpr gui::TemplateControl kWriteCdSettingControls[] = {
    {-1, gui::ControlKind::Static, {6, 3, 56, 18}, gui::kNoStyle, "PLIK ŹRÓDŁOWY :"},
    {1040, gui::ControlKind::Edit, {62, 5, 108, 13}, gui::kReadOnly, ""},
    {-1, gui::ControlKind::Static, {6, 25, 55, 9}, gui::kNoStyle, "NAZWA PLIKU :"},
    {1041, gui::ControlKind::Edit, {62, 23, 108, 13}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {6, 38, 64, 22}, gui::kNoStyle, "Dostępne urządzenie :"},
    {1195, gui::ControlKind::ComboBox, {70, 41, 172, 60}, gui::kNoStyle, ""},
    {1506, gui::ControlKind::CheckBox, {180, 2, 66, 10}, gui::kNoStyle, "Zamknij sesję"},
    {1510, gui::ControlKind::CheckBox, {180, 14, 80, 10}, gui::kNoStyle, "Dołącz odtwarzacz "},
    {1508, gui::ControlKind::RadioButton, {176, 24, 26, 10}, gui::kHidden | gui::kDisabled, "CD"},
    {1509, gui::ControlKind::RadioButton, {203, 21, 30, 10}, gui::kHidden | gui::kDisabled, "DVD"},
    {1507, gui::ControlKind::CheckBox, {188, 31, 65, 10}, gui::kHidden | gui::kDisabled, "Importuj sesję"},
    {1068, gui::ControlKind::PushButton, {104, 59, 94, 16}, gui::kNoStyle, "ANULUJ ZAPIS NA CD"},
    {1, gui::ControlKind::PushButton, {207, 59, 33, 16}, gui::kDefaultButton, "OK"},
};

inline constexpr gui::DialogTemplate kWriteCdSettingTemplate{349, "Write CD Setting", 268, 79, gui::kSystemFont,
                                                             kWriteCdSettingControls};

}  // namespace recording
