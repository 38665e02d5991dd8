// The motion-area grid without a window: cells under the pointer, clicks and
// drags toggling the mask's bits, the pointer mask, and the overlay.

#include <gtest/gtest.h>

#include <vector>

#include "config/motion/MotionGrid.h"
#include "config/motion/MotionOverlay.h"
#include "platform/JpegCodec.h"

namespace config {
namespace {

constexpr int kLeft = 38, kTop = 60;

MotionGrid PlacedGrid(int pictureHeight = 228, int family = 0) {
    MotionGrid grid;
    grid.Place(kLeft, kTop, pictureHeight, family);
    grid.SetPictureReady(true);
    return grid;
}

// A point well inside the cell.
int CellX(int column) { return kLeft + column * kMotionCellWidth + 5; }
int CellY(int row, int cellHeight = kMotionCellHeightNtsc) { return kTop + row * cellHeight + 5; }

void Click(MotionGrid& grid, int x, int y) {
    grid.OnButtonDown(x, y);
    grid.OnButtonUp(x, y);
}

void Drag(MotionGrid& grid, int fromX, int fromY, int toX, int toY) {
    grid.OnButtonDown(fromX, fromY);
    grid.OnMove(fromX + 1, fromY);
    grid.OnMove(toX, toY);
    grid.OnButtonUp(toX, toY);
}

TEST(MotionGrid, AClickTogglesTheCellsBit) {
    struct Case {
        int column, row;
        std::size_t byte;
        std::uint8_t bit;
    };
    const Case cases[] = {{0, 0, 1, 0x01}, {8, 0, 0, 0x01}, {7, 3, 7, 0x80}, {15, 11, 22, 0x80}};
    for (const Case& c : cases) {
        MotionGrid grid = PlacedGrid();
        Click(grid, CellX(c.column), CellY(c.row));
        MotionAreaMask expected{};
        expected[c.byte] = c.bit;
        EXPECT_EQ(grid.Mask(), expected) << c.column << "," << c.row;
        Click(grid, CellX(c.column), CellY(c.row));
        EXPECT_EQ(grid.Mask(), MotionAreaMask{});
    }
}

TEST(MotionGrid, ADragTogglesEveryCellItsRectangleMeets) {
    MotionGrid grid = PlacedGrid();
    // Exactly on the boundary between columns 2 and 3: both count.
    Drag(grid, CellX(0), CellY(0), kLeft + 3 * kMotionCellWidth, CellY(0));
    MotionAreaMask expected{};
    expected[1] = 0x0F;
    EXPECT_EQ(grid.Mask(), expected);
    EXPECT_EQ(grid.PointerMask(), MotionAreaMask{});
    EXPECT_EQ(grid.State(), MotionGrid::MouseState::Idle);
    Drag(grid, CellX(0), CellY(0), kLeft + 3 * kMotionCellWidth, CellY(0));
    EXPECT_EQ(grid.Mask(), MotionAreaMask{});

    // Removed cells come back, selected ones go; a row boundary takes both rows.
    grid.RemoveAll();
    Drag(grid, CellX(9), CellY(0), CellX(9), kTop + kMotionCellHeightNtsc);
    MotionAreaMask mixed;
    mixed.fill(0xFF);
    mixed[0] = mixed[2] = 0xFD;
    EXPECT_EQ(grid.Mask(), mixed);
}

TEST(MotionGrid, CellsByStandardAndPictureHeight) {
    struct Case {
        int pictureHeight, family, x, y;
        std::optional<MotionCell> cell;
    };
    const Case cases[] = {
        {228, 0, kLeft, kTop, MotionCell{0, 0}},
        {228, 0, kLeft - 1, kTop, std::nullopt},
        {228, 0, kLeft + 319, kTop + 227, MotionCell{15, 11}},
        {228, 0, kLeft + 320, kTop, std::nullopt},
        {228, 0, kLeft, kTop + 228, std::nullopt},
        {240, 0, kLeft, kTop + 230, std::nullopt},  // row 12 lies below the grid
        {276, 1, kLeft, kTop + 275, MotionCell{0, 11}},
        {276, 1, kLeft + 20, kTop + 23, MotionCell{1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlacedGrid(c.pictureHeight, c.family).CellAt(c.x, c.y), c.cell) << c.x << "," << c.y;
}

TEST(MotionGrid, WithoutAPictureTheMouseIsIgnored) {
    MotionGrid grid;
    grid.Place(kLeft, kTop, 228, 0);
    Click(grid, CellX(0), CellY(0));
    EXPECT_EQ(grid.OnMove(CellX(1), CellY(1)), MotionRepaint{});
    EXPECT_EQ(grid.Mask(), MotionAreaMask{});
    EXPECT_EQ(grid.PointerMask(), MotionAreaMask{});
    grid.RemoveAll();
    EXPECT_EQ(grid.Mask()[23], 0xFF);
}

TEST(MotionGrid, HoverMarksThePointerCellUntilThePointerLeaves) {
    MotionGrid grid = PlacedGrid();
    const MotionRepaint first = grid.OnMove(CellX(0), CellY(0));
    EXPECT_EQ(first, (MotionRepaint{MotionRepaint::Kind::Area, kLeft - 5, kTop - 5, kLeft + 25, kTop + 24}));
    EXPECT_TRUE(IsCellSet(grid.PointerMask(), {0, 0}));
    EXPECT_EQ(grid.OnMove(CellX(0) + 2, CellY(0)), MotionRepaint{});  // the same cell
    const MotionRepaint next = grid.OnMove(CellX(1), CellY(0));
    EXPECT_EQ(next, (MotionRepaint{MotionRepaint::Kind::Area, kLeft - 5, kTop - 5, kLeft + 45, kTop + 24}));
    MotionAreaMask one{};
    SetCell(one, {1, 0});
    EXPECT_EQ(grid.PointerMask(), one);
    EXPECT_EQ(grid.OnMove(0, 0).kind, MotionRepaint::Kind::Whole);
    EXPECT_EQ(grid.PointerMask(), MotionAreaMask{});
    EXPECT_EQ(grid.Mask(), MotionAreaMask{});
}

TEST(MotionOverlay, RemovedCellsTintedAndBordered) {
    constexpr int kWidth = 320, kHeight = 228;
    constexpr BgrColour kColour{200, 100, 50};
    std::vector<std::uint8_t> picture(platform::BgrPictureBytes(kWidth, kHeight));
    for (std::size_t i = 0; i < picture.size(); i += 3) {
        picture[i] = kColour.b;
        picture[i + 1] = kColour.g;
        picture[i + 2] = kColour.r;
    }
    const auto at = [&](int x, int yFromTop) {
        const std::uint8_t* p = &picture[platform::BgrPictureBytes(kWidth, kHeight - 1 - yFromTop) + 3u * x];
        return BgrColour{p[0], p[1], p[2]};
    };
    MotionAreaMask mask{}, pointer{};
    SetCell(mask, {0, 0});
    SetCell(mask, {15, 11});
    SetCell(pointer, {1, 0});
    DrawMotionOverlay(picture, kWidth, kHeight, mask, pointer);

    EXPECT_EQ(TintRemoved(kColour), (BgrColour{121, 60, 130}));
    EXPECT_EQ(at(5, 5), TintRemoved(kColour));
    EXPECT_EQ(at(0, 0), kRemovedBorder);
    EXPECT_EQ(at(19, 18), kRemovedBorder);
    EXPECT_EQ(at(20, 10), kPointerBorder);
    EXPECT_EQ(at(25, 5), kColour);
    EXPECT_EQ(at(40, 0), kColour);
    EXPECT_EQ(at(319, 227), kRemovedBorder);
    EXPECT_EQ(at(310, 220), TintRemoved(kColour));
}

}  // namespace
}  // namespace config
