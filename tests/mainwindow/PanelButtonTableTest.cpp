// The control panel's buttons of every linked-device type: which show, their
// flags and tooltips, and their places in each picture format.
#include "session/devices/PanelButtonTable.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "mainwindow/WindowLayoutTable.h"

namespace {

using namespace mainwindow;

std::vector<std::size_t> Present(std::uint8_t type) {
    std::vector<std::size_t> present;
    for (const auto& button : kLinkedDeviceTypes[type].Buttons)
        if (button.wFlags & kPanelPresent)
            present.push_back(button.wPanelIndex);
    return present;
}

bool Overlap(const PanelRect& a, const PanelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(PanelButtonTableTest, EveryPresentButtonSitsInThePanelAreaOfItsFormatWithoutOverlaps) {
    // The layout rows in use, by format (row modulo 6).
    const std::size_t rowsInUse[] = {0, 1, 2, 3, 6, 7, 8, 9, 12, 13};
    for (std::size_t type = 0; type < kLinkedDeviceTypeCount; ++type) {
        const auto& buttons = kLinkedDeviceTypes[type].Buttons;
        ASSERT_EQ(buttons.size(), kPanelButtonCount);
        for (std::size_t row : rowsInUse) {
            const WindowLayoutRow& layout = LayoutRow(row);
            const std::size_t format = LayoutClass(row);
            for (std::size_t i = 0; i < kPanelButtonCount; ++i) {
                if (!(buttons[i].wFlags & kPanelPresent))
                    continue;
                const PanelRect& r = buttons[i].rcPos[format];
                EXPECT_GE(r.left, layout[kOpenRect]) << type << "/" << row << "/" << i;
                EXPECT_LE(r.right, layout[kOpenRect + 2]) << type << "/" << row << "/" << i;
                EXPECT_GE(r.top, layout[kVideoRect + 3]) << type << "/" << row << "/" << i;
                EXPECT_LE(r.bottom, layout[kOpenRect + 3]) << type << "/" << row << "/" << i;
                // Nor over the close-panel button.
                const PanelRect close{layout[kClosePanelButton], layout[kClosePanelButton + 1],
                                      layout[kClosePanelButton] + layout[kClosePanelButton + 2],
                                      layout[kClosePanelButton + 1] + layout[kClosePanelButton + 3]};
                EXPECT_FALSE(Overlap(r, close)) << type << "/" << row << "/" << i;
                for (std::size_t j = i + 1; j < kPanelButtonCount; ++j)
                    if (buttons[j].wFlags & kPanelPresent) {
                        EXPECT_FALSE(Overlap(r, buttons[j].rcPos[format])) << type << "/" << format << ": " << i << ", " << j;
                    }
            }
        }
    }
}

TEST(PanelButtonTableTest, TellingRowsOfThePtzSlave) {
    const auto& b = kLinkedDeviceTypes[kTypePtzSlave].Buttons;
    auto rect = [](const PanelRect& r) { return std::vector<int>{r.left, r.top, r.right, r.bottom}; };
    EXPECT_EQ(rect(b[0].rcPos[0]), (std::vector<int>{8, 568, 26, 586}));
    EXPECT_EQ(rect(b[54].rcPos[3]), (std::vector<int>{262, 427, 283, 450}));
    EXPECT_EQ(rect(b[58].rcPos[1]), (std::vector<int>{321, 379, 338, 402}));
    EXPECT_EQ(rect(b[60].rcPos[2]), (std::vector<int>{578, 725, 592, 739}));
    EXPECT_EQ(b[0].pszBitmaps[0], "BMP/ch1.bmp");
    EXPECT_EQ(b[0].pszBitmaps[1], "BMP/ch1_a.bmp");
    EXPECT_EQ(b[54].pszBitmaps[0], "BMP/N_VGA_LEFT.bmp");
    EXPECT_EQ(b[54].pszBitmaps[4], "BMP/N_QVGA_LEFT_OVER.bmp");
    EXPECT_EQ(b[60].pszBitmaps[2], "BMP/ptz_on.bmp");
    EXPECT_EQ(b[60].pszBitmaps[9], "BMP/ptz_on_over.bmp");
    EXPECT_EQ(b[60].wStyle, kPanelStateStyle);
}

TEST(PanelButtonTableTest, WhichButtonsEachTypeShowsAndTheirNotes) {
    EXPECT_TRUE(Present(kTypeCamera).empty());
    EXPECT_EQ(Present(1), (std::vector<std::size_t>{45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59}));
    EXPECT_EQ(Present(21), (std::vector<std::size_t>{0, 1, 2, 3, 18, 25, 34, 35, 45, 46, 47, 48, 49, 50, 51, 52,
                                                     53, 54, 55, 56, 57, 58, 59, 60, 64, 65, 66}));
    const auto& pelco = kLinkedDeviceTypes[kTypePtzPelco].Buttons;
    EXPECT_EQ(pelco[24].wFlags & kPanelNoPelco, kPanelNoPelco);
    EXPECT_EQ(pelco[54].wFlags & kPanelNoPelco, 0);
    EXPECT_EQ(pelco[67].wFlags & (kPanelTipFirst | kPanelTipSecond), kPanelTipFirst);
    EXPECT_EQ(pelco[59].wFlags & (kPanelTipFirst | kPanelTipSecond), kPanelTipSecond);
    EXPECT_EQ(pelco[3].wTipId, 8336) << "Preset 4";
    EXPECT_EQ(kLinkedDeviceTypes[2].Buttons[3].wTipId, 8253) << "KANAŁ 4";
    EXPECT_EQ(kLinkedDeviceTypes[15].Buttons[44].wFlags & kPanelTopRanks, kPanelTopRanks);
    EXPECT_EQ(kLinkedDeviceTypes[15].Buttons[61].wFlags & kPanelSupervisorOnly, kPanelSupervisorOnly);
    for (std::uint8_t type : {20, 22})
        EXPECT_EQ(kLinkedDeviceTypes[type].Buttons[20].wControlId, 8573);
    EXPECT_EQ(kLinkedDeviceTypes[19].Buttons[20].wControlId, 8273);
    for (std::uint8_t type = 0; type < kLinkedDeviceTypeCount; ++type)
        for (std::size_t i : Present(type))
            EXPECT_EQ(kLinkedDeviceTypes[type].Buttons[i].wFlags & kPanelEnabled, kPanelEnabled);
}

}  // namespace
