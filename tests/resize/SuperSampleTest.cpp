// Super-sampling: worked values and statuses through the entry, uniform and bright images, wide
// sums, and the order of the argument checks.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#include "AreaReference.h"
#include "ResizeTestSupport.h"
#include "resize/ImageResize.h"

using namespace resize;
using namespace resize_test;

namespace {

constexpr std::uint8_t Untouched = 0xCD;  // what TestImage holds before a call

ResizeStatus SuperSampleThroughEntry(TestImage& source, ResizeRect region, TestImage& destination,
                                     double scaleX, double scaleY) {
    return BuildUnderTest().entry(source.Element(0, 0, 0), {source.Width(), source.Height()},
                                  source.Step(), region, destination.Element(0, 0, 0),
                                  destination.Step(), {destination.Width(), destination.Height()},
                                  scaleX, scaleY, InterpSuperSample);
}

// Sets every element of a C3 pixel.
void SetPixel(TestImage& image, std::int32_t x, std::int32_t y, double value) {
    for (int e = 0; e < 3; ++e) {
        image.Set(x, y, e, value);
    }
}

// Every element of every destination pixel against expected(x, y, element); Untouched where
// nothing may be written.
void ExpectElements(TestImage& destination, const std::function<double(std::int32_t, std::int32_t, int)>& expected) {
    for (std::int32_t y = 0; y < destination.Height(); ++y) {
        for (std::int32_t x = 0; x < destination.Width(); ++x) {
            for (int e = 0; e < 3; ++e) {
                EXPECT_EQ(destination.Get(x, y, e), expected(x, y, e)) << "pixel " << x << "," << y;
            }
        }
    }
    EXPECT_TRUE(destination.GuardsIntact());
}

TEST(SuperSampleEntry, FactorsOfOneCopyTheRegion) {
    std::mt19937 random(1);
    TestImage source(C3, Type8u, 9, 7);
    source.FillRandom(random);
    TestImage destination(C3, Type8u, 8, 6);
    ASSERT_EQ(SuperSampleThroughEntry(source, {2, 1, 5, 4}, destination, 1.0, 1.0), StatusOk);
    ExpectElements(destination, [&](std::int32_t x, std::int32_t y, int e) {
        return x < 5 && y < 4 ? source.Get(2 + x, 1 + y, e) : Untouched;
    });
}

TEST(SuperSampleEntry, HalvingAveragesTwoByTwoBlocksWithHalvesRoundedUp) {
    // Blocks 1, 2 / 2, 2 (average 1.75) and 1, 1 / 2, 2 (average 1.5) both give 2.
    const int rows[2][4] = {{1, 2, 1, 1}, {2, 2, 2, 2}};
    TestImage source(C3, Type8u, 4, 2);
    for (std::int32_t y = 0; y < 2; ++y) {
        for (std::int32_t x = 0; x < 4; ++x) {
            SetPixel(source, x, y, rows[y][x]);
        }
    }
    TestImage destination(C3, Type8u, 2, 1);
    ASSERT_EQ(SuperSampleThroughEntry(source, {0, 0, 4, 2}, destination, 0.5, 0.5), StatusOk);
    ExpectElements(destination, [](std::int32_t, std::int32_t, int) { return 2.0; });
}

TEST(SuperSampleEntry, StepOfTwoAndAHalfSplitsTheMiddleColumnBetweenTwoPixels) {
    TestImage source(C3, Type8u, 5, 1);
    for (std::int32_t x = 0; x < 5; ++x) {
        SetPixel(source, x, 0, 10 * (x + 1));  // 10, 20, 30, 40, 50
    }
    TestImage destination(C3, Type8u, 3, 1);
    ASSERT_EQ(SuperSampleThroughEntry(source, {0, 0, 5, 1}, destination, 0.4, 1.0), StatusOk);
    // (10 + 20 + 0.5 x 30) x 0.4 and (0.5 x 30 + 40 + 50) x 0.4; two columns only.
    ExpectElements(destination, [](std::int32_t x, std::int32_t, int) { return x == 0 ? 18.0 : x == 1 ? 42.0 : Untouched; });
}

TEST(SuperSampleEntry, HalvingANineWideRegionGivesFourColumnsAndLeavesTheNinthOut) {
    TestImage source(C3, Type8u, 9, 2);
    for (std::int32_t x = 0; x < 9; ++x) {
        SetPixel(source, x, 0, 10 * x);
        SetPixel(source, x, 1, 10 * x);
    }
    TestImage destination(C3, Type8u, 5, 2);
    ASSERT_EQ(SuperSampleThroughEntry(source, {0, 0, 9, 2}, destination, 0.5, 1.0), StatusOk);
    // (0 + 10) / 2 + 0.5 truncates to 5, then 25, 45, 65.
    ExpectElements(destination, [](std::int32_t x, std::int32_t, int) { return x < 4 ? 20.0 * x + 5 : Untouched; });
}

TEST(SuperSampleEntry, OneFortyNinthAveragesEachRunOfFortyNineColumns) {
    // 1 / (1 / 49.0) is 49.00000000000001: a fractional step whose slivers must not move the runs.
    TestImage source(C3, Type8u, 245, 1);
    for (std::int32_t x = 0; x < 245; ++x) {
        SetPixel(source, x, 0, (x * 37) % 256);
    }
    TestImage destination(C3, Type8u, 6, 1);
    ASSERT_EQ(SuperSampleThroughEntry(source, {0, 0, 245, 1}, destination, 1.0 / 49.0, 1.0), StatusOk);
    ExpectElements(destination, [](std::int32_t x, std::int32_t, int) {
        if (x == 5) {
            return static_cast<double>(Untouched);
        }
        int sum = 0;
        for (int s = 49 * x; s < 49 * x + 49; ++s) {
            sum += (s * 37) % 256;
        }
        return std::floor(sum / 49.0 + 0.5);
    });
}

TEST(SuperSampleEntry, HalfHeightAveragesEachPairOfRows) {
    std::mt19937 random(2);
    TestImage source(C3, Type8u, 6, 6);
    source.FillRandom(random);
    TestImage destination(C3, Type8u, 6, 3);
    ASSERT_EQ(SuperSampleThroughEntry(source, {0, 0, 6, 6}, destination, 1.0, 0.5), StatusOk);
    ExpectElements(destination, [&](std::int32_t x, std::int32_t y, int e) {
        return std::floor((source.Get(x, 2 * y, e) + source.Get(x, 2 * y + 1, e)) * 0.5 + 0.5);
    });
}

// Statuses of code 8 through the entry; nothing is written.
struct EntryStatusCase {
    const char* name;
    double scaleX;
    double scaleY;
    ResizeRect region;
    ResizeStatus expected;
};

class SuperSampleEntryStatus : public ::testing::TestWithParam<EntryStatusCase> {};

TEST_P(SuperSampleEntryStatus, IsTheCheckedStatusAndNothingIsWritten) {
    const EntryStatusCase& c = GetParam();
    TestImage source(C3, Type8u, 8, 8);
    TestImage destination(C3, Type8u, 8, 8);
    const std::vector<std::uint8_t> before = destination.Contents();
    EXPECT_EQ(SuperSampleThroughEntry(source, c.region, destination, c.scaleX, c.scaleY), c.expected);
    EXPECT_EQ(destination.Contents(), before);
    EXPECT_TRUE(destination.GuardsIntact());
}

constexpr double Infinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, SuperSampleEntryStatus,
    ::testing::Values(
        EntryStatusCase{"ZeroFactor", 0.0, 0.5, {0, 0, 8, 8}, StatusBadFactor},
        EntryStatusCase{"NegativeFactor", 0.5, -0.5, {0, 0, 8, 8}, StatusBadFactor},
        EntryStatusCase{"MinusInfinity", -Infinity, 0.5, {0, 0, 8, 8}, StatusBadFactor},
        EntryStatusCase{"NaN", 0.5, std::nan(""), {0, 0, 8, 8}, StatusBadFactor},
        // Above 1.0: the core's road, which has no code 8.
        EntryStatusCase{"PlusInfinity", Infinity, 0.5, {0, 0, 8, 8}, StatusBadInterpolation},
        EntryStatusCase{"RegionAtTheSourceWidth", 0.5, 0.5, {8, 0, 4, 4}, StatusOutsideSource},
        EntryStatusCase{"RegionBelowTheSource", 0.5, 0.5, {0, 9, 4, 4}, StatusOutsideSource}),
    [](const auto& info) { return std::string(info.param.name); });

// Factor pairs across the four modes, forced single pixels and steps a sliver off whole numbers.
const struct FactorPair {
    double scaleX;
    double scaleY;
} UniformFactors[] = {{0.5, 0.5}, {0.4, 1.0}, {1.0 / 3.0, 0.37}, {0.81, 0.29}, {1.0 / 7.0, 1.0 / 9.0}, {0.01, 0.6}};

TEST(SuperSampleUniform, UniformImagesStayUniformAtAnyFactors) {
    for (const Layout& layout : AllLayouts) {
        for (std::int32_t type : AllTypes) {
            const double values[] = {type == Type8u ? 255.0 : type == Type16u ? 65535.0 : 1.0,
                                     type == Type8u ? 137.0 : type == Type16u ? 4321.0 : -2.5};
            for (const FactorPair& f : UniformFactors) {
                for (double value : values) {
                    TestImage source(layout, type, 23, 19);
                    source.FillWith(value);
                    TestImage destination(layout, type, 23, 19);
                    const CoreCall call = WholeImageCall(source, destination, f.scaleX, f.scaleY, InterpSuperSample);
                    ASSERT_EQ(RunSuperSample(call), StatusOk) << Describe(call);
                    const std::int32_t width = std::max(1, static_cast<int>(f.scaleX * 23 + 1e-7));
                    const std::int32_t height = std::max(1, static_cast<int>(f.scaleY * 19 + 1e-7));
                    const bool wholeSteps = f.scaleX == 0.5 && f.scaleY == 0.5;
                    for (std::int32_t y = 0; y < height; ++y) {
                        for (std::int32_t x = 0; x < width; ++x) {
                            for (int e = 0; e < source.ResizedElements(); ++e) {
                                const double got = destination.Get(x, y, e);
                                if (type == Type32f && !wholeSteps) {
                                    ASSERT_NEAR(got, value, 1e-6) << Describe(call);
                                } else {
                                    ASSERT_EQ(got, value) << Describe(call);
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}

// 1 / (1 / 99.0) is 98.99999999999999: after the first band the boundary column and row have gone
// almost wholly to the band before. Counted again, they would make a band a pixel too heavy
// (past full scale on bright areas); taken as the first of the band's whole pixels, they would
// move every later band a pixel back.
TEST(SuperSampleStepsJustBelowWhole, UniformAreasKeepTheirValueUpToFullScale) {
    for (std::int32_t type : {Type8u, Type16u}) {
        for (double value : {type == Type8u ? 255.0 : 65535.0, type == Type8u ? 200.0 : 50000.0}) {
            TestImage source(C1, type, 297, 297);
            source.FillWith(value);
            TestImage destination(C1, type, 3, 3);
            const CoreCall call = WholeImageCall(source, destination, 1.0 / 99.0, 1.0 / 99.0, InterpSuperSample);
            ASSERT_EQ(RunSuperSample(call), StatusOk);
            for (std::int32_t y = 0; y < 3; ++y) {
                for (std::int32_t x = 0; x < 3; ++x) {
                    EXPECT_EQ(destination.Get(x, y, 0), value) << x << "," << y;
                }
            }
        }
    }
}

TEST(SuperSampleStepsJustBelowWhole, TheBoundaryLineStaysInTheFirstBand) {
    // Black with a white column and row 98, the last that the first band covers (all but 1e-14).
    TestImage source(C1, Type8u, 297, 297);
    source.FillWith(0.0);
    for (std::int32_t k = 0; k < 297; ++k) {
        source.Set(98, k, 0, 255.0);
        source.Set(k, 98, 0, 255.0);
    }
    TestImage destination(C1, Type8u, 3, 3);
    const CoreCall call = WholeImageCall(source, destination, 1.0 / 99.0, 1.0 / 99.0, InterpSuperSample);
    ASSERT_EQ(RunSuperSample(call), StatusOk);
    // 197 of 9801 pixels white in the corner band, 99 in the bands beside it, none elsewhere.
    const double expected[3][3] = {{255.0 * 197 / 9801, 255.0 / 99, 255.0 / 99},
                                   {255.0 / 99, 0, 0},
                                   {255.0 / 99, 0, 0}};
    for (std::int32_t y = 0; y < 3; ++y) {
        for (std::int32_t x = 0; x < 3; ++x) {
            EXPECT_EQ(destination.Get(x, y, 0), std::floor(expected[y][x] + 0.5)) << x << "," << y;
        }
    }
}

// A band of 257 x 256 full-scale 16-bit elements sums past 2^32.
TEST(SuperSampleWideSums, BandsPastThirtyTwoBitsStillAverage) {
    TestImage source(C1, Type16u, 257, 256);
    source.FillWith(65535.0);
    for (std::int32_t x = 0; x < 257; x += 2) {
        source.Set(x, 100, 0, 0.0);  // 129 zeros: the average is 65535 x (1 - 129 / 65792)
    }
    TestImage destination(C1, Type16u, 1, 1);
    const CoreCall call = WholeImageCall(source, destination, 1e-3, 1e-3, InterpSuperSample);
    ASSERT_EQ(RunSuperSample(call), StatusOk);
    EXPECT_EQ(destination.Get(0, 0, 0), std::floor(65535.0 * (1.0 - 129.0 / 65792.0) + 0.5));
}

// Worked values in every layout and element type: each resized element of a pixel holds the
// value, the fourth element of AC4 pixels keeps its old bytes.
struct WorkedCase {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    std::vector<double> values;  // row by row
    double scaleX;
    double scaleY;
    std::vector<double> expected;
    enum { AnyType, IntegerTypes, FloatType } types;
};

const WorkedCase WorkedCases[] = {
    {"HalvedBlockRoundsUp", 2, 2, {1, 2, 3, 4}, 0.5, 0.5, {3}, WorkedCase::IntegerTypes},
    {"HalvedHalfRoundsUp", 2, 2, {1, 1, 0, 0}, 0.5, 0.5, {1}, WorkedCase::IntegerTypes},
    {"StepTwoAndAHalf", 5, 1, {10, 20, 30, 40, 50}, 0.4, 1.0, {18, 42}, WorkedCase::AnyType},
    {"FloatBlockIsItsMean", 2, 2, {-1.5, 2.5, 0.25, 0.75}, 0.5, 0.5, {0.5}, WorkedCase::FloatType},
    {"FloatHalvedBlock", 2, 2, {1, 1, 0, 0}, 0.5, 0.5, {0.5}, WorkedCase::FloatType},
};

TEST(SuperSampleWorkedValues, EveryLayoutAndTypeGivesTheAverages) {
    for (const WorkedCase& c : WorkedCases) {
        for (const Layout& layout : AllLayouts) {
            for (std::int32_t type : AllTypes) {
                if ((c.types == WorkedCase::FloatType) != (type == Type32f) && c.types != WorkedCase::AnyType) {
                    continue;
                }
                TestImage source(layout, type, c.width, c.height);
                for (std::int32_t y = 0; y < c.height; ++y) {
                    for (std::int32_t x = 0; x < c.width; ++x) {
                        for (int e = 0; e < source.ElementsPerPixel(); ++e) {
                            source.Set(x, y, e, c.values[static_cast<std::size_t>(y * c.width + x)]);
                        }
                    }
                }
                const auto width = static_cast<std::int32_t>(c.expected.size());
                TestImage destination(layout, type, width, 1);
                const std::vector<std::uint8_t> before = destination.Contents();
                const CoreCall call = WholeImageCall(source, destination, c.scaleX, c.scaleY, InterpSuperSample);
                ASSERT_EQ(RunSuperSample(call), StatusOk) << c.name << " " << Describe(call);
                for (std::int32_t x = 0; x < width; ++x) {
                    for (int e = 0; e < destination.ResizedElements(); ++e) {
                        EXPECT_EQ(destination.Get(x, 0, e), c.expected[static_cast<std::size_t>(x)])
                            << c.name << " " << layout.name << " type " << type << " pixel " << x;
                    }
                }
                if (layout.pixelStride == 4 && layout.channelCount == 3) {
                    const std::size_t bytes = static_cast<std::size_t>(ElementBytes(type));
                    const std::vector<std::uint8_t> after = destination.Contents();
                    for (std::size_t at = 3 * bytes; at < after.size(); at += 4 * bytes) {
                        EXPECT_EQ(std::memcmp(&after[at], &before[at], bytes), 0) << c.name << " type " << type;
                    }
                }
                EXPECT_TRUE(destination.GuardsIntact());
            }
        }
    }
}

// 1/256 on 16-bit data: a cell of 65,536 full-scale samples sums to 4,294,901,760 in 32 bits.
TEST(SuperSampleWideSums, AFullScaleCellOfSixtyFiveThousandSamplesAveragesBack) {
    TestImage source(C1, Type16u, 512, 256);
    source.FillWith(65535.0);
    TestImage destination(C1, Type16u, 2, 1);
    const CoreCall call = WholeImageCall(source, destination, 1.0 / 256.0, 1.0 / 256.0, InterpSuperSample);
    ASSERT_EQ(RunSuperSample(call), StatusOk);
    EXPECT_EQ(destination.Get(0, 0, 0), 65535.0);
    EXPECT_EQ(destination.Get(1, 0, 0), 65535.0);
}

// A valid 8u C3 reduction of a 10x8 source, to be broken field by field; each row also breaks
// every later check, so its status shows which check comes first.
const CheckCase CheckOrder[] = {
    {"ValidCallSucceeds", [](CoreCall&) {}, StatusOk},
    {"NullSourceFirst", [](CoreCall& c) { c.sourceImage = nullptr; c.sourceWidth = 0; c.scaleX = 0; }, StatusNullPointer},
    {"NullDestination", [](CoreCall& c) { c.destinationImage = nullptr; c.sourceStep = 0; }, StatusNullPointer},
    {"SourceSizeBeforeSteps", [](CoreCall& c) { c.sourceHeight = 0; c.sourceStep = 0; }, StatusBadSize},
    {"StepBeforeRegion", [](CoreCall& c) { c.destinationStep = 0; c.regionWidth = 0; }, StatusBadStep},
    {"NegativeRegionOriginBeforeOutside", [](CoreCall& c) { c.regionY = -1; c.regionX = 10; }, StatusBadSize},
    {"OutsideBeforeDestinationSize", [](CoreCall& c) { c.regionX = 10; c.destinationWidth = 0; }, StatusOutsideSource},
    {"DestinationSizeBeforeFactor", [](CoreCall& c) { c.destinationHeight = -1; c.scaleY = 0; }, StatusBadSize},
    {"ZeroFactorBeforeLayout", [](CoreCall& c) { c.scaleX = 0.0; c.channelCount = 2; }, StatusBadFactor},
    {"NaNFactor", [](CoreCall& c) { c.scaleY = std::nan(""); }, StatusBadFactor},
    {"EnlargingFactor", [](CoreCall& c) { c.scaleX = 1.5; }, StatusBadFactor},
    {"InfiniteFactor", [](CoreCall& c) { c.scaleY = Infinity; }, StatusBadFactor},
    {"StepBelowOneInClipModeZero", [](CoreCall& c) { c.clipMode = 0; c.scaleX = 0.5; c.scaleY = 2.0; }, StatusBadFactor},
    {"InfiniteStepInClipModeZero", [](CoreCall& c) { c.clipMode = 0; c.scaleX = Infinity; }, StatusBadFactor},
    {"StepsInClipModeZero", [](CoreCall& c) { c.clipMode = 0; c.scaleX = 2.0; c.scaleY = 1e300; }, StatusOk},
    {"TwoChannels", [](CoreCall& c) { c.channelCount = 2; c.pixelStride = 2; }, StatusBadSize},
    {"UnknownElementType", [](CoreCall& c) { c.elementType = 3; }, StatusBadSize},
    {"UnknownClipMode", [](CoreCall& c) { c.clipMode = 2; c.scaleX = c.scaleY = 2.0; }, StatusBadSize},
};

class SuperSampleCheckOrder : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SuperSampleCheckOrder, FirstFailingCheckDecidesAndNothingIsWritten) {
    TestImage source(C3, Type8u, 10, 8);
    TestImage destination(C3, Type8u, 10, 8);
    CoreCall call = WholeImageCall(source, destination, 0.5, 0.5, InterpSuperSample);
    const std::vector<std::uint8_t> before = destination.Contents();
    GetParam().change(call);
    EXPECT_EQ(RunSuperSample(call), GetParam().expected);
    if (GetParam().expected != StatusOk) {
        EXPECT_EQ(destination.Contents(), before);
    }
    EXPECT_TRUE(destination.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Table, SuperSampleCheckOrder, ::testing::ValuesIn(CheckOrder),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
