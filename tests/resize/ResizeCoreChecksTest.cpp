// The core's argument checks, clips, small-source rules and failure paths.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "ResizeTestSupport.h"
#include "BuildKernelSets.h"

using namespace resize;
using namespace resize_test;

namespace {

// A valid 8u C3 call of a 10x8 source into a 20x16 destination, to be broken field by field.
struct CheckFixture {
    TestImage source{C3, Type8u, 10, 8};
    TestImage destination{C3, Type8u, 20, 16};
    CoreCall call = WholeImageCall(source, destination, 2.0, 2.0, InterpLinear);
};

// Each row also breaks every later check, so its status shows which check comes first.
const CheckCase CheckOrder[] = {
    {"ValidCallSucceeds", [](CoreCall&) {}, StatusOk},
    {"NullSourceFirst", [](CoreCall& c) { c.sourceImage = nullptr; c.sourceWidth = 0; c.sourceStep = 0; c.scaleX = 0; c.interpolationCode = 3; }, StatusNullPointer},
    {"NullDestination", [](CoreCall& c) { c.destinationImage = nullptr; c.sourceHeight = -1; }, StatusNullPointer},
    {"SourceWidthBeforeSteps", [](CoreCall& c) { c.sourceWidth = 0; c.sourceStep = 0; c.regionX = -1; }, StatusBadSize},
    {"SourceHeight", [](CoreCall& c) { c.sourceHeight = -3; c.destinationStep = 0; }, StatusBadSize},
    {"SourceStepBeforeRegion", [](CoreCall& c) { c.sourceStep = 0; c.regionWidth = 0; }, StatusBadStep},
    {"DestinationStep", [](CoreCall& c) { c.destinationStep = -5; c.regionY = -1; }, StatusBadStep},
    {"NegativeRegionOriginBeforeOutside", [](CoreCall& c) { c.regionX = -1; c.regionY = 100; }, StatusBadSize},
    {"EmptyRegion", [](CoreCall& c) { c.regionHeight = 0; c.regionX = 100; }, StatusBadSize},
    {"RegionRightOfSourceBeforeDestinationSize", [](CoreCall& c) { c.regionX = 10; c.destinationWidth = 0; }, StatusOutsideSource},
    {"RegionBelowSource", [](CoreCall& c) { c.regionY = 8; c.scaleY = -1; }, StatusOutsideSource},
    {"DestinationSizeBeforeFactor", [](CoreCall& c) { c.destinationHeight = 0; c.scaleX = 0; }, StatusBadSize},
    {"ZeroFactorBeforeInterpolation", [](CoreCall& c) { c.scaleX = 0.0; c.interpolationCode = 3; }, StatusBadFactor},
    {"NaNFactor", [](CoreCall& c) { c.scaleY = std::nan(""); }, StatusBadFactor},
    {"NegativeFactor", [](CoreCall& c) { c.scaleY = -2.0; }, StatusBadFactor},
    {"UnknownInterpolation", [](CoreCall& c) { c.interpolationCode = 3; }, StatusBadInterpolation},
    {"SuperSampleReachingTheCore", [](CoreCall& c) { c.interpolationCode = InterpSuperSample; c.scaleX = c.scaleY = 0.5; }, StatusBadInterpolation},
    // Engine parameters outside the layouts the engine addresses are refused after the checks.
    {"TwoChannels", [](CoreCall& c) { c.channelCount = 2; c.pixelStride = 2; }, StatusBadSize},
    {"OneChannelWithAPixelStride", [](CoreCall& c) { c.channelCount = 1; c.pixelStride = 3; }, StatusBadSize},
    {"FourChannelsAtStrideThree", [](CoreCall& c) { c.channelCount = 4; c.pixelStride = 3; }, StatusBadSize},
    {"UnknownElementType", [](CoreCall& c) { c.elementType = 3; }, StatusBadSize},
    {"UnknownClipMode", [](CoreCall& c) { c.clipMode = 2; }, StatusBadSize},
};

class ResizeCoreCheckOrder : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ResizeCoreCheckOrder, FirstFailingCheckDecidesAndNothingIsWritten) {
    CheckFixture f;
    const std::vector<std::uint8_t> before = f.destination.Contents();
    GetParam().change(f.call);
    EXPECT_EQ(RunCore(f.call), GetParam().expected);
    if (GetParam().expected != StatusOk) {
        EXPECT_EQ(f.destination.Contents(), before);
    }
    EXPECT_TRUE(f.destination.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Table, ResizeCoreCheckOrder, ::testing::ValuesIn(CheckOrder),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ResizeCoreChecks, NullPlanePointerOfPlanarDataIsANullPointer) {
    TestImage source(Planar3, Type8u, 6, 6);
    TestImage destination(Planar3, Type8u, 6, 6);
    const void* planes[3] = {source.Element(0, 0, 0), nullptr, source.Element(0, 0, 2)};
    CoreCall call = WholeImageCall(source, destination, 1.0, 1.0, InterpNearest);
    call.sourceImage = planes;
    EXPECT_EQ(RunCore(call), StatusNullPointer);
}

// Output of `code` equals the output of `asIf` on the same call.
void ExpectSameOutput(std::int32_t width, std::int32_t height, std::int32_t code, std::int32_t asIf) {
    std::mt19937 random(11);
    TestImage source(C3, Type8u, width, height);
    source.FillRandom(random);
    TestImage asked(C3, Type8u, 3 * width, 3 * height);
    TestImage expected(C3, Type8u, 3 * width, 3 * height);
    ASSERT_EQ(RunCore(WholeImageCall(source, asked, 2.5, 3.0, code)), StatusOk);
    ASSERT_EQ(RunCore(WholeImageCall(source, expected, 2.5, 3.0, asIf)), StatusOk);
    EXPECT_EQ(asked.Contents(), expected.Contents()) << width << "x" << height << " code " << code;
}

TEST(ResizeCoreSmallSources, OnePixelWideOrHighTurnsEveryMethodIntoNearest) {
    for (std::int32_t code : {InterpLinear, InterpCubic, InterpLanczos}) {
        ExpectSameOutput(1, 7, code, InterpNearest);
        ExpectSameOutput(9, 1, code, InterpNearest);
    }
}

TEST(ResizeCoreSmallSources, FiveByFiveTurnsLanczosIntoCubic) {
    ExpectSameOutput(5, 5, InterpLanczos, InterpCubic);
    ExpectSameOutput(12, 4, InterpLanczos, InterpCubic);
}

TEST(ResizeCoreSmallSources, ThreePixelsTurnCubicAndLanczosIntoLinear) {
    ExpectSameOutput(3, 3, InterpCubic, InterpLinear);
    ExpectSameOutput(3, 3, InterpLanczos, InterpLinear);
    ExpectSameOutput(8, 3, InterpCubic, InterpLinear);
}

// At each threshold the method is kept: 6 x 6 is enough for Lanczos, 4 x 4 for cubic, 2 x 2 for
// linear, and each still differs from the method one step down.
struct ThresholdCase {
    std::int32_t width;
    std::int32_t height;
    std::int32_t code;
    std::int32_t differsFrom;
};

TEST(ResizeCoreSmallSources, SourcesAtTheThresholdsKeepTheirMethod) {
    const ThresholdCase cases[] = {
        {6, 6, InterpLanczos, InterpCubic},
        {4, 4, InterpCubic, InterpLinear},
        {2, 2, InterpLinear, InterpNearest},
        {6, 4, InterpCubic, InterpLinear},  // Lanczos would be cubic here; cubic stays
    };
    for (const ThresholdCase& c : cases) {
        std::mt19937 random(13);
        TestImage source(C3, Type8u, c.width, c.height);
        source.FillRandom(random);
        TestImage asked(C3, Type8u, 3 * c.width, 3 * c.height);
        TestImage expected(C3, Type8u, 3 * c.width, 3 * c.height);
        TestImage lower(C3, Type8u, 3 * c.width, 3 * c.height);
        ASSERT_EQ(RunCore(WholeImageCall(source, asked, 2.5, 3.0, c.code)), StatusOk);
        ReferenceResize(WholeImageCall(source, expected, 2.5, 3.0, c.code));
        ASSERT_EQ(RunCore(WholeImageCall(source, lower, 2.5, 3.0, c.differsFrom)), StatusOk);
        EXPECT_TRUE(AgreeWithin(asked.Contents(), expected.Contents(), Type8u, BuildAgreement(c.code, Type8u), 0.0))
            << c.width << "x" << c.height << " code " << c.code;
        EXPECT_NE(asked.Contents(), lower.Contents()) << c.width << "x" << c.height << " code " << c.code;
    }
}

TEST(ResizeCoreClip, RegionPastTheRightEdgeIsCutToTheSource) {
    std::mt19937 random(3);
    TestImage source(C3, Type8u, 6, 4);
    source.FillRandom(random);
    TestImage destination(C3, Type8u, 10, 4);
    CoreCall call = WholeImageCall(source, destination, 1.0, 1.0, InterpNearest);
    call.regionX = 5;  // the last column
    call.regionWidth = 10;
    ASSERT_EQ(RunCore(call), StatusOk);
    for (std::int32_t y = 0; y < 4; ++y) {
        for (int e = 0; e < 3; ++e) {
            EXPECT_EQ(destination.Get(0, y, e), source.Get(5, y, e));
            EXPECT_EQ(destination.Get(1, y, e), 0xCD) << "only one column is written";
        }
    }
}

TEST(ResizeCoreClip, RegionStartingAtTheSourceWidthIsOutsideEvenWithAnEmptyDestination) {
    CheckFixture f;
    f.call.regionX = f.call.sourceWidth;
    f.call.destinationWidth = 0;
    EXPECT_EQ(RunCore(f.call), StatusOutsideSource);
}

TEST(ResizeCoreClip, DestinationLargerThanTheScaledRegionKeepsItsRemainder) {
    std::mt19937 random(5);
    for (std::int32_t code : BuiltMethods) {
        TestImage source(AC4, Type16u, 8, 8);
        source.FillRandom(random);
        TestImage destination(AC4, Type16u, 30, 30);
        TestImage expected(AC4, Type16u, 30, 30);
        const CoreCall call = WholeImageCall(source, destination, 1.5, 2.25, code);
        ASSERT_EQ(RunCore(call), StatusOk);
        ReferenceResize(WholeImageCall(source, expected, 1.5, 2.25, code));
        EXPECT_TRUE(AgreeWithin(destination.Contents(), expected.Contents(), Type16u, BuildAgreement(code, Type16u), 0.0));
        EXPECT_EQ(destination.Get(12, 0, 0), 0xCDCD);  // 1.5 x 8 = 12 columns written
        EXPECT_EQ(destination.Get(0, 18, 0), 0xCDCD);  // 2.25 x 8 = 18 rows written
        EXPECT_TRUE(destination.GuardsIntact());
    }
}

// Factors that pass the check however large or small: nothing undefined (the sanitizer build
// checks every conversion), nothing outside the source, and a sensible block.
TEST(ResizeCoreFactors, ExtremeFactorsStayWithinTheSourceAndTheDestination) {
    const double factors[] = {std::numeric_limits<double>::infinity(), DBL_MAX, 1e300, 3e6,
                              DBL_MIN, 4.9e-324, 1e-300, 0.01};
    std::mt19937 random(9);
    for (std::int32_t code : BuiltMethods) {
        for (double scaleX : factors) {
            for (double scaleY : {1.0, factors[0], factors[5]}) {
                TestImage source(C3, Type8u, 9, 7);
                source.FillRandom(random);
                TestImage destination(C3, Type8u, 13, 11);
                TestImage expected(C3, Type8u, 13, 11);
                CoreCall call = WholeImageCall(source, destination, scaleX, scaleY, code);
                call.regionX = 6;  // a region on the source's bottom-right corner
                call.regionY = 4;
                call.regionWidth = call.regionHeight = 3;
                ASSERT_EQ(RunCore(call), StatusOk) << Describe(call);
                call.destinationImage = expected.EngineDestination();
                ReferenceResize(call);
                EXPECT_TRUE(AgreeWithin(destination.Contents(), expected.Contents(), Type8u,
                                        BuildAgreement(code, Type8u), 0.0))
                    << Describe(call);
                EXPECT_TRUE(destination.GuardsIntact());
            }
        }
    }
}

TEST(ResizeCoreFactors, ForcedSingleNearestPixelTakesTheRegionsLastPixel) {
    TestImage source(C1, Type8u, 5, 5);
    for (std::int32_t x = 0; x < 5; ++x) {
        for (std::int32_t y = 0; y < 5; ++y) {
            source.Set(x, y, 0, 10 * y + x);
        }
    }
    TestImage destination(C1, Type8u, 4, 4);
    CoreCall call = WholeImageCall(source, destination, 0.1, 0.1, InterpNearest);
    call.regionX = call.regionY = 1;
    call.regionWidth = call.regionHeight = 3;
    ASSERT_EQ(RunCore(call), StatusOk);
    EXPECT_EQ(destination.Get(0, 0, 0), 33);  // centre 15 pixels in; clamped to column and row 3
    EXPECT_EQ(destination.Get(1, 0, 0), 0xCD);
    EXPECT_EQ(destination.Get(0, 1, 0), 0xCD);
}

// Every build's own allocators.
template <class K>
class AlignedAllocator : public ::testing::Test {};
TYPED_TEST_SUITE(AlignedAllocator, AllKernelSets);

TYPED_TEST(AlignedAllocator, BlocksAreAlignedAndBadCountsGiveNullAndTheRefusalHookReachesThem) {
    using K = TypeParam;
    for (std::int64_t count : {1, 3, 31, 32, 1000}) {
        std::uint8_t* a = K::AlignedAlloc_8u(count);
        std::uint16_t* b = K::AlignedAlloc_16u(count);
        std::int32_t* c = K::AlignedAlloc_32s(count);
        float* d = K::AlignedAlloc_32f(count);
        for (void* p : {static_cast<void*>(a), static_cast<void*>(b), static_cast<void*>(c), static_cast<void*>(d)}) {
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 32, 0u);
        }
        a[count - 1] = 1;
        d[count - 1] = 1.0f;  // the whole count is usable
        K::AlignedFree(a);
        K::AlignedFree(b);
        K::AlignedFree(c);
        K::AlignedFree(d);
    }
    EXPECT_EQ(K::AlignedAlloc_8u(0), nullptr);
    EXPECT_EQ(K::AlignedAlloc_32f(-5), nullptr);
    EXPECT_EQ(K::AlignedAllocBytes(std::numeric_limits<std::int64_t>::max(), 4), nullptr);
    K::AlignedFree(nullptr);
    resize::testing::RefuseAllocation(2);
    std::uint8_t* first = K::AlignedAlloc_8u(8);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(K::AlignedAlloc_16u(8), nullptr);
    resize::testing::StopRefusingAllocations();
    K::AlignedFree(first);
}

}  // namespace
