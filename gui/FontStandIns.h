#pragma once
// The fonts the windows name (in their templates or drawing code) and the
// installed font that stands in for each, chosen once for the whole program.
// Sizes are the named ones at 96 dots per inch, so a window's base units come
// out the same on every screen; Qt scales the pixels for the display.

#include <QFont>

#include <span>
#include <string_view>

namespace gui {

// A font as a window names it: face and size in points.
struct NamedFont {
    std::string_view face;
    int points = 0;
};

// Pages and dialogs whose template names no font get the sheet's.
inline constexpr NamedFont kSheetFont{"MS Sans Serif", 8};
inline constexpr NamedFont kSystemFont{"System", 10};

struct FontStandIn {
    std::string_view named;   // the face a template or drawing names
    std::string_view family;  // the installed family standing in
    QFont::Weight weight;
};

// Every named face and its stand-in; a face not in the table gets the first row's.
std::span<const FontStandIn> FontStandIns();

// The stand-in at the named size (points at 96 dpi, rounded half away from zero).
QFont StandInFont(NamedFont named);
// The stand-in at a pixel height, as drawing code that names a character height asks.
QFont StandInFontPixels(std::string_view face, int pixels);

// While it lives, every stand-in is `family` instead: lets a test build windows
// with a font of other widths. GUI thread only.
class StandInFamilyScope {
public:
    explicit StandInFamilyScope(std::string_view family);
    ~StandInFamilyScope();
    StandInFamilyScope(const StandInFamilyScope&) = delete;
    StandInFamilyScope& operator=(const StandInFamilyScope&) = delete;

private:
    std::string_view previous_;
};

}  // namespace gui
