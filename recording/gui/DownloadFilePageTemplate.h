#pragma once
// Template 330: the network backup page. The date and time pickers are made
// at run time in pixels and are not part of it.

#include "gui/DialogTemplate.h"

namespace recording {

inline constexpr gui::TemplateControl kDownloadFilePageControls[] = {
    {-1, gui::ControlKind::GroupBox, {7, 5, 186, 28}, gui::kNoStyle, "Archiwizacja od"},
    {-1, gui::ControlKind::GroupBox, {8, 48, 208, 79}, gui::kNoStyle, "Informacje o archiwizacji"},
    {-1, gui::ControlKind::Static, {16, 64, 50, 8}, gui::kNoStyle, "Objętość : "},
    {1040, gui::ControlKind::Edit, {68, 62, 47, 12}, gui::kNumber, ""},
    {-1, gui::ControlKind::Static, {118, 64, 16, 8}, gui::kNoStyle, "MB"},
    {-1, gui::ControlKind::Static, {16, 80, 50, 8}, gui::kNoStyle, "Kanał : "},
    {1041, gui::ControlKind::Edit, {68, 78, 24, 12}, gui::kNumber, ""},
    {-1, gui::ControlKind::Static, {16, 95, 50, 8}, gui::kNoStyle, "Num HDD : "},
    {1195, gui::ControlKind::ComboBox, {68, 93, 55, 34}, gui::kNoStyle, ""},
    {1446, gui::ControlKind::PushButton, {16, 108, 50, 14}, gui::kNoStyle, "Lokalizacja :"},
    {1042, gui::ControlKind::Edit, {68, 109, 122, 13}, gui::kReadOnly, ""},
    {1475, gui::ControlKind::CheckBox, {115, 79, 97, 10}, gui::kNoStyle, "Ładowanie dynamiczne"},
    {1505, gui::ControlKind::CheckBox, {141, 63, 72, 10}, gui::kNoStyle, "Kopiowanie na CD"},
    {1068, gui::ControlKind::PushButton, {218, 107, 24, 20}, gui::kNoStyle, "Start"},
};

inline constexpr gui::DialogTemplate kDownloadFilePageTemplate{330, "Archiwizacja  ", 244, 130, gui::kSheetFont,
                                                               kDownloadFilePageControls};

}  // namespace recording
