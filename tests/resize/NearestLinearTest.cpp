// Nearest and linear kernel values, and what every method shares: identity, constants, layouts.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "ResizeTestSupport.h"
#include "resize/generic/LinearKernels.h"

using namespace resize;
using namespace resize_test;
using frame::LayoutC1;

namespace {

// 8-bit linear: horizontal pass to 64 x value, vertical pass back to 8 bits, truncating.
struct LinearKernelCase {
    std::uint8_t left;
    std::uint8_t right;
    std::uint16_t share;  // of the right pixel, on 16384
    std::uint16_t work;
    std::uint8_t result;
};

TEST(LinearKernels, EightBitWorkedValues) {
    const LinearKernelCase cases[] = {
        {10, 20, 4096, 800, 13},  // a quarter
        {10, 20, 8192, 960, 15},  // a half
        {0, 1, 8192, 32, 1},
        {200, 100, 0, 12800, 200},
    };
    for (const LinearKernelCase& c : cases) {
        const std::uint8_t row[2] = {c.left, c.right};
        const std::ptrdiff_t offsets[1] = {0};
        const std::uint16_t pair[2] = {static_cast<std::uint16_t>(16384 - c.share), c.share};
        std::uint16_t work[1] = {};
        generic::ResizeHorzLinear<std::uint8_t, LayoutC1>(row, 1, offsets, pair, work);
        EXPECT_EQ(work[0], c.work);
        std::uint8_t out[1] = {};
        generic::ResizeVertLinear<std::uint8_t, LayoutC1>(out, 1, 0, work, work);
        EXPECT_EQ(out[0], c.result);
    }
}

TEST(LinearKernels, EqualValuesGiveThemselvesAtAnyWeight) {
    for (int v : {0, 1, 77, 254, 255}) {
        for (std::uint16_t a : {0, 1, 4096, 8191, 12345, 16383, 16384}) {
            const std::uint8_t row[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v)};
            const std::ptrdiff_t offsets[1] = {0};
            const std::uint16_t pair[2] = {static_cast<std::uint16_t>(16384 - a), a};
            std::uint16_t work[1];
            generic::ResizeHorzLinear<std::uint8_t, LayoutC1>(row, 1, offsets, pair, work);
            std::uint8_t out[1];
            generic::ResizeVertLinear<std::uint8_t, LayoutC1>(out, 1, a, work, work);
            EXPECT_EQ(out[0], v) << "weight " << a;

            const std::uint16_t wide[2] = {static_cast<std::uint16_t>(v * 257), static_cast<std::uint16_t>(v * 257)};
            std::uint16_t work16[1];
            generic::ResizeHorzLinear<std::uint16_t, LayoutC1>(wide, 1, offsets, pair, work16);
            std::uint16_t out16[1];
            generic::ResizeVertLinear<std::uint16_t, LayoutC1>(out16, 1, a, work16, work16);
            EXPECT_EQ(out16[0], v * 257);
        }
    }
}

TEST(ResizeIdentity, FactorOneReproducesEverySource) {
    std::mt19937 random(21);
    for (std::int32_t code : BuiltMethods) {
        for (const Layout& layout : AllLayouts) {
            for (std::int32_t type : AllTypes) {
                TestImage source(layout, type, 13, 9, 4);
                source.FillRandom(random);
                TestImage destination(layout, type, 13, 9, 8);
                ASSERT_EQ(RunCore(WholeImageCall(source, destination, 1.0, 1.0, code)), StatusOk);
                for (std::int32_t y = 0; y < 9; ++y) {
                    for (std::int32_t x = 0; x < 13; ++x) {
                        for (int e = 0; e < source.ResizedElements(); ++e) {
                            ASSERT_NEAR(destination.Get(x, y, e), source.Get(x, y, e),
                                        AllowedDifference(code, type, std::fabs(source.Get(x, y, e))))
                                << layout.name << " type " << type << " code " << code;
                        }
                    }
                }
                EXPECT_TRUE(destination.GuardsIntact());
            }
        }
    }
}

// Lanczos weights do not sum to 1, so only the other methods keep constants.
TEST(ResizeConstant, ConstantImageStaysConstant) {
    for (std::int32_t code : {InterpNearest, InterpLinear, InterpCubic}) {
        for (std::int32_t type : AllTypes) {
            const double value = type == Type8u ? 201 : type == Type16u ? 51234 : -3.25;
            TestImage source(C4, type, 11, 7);
            source.FillWith(value);
            TestImage destination(C4, type, 40, 30);
            ASSERT_EQ(RunCore(WholeImageCall(source, destination, 3.3, 0.8, code)), StatusOk);
            // 3.3 x 11 = 36 columns, 0.8 x 7 = 5 rows
            for (std::int32_t y = 0; y < 5; ++y) {
                for (std::int32_t x = 0; x < 36; ++x) {
                    for (int e = 0; e < 4; ++e) {
                        ASSERT_EQ(destination.Get(x, y, e), value) << "code " << code << " type " << type;
                    }
                }
            }
        }
    }
}

TEST(ResizeNearest, MagnificationByTwoCopiesEachPixelToTwoColumnsAndTwoRows) {
    std::mt19937 random(2);
    TestImage source(C3, Type8u, 5, 4);
    source.FillRandom(random);
    TestImage destination(C3, Type8u, 10, 8);
    ASSERT_EQ(RunCore(WholeImageCall(source, destination, 2.0, 2.0, InterpNearest)), StatusOk);
    for (std::int32_t y = 0; y < 8; ++y) {
        for (std::int32_t x = 0; x < 10; ++x) {
            for (int e = 0; e < 3; ++e) {
                ASSERT_EQ(destination.Get(x, y, e), source.Get(x / 2, y / 2, e));
            }
        }
    }
}

// A single destination pixel (offered, or all the factors leave) is the source pixel its centre
// maps to, and nothing else is written.
struct OnePixelCase {
    const char* name;
    ResizeRect region;
    std::int32_t available;  // destination width and height offered
    double scaleX;
    double scaleY;
    std::int32_t sourceX;    // in the whole image
    std::int32_t sourceY;
};

const OnePixelCase OnePixelCases[] = {
    {"OneOfferedAtTwiceTakesTheFirst", {0, 0, 4, 4}, 1, 2.0, 2.0, 0, 0},            // centre 0.25
    {"QuarterOfFourTakesTheMiddle", {0, 0, 4, 4}, 3, 0.25, 0.25, 2, 2},              // trunc(1 + 1e-7) = 1; centre 2.0
    {"PartOfARegion", {1, 2, 3, 2}, 3, 0.4, 0.5, 2, 3},                              // centres 1.25 and 1.0
};

class ResizeNearestOnePixel : public ::testing::TestWithParam<OnePixelCase> {};

TEST_P(ResizeNearestOnePixel, CopiesTheChosenPixelOnly) {
    const OnePixelCase& c = GetParam();
    TestImage source(C3, Type8u, 4, 5);
    for (std::int32_t y = 0; y < 5; ++y) {
        for (std::int32_t x = 0; x < 4; ++x) {
            for (int e = 0; e < 3; ++e) {
                source.Set(x, y, e, 40 * y + 10 * x + e);
            }
        }
    }
    TestImage destination(C3, Type8u, 3, 3);
    CoreCall call = WholeImageCall(source, destination, c.scaleX, c.scaleY, InterpNearest);
    call.regionX = c.region.x;
    call.regionY = c.region.y;
    call.regionWidth = c.region.width;
    call.regionHeight = c.region.height;
    call.destinationWidth = call.destinationHeight = c.available;
    ASSERT_EQ(RunCore(call), StatusOk);
    for (std::int32_t y = 0; y < 3; ++y) {
        for (std::int32_t x = 0; x < 3; ++x) {
            for (int e = 0; e < 3; ++e) {
                const double expected = x == 0 && y == 0 ? source.Get(c.sourceX, c.sourceY, e) : 0xCD;
                EXPECT_EQ(destination.Get(x, y, e), expected) << "pixel " << x << "," << y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ResizeNearestOnePixel, ::testing::ValuesIn(OnePixelCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ResizeNearest, FloatElementsAreCopiedBitForBit) {
    TestImage source(C1, Type32f, 2, 2);
    const std::uint32_t patterns[4] = {0x7FC01234u, 0x80000000u, 0x00000001u, 0xFF800000u};
    for (int i = 0; i < 4; ++i) {
        std::memcpy(source.Element(i % 2, i / 2, 0), &patterns[i], 4);
    }
    TestImage destination(C1, Type32f, 2, 2);
    ASSERT_EQ(RunCore(WholeImageCall(source, destination, 1.0, 1.0, InterpNearest)), StatusOk);
    EXPECT_EQ(destination.Contents(), source.Contents());
}

// The fourth element of AC4 pixels and everything outside the block keep their values.
TEST(ResizeLayouts, AlphaOfAC4AndTheRowPaddingAreLeftAlone) {
    std::mt19937 random(4);
    for (std::int32_t code : BuiltMethods) {
        for (std::int32_t type : AllTypes) {
            TestImage source(AC4, type, 9, 9);
            source.FillRandom(random);
            TestImage destination(AC4, type, 20, 20, 12, 0x5A);
            ASSERT_EQ(RunCore(WholeImageCall(source, destination, 1.7, 1.3, code)), StatusOk);
            const std::vector<std::uint8_t> untouched(ElementBytes(type), 0x5A);
            for (std::int32_t y = 0; y < 20; ++y) {
                for (std::int32_t x = 0; x < 20; ++x) {
                    ASSERT_EQ(std::memcmp(destination.Element(x, y, 3), untouched.data(), untouched.size()), 0);
                }
            }
            EXPECT_TRUE(destination.GuardsIntact());
        }
    }
}

// C1, C3, AC4, C4 and planar images made of the same channels resize channel by channel alike
// (bit for bit in the generic build; the SIMD builds group their pixel kernels differently).
TEST(ResizeLayouts, EveryLayoutGivesTheSameChannels) {
    std::mt19937 random(8);
    const std::int32_t width = 17;
    const std::int32_t height = 12;
    for (std::int32_t code : BuiltMethods) {
        for (std::int32_t type : AllTypes) {
            std::vector<std::unique_ptr<TestImage>> channels;
            std::vector<std::unique_ptr<TestImage>> resized;
            for (int c = 0; c < 4; ++c) {
                channels.push_back(std::make_unique<TestImage>(C1, type, width, height));
                channels.back()->FillRandom(random);
                resized.push_back(std::make_unique<TestImage>(C1, type, 40, 40));
                CoreCall call = WholeImageCall(*channels[c], *resized[c], 2.2, 0.6, code);
                call.regionX = 2;
                call.regionY = 3;
                call.regionWidth = 14;
                call.regionHeight = 9;
                ASSERT_EQ(RunCore(call), StatusOk);
            }
            for (const Layout& layout : {C3, AC4, C4, Planar3, Planar4}) {
                TestImage source(layout, type, width, height, 4);
                for (std::int32_t y = 0; y < height; ++y) {
                    for (std::int32_t x = 0; x < width; ++x) {
                        for (int e = 0; e < source.ElementsPerPixel(); ++e) {
                            std::memcpy(source.Element(x, y, e), channels[e]->Element(x, y, 0), ElementBytes(type));
                        }
                    }
                }
                TestImage destination(layout, type, 40, 40);
                CoreCall call = WholeImageCall(source, destination, 2.2, 0.6, code);
                call.regionX = 2;
                call.regionY = 3;
                call.regionWidth = 14;
                call.regionHeight = 9;
                ASSERT_EQ(RunCore(call), StatusOk);
                for (std::int32_t y = 0; y < 40; ++y) {
                    for (std::int32_t x = 0; x < 40; ++x) {
                        for (int e = 0; e < source.ResizedElements(); ++e) {
                            ASSERT_NEAR(destination.Get(x, y, e), resized[e]->Get(x, y, 0),
                                        AllowedDifference(code, type, LargestMagnitude(*channels[e])))
                                << layout.name << " type " << type << " code " << code << " at " << x << "," << y << "," << e;
                        }
                    }
                }
            }
        }
    }
}

}  // namespace
