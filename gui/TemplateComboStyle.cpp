#include "gui/TemplateComboStyle.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionComboBox>

namespace gui {

TemplateComboStyle& TemplateComboStyle::Shared() {
    // Parented to the application so it goes with it; widgets do not own the styles set on them.
    static TemplateComboStyle* const style = [] {
        auto* created = new TemplateComboStyle;
        created->setParent(qApp);
        return created;
    }();
    return *style;
}

QFont TemplateComboStyle::LabelFont(const QFont& font, const QString& text, int room) {
    if (QFontMetrics(font).horizontalAdvance(text) <= room)
        return font;
    QFont condensed = font;
    for (int stretch = 99; stretch >= kLeastStretch; --stretch) {
        condensed.setStretch(stretch);
        if (QFontMetrics(condensed).horizontalAdvance(text) <= room)
            break;
    }
    return condensed;
}

QString TemplateComboStyle::LabelText(const QFont& labelFont, const QString& text, int room) {
    return QFontMetrics(labelFont).elidedText(text, Qt::ElideRight, room);
}

QRect TemplateComboStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                         SubControl sub, const QWidget* widget) const {
    const QRect rect = QProxyStyle::subControlRect(control, option, sub, widget);
    if (control != CC_ComboBox || (sub != SC_ComboBoxArrow && sub != SC_ComboBoxEditField))
        return rect;
    // The button gives up its width past the font's height to the field beside it.
    const QRect arrow = QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget);
    const int give = arrow.width() - option->fontMetrics.height();
    if (give <= 0)
        return rect;
    const bool leftToRight = option->direction != Qt::RightToLeft;
    if (sub == SC_ComboBoxArrow)
        return leftToRight ? rect.adjusted(give, 0, 0, 0) : rect.adjusted(0, 0, -give, 0);
    return leftToRight ? rect.adjusted(0, 0, give, 0) : rect.adjusted(-give, 0, 0, 0);
}

void TemplateComboStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                     const QWidget* widget) const {
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
    if (element != CE_ComboBoxLabel || !combo || combo->editable) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The label keeps a pixel from each side of the field.
    const int room = subControlRect(CC_ComboBox, combo, SC_ComboBoxEditField, widget).width() - 2;
    QStyleOptionComboBox label = *combo;
    const QFont font = LabelFont(painter->font(), combo->currentText, room);
    label.currentText = LabelText(font, combo->currentText, room);
    painter->save();
    painter->setFont(font);
    QProxyStyle::drawControl(element, &label, painter, widget);
    painter->restore();
}

}  // namespace gui
