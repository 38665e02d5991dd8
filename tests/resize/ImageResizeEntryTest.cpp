// The public entry: dispatch through the table, routing to the engine, start-up registration.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ResizeTestSupport.h"
#include "resize/ImageResize.h"
#include "resize/generic/GenericBuild.h"

using namespace resize;
using resize_test::C3;
using resize_test::TestImage;
using resize_test::Type8u;

TEST(ResizeDispatcher, EveryCallRunsTheGenericBuild) {
    EXPECT_EQ(ResizeVariantIndex.load(), 1);
    EXPECT_EQ(ResizeDispatchTable[0], nullptr);
    EXPECT_EQ(ResizeDispatchTable[1], generic::Resize_8u_C3R);
    EXPECT_EQ(SelectedResizeRoutine(), generic::Resize_8u_C3R);
}

TEST(ResizeDispatcher, IsRegisteredAtStartUpAtTheHeadOfTheList) {
    ASSERT_EQ(DispatchDescriptorList, &ResizeDispatchDescriptor);
    EXPECT_STREQ(ResizeDispatchDescriptor.domain, "i");
    EXPECT_STREQ(ResizeDispatchDescriptor.name, "ImageResize_8u_C3R");
    EXPECT_EQ(ResizeDispatchDescriptor.table, ResizeDispatchTable);
    EXPECT_EQ(ResizeDispatchDescriptor.next, nullptr);  // the only registration
}

TEST(ResizeDispatcher, PushReturnsTheFormerHeadAndLeavesTheDescriptorAlone) {
    DispatchDescriptor* const before = DispatchDescriptorList;
    DispatchDescriptor other{"x", "Other", nullptr, nullptr};
    EXPECT_EQ(PushDispatchDescriptor(&other), before);
    EXPECT_EQ(DispatchDescriptorList, &other);
    EXPECT_EQ(other.next, nullptr);
    EXPECT_EQ(PushDispatchDescriptor(before), &other);  // restore
}

// Statuses the entry's routing gives before any pixel is touched.
struct RoutingCase {
    const char* name;
    bool nullSource;
    double scaleX;
    double scaleY;
    std::int32_t code;
    ResizeStatus expected;
};

class EntryRouting : public ::testing::TestWithParam<RoutingCase> {};

TEST_P(EntryRouting, AnswersWithTheEnginesStatusAndWritesNothing) {
    const RoutingCase& c = GetParam();
    TestImage source(C3, Type8u, 8, 8);
    TestImage destination(C3, Type8u, 16, 16);
    const std::vector<std::uint8_t> before = destination.Contents();
    const auto* sourceData = c.nullSource ? nullptr : source.Element(0, 0, 0);
    EXPECT_EQ(ImageResize_8u_C3R(sourceData, {8, 8}, source.Step(), {0, 0, 8, 8},
                                 destination.Element(0, 0, 0), destination.Step(), {16, 16},
                                 c.scaleX, c.scaleY, c.code),
              c.expected);
    EXPECT_EQ(destination.Contents(), before);
    EXPECT_TRUE(destination.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryRouting,
    ::testing::Values(
        RoutingCase{"SuperSampleWithAFactorAboveOne", false, 1.5, 0.5, InterpSuperSample, StatusBadInterpolation},
        RoutingCase{"SuperSampleWithANaNFactor", false, std::nan(""), 0.5, InterpSuperSample, StatusBadFactor},
        RoutingCase{"UnknownCodeAfterTheEarlierChecks", false, 1.0, 1.0, 3, StatusBadInterpolation},
        RoutingCase{"NullSourceBeforeTheUnknownCode", true, 1.0, 1.0, 3, StatusNullPointer}),
    [](const auto& info) { return std::string(info.param.name); });

// The display's two calls give what the engine's formulas give.
struct DisplayCall {
    const char* name;
    ResizeSize source;
    ResizeSize destination;
    double scaleX;
    double scaleY;
    std::int32_t code;
};

class DisplayCalls : public ::testing::TestWithParam<DisplayCall> {};

TEST_P(DisplayCalls, MatchTheReferenceBitForBit) {
    const DisplayCall& c = GetParam();
    std::mt19937 random(7);
    TestImage source(C3, Type8u, c.source.width, c.source.height);
    source.FillRandom(random);
    TestImage destination(C3, Type8u, c.destination.width, c.destination.height);
    TestImage expected(C3, Type8u, c.destination.width, c.destination.height);
    ASSERT_EQ(ImageResize_8u_C3R(source.Element(0, 0, 0), c.source, source.Step(),
                                 {0, 0, c.source.width, c.source.height},
                                 destination.Element(0, 0, 0), destination.Step(), c.destination,
                                 c.scaleX, c.scaleY, c.code),
              StatusOk);
    resize_test::CoreCall call = resize_test::WholeImageCall(source, expected, c.scaleX, c.scaleY, c.code);
    resize_test::ReferenceResize(call);
    EXPECT_EQ(destination.Contents(), expected.Contents());
    EXPECT_TRUE(destination.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayCalls,
    ::testing::Values(DisplayCall{"HeightDoublingLinear", {720, 288}, {720, 576}, 1.0, 2.0, InterpLinear},
                      DisplayCall{"FullScreenNearest", {704, 480}, {1920, 1080}, 1920.0 / 704, 1080.0 / 480, InterpNearest}),
    [](const auto& info) { return std::string(info.param.name); });
