#pragma once
// The skin's glyphs: simple line drawings that stay readable from 9 to 34
// pixels, drawn into a square box in one colour.

#include <QColor>
#include <QPainter>
#include <QRectF>

#include "skins/SkinTable.h"

namespace skins {

// Draws `glyph` centred in `box` (the largest square inside it). `bold` draws
// the turbo look: heavier lines and a double stroke.
void DrawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour, bool bold = false);

}  // namespace skins
