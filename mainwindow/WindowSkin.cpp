#include "mainwindow/WindowSkin.h"

#include <optional>

namespace mainwindow {

namespace {

constexpr std::array<const char*, 4> kFormatNames{"N_VGA", "N_QVGA", "P_VGA", "P_QVGA"};

std::string Bmp(const std::string& name) { return "BMP/" + name + ".bmp"; }

int FormatIndex(SkinFormat format) { return static_cast<int>(format); }

// The turbo pictures of a panel index, as the loader of the format asks for them.
std::optional<std::vector<std::string>> TurboFiles(SkinFormat format, int index) {
    // PAL reduced takes the NTSC reduced arrows.
    const std::string arrowFormat = kFormatNames[format == SkinFormat::PQvga ? 1 : FormatIndex(format)];
    auto arrow = [&](const char* direction) {
        const std::string base = arrowFormat + "_" + direction + "_TURBO";
        return std::vector<std::string>{Bmp(base), Bmp(base + "_OVER"), Bmp(base)};
    };
    auto lens = [](const char* name) {
        const std::string base = std::string("2Col_") + name;
        return std::vector<std::string>{Bmp(base), Bmp(base + "_a"), Bmp(base + "_a")};
    };
    switch (index) {
    case 54: return arrow("LEFT");
    case 55: return arrow("UP");
    case 57: return arrow("DOWN");
    case 58: return arrow("RIGHT");
    case 30: return lens("zoom_turbo_in");
    case 31: return lens("zoom_turbo_out");
    case 32: return lens("focus_turbo_in");
    case 33: return lens("focus_turbo_out");
    default: return std::nullopt;
    }
}

std::string Name(const PanelButtonDescriptor& d, int number) { return std::string(d.pszBitmaps[number - 1]); }

// The two {normal, hover} pairs of NTSC (names 1-4) or PAL (names 7-10).
SkinLoad PairLoad(int index, const PanelButtonDescriptor& d, bool pal) {
    const int first = pal ? 7 : 1;
    return {0, index, SkinLoad::Kind::Pairs,
            {Name(d, first), Name(d, first + 1), Name(d, first + 2), Name(d, first + 3)},
            static_cast<std::uint16_t>(d.wStyle & 0x10 ? 0x10 : 0x40)};
}

std::vector<SkinLoad> PanelOpenClose(SkinFormat format) {
    const std::string f = kFormatNames[FormatIndex(format)];
    return {{kOpenPanelId, -1, SkinLoad::Kind::Three,
             {Bmp(f + "_PANELUP"), Bmp(f + "_PANELUP_OVER"), Bmp(f + "_PANELUP")}, 1},
            {kClosePanelId, -1, SkinLoad::Kind::Three,
             {Bmp(f + "_PANELDOWN"), Bmp(f + "_PANELDOWN_OVER"), Bmp(f + "_PANELDOWN")}, 1}};
}

bool Holds(std::span<const bool> holdsPictures, std::size_t i) { return i < holdsPictures.size() && holdsPictures[i]; }

}  // namespace

std::vector<SkinLoad> PanelSkinLoads(SkinFormat format, bool turbo, std::span<const PanelButtonDescriptor> buttons,
                                     std::span<const bool> holdsPictures) {
    std::vector<SkinLoad> loads;
    const int name = FormatIndex(format) * 3 + 1;  // the format's normal name
    const bool pal = format == SkinFormat::PVga || format == SkinFormat::PQvga;
    for (int i = 0; i < static_cast<int>(kPanelButtonCount); ++i) {
        if (turbo)
            if (auto files = TurboFiles(format, i)) {
                loads.push_back({0, i, SkinLoad::Kind::Three, std::move(*files), 2});
                continue;
            }
        if (static_cast<std::size_t>(i) >= buttons.size())
            continue;
        const PanelButtonDescriptor& d = buttons[i];
        if (!(d.wFlags & 0x4) && !((d.wFlags & kPanelEnabled) && !Holds(holdsPictures, i)))
            continue;
        if (d.wStyle & 0x2) {
            if (d.wFlags & 0x10)
                loads.push_back({0, i, SkinLoad::Kind::Three,
                                 {Name(d, name + 2), Name(d, name + 2), Name(d, name + 2)}, 2});
            else
                loads.push_back({0, i, SkinLoad::Kind::Three,
                                 {Name(d, name), Name(d, name + 1), Name(d, name + 1)}, 2});
        } else if (d.wStyle & (0x10 | 0x40)) {
            loads.push_back(PairLoad(i, d, pal));
        }
    }
    for (SkinLoad& load : PanelOpenClose(format))
        loads.push_back(std::move(load));
    return loads;
}

std::vector<SkinLoad> TurboToggleLoads(std::size_t layoutClass, bool turbo) {
    const std::string prefix = kFormatNames[FormatIndex(SkinFormatOfClass(layoutClass))];
    const std::string mode = turbo ? "_TURBO" : "";
    struct Key {
        int index;
        const char* name;
    };
    constexpr Key kArrows[] = {{54, "LEFT"}, {55, "UP"}, {57, "DOWN"}, {58, "RIGHT"}};
    constexpr Key kLenses[] = {{30, "zoom_in"}, {31, "zoom_out"}, {32, "focus_in"}, {33, "focus_out"}};
    std::vector<SkinLoad> loads;
    for (const Key& arrow : kArrows) {
        const std::string base = prefix + "_" + arrow.name + mode;
        loads.push_back({0, arrow.index, SkinLoad::Kind::Three,
                         {Bmp(base), Bmp(base + "_OVER"), Bmp(base + "_OVER")}, 2});
    }
    for (const Key& lens : kLenses) {
        const std::string name = lens.name;
        const std::size_t split = name.find('_');
        const std::string base =
            "2Col_" + (turbo ? name.substr(0, split) + "_turbo" + name.substr(split) : name);
        loads.push_back({0, lens.index, SkinLoad::Kind::Three, {Bmp(base), Bmp(base + "_a"), Bmp(base + "_a")}, 2});
    }
    return loads;
}

std::vector<SkinLoad> TitleSkinLoads(std::size_t layoutClass, std::uint32_t resolution, bool powerEnabled,
                                     std::span<const PanelButtonDescriptor> buttons,
                                     std::span<const bool> holdsPictures) {
    std::vector<SkinLoad> loads;
    constexpr std::array<const char*, 3> kTitleFiles{"Title_Bar_Hide", "Title_Bar_Fullscreen", "Title_Bar_Close"};
    for (std::size_t i = 0; i < kTitleIds.size(); ++i)
        loads.push_back({kTitleIds[i], -1, SkinLoad::Kind::Three,
                         {Bmp(kTitleFiles[i]), Bmp(std::string(kTitleFiles[i]) + "_a"), Bmp(kTitleFiles[i])}, 1});
    const int name = resolution == 0 ? 1 : 4;
    for (std::size_t i = 0; i < buttons.size() && i < kPanelButtonCount; ++i) {
        const PanelButtonDescriptor& d = buttons[i];
        if (!(d.wFlags & kPanelEnabled) || Holds(holdsPictures, i))
            continue;
        if (d.wStyle & 0x2)
            loads.push_back({0, static_cast<int>(i), SkinLoad::Kind::Three,
                             {Name(d, name), Name(d, name + 1), Name(d, name + 1)}, 2});
        else if (d.wStyle & (0x10 | 0x40))
            loads.push_back(PairLoad(static_cast<int>(i), d, false));
    }
    if (powerEnabled)
        loads.push_back({kPowerId, -1, SkinLoad::Kind::Three,
                         {Bmp("power"), Bmp("power_over"), Bmp("power_down")}, 0x20});
    for (SkinLoad& load : PanelOpenClose(SkinFormatOfClass(layoutClass)))
        loads.push_back(std::move(load));
    return loads;
}

std::optional<SkinFormat> PanelFormatFor(std::uint8_t videoMode, std::uint32_t resolution) {
    if (resolution > 2)
        return std::nullopt;
    const bool full = resolution == 0;
    if (videoMode == 0)
        return full ? SkinFormat::NVga : SkinFormat::NQvga;
    return full ? SkinFormat::PVga : SkinFormat::PQvga;
}

bool PanelButtonShown(std::uint16_t flags, std::uint16_t userLevel, std::uint8_t rank, std::uint8_t topRank) {
    if ((flags & kPanelSupervisorOnly) && userLevel != 30)
        return false;
    if ((flags & kPanelTopRanks) && rank < topRank)
        return false;
    return true;
}

std::uint8_t MouseModeFor(std::uint8_t type, bool dvrFrom1035, bool hasPositionCapability) {
    const bool ptzSlave = type == kTypePtzSlave || type == kTypePtzPelco;
    return ptzSlave && (!dvrFrom1035 || hasPositionCapability) ? 2 : 1;
}

}  // namespace mainwindow
