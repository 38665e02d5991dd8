// Cubic interpolation: the polynomial's weights, the edge rules for bases and fractions, and
// what they give at the image's edges.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "ResizeTestSupport.h"
#include "resize/frame/ResizeMapping.h"
#include "resize/generic/CubicKernels.h"

using namespace resize;
using namespace resize_test;
using namespace resize::frame;
using namespace resize::generic;

namespace {

// The weight of each sample is the cubic through a unit impulse at that sample.
std::vector<double> CubicWeights(float t) {
    const CubicCoefficients k = CubicAt(t);
    return {Cubic(1, 0, 0, 0, k), Cubic(0, 1, 0, 0, k), Cubic(0, 0, 1, 0, k), Cubic(0, 0, 0, 1, k)};
}

TEST(CubicKernel, WeightsAreThoseOfFourPointLagrangeInterpolation) {
    EXPECT_EQ(CubicWeights(0.5f), (std::vector<double>{-0.0625, 0.5625, 0.5625, -0.0625}));
    EXPECT_EQ(CubicWeights(0.25f), (std::vector<double>{-0.0546875, 0.8203125, 0.2734375, -0.0390625}));
    for (float t : {-1.0f, 0.0f, 1.0f, 2.0f}) {
        const std::vector<double> w = CubicWeights(t);
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(w[j], j == static_cast<int>(t) + 1 ? 1.0 : 0.0) << "t " << t << " sample " << j;
        }
    }
}

TEST(CubicKernel, IntegerResultsAreTruncatedAndClamped) {
    EXPECT_EQ(ToElement<std::uint8_t>(127.99999), 127);
    EXPECT_EQ(ToElement<std::uint8_t>(127.9999999), 128);  // within 1e-7 of 128
    EXPECT_EQ(ToElement<std::uint8_t>(254.9999), 254);
    EXPECT_EQ(ToElement<std::uint8_t>(-3.7), 0);
    EXPECT_EQ(ToElement<std::uint8_t>(300.0), 255);
    EXPECT_EQ(ToElement<std::uint16_t>(70000.0), 65535);
    EXPECT_EQ(ToElement<std::uint16_t>(std::numeric_limits<double>::infinity()), 65535);
    EXPECT_EQ(ToElement<std::uint8_t>(std::nan("")), 0);
    EXPECT_EQ(ToElement<float>(-3.7), -3.7f);
}

// Bases and fractions at the image's first, interior, second-last and last pixel.
struct CubicBaseCase {
    const char* name;
    AxisEdges edges;  // origin, image length, region length
    double coordinate;
    std::ptrdiff_t base;  // relative to the region
    float fraction;
};

const CubicBaseCase CubicBaseCases[] = {
    {"Interior", {0, 10, 10}, 4.25, 4, 0.25f},
    {"FirstPixelShiftsTheStencilRight", {0, 10, 10}, 0.5, 1, -0.5f},
    {"FirstPixelExactly", {0, 10, 10}, 0.0, 1, -1.0f},
    {"SecondLastShiftsTheStencilLeft", {0, 10, 10}, 8.5, 7, 1.5f},
    {"LastTakesTheLastFourAtTwo", {0, 10, 10}, 9.0, 7, 2.0f},
    {"RegionInsideTheImageKeepsItsNeighbours", {3, 10, 4}, 0.0, 0, 0.0f},
    {"RegionEndingOnTheImagesLastPixel", {6, 10, 4}, 3.0, 1, 2.0f},
    {"EpsilonMakesAnAlmostWholeCoordinateWhole", {0, 10, 10}, 4.99999999, 5, -1e-8f},
};

class CubicBases : public ::testing::TestWithParam<CubicBaseCase> {};

TEST_P(CubicBases, FollowTheEdgeRulesOfTheWholeImage) {
    const CubicBaseCase& c = GetParam();
    const AxisPlan plan{1, c.coordinate, 0.0};
    std::ptrdiff_t offset = -99;
    float fraction = -99.0f;
    MapCubicAxis(plan, c.edges, 3, &offset, &fraction);
    EXPECT_EQ(offset, 3 * c.base);
    EXPECT_FLOAT_EQ(fraction, c.fraction);
}

INSTANTIATE_TEST_SUITE_P(Table, CubicBases, ::testing::ValuesIn(CubicBaseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CubicBasesOfAFourPixelImage, EveryRowUsesRowsZeroToThree) {
    const AxisPlan plan = PlanAxis(ResizeMethod::Cubic, 1, 3.0, 0.0, 4, 12);
    std::vector<std::ptrdiff_t> offsets(12);
    std::vector<float> fractions(12);
    MapCubicAxis(plan, {0, 4, 4}, 1, offsets.data(), fractions.data());
    EXPECT_EQ(offsets, std::vector<std::ptrdiff_t>(12, 1));
    EXPECT_EQ(fractions.front(), -1.0f);
    EXPECT_EQ(fractions.back(), 2.0f);
}

// A destination row whose coordinate is the image's last row carries that row; a single
// destination row (factor x height at most 1) is the region's first row, whatever edge rule.
TEST(CubicEdges, EdgeRowsAndSingleRowsCarryTheirSourceRow) {
    std::mt19937 random(31);
    for (std::int32_t type : {Type8u, Type16u}) {
        TestImage source(C3, type, 9, 10);
        source.FillRandom(random);
        const double within = AllowedDifference(InterpCubic, type, 0.0);
        TestImage enlarged(C3, type, 9, 25);
        ASSERT_EQ(RunCore(WholeImageCall(source, enlarged, 1.0, 2.5, InterpCubic)), StatusOk);
        for (std::int32_t x = 0; x < 9; ++x) {
            for (int e = 0; e < 3; ++e) {
                EXPECT_NEAR(enlarged.Get(x, 24, e), source.Get(x, 9, e), within);
                EXPECT_NEAR(enlarged.Get(x, 0, e), source.Get(x, 0, e), within);
            }
        }
        for (std::int32_t firstRow : {0, 1, 4, 8, 9}) {
            TestImage single(C3, type, 9, 3);
            CoreCall call = WholeImageCall(source, single, 1.0, 0.05, InterpCubic);
            call.regionY = firstRow;
            call.regionHeight = 10 - firstRow;
            ASSERT_EQ(RunCore(call), StatusOk);
            for (std::int32_t x = 0; x < 9; ++x) {
                for (int e = 0; e < 3; ++e) {
                    EXPECT_NEAR(single.Get(x, 0, e), source.Get(x, firstRow, e), within)
                        << "region from row " << firstRow;
                    EXPECT_EQ(single.Get(x, 1, e), 0xCDCD & (type == Type8u ? 0xFF : 0xFFFF));
                }
            }
        }
    }
}

// A step from 0 to 255 rings on both sides: 8-bit results are clamped, float ones kept.
TEST(CubicEdges, SharpEdgeOvershootIsClampedForIntegersAndKeptForFloats) {
    for (std::int32_t type : {Type8u, Type32f}) {
        TestImage source(C1, type, 8, 4);
        for (std::int32_t y = 0; y < 4; ++y) {
            for (std::int32_t x = 0; x < 8; ++x) {
                source.Set(x, y, 0, x < 4 ? 0 : 255);
            }
        }
        TestImage destination(C1, type, 29, 4);
        ASSERT_EQ(RunCore(WholeImageCall(source, destination, 3.7, 1.0, InterpCubic)), StatusOk);
        double lowest = 0;
        double highest = 0;
        for (std::int32_t x = 0; x < 29; ++x) {
            lowest = std::min(lowest, destination.Get(x, 1, 0));
            highest = std::max(highest, destination.Get(x, 1, 0));
        }
        if (type == Type8u) {
            EXPECT_EQ(lowest, 0);
            EXPECT_EQ(highest, 255);
        } else {
            EXPECT_LT(lowest, -1.0);
            EXPECT_GT(highest, 256.0);
        }
    }
}

}  // namespace
