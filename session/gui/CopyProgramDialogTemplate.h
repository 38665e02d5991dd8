#pragma once
// Template 295: the copy of the program to another folder.

#include "gui/DialogTemplate.h"

namespace session {

inline constexpr gui::TemplateControl kCopyProgramDialogControls[] = {
    {1, gui::ControlKind::PushButton, {150, 30, 40, 14}, gui::kDefaultButton, "OK"},
    {1354, gui::ControlKind::Progress, {9, 10, 181, 15}, gui::kNoStyle, ""},
    {1355, gui::ControlKind::Static, {5, 35, 30, 10}, gui::kNoStyle, ""},
};

inline constexpr gui::DialogTemplate kCopyProgramDialogTemplate{295, "Copy Program", 201, 51, gui::kSystemFont,
                                                                kCopyProgramDialogControls};

}  // namespace session
