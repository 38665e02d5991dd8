// The main window's layout table, the picture-size selector and the skin
// files each format asks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mainwindow/WindowLayoutTable.h"
#include "mainwindow/WindowSkin.h"
#include "session/AppData.h"

namespace {

using namespace mainwindow;

TEST(WindowLayoutTableTest, WindowAndVideoRectanglesPerRow) {
    struct Case {
        std::size_t row;
        int closedWidth, closedHeight, openHeight;
        std::array<int, 4> video;
    };
    const Case cases[] = {
        {0, 722, 608, 680, {42, 96, 682, 552}},  {1, 370, 366, 461, {24, 90, 344, 318}},
        {2, 722, 705, 776, {42, 96, 682, 648}},  {3, 370, 414, 509, {24, 90, 344, 366}},
        {6, 722, 608, 680, {8, 86, 712, 566}},   {9, 370, 414, 509, {8, 86, 360, 372}},
        {12, 722, 608, 680, {40, 86, 680, 566}}, {13, 370, 366, 461, {24, 84, 344, 324}},
    };
    for (const Case& c : cases) {
        const WindowLayoutRow& row = LayoutRow(c.row);
        EXPECT_EQ(row[kClosedRect + 2], c.closedWidth) << c.row;
        EXPECT_EQ(row[kClosedRect + 3], c.closedHeight) << c.row;
        EXPECT_EQ(row[kOpenRect + 2], c.closedWidth) << c.row;
        EXPECT_EQ(row[kOpenRect + 3], c.openHeight) << c.row;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(row[kVideoRect + i], c.video[i]) << c.row << " field " << i;
    }
    EXPECT_EQ(LayoutRow(0)[kInfoOrigin], 542);
    EXPECT_EQ(LayoutRow(1)[kChannelIcon + 3], 81);
    EXPECT_EQ(LayoutRow(0)[40], 0);  // a field nothing reads
    // G66M rows take the NTSC skins.
    EXPECT_EQ(SkinFormatOfClass(LayoutClass(12)), SkinFormat::NVga);
    EXPECT_EQ(SkinFormatOfClass(LayoutClass(13)), SkinFormat::NQvga);
    EXPECT_EQ(SkinFormatOfClass(LayoutClass(4)), SkinFormat::NQvga);
    EXPECT_EQ(SkinFormatOfClass(LayoutClass(5)), SkinFormat::PQvga);
}

class VideoSizeSelectorTest : public ::testing::Test {
protected:
    void Start(const char* product, std::uint8_t standard, std::uint32_t resolution) {
        app.str_ProductID = product;
        app.by_VideoSizeFamily = standard;
        app.CSettingINI.m_dwImageResolution = resolution;
        app.w_VideoLayout = 99;
        app.VideoSizeSelector.InitLayout();
    }
    session::AppData app;
};

TEST_F(VideoSizeSelectorTest, StartValuesByFamilyStandardAndResolution) {
    struct Case {
        const char* product;
        std::uint8_t standard;
        std::uint32_t resolution;
        std::uint8_t mode;
        std::uint16_t row;
    };
    const Case cases[] = {
        {"R41T", 0, 0, 0, 0},  {"R41T", 0, 1, 1, 1},  {"R41T", 0, 2, 4, 1},  {"R41T", 1, 0, 2, 2},
        {"R42T", 1, 1, 3, 3},  {"R43T", 1, 2, 5, 3},  {"R41T", 0, 7, 0, 0},  {"R47T", 0, 0, 0, 6},
        {"N51H", 0, 2, 4, 7},  {"R47T", 1, 1, 3, 9},  {"N53H", 1, 2, 5, 9},  {"G66M", 1, 0, 0, 12},
        {"G66M", 0, 1, 1, 13}, {"G66M", 0, 2, 4, 13},
    };
    for (const Case& c : cases) {
        Start(c.product, c.standard, c.resolution);
        EXPECT_EQ(app.by_VideoSizeMode.load(), c.mode) << c.product << " " << int(c.standard) << " " << c.resolution;
        EXPECT_EQ(app.by_AppliedVideoSizeMode.load(), c.mode) << c.product;
        EXPECT_EQ(app.w_VideoLayout.load(), c.row) << c.product << " " << int(c.standard) << " " << c.resolution;
    }
    // Another standard sets nothing; another product changes nothing.
    app.str_ProductID = "R41T";
    app.w_VideoLayout = 2;
    app.by_VideoSizeFamily = 7;
    app.VideoSizeSelector.InitLayout();
    EXPECT_EQ(app.w_VideoLayout.load(), 2);
    app.str_ProductID = "X99Z";
    app.by_VideoSizeFamily = 0;
    app.VideoSizeSelector.InitLayout();
    EXPECT_EQ(app.w_VideoLayout.load(), 2);
}

TEST_F(VideoSizeSelectorTest, FrameRulesChangeTheFormatOnceAndSayWhatTheWindowDoes) {
    struct Step {
        std::uint16_t width, height;
        bool changed;
        std::uint8_t mode;
        std::uint16_t row;
        int skin;  // -1 none
    };
    struct Case {
        const char* product;
        std::uint8_t standard;
        std::uint32_t resolution;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"R41T", 1, 0,
         {{640, 228, true, 0, 0, 0}, {640, 228, false, 0, 0, -1}, {720, 576, false, 0, 0, -1},
          {320, 276, true, 3, 3, 3}}},
        {"R41T", 0, 2, {{640, 276, true, 2, 2, 2}}},
        {"R47T", 0, 0, {{704, 480, true, 2, 8, 2}, {352, 240, true, 1, 7, 1}}},
        {"G66M", 0, 0, {{160, 120, true, 4, 12, -1}, {320, 240, true, 1, 13, 1}, {160, 120, true, 4, 13, -1}}},
    };
    for (const Case& c : cases) {
        Start(c.product, c.standard, c.resolution);
        for (const Step& s : c.steps) {
            const auto change = app.VideoSizeSelector.OnFrameSize(s.width, s.height);
            const std::string where = std::string(c.product) + " " + std::to_string(s.width) + "x" +
                                      std::to_string(s.height);
            ASSERT_EQ(change.has_value(), s.changed) << where;
            EXPECT_EQ(app.by_VideoSizeMode.load(), s.mode) << where;
            EXPECT_EQ(app.by_AppliedVideoSizeMode.load(), s.mode) << where;
            EXPECT_EQ(app.w_VideoLayout.load(), s.row) << where;
            if (!change)
                continue;
            EXPECT_EQ(change->channelBarLayout, std::string(c.product) == "R41T") << where;
            EXPECT_EQ(change->skin ? int(*change->skin) : -1, s.skin) << where;
        }
    }
    EXPECT_EQ(app.VideoSizeSelector.FrameWidth(), 160);
    EXPECT_EQ(app.VideoSizeSelector.GetSizeMode(), 4);
}

// The decoding thread asks whether a frame's size would change anything
// before it wakes the window for it: the answer must be exact both ways.
TEST_F(VideoSizeSelectorTest, TellsWhetherAFrameSizeWouldChangeAnything) {
    struct State {
        std::uint8_t mode, applied;
        std::uint16_t row, width, height;
        bool operator==(const State&) const = default;
    };
    const auto state = [&] {
        return State{app.by_VideoSizeMode.load(), app.by_AppliedVideoSizeMode.load(), app.w_VideoLayout.load(),
                     app.VideoSizeSelector.FrameWidth(), app.VideoSizeSelector.FrameHeight()};
    };
    const std::pair<std::uint16_t, std::uint16_t> sizes[] = {
        {640, 228}, {640, 228}, {720, 576}, {720, 576}, {320, 276}, {704, 480}, {704, 480},
        {352, 240}, {160, 120}, {160, 120}, {320, 240}, {640, 228}, {640, 228}};
    for (const char* product : {"R41T", "R47T", "G66M"}) {
        Start(product, 0, 0);
        int unchanged = 0;
        for (const auto& [width, height] : sizes) {
            const std::string where = std::string(product) + " " + std::to_string(width) + "x" + std::to_string(height);
            const bool nothing = app.VideoSizeSelector.FrameSizeChangesNothing(width, height);
            const State before = state();
            const auto change = app.VideoSizeSelector.OnFrameSize(width, height);
            EXPECT_EQ(nothing, !change && state() == before) << where;
            unchanged += nothing;
        }
        EXPECT_GE(unchanged, 4) << product;  // every repeated size
    }
}

std::vector<std::string> FilesOf(const std::vector<SkinLoad>& loads, int panelIndex, std::uint16_t id = 0) {
    for (const SkinLoad& load : loads)
        if ((panelIndex >= 0 && load.panelIndex == panelIndex) || (id != 0 && load.controlId == id))
            return load.files;
    return {};
}

TEST(WindowSkinTest, EachFormatAsksForItsFiles) {
    const std::array<bool, kPanelButtonCount> none{};
    const auto palReduced = PanelSkinLoads(SkinFormat::PQvga, true, {}, none);
    EXPECT_EQ(FilesOf(palReduced, 54), (std::vector<std::string>{"BMP/N_QVGA_LEFT_TURBO.bmp",
                                                                  "BMP/N_QVGA_LEFT_TURBO_OVER.bmp",
                                                                  "BMP/N_QVGA_LEFT_TURBO.bmp"}));
    EXPECT_EQ(FilesOf(palReduced, -1, kOpenPanelId)[0], "BMP/P_QVGA_PANELUP.bmp");
    EXPECT_EQ(FilesOf(palReduced, -1, kClosePanelId)[1], "BMP/P_QVGA_PANELDOWN_OVER.bmp");
    const auto palFull = PanelSkinLoads(SkinFormat::PVga, true, {}, none);
    EXPECT_EQ(FilesOf(palFull, 58)[0], "BMP/P_VGA_RIGHT_TURBO.bmp");
    EXPECT_EQ(FilesOf(palFull, 31), (std::vector<std::string>{"BMP/2Col_zoom_turbo_out.bmp",
                                                               "BMP/2Col_zoom_turbo_out_a.bmp",
                                                               "BMP/2Col_zoom_turbo_out_a.bmp"}));
    // Turbo off: no turbo pictures.
    EXPECT_TRUE(FilesOf(PanelSkinLoads(SkinFormat::NVga, false, {}, none), 54).empty());

    // A descriptor's own names by format, and its pairs.
    PanelButtonDescriptor push{};
    push.wFlags = kPanelEnabled | kPanelPresent;
    push.wStyle = 0x2;
    push.pszBitmaps = {"n1", "n2", "n3", "q1", "q2", "q3", "p1", "p2", "p3", "r1", "r2", "r3"};
    PanelButtonDescriptor pair = push;
    pair.wStyle = 0x40;
    const PanelButtonDescriptor rows[] = {push, pair};
    const auto loads = PanelSkinLoads(SkinFormat::PVga, false, rows, none);
    EXPECT_EQ(FilesOf(loads, 0), (std::vector<std::string>{"p1", "p2", "p2"}));
    EXPECT_EQ(FilesOf(loads, 1), (std::vector<std::string>{"p1", "p2", "p3", "r1"}));
    std::array<bool, kPanelButtonCount> held{};
    held[0] = true;  // without flag 0x4 a button holding pictures keeps them
    EXPECT_TRUE(FilesOf(PanelSkinLoads(SkinFormat::PVga, false, rows, held), 0).empty());

    const auto title = TitleSkinLoads(LayoutClass(13), 1, false, rows, none);
    EXPECT_EQ(FilesOf(title, -1, 8201), (std::vector<std::string>{"BMP/Title_Bar_Fullscreen.bmp",
                                                                   "BMP/Title_Bar_Fullscreen_a.bmp",
                                                                   "BMP/Title_Bar_Fullscreen.bmp"}));
    EXPECT_EQ(FilesOf(title, 0), (std::vector<std::string>{"q1", "q2", "q2"}));
    EXPECT_EQ(FilesOf(title, -1, kOpenPanelId)[0], "BMP/N_QVGA_PANELUP.bmp");
    EXPECT_TRUE(FilesOf(title, -1, kPowerId).empty());
    EXPECT_EQ(FilesOf(TitleSkinLoads(0, 0, true, {}, none), -1, kPowerId)[2], "BMP/power_down.bmp");
}

// The turbo key's own reload: the layout class's format for the arrows (PAL
// reduced too), "_OVER" or "_a" as focus and selected picture, on and off.
TEST(WindowSkinTest, TheTurboKeyReloadsItsKeysTurboOrPlain) {
    using Files = std::vector<std::string>;
    const struct {
        std::size_t layoutClass;
        bool turbo;
        int index;
        Files files;
    } cases[] = {
        {3, true, 54, {"BMP/P_QVGA_LEFT_TURBO.bmp", "BMP/P_QVGA_LEFT_TURBO_OVER.bmp", "BMP/P_QVGA_LEFT_TURBO_OVER.bmp"}},
        {3, false, 54, {"BMP/P_QVGA_LEFT.bmp", "BMP/P_QVGA_LEFT_OVER.bmp", "BMP/P_QVGA_LEFT_OVER.bmp"}},
        {5, true, 58, {"BMP/P_QVGA_RIGHT_TURBO.bmp", "BMP/P_QVGA_RIGHT_TURBO_OVER.bmp",
                       "BMP/P_QVGA_RIGHT_TURBO_OVER.bmp"}},
        {4, true, 55, {"BMP/N_QVGA_UP_TURBO.bmp", "BMP/N_QVGA_UP_TURBO_OVER.bmp", "BMP/N_QVGA_UP_TURBO_OVER.bmp"}},
        {0, false, 57, {"BMP/N_VGA_DOWN.bmp", "BMP/N_VGA_DOWN_OVER.bmp", "BMP/N_VGA_DOWN_OVER.bmp"}},
        {2, true, 33, {"BMP/2Col_focus_turbo_out.bmp", "BMP/2Col_focus_turbo_out_a.bmp",
                       "BMP/2Col_focus_turbo_out_a.bmp"}},
        {2, false, 30, {"BMP/2Col_zoom_in.bmp", "BMP/2Col_zoom_in_a.bmp", "BMP/2Col_zoom_in_a.bmp"}},
    };
    for (const auto& c : cases) {
        const auto loads = TurboToggleLoads(c.layoutClass, c.turbo);
        EXPECT_EQ(loads.size(), 8u);
        EXPECT_EQ(FilesOf(loads, c.index), c.files) << c.layoutClass << " " << c.turbo << " " << c.index;
        EXPECT_TRUE(std::all_of(loads.begin(), loads.end(), [](const SkinLoad& l) { return l.style == 2; }));
    }
}

TEST(WindowSkinTest, PanelButtonsByLevelAndTheMouseMode) {
    struct Shown {
        std::uint16_t flags;
        std::uint16_t level;
        std::uint8_t rank;
        bool shown;
    };
    for (const Shown& c : {Shown{0x20, 20, 40, false}, Shown{0x40, 20, 40, true}, Shown{0x20, 10, 20, false},
                           Shown{0x40, 10, 20, false}, Shown{0x20, 30, 60, true}, Shown{0x3, 0, 4, true}})
        EXPECT_EQ(PanelButtonShown(c.flags, c.level, c.rank), c.shown) << c.flags << " " << c.level;

    struct Mouse {
        std::uint8_t type;
        bool dvrFrom1035, capability;
        std::uint8_t mode;
    };
    for (const Mouse& c : {Mouse{11, false, false, 2}, Mouse{18, true, true, 2}, Mouse{18, true, false, 1},
                           Mouse{8, false, true, 1}, Mouse{0, false, false, 1}})
        EXPECT_EQ(MouseModeFor(c.type, c.dvrFrom1035, c.capability), c.mode) << int(c.type);

    EXPECT_EQ(PanelFormatFor(0, 0), SkinFormat::NVga);
    EXPECT_EQ(PanelFormatFor(1, 2), SkinFormat::PQvga);
    EXPECT_FALSE(PanelFormatFor(0, 3));
}

}  // namespace
