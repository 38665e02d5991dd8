#include "config/sheet/SheetGeometry.h"

#include <algorithm>

namespace config {

namespace {

// Halves round toward minus infinity.
int Half(int value) { return value >= 0 ? value / 2 : -((1 - value) / 2); }

int Trunc(double value) { return static_cast<int>(value); }

Rect ButtonAt(int clientWidth, int clientHeight, float s, int fromRight) {
    const int left = Trunc(clientWidth - fromRight * double(s));
    const int top = Trunc(clientHeight - 27 * double(s));
    return {left, top, left + Trunc(80 * double(s)), top + Trunc(22 * double(s))};
}

}  // namespace

SheetPlacement PlaceSheet(const Rect& sheet, const Rect& main, int workWidth, int workHeight) {
    if (main.left + main.Width() + sheet.Width() <= workWidth)
        return {{main.left + main.Width() - 2, main.top}, std::nullopt};
    if (main.Width() + sheet.Width() <= workWidth) {
        const Point mainAt{Half(workWidth - main.Width() - sheet.Width()), Half(workHeight - main.Height())};
        return {{mainAt.x + main.Width() - 2, mainAt.y}, mainAt};
    }
    return {{Half(workWidth - sheet.Width()), std::max(0, Half(workHeight - sheet.Height()))}, std::nullopt};
}

SheetAreas SheetAreasFor(const Rect& tab, int sheetWidth, int sheetHeight, float dpiScale) {
    SheetAreas areas;
    areas.tree = {tab.left, tab.top, tab.left + kTreeWidth - 5, tab.bottom + Trunc(28 * double(dpiScale))};
    areas.progress = {areas.tree.right + 15, tab.bottom + 15, sheetWidth - 15, tab.bottom + 40};
    areas.banner = {areas.tree.left + 2, areas.tree.bottom + 10, areas.tree.right - 2, sheetHeight - 40};
    return areas;
}

SheetButtonRects SheetButtonRectsFor(int clientWidth, int clientHeight, float s) {
    return {ButtonAt(clientWidth, clientHeight, s, 340), ButtonAt(clientWidth, clientHeight, s, 220),
            ButtonAt(clientWidth, clientHeight, s, 100)};
}

}  // namespace config
