#pragma once
// Makes a window's controls from its template table: each control at its
// rectangle converted with the base units of the window's stand-in font, with
// its text and style. A window may make a control itself (a widget of its own
// class) through the factory; the builder still places it and applies the
// table's text and style.

#include <QTreeView>
#include <QWidget>

#include <functional>
#include <vector>

#include "gui/DialogTemplate.h"

namespace gui {

// A template's text (UTF-8) as the widgets take it.
inline QString TemplateText(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// Returns the window's own widget for the control, or null for the builder's default.
using ControlFactory = std::function<QWidget*(const TemplateControl& control, QWidget& parent)>;

// The dynamic property that carries a built control's template id.
inline constexpr const char* kTemplateIdProperty = "templateId";

class TemplateControls {
public:
    TemplateControls() = default;
    TemplateControls(const DialogTemplate* table, DialogBaseUnits units, std::vector<QWidget*> widgets)
        : table_(table), units_(units), widgets_(std::move(widgets)) {}

    // The first control with the id; null when the table has none.
    QWidget* Widget(int id) const;
    template <class T>
    T* Get(int id) const {
        return dynamic_cast<T*>(Widget(id));
    }
    // The same, given an object name by which tests find it.
    template <class T>
    T* Named(int id, const char* name) const {
        T* widget = Get<T>(id);
        if (widget)
            widget->setObjectName(QString::fromLatin1(name));
        return widget;
    }
    // Every control with the id, in table order (templates reuse the static-text id).
    std::vector<QWidget*> All(int id) const;
    const std::vector<QWidget*>& Widgets() const { return widgets_; }
    const DialogBaseUnits& Units() const { return units_; }
    const DialogTemplate* Table() const { return table_; }

private:
    const DialogTemplate* table_ = nullptr;
    DialogBaseUnits units_;
    std::vector<QWidget*> widgets_;
};

// Sets the window's font to its template's stand-in, its size to the
// template's (fixed) and makes every control of the table on it.
TemplateControls BuildTemplate(QWidget& window, const DialogTemplate& table, const ControlFactory& make = {});

// The units a template's rectangles convert with: its stand-in font's, or pixels.
DialogBaseUnits TemplateUnits(const DialogTemplate& table);
// A control's rectangle in the window: its template rectangle converted; one
// the rounding carries a pixel past the window's right or bottom edge (each
// number rounds on its own) ends on the edge.
QRect ControlRect(const DialogBaseUnits& units, const DialogTemplate& table, const TemplateControl& control);
// The window size a template gives with its stand-in font.
QSize TemplateSize(const DialogTemplate& table);

// Widens each column of a report list that is narrower than its heading
// needs, so no heading is cut; wider columns keep their width.
void FitColumnsToHeadings(QTreeView& list);
// The width a heading needs in its list's style.
int HeadingWidth(const QTreeView& list, int section);

// A drop-down list shows closed at the height its font gives, never taller than its rectangle.
int ClosedComboHeight(const QWidget& combo, int rectangleHeight);

}  // namespace gui
