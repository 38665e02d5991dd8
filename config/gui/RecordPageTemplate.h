#pragma once
// Template 279: the record paths page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kRecordPageControls[] = {
    {-1, gui::ControlKind::Static, {7, 7, 111, 12}, gui::kNoStyle, "Ścieżka zapisywania zdjęć : "},
    {1315, gui::ControlKind::PushButton, {2, 25, 38, 17}, gui::kNoStyle, "Modyfikuj"},
    {1041, gui::ControlKind::Edit, {49, 25, 177, 15}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {7, 48, 103, 12}, gui::kNoStyle, "Ścieżka zapisywania Video : "},
    {1314, gui::ControlKind::PushButton, {3, 66, 37, 17}, gui::kNoStyle, "Modyfikuj"},
    {1040, gui::ControlKind::Edit, {49, 66, 177, 15}, gui::kNoStyle, ""},
    {1350, gui::ControlKind::Static, {7, 89, 99, 12}, gui::kNoStyle, "Ścieżka zapisywania audio : "},
    {1316, gui::ControlKind::PushButton, {2, 107, 38, 17}, gui::kNoStyle, "Modyfikuj"},
    {1042, gui::ControlKind::Edit, {49, 107, 177, 15}, gui::kReadOnly, ""},
};

inline constexpr gui::DialogTemplate kRecordPageTemplate{279, "Ścieżka  ", 230, 130, gui::kSheetFont,
                                                         kRecordPageControls};

}  // namespace config
