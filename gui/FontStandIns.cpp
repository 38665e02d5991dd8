#include "gui/FontStandIns.h"

#include <array>

#include "gui/DialogUnits.h"

namespace gui {

namespace {

// Liberation Sans has the metrics of Arial, so texts sized for the sans serif
// faces keep their widths; its bold stands in for the bold bitmap "System" face.
constexpr std::array kStandIns{
    FontStandIn{"MS Sans Serif", "Liberation Sans", QFont::Normal},
    FontStandIn{"Arial", "Liberation Sans", QFont::Normal},
    FontStandIn{"System", "Liberation Sans", QFont::Bold},
    FontStandIn{"Times New Roman", "Liberation Serif", QFont::Normal},
};

std::string_view g_familyOverride;

const FontStandIn& StandInFor(std::string_view face) {
    for (const FontStandIn& row : kStandIns)
        if (row.named == face)
            return row;
    return kStandIns.front();
}

QFont MakeFont(std::string_view face, int pixels) {
    const FontStandIn& row = StandInFor(face);
    const std::string_view family = g_familyOverride.empty() ? row.family : g_familyOverride;
    QFont font(QString::fromUtf8(family.data(), qsizetype(family.size())));
    font.setStyleHint(row.family.find("Serif") != std::string_view::npos ? QFont::Serif : QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setWeight(row.weight);
    return font;
}

}  // namespace

std::span<const FontStandIn> FontStandIns() { return kStandIns; }

QFont StandInFont(NamedFont named) { return MakeFont(named.face, MulDiv(named.points, 96, 72)); }

QFont StandInFontPixels(std::string_view face, int pixels) { return MakeFont(face, pixels); }

StandInFamilyScope::StandInFamilyScope(std::string_view family) : previous_(g_familyOverride) {
    g_familyOverride = family;
}

StandInFamilyScope::~StandInFamilyScope() { g_familyOverride = previous_; }

}  // namespace gui
