#pragma once
// Where the configuration sheet puts itself and its parts, as pure functions
// of the rectangles involved (pixels; right and bottom exclusive).

#include <optional>

namespace config {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

inline constexpr int kTreeWidth = 150;

// The sheet (already grown) beside the main window in the work area: right of
// it when both fit from where the main window stands; else the pair centred
// (the main window moves); else the sheet alone centred, never above the top.
struct SheetPlacement {
    Point sheet;
    std::optional<Point> mainWindow;  // none: the main window stays
};
SheetPlacement PlaceSheet(const Rect& sheet, const Rect& mainWindow, int workWidth, int workHeight);

// The tree beside the page area, the progress strip under the pages and the
// family banner under the tree; `tab` is the page area before the pages move
// right by the tree width.
struct SheetAreas {
    Rect tree;
    Rect progress;
    Rect banner;
};
SheetAreas SheetAreasFor(const Rect& tab, int sheetWidth, int sheetHeight, float dpiScale);

// The sheet's own buttons along the bottom of its client area, 80 x 22 at scale 1.
struct SheetButtonRects {
    Rect exit;
    Rect restart;
    Rect apply;
};
SheetButtonRects SheetButtonRectsFor(int clientWidth, int clientHeight, float dpiScale);

}  // namespace config
