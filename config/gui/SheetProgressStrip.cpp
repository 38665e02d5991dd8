#include "config/gui/SheetProgressStrip.h"

#include <QMetaObject>
#include <QPainter>

namespace config {

namespace {

// Two one-pixel 3-D frames, the second inset by one pixel.
void DrawFrames(QPainter& painter, QRect r, QColor topLeft, QColor bottomRight, int frames) {
    for (int i = 0; i < frames; ++i, r.adjust(1, 1, -1, -1)) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
}

}  // namespace

SheetProgressStrip::SheetProgressStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("progress"));
}

void SheetProgressStrip::Deliver(std::uint32_t command, std::uint32_t value) {
    // Dropped with the strip if it goes before the queue is served.
    QMetaObject::invokeMethod(this, [this, command, value] { Execute(command, value); }, Qt::QueuedConnection);
}

void SheetProgressStrip::Execute(std::uint32_t command, std::uint32_t value) {
    state_.Apply(command, value);
    if (command == Progress_Begin)
        justBegun_ = true;
    else if (command == Progress_SetPos || command == Progress_End)
        justBegun_ = false;
    update();
}

std::optional<ProgressDrawing> SheetProgressStrip::Drawing() const {
    if (!state_.active)
        return std::nullopt;
    return DrawProgress(width(), state_, justBegun_);
}

void SheetProgressStrip::paintEvent(QPaintEvent*) {
    const auto drawing = Drawing();
    if (!drawing)
        return;
    QPainter painter(this);
    const QRect bar = rect();
    painter.fillRect(bar, QColor(0, 100, 255));
    DrawFrames(painter, bar, QColor(0, 100, 255), QColor(0, 25, 64), 2);
    if (drawing->fill) {
        const QRect filled(QPoint(2, 3), QPoint(2 + drawing->fillWidth - 1, bar.height() - 3 - 1));
        painter.fillRect(filled, QColor(196, 255, 0));
        DrawFrames(painter, filled, QColor(100, 128, 0), QColor(255, 255, 0), 1);
    }
    if (drawing->text) {
        painter.setPen(drawing->textInside ? QColor(0, 100, 255) : QColor(196, 255, 0));
        painter.drawText(QRect(drawing->textX, 3, 60, bar.height() - 3), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromStdString(drawing->percent));
    }
}

}  // namespace config
