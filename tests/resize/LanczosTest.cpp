// Lanczos interpolation: the table, the weights, and edge replication at the image's borders.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ResizeTestSupport.h"
#include "resize/generic/LanczosTable.h"

using namespace resize;
using namespace resize_test;

namespace {

double LanczosKernel(double x) {
    if (x == 0.0) {
        return 1.0;
    }
    const double pi = std::acos(-1.0);
    return std::sin(pi * x) / (pi * x) * (std::sin(pi * x / 3.0) / (pi * x / 3.0));
}

TEST(LanczosTable, HoldsTheKernelEveryHundredthWithExactZeros) {
    for (int k = 0; k < 300; ++k) {
        EXPECT_NEAR(LanczosTable[k], LanczosKernel(k / 100.0), 1e-7) << "entry " << k;
    }
    const struct {
        int entry;
        double value;
    } samples[] = {{0, 1.0},          {1, 0.99981719},    {50, 0.60792708},  {99, 0.00838497},
                   {101, -0.00815418}, {150, -0.13509491}, {250, 0.024317089}, {299, 0.00001118}};
    for (const auto& s : samples) {
        EXPECT_NEAR(LanczosTable[s.entry], s.value, 1e-7) << "entry " << s.entry;
    }
    // Rows held as stored, not as the nearest single: worked results depend on their last bits.
    const std::pair<int, float> stored[] = {{25, 0.890067041f},   {50, 0.607927084f},    {75, 0.270189792f},
                                            {125, -0.132871017f}, {150, -0.135094911f},  {175, -0.0677913502f},
                                            {225, 0.0300210901f}, {250, 0.0243170895f},  {275, 0.00735592004f}};
    for (const auto& [entry, value] : stored) {
        EXPECT_EQ(LanczosTable[entry], value) << "entry " << entry;
    }
    EXPECT_EQ(LanczosTable[0], 1.0f);
    for (int zero : {100, 200, 300, 301, 302, 303}) {
        EXPECT_EQ(LanczosTable[zero], 0.0f) << "entry " << zero;
    }
    EXPECT_TRUE(std::signbit(LanczosTable[100]));
}

std::vector<float> WeightsOf(float fraction) {
    std::vector<float> weights(6);
    generic::LanczosWeights(&fraction, 1, weights.data());
    return weights;
}

TEST(LanczosWeights, WorkedValues) {
    const struct {
        float fraction;
        double weights[6];
        double sum;
    } cases[] = {
        {0.0f, {0, 0, 1, 0, 0, 0}, 1.0},
        {0.5f, {0.0243171, -0.1350949, 0.6079271, 0.6079271, -0.1350949, 0.0243171}, 0.9942985},
        {0.25f, {0.0300211, -0.1328710, 0.8900670, 0.2701898, -0.0677914, 0.0073559}, 0.9969715},
    };
    for (const auto& c : cases) {
        const std::vector<float> w = WeightsOf(c.fraction);
        double sum = 0;
        for (int j = 0; j < 6; ++j) {
            EXPECT_NEAR(w[j], c.weights[j], 1e-7) << "fraction " << c.fraction << " tap " << j;
            sum += w[j];
        }
        EXPECT_NEAR(sum, c.sum, 1e-7);
    }
}

TEST(LanczosWeights, FractionAHairBelowZeroLeavesTheLastTapOutside) {
    const std::vector<float> w = WeightsOf(-1e-8f);
    EXPECT_EQ(w[5], 0.0f);  // distance just over 3
    EXPECT_NEAR(w[2], 1.0, 1e-6);
}

TEST(LanczosWeights, NothingIsWrittenForAnEmptyCount) {
    float fraction = 0.5f;
    float weights[6] = {7, 7, 7, 7, 7, 7};
    generic::LanczosWeights(&fraction, 0, weights);
    EXPECT_EQ(weights[0], 7.0f);
}

// The weights sum to 0.9942985 at a half: a flat 200 becomes 198 (truncated), 200 at fraction 0.
TEST(LanczosResize, FlatImageAtAHalfColumnGives198) {
    TestImage source(C3, Type8u, 12, 12);
    source.FillWith(200);
    TestImage destination(C3, Type8u, 23, 12);
    CoreCall call = WholeImageCall(source, destination, 0.5, 1.0, InterpLanczos);
    call.clipMode = 0;  // steps: half a column across, one row down
    ASSERT_EQ(RunCore(call), StatusOk);
    for (std::int32_t x : {0, 1, 10, 11, 22}) {
        EXPECT_EQ(destination.Get(x, 5, 1), x % 2 == 0 ? 200 : 198) << "column " << x;
    }
}

// Rows with the same base and fraction come out the same whether the call enlarges (the base
// moves one row at a time) or reduces (it jumps); here near the image's bottom, where the lower
// taps repeat the last row.
TEST(LanczosResize, EnlargingAndReducingGiveTheSameRowsNearTheBottom) {
    std::mt19937 random(41);
    for (std::int32_t type : AllTypes) {
        TestImage source(C4, type, 10, 10);
        source.FillRandom(random);
        TestImage enlarged(C4, type, 10, 40);
        TestImage reduced(C4, type, 10, 10);
        CoreCall up = WholeImageCall(source, enlarged, 1.0, 0.5, InterpLanczos);
        CoreCall down = WholeImageCall(source, reduced, 1.0, 1.5, InterpLanczos);
        up.clipMode = down.clipMode = 0;
        ASSERT_EQ(RunCore(up), StatusOk);
        ASSERT_EQ(RunCore(down), StatusOk);
        // coordinate 4.5: up row 9, down row 3; 7.5: up row 15, down row 5
        for (auto [upRow, downRow] : {std::pair{9, 3}, std::pair{15, 5}}) {
            for (std::int32_t x = 0; x < 10; ++x) {
                for (int e = 0; e < 4; ++e) {
                    EXPECT_EQ(enlarged.Get(x, upRow, e), reduced.Get(x, downRow, e));
                }
            }
        }
    }
}

// Regions that start or end at or next to the image's edges, where taps repeat the edge pixel
// (Lanczos) or the stencil shifts (cubic), against the per-pixel reference.
struct EdgeRegion {
    const char* name;
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

const EdgeRegion EdgeRegions[] = {
    {"WholeImage", 0, 0, 14, 11},       {"FromColumnAndRowOne", 1, 1, 9, 7},
    {"FromColumnAndRowTwo", 2, 2, 9, 7}, {"InsideTheImage", 3, 3, 6, 4},
    {"OnTheLastRow", 4, 10, 7, 1},       {"OnTheSecondLastRows", 0, 9, 14, 2},
    {"OnTheLastColumns", 12, 0, 2, 11},  {"ThirdLastRowOnwards", 5, 8, 9, 3},
};

class EdgeRegionsMatchTheReference : public ::testing::TestWithParam<EdgeRegion> {};

TEST_P(EdgeRegionsMatchTheReference, ForCubicAndLanczosEnlargingAndReducing) {
    const EdgeRegion& r = GetParam();
    std::mt19937 random(43);
    for (std::int32_t code : {InterpCubic, InterpLanczos}) {
        for (std::int32_t type : AllTypes) {
            for (double scale : {2.6, 0.45}) {
                TestImage source(AC4, type, 14, 11);
                source.FillRandom(random);
                TestImage destination(AC4, type, 40, 30);
                TestImage expected(AC4, type, 40, 30);
                CoreCall call = WholeImageCall(source, destination, scale, scale, code);
                call.regionX = r.x;
                call.regionY = r.y;
                call.regionWidth = r.width;
                call.regionHeight = r.height;
                ASSERT_EQ(RunCore(call), StatusOk);
                call.destinationImage = expected.EngineDestination();
                ReferenceResize(call);
                EXPECT_TRUE(AgreeWithin(destination.Contents(), expected.Contents(), type,
                                        BuildAgreement(code, type), LargestMagnitude(source)))
                    << Describe(call);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EdgeRegionsMatchTheReference, ::testing::ValuesIn(EdgeRegions),
                         [](const auto& info) { return std::string(info.param.name); });

// The first columns are computed as if the image went on to the left with copies of its first
// column.
TEST(LanczosResize, TapsLeftOfTheImageRepeatItsFirstColumn) {
    TestImage source(C1, Type32f, 8, 8);
    TestImage widened(C1, Type32f, 12, 8);
    std::mt19937 random(47);
    source.FillRandom(random);
    for (std::int32_t y = 0; y < 8; ++y) {
        for (std::int32_t x = 0; x < 12; ++x) {
            widened.Set(x, y, 0, source.Get(std::max(0, x - 4), y, 0));
        }
    }
    TestImage fromSource(C1, Type32f, 8, 8);
    TestImage fromWidened(C1, Type32f, 8, 8);
    CoreCall a = WholeImageCall(source, fromSource, 0.5, 1.0, InterpLanczos);
    CoreCall b = WholeImageCall(widened, fromWidened, 0.5, 1.0, InterpLanczos);
    a.clipMode = b.clipMode = 0;
    a.regionWidth = 3;  // keep away from the right edge
    b.regionX = 4;
    b.regionWidth = 3;
    ASSERT_EQ(RunCore(a), StatusOk);
    ASSERT_EQ(RunCore(b), StatusOk);
    EXPECT_EQ(fromSource.Contents(), fromWidened.Contents());
}

}  // namespace
