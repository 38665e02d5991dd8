// The engine against the naive per-pixel reference on random calls of every type and layout.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ResizeTestSupport.h"

using namespace resize;
using namespace resize_test;

namespace {

double Factor(std::mt19937& random) {
    static const double specials[] = {1.0, 2.0, 0.5, 1.0 / 3.0, 0.7, 4.0};
    if (random() % 4 == 0) {
        return specials[random() % 6];
    }
    return 0.12 + static_cast<double>(random() % 100000) / 25000.0;  // 0.12 ... 4.12
}

// One random call: source and destination sizes, padding, region (possibly past the source's
// edges, to be clipped), factors in both clip modes.
void RunRandomCase(std::mt19937& random, std::int32_t code, const Layout& layout, std::int32_t type) {
    const std::int32_t width = Between(random, 1, 23);
    const std::int32_t height = Between(random, 1, 23);
    TestImage source(layout, type, width, height, Between(random, 0, 3) * 4);
    source.FillRandom(random);
    const std::int32_t destinationWidth = Between(random, 1, 60);
    const std::int32_t destinationHeight = Between(random, 1, 60);
    const std::int32_t padding = Between(random, 0, 2) * 8;
    TestImage destination(layout, type, destinationWidth, destinationHeight, padding);
    TestImage expected(layout, type, destinationWidth, destinationHeight, padding);

    CoreCall call = WholeImageCall(source, destination, Factor(random), Factor(random), code);
    call.regionX = Between(random, 0, width - 1);
    call.regionY = Between(random, 0, height - 1);
    call.regionWidth = Between(random, 1, width + 3 - call.regionX);
    call.regionHeight = Between(random, 1, height + 3 - call.regionY);
    if (random() % 5 == 0) {
        call.clipMode = 0;
        call.scaleX = 1.0 / call.scaleX;
        call.scaleY = 1.0 / call.scaleY;
    }
    ASSERT_EQ(RunCore(call), StatusOk) << Describe(call);
    call.destinationImage = expected.EngineDestination();
    ReferenceResize(call);
    ASSERT_TRUE(AgreeWithin(destination.Contents(), expected.Contents(), type, BuildAgreement(code, type),
                            type == Type32f ? LargestMagnitude(source) : 0.0))
        << Describe(call);
    ASSERT_TRUE(destination.GuardsIntact()) << Describe(call);
}

TEST(ResizeAgainstReference, RandomCallsMatchBitForBit) {
    std::mt19937 random(20240611);
    for (std::int32_t code : BuiltMethods) {
        for (const Layout& layout : AllLayouts) {
            for (std::int32_t type : AllTypes) {
                for (int n = 0; n < 40; ++n) {
                    RunRandomCase(random, code, layout, type);
                    if (HasFatalFailure()) {
                        return;
                    }
                }
            }
        }
    }
}

}  // namespace
