#pragma once
// Template 271: the FTP page. The site list and its buttons are made hidden
// and disabled, and nothing ever shows them: only the five fields are used.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr unsigned kFtpUnused = gui::kHidden | gui::kDisabled;

inline constexpr gui::TemplateControl kFtpPageControls[] = {
    {1279, gui::ControlKind::Static, {10, 15, 52, 13}, gui::kNoStyle, "Nazwa użytk. : "},
    {1040, gui::ControlKind::Edit, {59, 15, 58, 12}, gui::kNoStyle, ""},
    {1280, gui::ControlKind::Static, {10, 36, 37, 13}, gui::kNoStyle, "Hasło : "},
    {1043, gui::ControlKind::Edit, {59, 36, 58, 12}, gui::kPassword, ""},
    {1281, gui::ControlKind::Static, {10, 57, 18, 13}, gui::kNoStyle, "Port : "},
    {1042, gui::ControlKind::Edit, {59, 57, 23, 12}, gui::kNumber, ""},
    {1282, gui::ControlKind::Static, {10, 77, 30, 13}, gui::kNoStyle, "Serwer  : "},
    {1283, gui::ControlKind::Edit, {59, 77, 168, 12}, gui::kNoStyle, ""},
    {-1, gui::ControlKind::Static, {10, 95, 35, 13}, gui::kNoStyle, "Katalog :"},
    {1285, gui::ControlKind::Edit, {59, 95, 168, 12}, gui::kNoStyle, ""},
    {1275, gui::ControlKind::ListView, {199, 8, 20, 51}, kFtpUnused, ""},
    {1278, gui::ControlKind::PushButton, {98, 112, 31, 14}, kFtpUnused, "EDYTUJ"},
    {1276, gui::ControlKind::PushButton, {136, 112, 31, 14}, kFtpUnused, "DODAJ"},
    {1277, gui::ControlKind::PushButton, {187, 110, 31, 14}, kFtpUnused, "USUŃ"},
    {1284, gui::ControlKind::PushButton, {59, 112, 31, 14}, kFtpUnused, "OK"},
};

inline constexpr gui::DialogTemplate kFtpPageTemplate{271, "FTP", 230, 130, gui::kSheetFont, kFtpPageControls};

}  // namespace config
