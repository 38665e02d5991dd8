#pragma once
// Template 320: the PTZ device page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kDevicePageControls[] = {
    {1404, gui::ControlKind::ListView, {8, 8, 193, 115}, gui::kNoStyle, ""},
    {1119, gui::ControlKind::PushButton, {207, 104, 30, 19}, gui::kNoStyle, "Edytuj"},
};

inline constexpr gui::DialogTemplate kDevicePageTemplate{320, "Urządz", 240, 130, gui::kSheetFont,
                                                         kDevicePageControls};

}  // namespace config
