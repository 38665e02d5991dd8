#include "skins/Glyphs.h"

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

#include "skins/SkinPalette.h"

namespace skins {
namespace {

// Glyphs are drawn on a 24 x 24 grid.
constexpr double kGrid = 24.0;

QPolygonF Points(std::initializer_list<QPointF> points) { return QPolygonF(QList<QPointF>(points)); }

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c) { p.drawPolygon(Points({a, b, c})); }

// An arrow head pointing left, up, down or right, filled.
void Arrow(QPainter& p, Glyph direction, bool bold) {
    QPolygonF head = Points({{15.5, 4}, {7, 12}, {15.5, 20}});
    const double angle = direction == Glyph::Up ? 90 : direction == Glyph::Right ? 180 : direction == Glyph::Down ? 270 : 0;
    QTransform turn;
    turn.translate(12, 12).rotate(angle).translate(-12, -12);
    if (bold) {
        // Turbo: two heads, one behind the other.
        p.drawPolygon(turn.map(Points({{12, 4}, {4, 12}, {12, 20}})));
        p.drawPolygon(turn.map(Points({{20, 4}, {12, 12}, {20, 20}})));
        return;
    }
    p.drawPolygon(turn.map(head));
}

void Chevrons(QPainter& p, bool up) {
    QPainterPath path;
    const double a = up ? 14 : 10, b = up ? 8 : 16;
    for (double dy : {-3.5, 3.5}) {
        path.moveTo(5, a + dy);
        path.lineTo(12, b + dy);
        path.lineTo(19, a + dy);
    }
    p.drawPath(path);
}

void Magnifier(QPainter& p, int sign) {
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    QPen pen = p.pen();
    QPen heavy = pen;
    heavy.setWidthF(pen.widthF() * 1.6);
    p.setPen(heavy);
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(pen);
    if (sign != 0) {
        p.drawLine(QPointF(7, 10), QPointF(13, 10));
        if (sign > 0)
            p.drawLine(QPointF(10, 7), QPointF(10, 13));
    }
}

void Focus(QPainter& p, int sign) {
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(9, 12), 6, 6);
    p.drawEllipse(QPointF(9, 12), 1.5, 1.5);
    p.drawLine(QPointF(16, 12), QPointF(22, 12));
    if (sign > 0)
        p.drawLine(QPointF(19, 9), QPointF(19, 15));
}

void Quad(QPainter& p, int filled) {
    const QRectF cells[] = {{4, 4, 7.5, 7.5}, {12.5, 4, 7.5, 7.5}, {4, 12.5, 7.5, 7.5}, {12.5, 12.5, 7.5, 7.5}};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i == filled ? QBrush(palette::kHighlight) : QBrush(Qt::NoBrush));
        p.drawRect(cells[i]);
    }
}

void Mirror(QPainter& p, const QColor& colour, bool vertical) {
    QTransform turn;
    if (vertical)
        turn.translate(12, 12).rotate(90).translate(-12, -12);
    p.save();
    p.setTransform(turn, true);
    QPen dashed = p.pen();
    dashed.setStyle(Qt::DashLine);
    dashed.setWidthF(dashed.widthF() * 0.6);
    p.setPen(dashed);
    p.drawLine(QPointF(12, 2), QPointF(12, 22));
    p.restore();
    p.save();
    p.setTransform(turn, true);
    p.setBrush(colour);
    Triangle(p, {10, 5}, {10, 19}, {3, 19});
    p.setBrush(Qt::NoBrush);
    Triangle(p, {14, 5}, {14, 19}, {21, 19});
    p.restore();
}

}  // namespace

void DrawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour, bool bold) {
    if (glyph == Glyph::None)
        return;
    const double side = std::min(box.width(), box.height());
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    p.scale(side / kGrid, side / kGrid);
    // At least one pixel wide, whatever the scale.
    const double width = std::max(bold ? 2.8 : 2.0, kGrid / side);
    QPen pen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(colour);

    switch (glyph) {
    case Glyph::None:
        break;
    case Glyph::AddressBook: {
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(5, 3, 14, 18), 1.5, 1.5);
        p.drawLine(QPointF(8.5, 3), QPointF(8.5, 21));
        p.drawLine(QPointF(11.5, 8), QPointF(16, 8));
        p.drawLine(QPointF(11.5, 12), QPointF(16, 12));
        break;
    }
    case Glyph::Search:
        Magnifier(p, 0);
        break;
    case Glyph::Play:
        Triangle(p, {8, 5}, {19, 12}, {8, 19});
        break;
    case Glyph::Download:
        p.drawLine(QPointF(12, 3.5), QPointF(12, 15));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(Points({{7, 10.5}, {12, 15.5}, {17, 10.5}}));
        p.drawLine(QPointF(5, 20), QPointF(19, 20));
        break;
    case Glyph::Copy: {
        // The back page hides behind the front one.
        QPainterPath back, front;
        back.addRoundedRect(QRectF(9, 3, 11, 13), 1.5, 1.5);
        front.addRoundedRect(QRectF(4, 8, 11, 13), 1.5, 1.5);
        p.setBrush(Qt::NoBrush);
        QPainterPath hiddenPart;
        hiddenPart.addRect(QRectF(4 - width, 8 - width, 11 + 2 * width, 13 + 2 * width));
        p.save();
        QPainterPath visible;
        visible.addRect(QRectF(0, 0, kGrid, kGrid));
        p.setClipPath(visible.subtracted(hiddenPart));
        p.drawPath(back);
        p.restore();
        p.drawPath(front);
        break;
    }
    case Glyph::Enter:
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(Points({{5, 12.5}, {10, 17.5}, {19.5, 6.5}}));
        break;
    case Glyph::Cancel:
    case Glyph::Close:
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
        break;
    case Glyph::User: {
        p.drawEllipse(QPointF(12, 8), 4, 4);
        QPainterPath body;
        body.moveTo(4, 21);
        body.cubicTo(4, 12.5, 20, 12.5, 20, 21);
        body.closeSubpath();
        p.drawPath(body);
        break;
    }
    case Glyph::Key:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(7.5, 12), 4, 4);
        p.drawLine(QPointF(11.5, 12), QPointF(21, 12));
        p.drawLine(QPointF(17.5, 12), QPointF(17.5, 16));
        p.drawLine(QPointF(21, 12), QPointF(21, 15));
        break;
    case Glyph::Network:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 9, 9);
        p.drawEllipse(QPointF(12, 12), 4, 9);
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        break;
    case Glyph::Port:
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(6.5, 7, 11, 8), 1.5, 1.5);
        p.drawLine(QPointF(10, 3), QPointF(10, 7));
        p.drawLine(QPointF(14, 3), QPointF(14, 7));
        p.drawLine(QPointF(12, 15), QPointF(12, 21));
        break;
    case Glyph::Hide:
        p.drawLine(QPointF(5, 18), QPointF(19, 18));
        break;
    case Glyph::FullScreen:
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(5, 5, 14, 14));
        p.drawLine(QPointF(5, 8), QPointF(19, 8));
        break;
    case Glyph::Power: {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 5, 14, 14), 120 * 16, -240 * 16);
        p.drawLine(QPointF(12, 3), QPointF(12, 11));
        break;
    }
    case Glyph::Left:
    case Glyph::Up:
    case Glyph::Down:
    case Glyph::Right:
        p.setPen(QPen(colour, std::max(1.0, kGrid / side), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        Arrow(p, glyph, bold);
        break;
    case Glyph::Menu:
        for (double y : {7.0, 12.0, 17.0})
            p.drawLine(QPointF(5, y), QPointF(19, y));
        break;
    case Glyph::PanelUp:
        p.setBrush(Qt::NoBrush);
        Chevrons(p, false);
        break;
    case Glyph::PanelDown:
        p.setBrush(Qt::NoBrush);
        Chevrons(p, true);
        break;
    case Glyph::ZoomIn:
    case Glyph::ZoomOut:
        Magnifier(p, glyph == Glyph::ZoomIn ? 1 : -1);
        break;
    case Glyph::FocusIn:
    case Glyph::FocusOut:
        Focus(p, glyph == Glyph::FocusIn ? 1 : -1);
        break;
    case Glyph::Link:
    case Glyph::LinkOff: {
        p.setBrush(Qt::NoBrush);
        const bool apart = glyph == Glyph::LinkOff;
        p.drawRoundedRect(QRectF(apart ? 1.5 : 3, 8.5, 9.5, 7), 3.5, 3.5);
        p.drawRoundedRect(QRectF(apart ? 13 : 11.5, 8.5, 9.5, 7), 3.5, 3.5);
        if (apart)
            p.drawLine(QPointF(10, 20), QPointF(14, 4));
        break;
    }
    case Glyph::Snapshot:
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 7.5, 18, 12), 2, 2);
        p.drawLine(QPointF(9, 7.5), QPointF(10.5, 4.5));
        p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
        p.drawLine(QPointF(13.5, 4.5), QPointF(15, 7.5));
        p.drawEllipse(QPointF(12, 13.5), 3.5, 3.5);
        break;
    case Glyph::Record:
    case Glyph::Recording: {
        const QColor red = colour == palette::kGlyphDisabled ? colour : palette::kRecord;
        p.setPen(QPen(red, width));
        p.setBrush(red);
        p.drawEllipse(QPointF(12, 12), 6, 6);
        if (glyph == Glyph::Recording) {
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        }
        break;
    }
    case Glyph::Settings: {
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 6.5, 6.5);
        p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
        QPen tooth = pen;
        tooth.setWidthF(width * 1.5);
        tooth.setCapStyle(Qt::FlatCap);
        p.setPen(tooth);
        for (int i = 0; i < 8; ++i) {
            const double a = i * std::numbers::pi / 4;
            p.drawLine(QPointF(12 + 6.5 * std::cos(a), 12 + 6.5 * std::sin(a)),
                       QPointF(12 + 9.5 * std::cos(a), 12 + 9.5 * std::sin(a)));
        }
        break;
    }
    case Glyph::Colour: {
        const bool grey = colour == palette::kGlyphDisabled;
        const QColor discs[] = {{230, 60, 60, 200}, {60, 180, 80, 200}, {60, 110, 230, 200}};
        const QPointF centres[] = {{12, 8.5}, {8, 15}, {16, 15}};
        p.setPen(QPen(colour, std::max(1.0, kGrid / side)));
        for (int i = 0; i < 3; ++i) {
            p.setBrush(grey ? QBrush(Qt::NoBrush) : QBrush(discs[i]));
            p.drawEllipse(centres[i], 5.5, 5.5);
        }
        break;
    }
    case Glyph::QualityHigh:
    case Glyph::QualityMid:
    case Glyph::QualityLow: {
        const int level = glyph == Glyph::QualityHigh ? 3 : glyph == Glyph::QualityMid ? 2 : 1;
        p.setPen(QPen(colour, std::max(1.0, kGrid / side)));
        for (int i = 0; i < 3; ++i) {
            p.setBrush(i < level ? QBrush(colour) : QBrush(Qt::NoBrush));
            const double height = 6 + 5 * i;
            p.drawRect(QRectF(4 + 6 * i, 20 - height, 4, height));
        }
        break;
    }
    case Glyph::Quad:
        p.setPen(QPen(colour, std::max(1.0, kGrid / side)));
        Quad(p, -1);
        break;
    case Glyph::FullFrame:
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(4, 5, 16, 14));
        p.setBrush(palette::kHighlight);
        p.setPen(QPen(colour, std::max(1.0, kGrid / side)));
        p.drawRect(QRectF(7, 8, 10, 8));
        break;
    case Glyph::QuadLeftTop:
    case Glyph::QuadRightTop:
    case Glyph::QuadLeftBottom:
    case Glyph::QuadRightBottom:
        p.setPen(QPen(colour, std::max(1.0, kGrid / side)));
        Quad(p, static_cast<int>(glyph) - static_cast<int>(Glyph::QuadLeftTop));
        break;
    case Glyph::QuadCentre:
        p.setPen(QPen(colour, std::max(1.0, kGrid / side)));
        Quad(p, -1);
        p.setBrush(palette::kHighlight);
        p.drawRect(QRectF(8, 8, 8, 8));
        break;
    case Glyph::MirrorHorizontal:
    case Glyph::MirrorVertical:
        Mirror(p, colour, glyph == Glyph::MirrorVertical);
        break;
    case Glyph::Ptz:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 7, 7);
        p.drawLine(QPointF(12, 2), QPointF(12, 22));
        p.drawLine(QPointF(2, 12), QPointF(22, 12));
        break;
    case Glyph::Camera:
        p.drawRoundedRect(QRectF(2, 8, 13, 10), 1.5, 1.5);
        Triangle(p, {15, 13}, {22, 8.5}, {22, 17.5});
        break;
    case Glyph::Alarm: {
        p.setPen(QPen(palette::kAlarm, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(palette::kAlarm);
        Triangle(p, {12, 3}, {22, 21}, {2, 21});
        p.setPen(QPen(Qt::white, width * 0.9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 9), QPointF(12, 14.5));
        p.drawPoint(QPointF(12, 18));
        break;
    }
    case Glyph::Brightness:
        p.drawEllipse(QPointF(12, 12), 4, 4);
        for (int i = 0; i < 8; ++i) {
            const double a = i * std::numbers::pi / 4;
            p.drawLine(QPointF(12 + 6.5 * std::cos(a), 12 + 6.5 * std::sin(a)),
                       QPointF(12 + 9.5 * std::cos(a), 12 + 9.5 * std::sin(a)));
        }
        break;
    case Glyph::Contrast: {
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 8.5, 8.5);
        QPainterPath half;
        half.moveTo(12, 3.5);
        half.arcTo(QRectF(3.5, 3.5, 17, 17), 90, -180);
        half.closeSubpath();
        p.setBrush(colour);
        p.drawPath(half);
        break;
    }
    case Glyph::Hue: {
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 6; ++i) {
            p.setBrush(QColor::fromHsv(i * 60, 200, 230));
            p.drawPie(QRectF(3, 3, 18, 18), i * 60 * 16, 60 * 16);
        }
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 9, 9);
        break;
    }
    case Glyph::Logo:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(11, 11), 7, 7);
        p.drawEllipse(QPointF(11, 11), 2.5, 2.5);
        p.drawLine(QPointF(16, 16), QPointF(21, 21));
        break;
    }
    p.restore();
}

}  // namespace skins
