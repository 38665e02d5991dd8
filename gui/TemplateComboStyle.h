#pragma once
// The look of a drop-down list built from a template. The template's width was
// made for the original platform's narrow drop button; the style here draws a
// wider one and leaves the closed list's text too little room ("YE" for "YES").
// Template lists keep their geometry and give the text what a button as wide
// as the font is tall leaves; an item that still needs more is drawn with its
// letters condensed until it fits. One longer than any template width can hold
// (the time zones' full names) ends in an ellipsis, whole in the open list.

#include <QProxyStyle>

namespace gui {

class TemplateComboStyle : public QProxyStyle {
public:
    // Narrowest an item's letters are condensed to, in percent of their width.
    static constexpr int kLeastStretch = 70;

    // The one instance template lists share; it lives as long as the application.
    static TemplateComboStyle& Shared();

    // The font a closed list draws its item text with in `room` pixels.
    static QFont LabelFont(const QFont& font, const QString& text, int room);
    // The text it draws in that font: the item's, or its start and an ellipsis.
    static QString LabelText(const QFont& labelFont, const QString& text, int room);

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;

private:
    TemplateComboStyle() = default;
};

}  // namespace gui
