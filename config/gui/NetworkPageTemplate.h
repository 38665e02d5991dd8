#pragma once
// Template 256: the network page.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kNetworkPageControls[] = {
    {1397, gui::ControlKind::Static, {12, 10, 40, 10}, gui::kNoStyle, "Adres IP :"},
    {1398, gui::ControlKind::Static, {12, 28, 40, 10}, gui::kNoStyle, "Brama :"},
    {1399, gui::ControlKind::Static, {12, 46, 40, 10}, gui::kNoStyle, "Maska :"},
    {1463, gui::ControlKind::Static, {12, 64, 40, 10}, gui::kNoStyle, "Port Web:"},
    {1248, gui::ControlKind::IpAddress, {67, 10, 115, 14}, gui::kNoStyle, ""},
    {1249, gui::ControlKind::IpAddress, {67, 28, 115, 14}, gui::kNoStyle, ""},
    {1250, gui::ControlKind::IpAddress, {67, 46, 115, 14}, gui::kNoStyle, ""},
    {1040, gui::ControlKind::Edit, {67, 64, 30, 12}, gui::kNumber, ""},
    {1462, gui::ControlKind::GroupBox, {12, 80, 85, 44}, gui::kNoStyle, "IP TYPE"},
    {1252, gui::ControlKind::RadioButton, {17, 90, 70, 10}, gui::kNoStyle, "    Stały IP"},
    {1253, gui::ControlKind::RadioButton, {17, 101, 70, 10}, gui::kNoStyle, "    PPPOE"},
    {1254, gui::ControlKind::RadioButton, {17, 112, 70, 10}, gui::kNoStyle, "    DHCP"},
    {1394, gui::ControlKind::GroupBox, {103, 80, 112, 44}, gui::kNoStyle, "PPPOE"},
    {1395, gui::ControlKind::Static, {109, 94, 44, 10}, gui::kNoStyle, "Użytkownik :"},
    {1043, gui::ControlKind::Edit, {159, 92, 48, 12}, gui::kNoStyle, ""},
    {1396, gui::ControlKind::Static, {109, 109, 44, 10}, gui::kNoStyle, "Hasło :"},
    {1044, gui::ControlKind::Edit, {159, 107, 48, 12}, gui::kPassword, ""},
};

inline constexpr gui::DialogTemplate kNetworkPageTemplate{256, "Sieć   ", 230, 130, gui::kSheetFont,
                                                          kNetworkPageControls};

}  // namespace config
