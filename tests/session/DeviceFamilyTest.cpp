#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "session/AppData.h"
#include "session/DeviceFamily.h"

namespace {

using namespace session;

struct VersionCase {
    const char* reference;
    const char* device;
    int result;
};

class FirmwareVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(FirmwareVersion, FirstDifferingCharacterDecidesAndWrongLengthsGiveMinusOne) {
    const auto c = GetParam();
    EXPECT_EQ(CompareFirmwareVersion(c.reference, c.device), c.result)
        << c.reference << " vs " << c.device;
}

INSTANTIATE_TEST_SUITE_P(Table, FirmwareVersion,
                         ::testing::Values(VersionCase{"1035", "1034", 2},
                                           VersionCase{"1035", "1035", 0},
                                           VersionCase{"1035", "1046", 1},
                                           VersionCase{"1100", "1099", 2},
                                           VersionCase{"0003", "1000", 1},
                                           VersionCase{"1035", "", -1},
                                           VersionCase{"1035", "10350", -1},
                                           VersionCase{"103", "1035", -1},
                                           VersionCase{"1035", "103a", 1},   // characters, not digits
                                           VersionCase{"1035", "103\xB5", 2}  // signed bytes
                                           ));

struct FilterCase {
    std::string text;
    std::uint8_t mode;
    int result;
    std::string filtered;
};

class NumericFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(NumericFilter, KeepsWhatTheModeAllows) {
    const auto c = GetParam();
    std::string text = c.text;
    EXPECT_EQ(FilterNumericText(text, c.mode), c.result);
    EXPECT_EQ(text, c.filtered);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumericFilter,
    ::testing::Values(FilterCase{"12a3", 1, 1, "123"}, FilterCase{"-5", 1, 1, "5"},
                      FilterCase{"-5", 0, 1, "-5"}, FilterCase{"7-", 0, 1, "7"},
                      FilterCase{"x-3", 0, 1, "-3"}, FilterCase{"5-2", 0, 1, "52"},
                      FilterCase{"--7", 0, 1, "-7"}, FilterCase{"42", 2, 1, ""},
                      FilterCase{"", 1, 1, ""},
                      FilterCase{std::string(254, 'a') + "9", 1, 1, "9"},  // 255: filtered
                      FilterCase{std::string(255, 'a') + "9", 1, 0,
                                 std::string(255, 'a') + "9"}));  // 256: left alone

TEST(PeripheralModels, CodesAndListPositionsMapBothWays) {
    const std::vector<std::uint8_t> codes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 25};
    for (std::uint8_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(PeripheralIndexToModel(i), codes[i]);
        EXPECT_EQ(PeripheralModelToIndex(codes[i]), i);
    }
    EXPECT_EQ(PeripheralModelToIndex(10), 0);  // not in the table
    EXPECT_EQ(PeripheralModelToIndex(255), 0);
    EXPECT_EQ(PeripheralIndexToModel(11), 0);
    EXPECT_EQ(PeripheralIndexToModel(255), 0);
}

TEST(CaptionPair, SplitsAtTheDollar) {
    std::string first = "old", second = "old";
    EXPECT_EQ(SplitCaptionPair(8310, first, second), 1);
    EXPECT_EQ(first, "TURBO_ZAŁ");
    EXPECT_EQ(second, "TURBO_WYŁ");
    EXPECT_EQ(SplitCaptionPair(1005, first, second), 1);
    EXPECT_EQ(first, "NAGRAJ");
    EXPECT_EQ(second, "NAGRYWANIE");
    EXPECT_EQ(SplitCaptionPair(4094, first, second), 1);  // no "$": all first caption
    EXPECT_EQ(first, "Błąd otwarcia pliku urządzenia sterowania");
    EXPECT_EQ(second, "");
}

class FamilyTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<AppData>();
        g_lpApp = app.get();
    }
    void TearDown() override { g_lpApp = nullptr; }
    std::unique_ptr<AppData> app;
};

struct FamilyCase {
    const char* productId;
    bool dvr, videoServer, g66m, n5h;
};

class Families : public FamilyTest, public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(Families, ProductCodeMatchesWholeAndCaseSensitive) {
    const auto c = GetParam();
    app->str_ProductID = c.productId;
    EXPECT_EQ(IsDvrFamily(), c.dvr);
    EXPECT_EQ(IsVideoServerFamily(), c.videoServer);
    EXPECT_EQ(IsG66MFamily(), c.g66m);
    EXPECT_EQ(IsN5HFamily(), c.n5h);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Families,
    ::testing::Values(FamilyCase{"R41T", true, false, false, false},
                      FamilyCase{"R42T", true, false, false, false},
                      FamilyCase{"R43T", true, false, false, false},
                      FamilyCase{"R47T", false, true, false, false},
                      FamilyCase{"G66M", false, false, true, false},
                      FamilyCase{"N51H", false, false, false, true},
                      FamilyCase{"N52H", false, false, false, true},
                      FamilyCase{"N53H", false, false, false, true},
                      FamilyCase{"r41t", false, false, false, false},
                      FamilyCase{"R41T ", false, false, false, false},
                      FamilyCase{"R44T", false, false, false, false},
                      FamilyCase{"", false, false, false, false}));

TEST_F(FamilyTest, MultiChannelFlagAndCapabilityBits) {
    app->by_MultiChannel = 3;
    app->dw_DeviceCapability = 0x81;
    EXPECT_EQ(GetMultiChannelFlag(), 3);
    EXPECT_EQ(HasCapability(0x01), 1);
    EXPECT_EQ(HasCapability(0x02), 0);
    EXPECT_EQ(HasCapability(0x80), 1);
}

TEST(FamilyWithoutAppData, NothingMatches) {
    ASSERT_EQ(g_lpApp, nullptr);
    EXPECT_FALSE(IsDvrFamily());
    EXPECT_EQ(GetMultiChannelFlag(), 0);
    EXPECT_EQ(HasCapability(0xFFFFFFFF), 0);
}

// The cross marker on a small picture; rows bottom-up, y from the top.
class CrossMarker : public ::testing::Test {
protected:
    static constexpr int W = 40, H = 30;
    std::vector<std::uint8_t> picture = std::vector<std::uint8_t>(W * H * 3, 0);

    bool Painted(int row, int col) const {
        const auto* p = &picture[(row * W + col) * 3];
        return p[0] == 0x00 && p[1] == 0x00 && p[2] == 0xFF;
    }
    int PaintedCount() const {
        int n = 0;
        for (int r = 0; r < H; ++r)
            for (int c = 0; c < W; ++c)
                n += Painted(r, c);
        return n;
    }
    void Draw(int x, int y) { DrawCrossMarker(picture, W, H, 0xFF0000, x, y); }
};

TEST_F(CrossMarker, WholeShapeInsideThePicture) {
    Draw(20, 15);
    const int R = H - 15;
    // Bars 17 long and 3 thick overlap in 9 pixels; 8 ticks of 4 pixels meet
    // in pairs at the 4 corners.
    EXPECT_EQ(PaintedCount(), 2 * 17 * 3 - 9 + 8 * 4 - 4);
    EXPECT_TRUE(Painted(R, 20));
    EXPECT_TRUE(Painted(R + 1, 12) && Painted(R - 1, 28));
    EXPECT_TRUE(Painted(R + 8, 12) && Painted(R + 8, 15) && !Painted(R + 8, 16));
    EXPECT_TRUE(Painted(R - 8, 28) && Painted(R - 8, 25) && !Painted(R - 8, 24));
    EXPECT_TRUE(Painted(R + 5, 12) && !Painted(R + 4, 12));
}

TEST_F(CrossMarker, AtTheTopEdgeOnlyTheVerticalBarsUpperHalfIsDrawn) {
    Draw(20, 0);  // centre row H: outside
    for (int r = 0; r < H; ++r) {
        const bool bar = r >= H - 8;
        EXPECT_EQ(Painted(r, 19) && Painted(r, 20) && Painted(r, 21), bar) << r;
        EXPECT_EQ(Painted(r, 12), r >= H - 8 && r <= H - 5) << r;
    }
    EXPECT_EQ(PaintedCount(), 8 * 3 + 4 * 2);
}

TEST_F(CrossMarker, AtTheBottomEdgeTheLowerHalfIsCutOff) {
    Draw(20, H);  // centre row 0
    EXPECT_TRUE(Painted(0, 12) && Painted(1, 28));
    EXPECT_TRUE(Painted(8, 12));  // upper ticks only
    // Horizontal bar rows 0 and 1, upper ticks on row 8, vertical bar rows 0
    // to 8 (6 pixels shared with the bar), side ticks rows 5 to 8 (2 corners shared).
    EXPECT_EQ(PaintedCount(), 17 * 2 + 8 + 9 * 3 - 6 + 4 * 2 - 2);
}

TEST_F(CrossMarker, BeyondTheBottomNothingAndAtTheLeftEdgeATwoPixelBar) {
    Draw(20, H + 1);
    EXPECT_EQ(PaintedCount(), 0);
    Draw(0, 15);
    const int R = H - 15;
    for (int c = 0; c < W; ++c)
        EXPECT_EQ(Painted(R, c), c <= 8) << c;
    EXPECT_TRUE(Painted(R + 8, 0) && Painted(R + 8, 1) && !Painted(R + 8, 2));
}

TEST_F(CrossMarker, ShortBufferIsLeftAlone) {
    picture.resize(W * 3);
    EXPECT_EQ(DrawCrossMarker(picture, W, H, 0xFF0000, 20, 15), 1);
    EXPECT_TRUE(std::all_of(picture.begin(), picture.end(), [](auto b) { return b == 0; }));
}

}  // namespace
