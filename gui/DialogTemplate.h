#pragma once
// A window's dialog template as a table: its size and font, and for every
// control, in the template's order, its id, kind, rectangle in dialog units,
// the style bits that change how it works here, and its text. The table is
// the one place where a window's layout lives.

#include <span>
#include <string_view>

#include "gui/DialogUnits.h"
#include "gui/FontStandIns.h"

namespace gui {

enum class ControlKind {
    Static,      // text (wraps at word breaks unless NoWrap)
    Edit,
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    ComboBox,    // drop-down list; its rectangle's height includes the open list
    ListBox,
    ListView,    // report list with column headers
    TreeView,
    IpAddress,
    DateTime,    // date or time picker
    Progress,
    Trackbar,
    Frame,       // an etched or plain rectangle without text
};

// The style bits that matter on this platform.
enum ControlStyle : unsigned {
    kNoStyle = 0,
    kDefaultButton = 1u << 0,
    kReadOnly = 1u << 1,
    kPassword = 1u << 2,
    kNumber = 1u << 3,      // digits only
    kSort = 1u << 4,        // list keeps its items sorted
    kCentre = 1u << 5,      // text centred
    kRight = 1u << 6,       // text right-aligned
    kNoWrap = 1u << 7,      // static text on one line
    kMultiline = 1u << 8,   // edit or button of several lines
    kTimeFormat = 1u << 9,  // date-time picker showing the time
    kDisabled = 1u << 10,
    kHidden = 1u << 11,
    kSunken = 1u << 12,     // static text in a sunken frame
};

struct TemplateControl {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    DluRect rect;
    unsigned style = kNoStyle;
    std::string_view text;
};

struct DialogTemplate {
    int id = 0;
    std::string_view caption;
    int width = 0;   // dialog units
    int height = 0;  // dialog units
    NamedFont font = kSheetFont;
    std::span<const TemplateControl> controls;
    // The rectangles are pixels: the window moves its template's controls to fixed places.
    bool pixels = false;

    // The control with the id; null when the template has none.
    const TemplateControl* Find(int controlId) const {
        for (const TemplateControl& control : controls)
            if (control.id == controlId)
                return &control;
        return nullptr;
    }
};

}  // namespace gui
