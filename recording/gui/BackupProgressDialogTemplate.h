#pragma once
// Template 331: the network backup's progress dialog. The progress control and
// the static text are never shown; the template gives them no place.

#include "gui/DialogTemplate.h"

namespace recording {

inline constexpr gui::TemplateControl kBackupProgressControls[] = {
    {2, gui::ControlKind::PushButton, {131, 21, 50, 19}, gui::kNoStyle, "Anuluj"},
    {1068, gui::ControlKind::PushButton, {13, 21, 50, 19}, gui::kNoStyle, "Start"},
    {1447, gui::ControlKind::Progress, {0, 0, 0, 0}, gui::kHidden, ""},
    {1448, gui::ControlKind::Static, {0, 0, 0, 0}, gui::kHidden, ""},
};

inline constexpr gui::DialogTemplate kBackupProgressTemplate{331, "DVR-Network Backup", 196, 45, gui::kSheetFont,
                                                             kBackupProgressControls};

}  // namespace recording
