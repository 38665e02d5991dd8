#pragma once
// Template 293: the online users page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kOnlineUserPageControls[] = {
    {-1, gui::ControlKind::Static, {10, 9, 146, 12}, gui::kNoStyle, "Informacje o podłączonych użytkownikach :"},
    {1311, gui::ControlKind::PushButton, {177, 2, 46, 21}, gui::kMultiline, "Odśwież \nListę"},
    {1349, gui::ControlKind::ListView, {7, 26, 217, 96}, gui::kNoStyle, ""},
};

inline constexpr gui::DialogTemplate kOnlineUserPageTemplate{293, "Podłączeni użyt.", 230, 130, gui::kSheetFont,
                                                             kOnlineUserPageControls};

}  // namespace config
