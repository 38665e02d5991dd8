#include "gui/TemplateGroupBox.h"

#include <QPainter>

namespace gui {

namespace {

constexpr int kTitleIndent = 6;   // from the frame's left edge to the title's gap
constexpr int kTitleGap = 2;      // blank on each side of the title

}  // namespace

TemplateGroupBox::TemplateGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void TemplateGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QRect frame = rect().adjusted(0, metrics.height() / 2, -2, -2);
    // Etched: a dark line with a light one a pixel down and right.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.translated(1, 1));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    if (title().isEmpty())
        return;
    const QRect text(kTitleIndent, 0, metrics.horizontalAdvance(title()) + 2 * kTitleGap, metrics.height());
    painter.fillRect(text, palette().brush(backgroundRole()));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, title());
}

}  // namespace gui
