#pragma once
// Template 270: one recipient address of the mail page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kMailAccountDialogControls[] = {
    {1274, gui::ControlKind::Static, {5, 5, 35, 10}, gui::kNoStyle, ""},
    {1040, gui::ControlKind::Edit, {45, 5, 120, 12}, gui::kNoStyle, ""},
    {1, gui::ControlKind::PushButton, {15, 25, 29, 15}, gui::kDefaultButton, "OK"},
    {2, gui::ControlKind::PushButton, {115, 25, 35, 15}, gui::kNoStyle, "ANULUJ"},
};

inline constexpr gui::DialogTemplate kMailAccountDialogTemplate{270, "Edycja kont email", 169, 46, gui::kSheetFont,
                                                                kMailAccountDialogControls};

}  // namespace config
