#pragma once
// Templates 329 (a DVR's log) and 342 (every other device's log). The check
// boxes of 329 run from 69 to 98 units wide; each takes the 98 that reaches
// the window's right edge. Those of 342, whose widths are not given, run to
// four units short of it.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kDvrLogDialogControls[] = {
    {1435, gui::ControlKind::ListView, {6, 7, 226, 173}, gui::kNoStyle, ""},
    {1442, gui::ControlKind::CheckBox, {235, 6, 98, 9}, gui::kNoStyle, "ZASILANIE"},
    {1443, gui::ControlKind::CheckBox, {235, 17, 98, 9}, gui::kNoStyle, "ZANIK VIDEO"},
    {1444, gui::ControlKind::CheckBox, {235, 28, 98, 9}, gui::kNoStyle, "LOGOWANIE ZDALNE"},
    {1445, gui::ControlKind::CheckBox, {235, 39, 98, 9}, gui::kNoStyle, "DYSK PEŁNY"},
    {1446, gui::ControlKind::CheckBox, {235, 50, 98, 9}, gui::kNoStyle, "ZABLOKOWANIE"},
    {1447, gui::ControlKind::CheckBox, {235, 61, 98, 9}, gui::kNoStyle, "ODBLOKOWANIE"},
    {1448, gui::ControlKind::CheckBox, {235, 72, 98, 9}, gui::kNoStyle, "RESET USTAWIEŃ"},
    {1449, gui::ControlKind::CheckBox, {235, 83, 98, 9}, gui::kNoStyle, "BŁĄD EMAIL"},
    {1450, gui::ControlKind::CheckBox, {235, 94, 98, 9}, gui::kNoStyle, "BŁĄD FTP"},
    {1451, gui::ControlKind::CheckBox, {235, 105, 98, 9}, gui::kNoStyle, "BŁĄD DYSKU"},
    {1452, gui::ControlKind::CheckBox, {235, 106, 98, 9}, gui::kNoStyle, "BŁĄD KONTROLERA DMA"},
    {1453, gui::ControlKind::CheckBox, {235, 116, 98, 9}, gui::kNoStyle, "DDNS"},
    {1454, gui::ControlKind::CheckBox, {235, 127, 98, 9}, gui::kNoStyle, "PPPOE"},
    {1455, gui::ControlKind::CheckBox, {235, 138, 98, 9}, gui::kNoStyle, "DHCP"},
    {1, gui::ControlKind::PushButton, {237, 158, 69, 22}, gui::kDefaultButton, "OK"},
};

inline constexpr gui::DialogTemplate kDvrLogDialogTemplate{329, "Server Log", 333, 182, gui::kSheetFont,
                                                           kDvrLogDialogControls};

inline constexpr gui::TemplateControl kServerLogDialogControls[] = {
    {1435, gui::ControlKind::ListView, {8, 9, 248, 179}, gui::kNoStyle, ""},
    {1442, gui::ControlKind::CheckBox, {264, 11, 100, 11}, gui::kNoStyle, "ZASILANIE"},
    {1448, gui::ControlKind::CheckBox, {264, 25, 100, 11}, gui::kNoStyle, "RESET USTAWIEŃ"},
    {1462, gui::ControlKind::CheckBox, {264, 39, 100, 11}, gui::kNoStyle, "ALARM"},
    {1444, gui::ControlKind::CheckBox, {264, 53, 100, 11}, gui::kNoStyle, "LOGOWANIE ZDALNE"},
    {1445, gui::ControlKind::CheckBox, {264, 67, 100, 11}, gui::kNoStyle, "WYLOGOWANIE ZDALNE"},
    {1451, gui::ControlKind::CheckBox, {264, 81, 100, 11}, gui::kNoStyle, "PPPOE OK"},
    {1452, gui::ControlKind::CheckBox, {264, 95, 100, 11}, gui::kNoStyle, "BŁĄ PPPOE"},
    {1449, gui::ControlKind::CheckBox, {264, 109, 100, 11}, gui::kNoStyle, "BŁĄD EMAIL"},
    {1450, gui::ControlKind::CheckBox, {264, 123, 100, 11}, gui::kNoStyle, "BŁĄD FTP"},
    {1446, gui::ControlKind::CheckBox, {189, 185, 100, 11}, gui::kHidden, "EMAIL OK"},
    {1447, gui::ControlKind::CheckBox, {268, 184, 100, 11}, gui::kHidden, "FTP OK"},
    {1068, gui::ControlKind::PushButton, {264, 137, 81, 22}, gui::kNoStyle, "WYCZYŚĆ HISTORIĘ"},
    {1069, gui::ControlKind::PushButton, {264, 164, 81, 22}, gui::kNoStyle, "WYJŚCIE"},
};

inline constexpr gui::DialogTemplate kServerLogDialogTemplate{342, "Server Log", 368, 196, gui::kSheetFont,
                                                              kServerLogDialogControls};

}  // namespace config
