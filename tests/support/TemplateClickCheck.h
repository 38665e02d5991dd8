#pragma once
// Checks that a person pointing at a control's converted template place
// points at that control: nothing shown covers it there. Group boxes are left
// out (their middle belongs to what they hold), and so are hidden controls;
// a drop-down list is pointed at in its closed height.

#include <QGroupBox>
#include <QWidget>

#include <string>
#include <vector>

#include "gui/TemplateBuilder.h"
#include "support/TemplatePairing.h"

namespace testutil {

// The middle of the control's converted template place, where a person would click it.
inline QPoint TemplatePlace(const QWidget& control, const gui::DialogTemplate& table,
                            const gui::TemplateControl& entry) {
    QRect place = gui::ControlRect(gui::TemplateUnits(table), table, entry);
    if (entry.kind == gui::ControlKind::ComboBox)
        place.setHeight(gui::ClosedComboHeight(control, place.height()));
    return place.center();
}

// The same for the first entry with the id (for an id the table gives once).
inline QPoint TemplatePlace(const QWidget& control, const gui::DialogTemplate& table, int id) {
    return TemplatePlace(control, table, *table.Find(id));
}

inline std::vector<std::string> ControlsOffTheirPlaces(const QWidget& window, const gui::DialogTemplate& table) {
    std::vector<std::string> faults;
    for (const auto& [entry, control] : PairWithTemplate(window, table)) {
        if (!control || control->isHidden() || qobject_cast<const QGroupBox*>(control))
            continue;
        const QPoint place = TemplatePlace(*control, table, *entry);
        const QWidget* hit = window.childAt(place);
        if (hit != control && !control->isAncestorOf(hit))
            faults.push_back("control " + std::to_string(entry->id) + ": its place " + std::to_string(place.x()) +
                             "," + std::to_string(place.y()) + " shows " +
                             (hit ? hit->metaObject()->className() : "nothing"));
    }
    return faults;
}

}  // namespace testutil
