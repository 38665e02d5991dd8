// The tool button panel's rows, pictures and places, and what the status
// area draws.
#include <gtest/gtest.h>

#include "mainwindow/StatusDrawing.h"
#include "mainwindow/ToolButtonPanel.h"

namespace {

using namespace mainwindow;

std::vector<std::uint16_t> Ids(const ToolButtonPanel& panel) {
    std::vector<std::uint16_t> ids;
    for (const ToolButtonRow* row : panel.Buttons())
        ids.push_back(row->wControlId);
    return ids;
}

TEST(ToolButtonPanelTest, ProductsGetTheirButtonsInOrder) {
    ToolButtonPanel panel;
    ASSERT_TRUE(panel.Create("R41T", true));
    EXPECT_EQ(Ids(panel), (std::vector<std::uint16_t>{1002, 1007, 1008, 999, 1004, 1005, 1006}));
    ASSERT_TRUE(panel.Create("R42T", false));
    EXPECT_EQ(Ids(panel), (std::vector<std::uint16_t>{1002, 1007, 1008, 1004, 1005, 1006}));
    ASSERT_TRUE(panel.Create("N52H", false));
    EXPECT_EQ(panel.FamilyMask(), 4);
    EXPECT_EQ(panel.ButtonCount(), 7);
    ASSERT_TRUE(panel.Create("G66M", false));
    EXPECT_EQ(panel.ButtonCount(), 7);
    EXPECT_FALSE(panel.Create("X99Z", true));
    EXPECT_EQ(panel.ButtonCount(), 0);
}

TEST(ToolButtonPanelTest, PlacesAreRightAlignedFromTheLastButton) {
    ToolButtonPanel panel;
    panel.Create("R41T", true);
    for (std::size_t k = 0; k < 7; ++k) {
        EXPECT_EQ(panel.Place(k, 0), (std::array<std::int32_t, 4>{532 + 26 * static_cast<int>(k), 34, 26, 26}));
        EXPECT_EQ(panel.Place(k, 3), (std::array<std::int32_t, 4>{180 + 26 * static_cast<int>(k), 35, 26, 26}));
    }
    panel.Create("R43T", false);
    EXPECT_EQ(panel.Place(0, 2)[0], 558);
    EXPECT_EQ(panel.Place(5, 2)[0], 688);
}

TEST(ToolButtonPanelTest, LevelsEnableTheirButtonsAndRolesFindTheFirstMatch) {
    ToolButtonPanel panel;
    panel.Create("R41T", true);
    auto enabledFor = [&](std::uint8_t level) {
        std::vector<bool> enabled;
        for (std::size_t k = 0; k < panel.ButtonCount(); ++k)
            enabled.push_back(panel.PicturesFor(k, level).enabled);
        return enabled;
    };
    EXPECT_EQ(enabledFor(2), (std::vector<bool>{true, false, false, false, false, false, false}));
    EXPECT_EQ(enabledFor(3), (std::vector<bool>{true, false, false, false, true, true, false}));
    EXPECT_EQ(enabledFor(0), std::vector<bool>(7, true));
    EXPECT_EQ(panel.PicturesFor(1, 2).names,
              (std::vector<std::string_view>{"BMP/qvga_n.bmp", "BMP/qvga_n.bmp", "BMP/vga_n.bmp", "BMP/vga_n.bmp"}));
    EXPECT_EQ(panel.PicturesFor(2, 0).names.size(), 6u);
    EXPECT_EQ(panel.PicturesFor(4, 0).names.size(), 3u);
    EXPECT_EQ(panel.ButtonForRole(kToolRecord), 5u);
    EXPECT_EQ(panel.ButtonForRole(0x03), 0u);
    EXPECT_FALSE(panel.ButtonForRole(0x100));
}

TEST(StatusDrawingTest, WhatTheStatusAreaShows) {
    const WindowLayoutRow& row = LayoutRow(0);
    struct Case {
        const char* name;
        StatusFacts facts;
        std::vector<DrawnText> texts;
        std::vector<DrawnIcon> icons;
    };
    StatusFacts base;
    base.serverName = "192.168.1.20";
    base.channel = 3;
    base.clock = {2024, 5, 0, 7, 9, 8, 7, 0};
    auto with = [&](auto change) {
        StatusFacts facts = base;
        change(facts);
        return facts;
    };
    const DrawnIcon channelIcon{DrawnIcon::Which::Channel, 685, 65, 13, 16};
    const std::vector<Case> cases = {
        {"rates: channel icon and number, DVR address",
         with([](StatusFacts& f) { f.statusText = "FR:25.00 fps DR:800 kbps "; f.dvrFamily = true; }),
         {{"FR:25.00 fps DR:800 kbps ", 11, 65, kTextBlack}, {"3", 702, 67, kTextBlack},
          {"IP:192.168.1.20", 542, 7, kTextCyan}},
         {channelIcon}},
        {"video loss: no channel",
         with([](StatusFacts& f) { f.statusText = "Video Loss!"; f.dvrFamily = true; f.serverName = "dvr.local"; }),
         {{"Video Loss!", 11, 65, kTextBlack}},
         {}},
        {"start: no channel; DVR name while not hovered",
         with([](StatusFacts& f) {
             f.statusText = "Start to get image!!";
             f.dvrFamily = true;
             f.deviceName = "Brama";
         }),
         {{"Start to get image!!", 11, 65, kTextBlack}, {"Brama", 542, 7, kTextYellow}},
         {}},
        {"DVR name hovered: the address",
         with([](StatusFacts& f) {
             f.dvrFamily = true;
             f.deviceName = "Brama";
             f.statusHover = 0;
         }),
         {{"", 11, 65, kTextBlack}, {"IP:192.168.1.20", 542, 7, kTextCyan}},
         {}},
        {"server: the clock, hovered the address; alarm and extra status",
         with([](StatusFacts& f) {
             f.alarmText = "CH1";
             f.extraStatus = "HU: 40";
         }),
         {{"", 11, 65, kTextBlack}, {"HU: 40", 166, 65, kTextBlack}, {"CH1", 668, 67, kTextRed},
          {"2024/05/07 09:08:07", 542, 7, kTextYellow}},
         {{DrawnIcon::Which::Alarm, 651, 65, 13, 16}}},
        {"server hovered with a host name: nothing",
         with([](StatusFacts& f) {
             f.statusHover = 0;
             f.serverName = "cam.local";
         }),
         {{"", 11, 65, kTextBlack}},
         {}},
    };
    for (const Case& c : cases) {
        const StatusDrawing drawing = DrawStatus(row, c.facts);
        EXPECT_EQ(drawing.texts, c.texts) << c.name;
        EXPECT_EQ(drawing.icons, c.icons) << c.name;
    }
}

TEST(StatusDrawingTest, TheInfoAreaIncludesItsEdges) {
    const WindowLayoutRow& row = LayoutRow(0);
    EXPECT_EQ(StatusHoverAt(row, 542, 7), 0);
    EXPECT_EQ(StatusHoverAt(row, 662, 21), 0);
    EXPECT_EQ(StatusHoverAt(row, 663, 21), 1);
    EXPECT_EQ(StatusHoverAt(row, 600, 6), 1);
}

}  // namespace
