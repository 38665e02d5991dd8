#include "config/gui/PageFrame.h"

#include <QFontDatabase>
#include <QPainter>

namespace config {

namespace {

constexpr int kIconSize = 16;

}  // namespace

void PageFrame::Invalidate(const QRect& area) {
    if (QWidget* window = GetWnd())
        window->update(area);
}

void PageFrame::ShowCaption(bool show) {
    showCaption_ = show;
    Invalidate(CalcCaptionArea());
}

void PageFrame::SetCaptionHeight(int height) {
    captionHeight_ = height;
    Invalidate(CalcCaptionArea());
}

void PageFrame::SetCaption(const QString& text, const QIcon& icon) {
    caption_ = text;
    icon_ = icon;
    Invalidate(CalcCaptionArea());
}

void PageFrame::SetMsgText(const QString& text) {
    message_ = text;
    Invalidate(CalcMsgArea());
}

void PageFrame::SetMsgFormat(int flags) {
    format_ = flags;
    Invalidate(CalcMsgArea());
}

void PageFrame::Draw(QPainter& painter) {
    if (showCaption_)
        DrawCaption(painter, CalcCaptionArea(), caption_, icon_);
    DrawMsg(painter, CalcMsgArea(), message_, format_);
}

QRect PageFrame::CalcMsgArea() {
    QWidget* window = GetWnd();
    QRect area = window ? window->rect() : QRect();
    if (showCaption_)
        area.setTop(area.top() + captionHeight_);
    return area;
}

void PageFrame::DrawMsg(QPainter& painter, const QRect& area, const QString& text, int flags) {
    if (text.isEmpty())
        return;
    painter.save();
    painter.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    painter.drawText(area, flags, text);
    painter.restore();
}

QRect PageFrame::CalcCaptionArea() {
    QWidget* window = GetWnd();
    QRect area = window ? window->rect() : QRect();
    area.setHeight(showCaption_ ? captionHeight_ : 0);
    return area;
}

void PageFrame::DrawCaption(QPainter&, const QRect&, const QString&, const QIcon&) {}

DefaultPageFrame::DefaultPageFrame(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Page Frame"));
    setAutoFillBackground(true);
}

QRect DefaultPageFrame::CalcMsgArea() {
    QRect area = rect();
    if (GetShowCaption())
        area.setTop(area.top() + GetCaptionHeight() + 1);
    return area;
}

int DefaultPageFrame::CaptionTextWidth() const {
    int left = 2;
    if (!GetCaptionIcon().isNull())
        left += 3 + kIconSize + 3;
    return width() - left;
}

QString DefaultPageFrame::DisplayedCaption() const {
    return fontMetrics().elidedText(GetCaption(), Qt::ElideRight, std::max(0, CaptionTextWidth()));
}

void DefaultPageFrame::DrawCaption(QPainter& painter, const QRect& area, const QString& text, const QIcon& icon) {
    if (area.isEmpty())
        return;
    // From the inactive caption colour to the frame's background, one column at a time.
    const QColor start = palette().color(QPalette::Inactive, QPalette::Highlight);
    const QColor end = palette().color(QPalette::Window);
    const double span = area.width();
    for (int x = area.left(); x <= area.right(); ++x) {
        const double t = (x - area.left()) / span;
        painter.setPen(QColor(int(start.red() + (end.red() - start.red()) * t),
                              int(start.green() + (end.green() - start.green()) * t),
                              int(start.blue() + (end.blue() - start.blue()) * t)));
        painter.drawLine(x, area.top(), x, area.bottom());
    }
    QRect textArea = area;
    if (!icon.isNull()) {
        const QRect iconRect(area.left() + 3, area.top() + (area.height() - kIconSize) / 2, kIconSize, kIconSize);
        icon.paint(&painter, iconRect);
        textArea.setLeft(iconRect.right() + 1 + 3);
    }
    textArea.setLeft(textArea.left() + 2);
    painter.save();
    painter.setPen(palette().color(QPalette::Active, QPalette::HighlightedText));
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(text, Qt::ElideRight, std::max(0, textArea.width())));
    painter.restore();
}

void DefaultPageFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter);
}

}  // namespace config
