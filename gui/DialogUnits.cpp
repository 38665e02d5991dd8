#include "gui/DialogUnits.h"

#include <QFontMetrics>

#include <cstdint>
#include <cstdlib>

namespace gui {

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t(number) * numerator;
    const std::int64_t half = std::llabs(denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(denominator);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int DialogBaseUnits::X(int dlu) const { return MulDiv(dlu, lettersWidth, 4 * kBaseUnitLetters); }

int DialogBaseUnits::Y(int dlu) const { return MulDiv(dlu, height, 8); }

QRect DialogBaseUnits::Rect(const DluRect& r) const { return {X(r.x), Y(r.y), X(r.width), Y(r.height)}; }

QSize DialogBaseUnits::Size(int width, int height) const { return {X(width), Y(height)}; }

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(letters), metrics.height()};
}

}  // namespace gui
