#pragma once
// Checks a window built from its template as a person would look at it: every
// caption, header and check-box text fits its control (the box included),
// every item of a closed drop-down list fits the text field its style leaves
// beside the arrow, and no control leaves its window or the group box it
// starts in. Hidden controls are left out.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTextLayout>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "gui/TemplateBuilder.h"
#include "gui/TemplateComboStyle.h"

namespace testutil {

// Room a push button keeps between its caption and each edge.
inline constexpr int kButtonTextMargin = 3;

inline std::string Describe(const QWidget& widget) {
    const QVariant id = widget.property(gui::kTemplateIdProperty);
    std::string name = widget.metaObject()->className();
    name += " " + std::to_string(id.isValid() ? id.toInt() : -1);
    if (!widget.objectName().isEmpty())
        name += " '" + widget.objectName().toStdString() + "'";
    return name;
}

// The width a one-line text needs in the widget's font (the widest line of several).
inline int TextWidth(const QWidget& widget, const QString& text) {
    const QFontMetrics metrics(widget.font());
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(QString(line).remove(QLatin1Char('&'))));
    return widest;
}

// The room a closed drop-down list gives the text of its current item: the
// style's edit field, less the pixel the label keeps from each side of it.
inline int ComboTextRoom(const QComboBox& combo, const QString& text) {
    // The combo's own option, so the style sees the frame, state and direction it draws with.
    struct Option : QComboBox {
        using QComboBox::initStyleOption;
    };
    QStyleOptionComboBox option;
    (combo.*(&Option::initStyleOption))(&option);
    option.currentText = text;
    const QRect field =
        combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo);
    return field.width() - 2;
}

inline void CheckTextFits(const QWidget& widget, std::vector<std::string>& faults) {
    const auto fault = [&](const QString& text, int need, int have) {
        faults.push_back(Describe(widget) + ": \"" + text.toStdString() + "\" needs " + std::to_string(need) +
                         " px, has " + std::to_string(have));
    };
    const QStyle* style = widget.style();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        const QString text = label->text();
        if (text.isEmpty() || label->textFormat() == Qt::RichText)
            return;
        const QRect area = label->contentsRect();
        if (label->wordWrap()) {
            // Wrapped lines stand one font height apart, as the label lays them out.
            QTextLayout layout(text, label->font());
            layout.beginLayout();
            int lines = 0;
            int widest = 0;
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(area.width());
                widest = std::max(widest, int(std::ceil(line.naturalTextWidth())));
                ++lines;
            }
            layout.endLayout();
            const int height = lines * QFontMetrics(label->font()).height();
            if (widest > area.width())
                fault(text, widest, area.width());
            if (height > area.height())
                faults.push_back(Describe(widget) + ": \"" + text.toStdString() + "\" wraps to " +
                                 std::to_string(height) + " px, has " + std::to_string(area.height()));
        } else if (TextWidth(widget, text) > area.width()) {
            fault(text, TextWidth(widget, text), area.width());
        }
    } else if (qobject_cast<const QCheckBox*>(&widget) || qobject_cast<const QRadioButton*>(&widget)) {
        // The box (or circle) and the gap before the text count too.
        const auto* button = static_cast<const QAbstractButton*>(&widget);
        const bool radio = qobject_cast<const QRadioButton*>(&widget);
        const int need =
            style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr,
                               button) +
            style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr,
                               button) +
            TextWidth(widget, button->text());
        if (!button->text().isEmpty() && need > button->width())
            fault(button->text(), need, button->width());
    } else if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        const int need = TextWidth(widget, button->text()) + 2 * kButtonTextMargin;
        if (!button->text().isEmpty() && need > button->width())
            fault(button->text(), need, button->width());
    } else if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
        // The title starts a few pixels in from the frame's left corner.
        const int need = TextWidth(widget, group->title()) + 2 * style->pixelMetric(QStyle::PM_LayoutLeftMargin);
        if (!group->title().isEmpty() && need > group->width())
            fault(group->title(), need, group->width());
    } else if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
        // Any item may be the one shown closed, in the font its style draws it with; '&' is no mnemonic.
        const bool templateLook = dynamic_cast<const gui::TemplateComboStyle*>(style);
        for (int item = 0; item < combo->count(); ++item) {
            const QString text = combo->itemText(item);
            const int room = ComboTextRoom(*combo, text);
            const QFont font =
                templateLook ? gui::TemplateComboStyle::LabelFont(combo->font(), text, room) : combo->font();
            const QFontMetrics metrics(font);
            if (text.isEmpty() || metrics.horizontalAdvance(text) <= room)
                continue;
            // What no legible condensing fits a template list shortens, marked with an ellipsis within the field.
            const QString shown = templateLook ? gui::TemplateComboStyle::LabelText(font, text, room) : text;
            if (shown == text || metrics.horizontalAdvance(shown) > room)
                fault(text, metrics.horizontalAdvance(text), room);
        }
    } else if (const auto* view = qobject_cast<const QTreeView*>(&widget)) {
        const QHeaderView* header = view->header();
        if (header->isHidden())
            return;
        const QAbstractItemModel* model = header->model();
        for (int section = 0; model && section < header->count(); ++section) {
            const QString text = model->headerData(section, Qt::Horizontal).toString();
            const int need = gui::HeadingWidth(*view, section);
            if (!text.isEmpty() && need > header->sectionSize(section))
                fault(text, need, header->sectionSize(section));
        }
    }
}

// The faults of every control built from a template on the window.
inline std::vector<std::string> LayoutFaults(const QWidget& window) {
    std::vector<std::string> faults;
    std::vector<const QWidget*> controls;
    // A control its window hides is not seen, wherever it stands until the window moves and shows it.
    for (const QWidget* child : window.findChildren<QWidget*>())
        if (child->property(gui::kTemplateIdProperty).isValid() && child->parentWidget() == &window &&
            !child->isHidden())
            controls.push_back(child);
    const QRect inside = window.rect();
    for (const QWidget* control : controls) {
        CheckTextFits(*control, faults);
        if (!inside.contains(control->geometry()))
            faults.push_back(Describe(*control) + " leaves its window");
        for (const QWidget* box : controls) {
            if (box == control || !qobject_cast<const QGroupBox*>(box))
                continue;
            // A control belongs to the group box its top-left corner lies in.
            if (box->geometry().contains(control->geometry().topLeft()) &&
                !box->geometry().contains(control->geometry()) && !control->geometry().contains(box->geometry()))
                faults.push_back(Describe(*control) + " leaves group box " + Describe(*box));
        }
    }
    return faults;
}

// Fails the test for every fault of the window; with QUENLO_GRAB_DIR set it also
// saves the window's picture there as NAME.png, to look at.
inline void ExpectNothingCut(QWidget& window, const char* name) {
    for (const std::string& fault : LayoutFaults(window))
        ADD_FAILURE() << name << ": " << fault;
    const QString folder = qEnvironmentVariable("QUENLO_GRAB_DIR");
    if (!folder.isEmpty())
        window.grab().save(folder + QLatin1Char('/') + QString::fromUtf8(name) + QStringLiteral(".png"));
}

}  // namespace testutil
