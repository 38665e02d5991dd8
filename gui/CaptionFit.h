#pragma once
// A control keeps its template rectangle; where the stand-in font makes its
// caption wider than the room the frame leaves, the caption's letters move
// closer together until it fits, rather than touching or losing edges. The
// template builder fits every caption it places.

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>

namespace gui {

// Room a push button keeps between its caption and each edge.
inline constexpr int kCaptionMargin = 3;

// The font with its letters moved closer, a tenth of a pixel at a time and at
// most a pixel, until the text fits the room (as close as allowed when it never does).
inline QFont TightenedFont(QFont font, const QString& text, int room) {
    if (text.size() < 2 || QFontMetrics(font).horizontalAdvance(text) <= room)
        return font;
    for (int tenths = 1; tenths <= 10; ++tenths) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, -tenths / 10.0);
        if (QFontMetrics(font).horizontalAdvance(text) <= room)
            break;
    }
    return font;
}

inline void FitCaption(QPushButton& button) {
    // A caption of several lines fits when its widest line does.
    const QFontMetrics metrics(button.font());
    QString widest;
    for (const QString& line : QString(button.text()).remove(QLatin1Char('&')).split(QLatin1Char('\n')))
        if (metrics.horizontalAdvance(line) > metrics.horizontalAdvance(widest))
            widest = line;
    button.setFont(TightenedFont(button.font(), widest, button.width() - 2 * kCaptionMargin));
}

// A group box's title likewise, within the margins it keeps from the frame's corners.
inline void FitTitle(QGroupBox& box) {
    const int margin = box.style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    box.setFont(TightenedFont(box.font(), box.title(), box.width() - 2 * margin));
}

// The smallest gap a check box or radio button keeps between its box and its text.
inline constexpr int kMinBoxTextGap = 3;

// A check box's or radio button's text beside its box: the style's indicators
// are wider than the ones the templates were made for, so where the text
// does not fit, the gap after the box narrows first, then the letters move closer.
inline void FitBoxText(QAbstractButton& button) {
    const bool radio = qobject_cast<QRadioButton*>(&button);
    if (!radio && !qobject_cast<QCheckBox*>(&button))
        return;
    const QStyle* style = button.style();
    const int box = style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                                       nullptr, &button);
    const int gap = style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing,
                                       nullptr, &button);
    const QString text = QString(button.text()).remove(QLatin1Char('&'));
    const int over = box + gap + QFontMetrics(button.font()).horizontalAdvance(text) - button.width();
    if (text.isEmpty() || over <= 0)
        return;
    const int narrowed = std::max(kMinBoxTextGap, gap - over);
    button.setStyleSheet(QStringLiteral("%1 { spacing: %2px; }")
                             .arg(QLatin1String(button.metaObject()->className()))
                             .arg(narrowed));
    button.setFont(TightenedFont(button.font(), text, button.width() - box - narrowed));
}

// Whichever of the above the control is; other controls stay as they are.
inline void FitText(QWidget& widget) {
    if (auto* box = qobject_cast<QGroupBox*>(&widget))
        FitTitle(*box);
    else if (auto* push = qobject_cast<QPushButton*>(&widget))
        FitCaption(*push);
    else if (auto* button = qobject_cast<QAbstractButton*>(&widget))
        FitBoxText(*button);
}

}  // namespace gui
