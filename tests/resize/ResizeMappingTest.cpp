// Coordinates, source indices and weights of the mapping, on the worked values.

#include <gtest/gtest.h>

#include <vector>

#include "resize/frame/ResizeGeometry.h"
#include "resize/frame/ResizeMapping.h"

using namespace resize::frame;

namespace {

std::vector<double> CoordinatesOf(const AxisPlan& plan) {
    std::vector<double> c;
    ForEachCoordinate(plan, [&](std::int32_t, double x) { c.push_back(x); });
    return c;
}

std::vector<std::ptrdiff_t> NearestIndices(const AxisPlan& plan, const AxisEdges& edges) {
    std::vector<std::ptrdiff_t> offsets(plan.length);
    MapNearestAxis(plan, edges, 1, offsets.data());
    return offsets;
}

TEST(ResizeMapping, NearestMagnificationByTwoTakesEachSourcePixelTwice) {
    const AxisPlan plan = PlanAxis(ResizeMethod::Nearest, 1, 2.0, 0.0, 3, 100);
    EXPECT_EQ(plan.length, 6);
    EXPECT_EQ(CoordinatesOf(plan), (std::vector<double>{0.25, 0.75, 1.25, 1.75, 2.25, 2.75}));
    EXPECT_EQ(NearestIndices(plan, {0, 3, 3}), (std::vector<std::ptrdiff_t>{0, 0, 1, 1, 2, 2}));
}

TEST(ResizeMapping, NearestHalvingOfFiveTakesColumnsOneAndThree) {
    const AxisPlan plan = PlanAxis(ResizeMethod::Nearest, 1, 0.5, 0.0, 5, 100);
    EXPECT_EQ(plan.length, 2);  // trunc(2.5 + 1e-7)
    EXPECT_EQ(CoordinatesOf(plan), (std::vector<double>{1.0, 3.0}));
    EXPECT_EQ(NearestIndices(plan, {0, 5, 5}), (std::vector<std::ptrdiff_t>{1, 3}));
}

TEST(ResizeMapping, EpsilonKeepsAProductJustBelowAWholeNumber) {
    ASSERT_LT(0.7 * 90, 63.0);
    EXPECT_EQ(PlanAxis(ResizeMethod::Linear, 1, 0.7, 0.0, 90, 1000).length, 63);
    EXPECT_EQ(PlanAxis(ResizeMethod::Nearest, 1, 0.7, 0.0, 90, 1000).length, 63);
}

TEST(ResizeMapping, DestinationLengthIsAtLeastOneAndAtMostWhatIsAvailable) {
    EXPECT_EQ(PlanAxis(ResizeMethod::Linear, 1, 0.01, 0.0, 10, 50).length, 1);
    EXPECT_EQ(PlanAxis(ResizeMethod::Linear, 1, 3.0, 0.0, 10, 25).length, 25);
}

TEST(ResizeMapping, LinearDoublingOfThreeColumnsAtTheImageEdge) {
    const AxisPlan plan = PlanAxis(ResizeMethod::Linear, 1, 2.0, 0.0, 3, 100);
    ASSERT_EQ(plan.length, 6);
    const std::vector<double> x = CoordinatesOf(plan);
    const double expected[] = {0.0, 0.4, 0.8, 1.2, 1.6, 2.0};
    for (int k = 0; k < 6; ++k) {
        EXPECT_NEAR(x[k], expected[k], 1e-12);
    }
    // The region (3 columns) ends on the image's last column: column 2 becomes 1 with all
    // weight on column 2. Offsets carry the C3 pixel stride.
    std::vector<std::ptrdiff_t> offsets(6);
    std::vector<std::uint16_t> pairs(12);
    MapLinearAxis(plan, {7, 10, 3}, 3, offsets.data(), pairs.data(), 2);
    EXPECT_EQ(offsets, (std::vector<std::ptrdiff_t>{0, 0, 0, 3, 3, 3}));
    EXPECT_EQ(pairs[0], 16384);
    EXPECT_EQ(pairs[1], 0);
    EXPECT_EQ(pairs[10], 0);
    EXPECT_EQ(pairs[11], 16384);
    for (int k = 1; k < 5; ++k) {
        const std::uint16_t a = static_cast<std::uint16_t>((x[k] - offsets[k] / 3) * 16384.0 + 1e-7);
        EXPECT_EQ(pairs[2 * k + 1], a);
        EXPECT_EQ(pairs[2 * k], 16384 - a);
    }
}

TEST(ResizeMapping, LinearWithAtMostOneDestinationPixelTakesTheFirstSourcePixel) {
    const AxisPlan plan = PlanAxis(ResizeMethod::Linear, 1, 0.2, 0.0, 5, 100);
    EXPECT_EQ(plan.step, 0.0);
    EXPECT_EQ(plan.length, 1);
    EXPECT_EQ(CoordinatesOf(plan), std::vector<double>{0.0});
}

TEST(ResizeMapping, LinearFactorOneAcrossTheWholeImage) {
    const AxisPlan plan = PlanAxis(ResizeMethod::Linear, 1, 1.0, 0.0, 5, 5);
    std::vector<std::ptrdiff_t> offsets(5);
    std::vector<std::uint16_t> pairs(10);
    MapLinearAxis(plan, {0, 5, 5}, 1, offsets.data(), pairs.data(), 2);
    EXPECT_EQ(offsets, (std::vector<std::ptrdiff_t>{0, 1, 2, 3, 3}));
    EXPECT_EQ(pairs, (std::vector<std::uint16_t>{16384, 0, 16384, 0, 16384, 0, 16384, 0, 0, 16384}));
}

TEST(ResizeMapping, LinearHeightDoublingOfFourRows) {
    const AxisPlan plan = PlanAxis(ResizeMethod::Linear, 1, 2.0, 0.0, 4, 100);
    ASSERT_EQ(plan.length, 8);
    const std::vector<double> y = CoordinatesOf(plan);
    for (int i = 0; i < 7; ++i) {
        EXPECT_NEAR(y[i], 3.0 * i / 7.0, 1e-12);  // 0, 0.428..., 0.857..., 1.285..., ...
    }
    EXPECT_EQ(y[7], 2.9999999999999996);  // accumulated, not 7 x 3/7
    std::vector<std::ptrdiff_t> offsets(8);
    std::vector<std::uint16_t> weights(8);
    MapLinearAxis(plan, {0, 4, 4}, 100, offsets.data(), weights.data(), 1);
    EXPECT_EQ(offsets, (std::vector<std::ptrdiff_t>{0, 0, 0, 100, 100, 200, 200, 200}));
    EXPECT_EQ(weights[0], 0);
    EXPECT_EQ(weights[7], 16384);  // n = 3 thanks to the epsilon, then the last-row rule
    for (int i = 1; i < 7; ++i) {
        EXPECT_EQ(weights[i], static_cast<std::uint16_t>((y[i] - offsets[i] / 100) * 16384.0 + 1e-7));
    }
}

TEST(ResizeMapping, LinearSampleOnTheRegionsLastColumnInsideTheImageKeepsItsNeighbourAtWeightZero) {
    const AxisPlan plan = PlanAxis(ResizeMethod::Linear, 1, 1.0, 0.0, 4, 4);
    std::vector<std::ptrdiff_t> offsets(4);
    std::vector<float> shares(4);
    MapLinearAxis(plan, {2, 10, 4}, 1, offsets.data(), shares.data());
    EXPECT_EQ(offsets.back(), 3);  // pairs with column 4, just right of the region
    EXPECT_EQ(shares.back(), 0.0f);
}

TEST(ResizeMapping, StepModeUsesTheFactorsAsSourceSteps) {
    const AxisPlan nearest = PlanAxis(ResizeMethod::Nearest, 0, 2.0, 0.0, 10, 100);
    EXPECT_EQ(nearest.length, 5);
    EXPECT_EQ(CoordinatesOf(nearest).front(), 1.0);
    const AxisPlan linear = PlanAxis(ResizeMethod::Linear, 0, 2.0, 0.0, 10, 100);
    EXPECT_EQ(linear.length, 5);  // trunc(9 / 2) + 1
    EXPECT_EQ(linear.step, 2.0);
    EXPECT_EQ(PlanAxis(ResizeMethod::Linear, 0, 2.0, 0.0, 10, 5).length, 5);  // not below available - 1
}

TEST(ResizeMapping, ShiftedOrDriftedCoordinatesNameAPixelThatExists) {
    const AxisPlan left = PlanAxis(ResizeMethod::Nearest, 1, 1.0, -7.5, 4, 4);
    const AxisPlan right = PlanAxis(ResizeMethod::Nearest, 1, 1.0, 100.0, 4, 4);
    EXPECT_EQ(NearestIndices(left, {0, 4, 4}), (std::vector<std::ptrdiff_t>{0, 0, 0, 0}));
    EXPECT_EQ(NearestIndices(right, {0, 4, 4}), (std::vector<std::ptrdiff_t>{3, 3, 3, 3}));
}

TEST(ResizeMapping, WorkedExamplesOfTheFrame) {
    // 0.29 x 100 falls just short of 29; the epsilon lifts it.
    EXPECT_EQ(ClipDestinationLength(1000, 0.29, 100), 29);
    // Linear x2 of 4 columns: positions k x 3/7; column 3 takes column 1 with {11703, 4681},
    // column 7 (the last column) column 2 with {0, 16384}.
    const AxisPlan linear = PlanAxis(ResizeMethod::Linear, 1, 2.0, 0.0, 4, 100);
    ASSERT_EQ(linear.length, 8);
    std::vector<std::ptrdiff_t> offsets(8);
    std::vector<std::uint16_t> pairs(16);
    MapLinearAxis(linear, {0, 4, 4}, 1, offsets.data(), pairs.data(), 2);
    EXPECT_EQ(offsets[3], 1);
    EXPECT_EQ(pairs[6], 11703);
    EXPECT_EQ(pairs[7], 4681);
    EXPECT_EQ(offsets[7], 2);
    EXPECT_EQ(pairs[14], 0);
    EXPECT_EQ(pairs[15], 16384);
    // Cubic x1.5 of 6 columns.
    const AxisPlan cubic = PlanAxis(ResizeMethod::Cubic, 1, 1.5, 0.0, 6, 100);
    ASSERT_EQ(cubic.length, 9);
    std::vector<std::ptrdiff_t> bases(9);
    std::vector<float> fractions(9);
    MapCubicAxis(cubic, {0, 6, 6}, 1, bases.data(), fractions.data());
    EXPECT_EQ(bases, (std::vector<std::ptrdiff_t>{1, 1, 1, 1, 2, 3, 3, 3, 3}));
    EXPECT_EQ(fractions, (std::vector<float>{-1.0f, -0.375f, 0.25f, 0.875f, 0.5f, 0.125f, 0.75f, 1.375f, 2.0f}));
}

}  // namespace
