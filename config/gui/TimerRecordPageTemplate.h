#pragma once
// Template 344: the timer recording page, seven rows of a day list and a
// start and end time. The headings' sizes are the room their texts take.

#include "gui/DialogTemplate.h"

namespace config {

inline constexpr gui::TemplateControl kTimerRecordPageControls[] = {
    {-1, gui::ControlKind::Static, {31, 5, 30, 8}, gui::kNoStyle, "DATA"},
    {-1, gui::ControlKind::Static, {99, 5, 30, 8}, gui::kNoStyle, "START"},
    {-1, gui::ControlKind::Static, {172, 5, 30, 8}, gui::kNoStyle, "KONIEC"},
    {-1, gui::ControlKind::Static, {5, 20, 10, 9}, gui::kNoStyle, "1."},
    {1195, gui::ControlKind::ComboBox, {20, 18, 57, 39}, gui::kNoStyle, ""},
    {1479, gui::ControlKind::DateTime, {85, 18, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {144, 19, 8, 10}, gui::kNoStyle, "--"},
    {1480, gui::ControlKind::DateTime, {158, 18, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {5, 36, 10, 9}, gui::kNoStyle, "2."},
    {1196, gui::ControlKind::ComboBox, {20, 34, 57, 39}, gui::kNoStyle, ""},
    {1481, gui::ControlKind::DateTime, {85, 34, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {144, 35, 8, 10}, gui::kNoStyle, "--"},
    {1482, gui::ControlKind::DateTime, {158, 34, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {5, 52, 10, 9}, gui::kNoStyle, "3."},
    {1197, gui::ControlKind::ComboBox, {20, 50, 57, 39}, gui::kNoStyle, ""},
    {1483, gui::ControlKind::DateTime, {85, 50, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {144, 51, 8, 10}, gui::kNoStyle, "--"},
    {1484, gui::ControlKind::DateTime, {158, 50, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {5, 66, 10, 9}, gui::kNoStyle, "4."},
    {1198, gui::ControlKind::ComboBox, {20, 64, 57, 39}, gui::kNoStyle, ""},
    {1485, gui::ControlKind::DateTime, {85, 64, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {144, 65, 8, 10}, gui::kNoStyle, "--"},
    {1486, gui::ControlKind::DateTime, {158, 64, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {5, 80, 10, 9}, gui::kNoStyle, "5."},
    {1199, gui::ControlKind::ComboBox, {20, 78, 57, 39}, gui::kNoStyle, ""},
    {1487, gui::ControlKind::DateTime, {85, 78, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {144, 79, 8, 10}, gui::kNoStyle, "--"},
    {1488, gui::ControlKind::DateTime, {158, 78, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {5, 94, 10, 9}, gui::kNoStyle, "6."},
    {1200, gui::ControlKind::ComboBox, {20, 92, 57, 39}, gui::kNoStyle, ""},
    {1489, gui::ControlKind::DateTime, {85, 92, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {144, 93, 8, 10}, gui::kNoStyle, "--"},
    {1490, gui::ControlKind::DateTime, {158, 92, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {5, 108, 10, 9}, gui::kNoStyle, "7."},
    {1201, gui::ControlKind::ComboBox, {20, 106, 57, 39}, gui::kNoStyle, ""},
    {1491, gui::ControlKind::DateTime, {85, 106, 52, 12}, gui::kTimeFormat, ""},
    {-1, gui::ControlKind::Static, {144, 107, 8, 10}, gui::kNoStyle, "--"},
    {1492, gui::ControlKind::DateTime, {158, 106, 52, 12}, gui::kTimeFormat, ""},
};

inline constexpr gui::DialogTemplate kTimerRecordPageTemplate{344, "Terminarze  ", 230, 130, gui::kSheetFont,
                                                              kTimerRecordPageControls};

}  // namespace config
