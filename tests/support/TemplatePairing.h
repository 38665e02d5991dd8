#pragma once
// Pairs a built window's controls with the entries of its template table.
// Ids repeat (every static text may carry -1), so each entry takes the first
// control with its id not taken yet, in table order.

#include <QFrame>
#include <QGroupBox>
#include <QWidget>

#include <utility>
#include <vector>

#include "gui/TemplateBuilder.h"

namespace testutil {

struct TemplatePair {
    const gui::TemplateControl* entry;
    QWidget* widget;  // null when the window has no control for the entry
};

inline std::vector<TemplatePair> PairWithTemplate(const QWidget& window, const gui::DialogTemplate& table) {
    std::vector<QWidget*> built;
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->property(gui::kTemplateIdProperty).isValid())
            built.push_back(child);
    std::vector<bool> used(built.size());
    // Group boxes and frames are lowered under the other controls, so among
    // widgets of one id only those of the same layer keep the table's order.
    const auto lowered = [](const QWidget& widget) {
        return qobject_cast<const QGroupBox*>(&widget) || widget.metaObject() == &QFrame::staticMetaObject;
    };
    std::vector<TemplatePair> pairs;
    for (const gui::TemplateControl& control : table.controls) {
        const bool lowerLayer = control.kind == gui::ControlKind::GroupBox || control.kind == gui::ControlKind::Frame;
        std::size_t next = 0;
        while (next < built.size() &&
               (used[next] || built[next]->property(gui::kTemplateIdProperty).toInt() != control.id ||
                lowered(*built[next]) != lowerLayer))
            ++next;
        if (next < built.size())
            used[next] = true;
        pairs.push_back({&control, next < built.size() ? built[next] : nullptr});
    }
    return pairs;
}

}  // namespace testutil
