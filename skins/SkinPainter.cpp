#include "skins/SkinPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "skins/Glyphs.h"
#include "skins/SkinPalette.h"

namespace skins {
namespace {

using namespace palette;

constexpr int kSmallestCaption = 9;  // pixels

QLinearGradient Vertical(double top, double bottom, const QColor& from, const QColor& to) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

QFont CaptionFont(int pixels, bool bold = true) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// The largest bold font, from `largest` down to the smallest readable one, in
// which `text` fits `area` on one line.
QFont FittingFont(const QString& text, const QSizeF& area, int largest) {
    for (int pixels = largest; pixels > kSmallestCaption; --pixels) {
        const QFont font = CaptionFont(pixels);
        const QFontMetricsF metrics(font);
        if (metrics.horizontalAdvance(text) <= area.width() && metrics.height() <= area.height() + 2)
            return font;
    }
    return CaptionFont(kSmallestCaption);
}

void DrawBand(QPainter& p, const QRectF& area, bool downwards = true) {
    p.fillRect(area, Vertical(area.top(), area.bottom(), downwards ? kBandDark : kBandLight,
                              downwards ? kBandLight : kBandDark));
}

void DrawTitle(QPainter& p, const QPointF& baseline, int pixels) {
    p.setFont(CaptionFont(pixels));
    p.setPen(kGlyphOnDark);
    p.drawText(baseline, QStringLiteral("quenlo"));
}

// ---- Whole windows, of which the frame pictures are pieces --------------------

QImage LoginWindow() {
    QImage image(304, 341, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(image.rect(), kGround);
    DrawBand(p, QRectF(0, 0, 304, 34));
    DrawBand(p, QRectF(0, 319, 304, 22), false);
    p.fillRect(QRectF(0, 34, 3, 285), kBandLight);
    p.fillRect(QRectF(301, 34, 3, 285), kBandLight);
    DrawTitle(p, {26, 29}, 15);
    // Two cards: the tool buttons, then the fields with the progress line.
    p.setPen(QPen(kEdge.lighter(150), 1));
    p.setBrush(kCard);
    p.drawRoundedRect(QRectF(20.5, 43.5, 263, 47), 6, 6);
    p.drawRoundedRect(QRectF(20.5, 94.5, 263, 173), 6, 6);
    return image;
}

QImage ColourWindow() {
    QImage image(304, 196, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), QColor(221, 221, 221));
    DrawBand(p, QRectF(0, 0, 304, 32));
    p.fillRect(QRectF(0, 32, 10, 151), Vertical(32, 183, kBandLight, kBandDark));
    p.fillRect(QRectF(294, 32, 10, 151), Vertical(32, 183, kBandLight, kBandDark));
    DrawBand(p, QRectF(0, 183, 304, 13), false);
    return image;
}

QImage Piece(const QImage& window, const SkinPicture& picture) {
    return window.copy(picture.origin.x(), picture.origin.y(), picture.width, picture.height);
}

// ---- Button faces -------------------------------------------------------------

struct FaceLook {
    QColor top, bottom, edge, ink;
    double sink;  // how far the glyph moves down (pressed)
};

FaceLook LookOf(State state) {
    switch (state) {
    case State::Normal: return {kFaceTop, kFaceBottom, kFaceEdge, kGlyph, 0};
    case State::Hover: return {kHoverTop, kHoverBottom, kAccent, kGlyph, 0};
    case State::Pressed: return {kPressedTop, kPressedBottom, kBandDark, kGlyphOnDark, 1};
    case State::Disabled: return {kDisabledFace, kDisabledFace, kGlyphDisabled, kGlyphDisabled, 0};
    case State::On: return {kPressedBottom, kPressedTop, kHighlight, kGlyphOnDark, 0};
    case State::OnHover: return {kPressedBottom.lighter(125), kPressedTop.lighter(125), kHighlight, kGlyphOnDark, 0};
    }
    return {};
}

QImage Face(const SkinPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    image.fill(picture.ground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const FaceLook look = LookOf(picture.state);
    const QRectF frame = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = std::clamp(std::min(frame.width(), frame.height()) / 5.0, 1.0, 5.0);
    p.setPen(QPen(look.edge, 1));
    p.setBrush(Vertical(frame.top(), frame.bottom(), look.top, look.bottom));
    p.drawRoundedRect(frame, radius, radius);

    const QRectF inner = frame.adjusted(1.5, 1.5 + look.sink, -1.5, -1.5 + look.sink);
    if (picture.glyph != Glyph::None) {
        const double margin = std::min(inner.width(), inner.height()) >= 20 ? 0.12 : 0.0;
        const QRectF box = inner.adjusted(inner.width() * margin, inner.height() * margin, -inner.width() * margin,
                                          -inner.height() * margin);
        DrawGlyph(p, picture.glyph, box, look.ink, picture.turbo);
    }
    if (!picture.caption.isEmpty()) {
        const int largest = std::max(kSmallestCaption, std::min(16, static_cast<int>(inner.height() * 0.7)));
        p.setFont(FittingFont(picture.caption, inner.size(), largest));
        p.setPen(look.ink);
        p.drawText(inner, Qt::AlignCenter, picture.caption);
    }
    return image;
}

QImage GlyphPicture(const SkinPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    image.fill(picture.ground);
    QPainter p(&image);
    const bool dark = picture.ground.lightness() < 128;
    DrawGlyph(p, picture.glyph, QRectF(image.rect()).adjusted(1, 1, -1, -1), dark ? kGlyphOnDark : kGlyph);
    return image;
}

// ---- The rest -----------------------------------------------------------------

QImage Digit(const SkinPicture& picture) {
    // The version row stands on the login band at y 13.
    QImage image = LoginWindow().copy(182, 13, picture.width, picture.height);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(CaptionFont(14));
    p.setPen(kGlyphOnDark);
    p.drawText(image.rect(), Qt::AlignCenter, picture.caption);
    return image;
}

QImage Running(const SkinPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    image.fill(QColor(157, 216, 244));  // the progress bar's own colour, drawn under it
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(0, picture.height, kRunning.lighter(130), kRunning));
    p.drawRoundedRect(QRectF(1, 1, picture.width - 2, picture.height - 2), 4, 4);
    return image;
}

QImage WindowBackground(const SkinPicture& picture) {
    const double w = picture.width, h = picture.height, closed = picture.split;
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    image.fill(kVideoWell);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawBand(p, QRectF(0, 0, w, 30));
    DrawTitle(p, {14, 21}, 14);
    p.fillRect(QRectF(0, 30, w, 33), Vertical(30, 63, kBarLight, kBarDark));
    p.fillRect(QRectF(0, 63, w, 21), kBarDark);
    // Under the video: the bar of the open-panel button, and with the panel open the panel.
    const double bottomBar = closed - 42;
    if (h > closed) {
        p.fillRect(QRectF(0, bottomBar, w, h - bottomBar), Vertical(bottomBar, h, kPanel.lighter(108), kPanel));
        p.fillRect(QRectF(0, bottomBar, w, 2), kEdge);
    } else {
        p.fillRect(QRectF(0, bottomBar, w, h - bottomBar), Vertical(bottomBar, h, kBarDark, kBarLight));
    }
    p.setPen(QPen(kEdge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 7, 7);
    return image;
}

QImage StatusStrip(const SkinPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), Vertical(0, picture.height, kStatus.lighter(104), kStatus.darker(106)));
    p.setPen(kEdge);
    p.drawRect(QRectF(0, 0, picture.width - 1, picture.height - 1));
    return image;
}

QImage SensorBar(const SkinPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), Vertical(0, picture.height, kBarLight, kBarDark));
    p.setPen(kEdge);
    p.drawRect(QRectF(0, 0, picture.width - 1, picture.height - 1));
    return image;
}

}  // namespace

QImage PaintSkinPicture(const SkinPicture& picture) {
    switch (picture.look) {
    case Look::Face: return Face(picture);
    case Look::Glyph: return GlyphPicture(picture);
    case Look::LoginPiece: return Piece(LoginWindow(), picture);
    case Look::ColourPiece: return Piece(ColourWindow(), picture);
    case Look::Digit: return Digit(picture);
    case Look::Running: return Running(picture);
    case Look::WindowBackground: return WindowBackground(picture);
    case Look::StatusStrip: return StatusStrip(picture);
    case Look::SensorBar: return SensorBar(picture);
    }
    return {};
}

}  // namespace skins
