#pragma once
// Template 301: the alarm list page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kAlarmDataPageControls[] = {
    {1364, gui::ControlKind::ListView, {6, 5, 217, 80}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {6, 89, 40, 9}, gui::kNoStyle, "Ścieżka : "},
    {1040, gui::ControlKind::Edit, {6, 98, 128, 29}, gui::kReadOnly | gui::kMultiline, ""},
    {1367, gui::ControlKind::PushButton, {140, 91, 33, 16}, gui::kNoStyle, "Odtwórz"},
    {1311, gui::ControlKind::PushButton, {176, 91, 47, 16}, gui::kNoStyle, "Odśwież"},
    {1068, gui::ControlKind::PushButton, {140, 109, 33, 16}, gui::kNoStyle, "Usuń"},
    {1365, gui::ControlKind::PushButton, {176, 109, 47, 16}, gui::kMultiline, "Wyczyść"},
};

inline constexpr gui::DialogTemplate kAlarmDataPageTemplate{301, "Alarm List", 230, 130, gui::kSheetFont,
                                                            kAlarmDataPageControls};

}  // namespace config
