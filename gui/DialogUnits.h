#pragma once
// Dialog templates place their controls in dialog units of the window's font:
// a quarter of the average width of its 52 letters A-Z a-z across, an eighth
// of its height down. Each number converts on its own and rounds half away
// from zero, as the platform the templates were made on does.

#include <QRect>
#include <QSize>

class QFont;

namespace gui {

// A rectangle in dialog units: position and size, as a template gives it.
struct DluRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// number × numerator / denominator with a 64-bit product, rounded half away from zero.
int MulDiv(int number, int numerator, int denominator);

struct DialogBaseUnits {
    // The 52 letters' widths summed: the average width without an early rounding.
    int lettersWidth = 0;
    int height = 0;

    int X(int dlu) const;
    int Y(int dlu) const;
    QRect Rect(const DluRect& r) const;
    QSize Size(int width, int height) const;
};

inline constexpr int kBaseUnitLetters = 52;

DialogBaseUnits BaseUnitsOf(const QFont& font);

// Units that convert every number to itself: for windows placed in pixels.
inline constexpr DialogBaseUnits kPixelUnits{4 * kBaseUnitLetters, 8};

}  // namespace gui
