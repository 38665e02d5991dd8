// The sheet's page tree, its placement and areas, and its button rectangles.

#include <gtest/gtest.h>

#include "config/sheet/PageTree.h"
#include "config/sheet/SheetGeometry.h"

namespace config {
namespace {

using namespace caption;

std::vector<std::string> Captions(std::initializer_list<std::string_view> list) {
    return {list.begin(), list.end()};
}

// "parent > child" for every item, with the page index.
std::vector<std::string> Describe(const std::vector<PageTreeItem>& items) {
    std::vector<std::string> lines;
    for (const auto& item : items)
        lines.push_back((item.parent < 0 ? std::string() : items[item.parent].text + " > ") + item.text + " #" +
                        std::to_string(item.page));
    return lines;
}

TEST(PageTree, VideoServerHasThreeRootsWithTheirChildren) {
    const auto items = BuildPageTree(PageTreeTableFor("R47T"),
                                     Captions({kNetwork, kDdns, kMail, kFtp, kSntp, kAlarm, kAlarmData, kToolBox,
                                               kAccount, kPeripheral, kOnlineUsers, kRecordPaths}));
    const std::vector<std::string> expected{
        "Sieć    #0",          "Sieć    > DDNS #1",   "Sieć    > Mail #2", "Sieć    > FTP #3",
        "Sieć    > Server Time Config #4", "Alarm #5", "Alarm > Alarm List #6", "Ogólne  #7",
        "Ogólne  > Konta   #8", "Ogólne  > Peripheral #9", "Ogólne  > Podłączeni użyt. #10",
        "Ogólne  > Ścieżka   #11",
    };
    EXPECT_EQ(Describe(items), expected);
    for (const auto& item : items)
        EXPECT_FALSE(item.frameTitle);
}

TEST(PageTree, DvrPagesCarryFrameTitlesAndAnUnknownCaptionEndsTheTree) {
    const auto items = BuildPageTree(PageTreeTableFor("R41T"),
                                     Captions({kNetwork, kCamera, kDevice, "Nieznana", kAlarm}));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].frameTitle, "DVR-KAMERA");
    EXPECT_EQ(items[2].frameTitle, "DVR-Urządz.");
    EXPECT_EQ(items[2].parent, 1);
    EXPECT_EQ(BannerTextFor("R42T"), "8CH DVR");
    EXPECT_EQ(BannerTextFor("N52H"), "DVR Setting");
    EXPECT_EQ(BannerTextFor("X"), "");
}

TEST(PageTree, PathsSplitAtUnescapedSeparators) {
    struct Case {
        const char* path;
        const char* segment;
        const char* rest;
    };
    const Case cases[] = {
        {"A\\::B::C", "A::B", "C"}, {"A\\\\::B", "A\\", "B"}, {"::X", "", "X"},
        {"A", "A", ""},             {"A::", "A", ""},         {"A\\\\\\::B", "A\\::B", ""},
    };
    for (const Case& c : cases) {
        const auto [segment, rest] = SplitPageTreePath(c.path);
        EXPECT_EQ(segment, c.segment) << c.path;
        EXPECT_EQ(rest, c.rest) << c.path;
    }

    std::vector<PageTreeItem> items;
    const int c = CreatePageTreeItem(items, "A\\::B::C", -1);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "A::B");
    EXPECT_EQ(items[c].text, "C");
    EXPECT_EQ(items[c].parent, 0);
    EXPECT_EQ(CreatePageTreeItem(items, "A\\::B::D", -1), 2);  // the existing parent is reused
    EXPECT_EQ(items[2].parent, 0);

    const int x = CreatePageTreeItem(items, "::X", -1);  // an empty first segment, and it ends
    EXPECT_EQ(items[x].text, "X");
    EXPECT_EQ(items[items[x].parent].text, "");
}

TEST(SheetGeometry, PlacementBesideTheMainWindow) {
    // Room right of the main window.
    auto placed = PlaceSheet({0, 0, 560, 480}, {0, 10, 700, 590}, 1280, 1024);
    EXPECT_EQ(placed.sheet, (Point{698, 10}));
    EXPECT_FALSE(placed.mainWindow);

    // No room from where it stands: the pair is centred.
    placed = PlaceSheet({0, 0, 560, 480}, {300, 10, 1000, 590}, 1280, 1024);
    ASSERT_TRUE(placed.mainWindow);
    EXPECT_EQ(*placed.mainWindow, (Point{10, 222}));
    EXPECT_EQ(placed.sheet, (Point{708, 222}));

    // Not even side by side: the sheet alone, centred, never above the top.
    placed = PlaceSheet({0, 0, 560, 1100}, {0, 0, 900, 590}, 1280, 1024);
    EXPECT_FALSE(placed.mainWindow);
    EXPECT_EQ(placed.sheet, (Point{360, 0}));
    placed = PlaceSheet({0, 0, 561, 400}, {0, 0, 900, 590}, 1280, 1024);
    EXPECT_EQ(placed.sheet, (Point{359, 312}));
}

TEST(SheetGeometry, AreasAndButtons) {
    const SheetAreas areas = SheetAreasFor({7, 7, 427, 337}, 584, 454, 1.5f);
    EXPECT_EQ(areas.tree, (Rect{7, 7, 152, 379}));
    EXPECT_EQ(areas.progress, (Rect{167, 352, 569, 377}));
    EXPECT_EQ(areas.banner, (Rect{9, 389, 150, 414}));

    const SheetButtonRects buttons = SheetButtonRectsFor(520, 400, 1.5f);
    EXPECT_EQ(buttons.apply, (Rect{370, 359, 490, 392}));
    EXPECT_EQ(buttons.exit.left, 10);
    EXPECT_EQ(buttons.restart.left, 190);
}

}  // namespace
}  // namespace config
