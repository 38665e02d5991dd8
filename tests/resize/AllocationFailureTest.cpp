// Every allocation a resize call makes may be refused: the call then gives StatusNoMemory, frees
// what it took before and after the refused one (the leak checker of the sanitizer build
// watches) and writes nothing.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "AreaReference.h"
#include "ResizeTestSupport.h"
#include "resize/ImageResize.h"
#include "resize/frame/AlignedAllocators.h"

using namespace resize;
using namespace resize_test;

namespace {

// Runs the call with its first, second, ... allocation refused until it makes fewer
// allocations than that and succeeds; returns how many allocations it makes.
int ExpectEveryRefusalFailsCleanly(TestImage& destination, const std::function<ResizeStatus()>& call) {
    const std::vector<std::uint8_t> before = destination.Contents();
    for (int n = 1;; ++n) {
        resize::testing::RefuseAllocation(n);
        const ResizeStatus status = call();
        resize::testing::StopRefusingAllocations();
        if (status == StatusOk) {
            return n - 1;
        }
        EXPECT_EQ(status, StatusNoMemory) << "allocation " << n;
        EXPECT_EQ(destination.Contents(), before) << "allocation " << n;
        EXPECT_TRUE(destination.GuardsIntact());
        if (status != StatusNoMemory || n > 100) {
            return -1;
        }
    }
}

TEST(ResizeAllocationFailure, EveryRefusalInTheCoreGivesNoMemoryAndWritesNothing) {
    // Offsets, and for the other methods their tables and work rows.
    const struct {
        std::int32_t code;
        int fewest;
    } methods[] = {{InterpNearest, 2}, {InterpLinear, 6}, {InterpCubic, 8}, {InterpLanczos, 12}};
    for (const Layout& layout : AllLayouts) {
        for (std::int32_t type : AllTypes) {
            for (const auto& method : methods) {
                TestImage source(layout, type, 12, 12);
                TestImage destination(layout, type, 20, 20);
                const CoreCall call = WholeImageCall(source, destination, 1.5, 1.5, method.code);
                const int allocations = ExpectEveryRefusalFailsCleanly(destination, [&] { return RunCore(call); });
                EXPECT_GE(allocations, method.fewest) << Describe(call);
            }
        }
    }
}

TEST(ResizeAllocationFailure, SuperSamplingTakesOneWorkRowForAllPlanesBeforeWritingAny) {
    const struct {
        double scaleX;
        double scaleY;
    } factors[] = {{0.5, 0.5}, {0.4, 0.7}};
    for (const Layout& layout : AllLayouts) {
        for (std::int32_t type : AllTypes) {
            for (const auto& f : factors) {
                TestImage source(layout, type, 12, 12);
                TestImage destination(layout, type, 8, 8);
                const CoreCall call = WholeImageCall(source, destination, f.scaleX, f.scaleY, InterpSuperSample);
                EXPECT_EQ(ExpectEveryRefusalFailsCleanly(destination, [&] { return RunSuperSample(call); }), 1)
                    << Describe(call);
            }
        }
    }
}

TEST(ResizeAllocationFailure, EveryCodeThroughTheEntryGivesNoMemoryAndWritesNothing) {
    const struct {
        std::int32_t code;
        double scale;
    } calls[] = {{InterpNearest, 1.5}, {InterpLinear, 1.5}, {InterpCubic, 0.75},
                 {InterpLanczos, 1.25}, {InterpSuperSample, 0.75}};
    for (const auto& c : calls) {
        TestImage source(C3, Type8u, 16, 10);
        TestImage destination(C3, Type8u, 24, 15);
        const int allocations = ExpectEveryRefusalFailsCleanly(destination, [&] {
            return BuildUnderTest().entry(source.Element(0, 0, 0), {16, 10}, source.Step(), {0, 0, 16, 10},
                                          destination.Element(0, 0, 0), destination.Step(), {24, 15},
                                          c.scale, c.scale, c.code);
        });
        EXPECT_GE(allocations, 1) << "code " << c.code;
    }
}

}  // namespace
