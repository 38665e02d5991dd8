#pragma once
// Template 323: the DVR's motion detection channel list.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kDetectionPageControls[] = {
    {1413, gui::ControlKind::ListView, {8, 8, 194, 115}, gui::kNoStyle, ""},
    {1068, gui::ControlKind::PushButton, {204, 104, 30, 19}, gui::kNoStyle, "Edytuj"},
};

inline constexpr gui::DialogTemplate kDetectionPageTemplate{323, "Detekcja ", 238, 130, gui::kSheetFont,
                                                            kDetectionPageControls};

}  // namespace config
