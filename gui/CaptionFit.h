#pragma once
// A push button keeps its template rectangle; where the stand-in font makes
// its caption wider than the room the frame leaves, the caption's letters
// move closer together until it fits, rather than touching or losing edges.

#include <QFontMetrics>
#include <QPushButton>

namespace gui {

// Room a push button keeps between its caption and each edge.
inline constexpr int kCaptionMargin = 3;

inline void FitCaption(QPushButton& button) {
    const QString text = QString(button.text()).remove(QLatin1Char('&'));
    const int room = button.width() - 2 * kCaptionMargin;
    if (text.size() < 2 || QFontMetrics(button.font()).horizontalAdvance(text) <= room)
        return;
    QFont font = button.font();
    // A tenth of a pixel at a time, up to a pixel between letters.
    for (int tenths = 1; tenths <= 10; ++tenths) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, -tenths / 10.0);
        if (QFontMetrics(font).horizontalAdvance(text) <= room)
            break;
    }
    button.setFont(font);
}

}  // namespace gui
