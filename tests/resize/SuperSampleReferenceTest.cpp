// Super-sampling against the brute-force area reference: random calls of every type and layout,
// and regions whose surroundings are poisoned so that any read outside them is caught.

#include <gtest/gtest.h>

#include <vector>

#include "AreaReference.h"
#include "GuardedImage.h"
#include "ResizeTestSupport.h"

using namespace resize;
using namespace resize_test;

namespace {

// Reductions: whole and fractional steps, forced single pixels, and factors of any size.
double ReductionFactor(std::mt19937& random) {
    static const double specials[] = {1.0, 0.5, 1.0 / 3.0, 0.4, 1.0 / 7.0, 0.01, 1e-300, 0.999};
    if (random() % 3 == 0) {
        return specials[random() % 8];
    }
    return 0.05 + static_cast<double>(random() % 95000) / 100000.0;  // 0.05 ... 1.0
}

TEST(SuperSampleAgainstAreaReference, RandomCallsAgreeWithinRounding) {
    std::mt19937 random(20240612);
    for (const Layout& layout : AllLayouts) {
        for (std::int32_t type : AllTypes) {
            for (int n = 0; n < 15; ++n) {
                const std::int32_t width = Between(random, 1, 23);
                const std::int32_t height = Between(random, 1, 23);
                TestImage source(layout, type, width, height, Between(random, 0, 3) * 4);
                source.FillRandom(random);
                const std::int32_t destinationWidth = Between(random, 1, 24);
                const std::int32_t destinationHeight = Between(random, 1, 24);
                const std::int32_t padding = Between(random, 0, 2) * 8;
                TestImage destination(layout, type, destinationWidth, destinationHeight, padding);
                TestImage expected(layout, type, destinationWidth, destinationHeight, padding);

                CoreCall call = WholeImageCall(source, destination, ReductionFactor(random),
                                               ReductionFactor(random), InterpSuperSample);
                call.regionX = Between(random, 0, width - 1);
                call.regionY = Between(random, 0, height - 1);
                call.regionWidth = Between(random, 1, width + 3 - call.regionX);
                call.regionHeight = Between(random, 1, height + 3 - call.regionY);
                if (random() % 5 == 0) {
                    call.clipMode = 0;  // steps instead of factors
                    call.scaleX = 1.0 / call.scaleX;
                    call.scaleY = 1.0 / call.scaleY;
                }
                ASSERT_EQ(RunSuperSample(call), StatusOk) << Describe(call);
                AreaReference(call, source, expected);
                ASSERT_TRUE(SameWithin(destination, expected, 1.0)) << Describe(call);
                ASSERT_TRUE(destination.GuardsIntact()) << Describe(call);
            }
        }
    }
}

// Poisons (under AddressSanitizer) every source byte outside the region for the object's life,
// after filling it with the element type's largest value, so a read there also shows in the
// result of every build.
class PoisonedMargins {
public:
    PoisonedMargins(TestImage& image, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
        : image_(image), x_(x), y_(y), width_(width), height_(height) {
        const double top = image.ElementType() == Type8u ? 255.0 : image.ElementType() == Type16u ? 65535.0 : 1e30;
        ForEachMargin([&](std::int32_t px, std::int32_t py, int e) { image_.Set(px, py, e, top); });
        ForEachMargin([&](std::int32_t px, std::int32_t py, int e) { Poison(px, py, e, true); });
    }
    ~PoisonedMargins() {
        ForEachMargin([&](std::int32_t px, std::int32_t py, int e) { Poison(px, py, e, false); });
    }
    PoisonedMargins(const PoisonedMargins&) = delete;
    PoisonedMargins& operator=(const PoisonedMargins&) = delete;

private:
    template <class Visit>
    void ForEachMargin(Visit&& visit) {
        for (std::int32_t py = 0; py < image_.Height(); ++py) {
            for (std::int32_t px = 0; px < image_.Width(); ++px) {
                const bool inside = px >= x_ && px < x_ + width_ && py >= y_ && py < y_ + height_;
                for (int e = 0; !inside && e < image_.ElementsPerPixel(); ++e) {
                    visit(px, py, e);
                }
            }
        }
    }

    void Poison(std::int32_t px, std::int32_t py, int e, bool poison) {
#ifdef RESIZE_TEST_ASAN
        std::uint8_t* element = image_.Element(px, py, e);
        const std::size_t bytes = static_cast<std::size_t>(ElementBytes(image_.ElementType()));
        if (poison) {
            ASAN_POISON_MEMORY_REGION(element, bytes);
        } else {
            ASAN_UNPOISON_MEMORY_REGION(element, bytes);
        }
#else
        (void)px, (void)py, (void)e, (void)poison;
#endif
    }

    TestImage& image_;
    std::int32_t x_;
    std::int32_t y_;
    std::int32_t width_;
    std::int32_t height_;
};

TEST(SuperSampleMargins, NothingOutsideTheRegionIsRead) {
    // Region 9 x 7 at 4,3 in a 20 x 16 source.
    const struct {
        const char* name;
        double scaleX;
        double scaleY;
    } cases[] = {
        {"forced single column and row", 0.01, 1e-300},
        {"whole steps", 1.0 / 3.0, 0.5},
        {"fractional steps", 0.37, 0.61},
        // Three and two pixels whose bands end a little over 1e-7 past the region.
        {"bands ending just past the region", (3.0 - 5e-8) / 9.0, (2.0 - 5e-8) / 7.0},
        {"steps a sliver above one", 0.9999999, 0.99999},
    };
    std::mt19937 random(8);
    for (const Layout& layout : AllLayouts) {
        for (std::int32_t type : AllTypes) {
            for (const auto& c : cases) {
                TestImage source(layout, type, 20, 16);
                source.FillRandom(random);
                const PoisonedMargins margins(source, 4, 3, 9, 7);
                TestImage destination(layout, type, 10, 8);
                TestImage expected(layout, type, 10, 8);
                CoreCall call = WholeImageCall(source, destination, c.scaleX, c.scaleY, InterpSuperSample);
                call.regionX = 4;
                call.regionY = 3;
                call.regionWidth = 9;
                call.regionHeight = 7;
                ASSERT_EQ(RunSuperSample(call), StatusOk) << c.name << ": " << Describe(call);
                AreaReference(call, source, expected);
                EXPECT_TRUE(SameWithin(destination, expected, 1.0)) << c.name << ": " << Describe(call);
            }
        }
    }
}

}  // namespace
