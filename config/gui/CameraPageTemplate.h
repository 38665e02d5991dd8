#pragma once
// Template 326: the DVR's camera channel list.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kCameraPageControls[] = {
    {1425, gui::ControlKind::ListView, {0, 5, 207, 119}, gui::kNoStyle, ""},
    {1068, gui::ControlKind::PushButton, {209, 105, 28, 19}, gui::kNoStyle, "Edytuj"},
};

inline constexpr gui::DialogTemplate kCameraPageTemplate{326, "DVR", 240, 130, gui::kSheetFont, kCameraPageControls};

}  // namespace config
