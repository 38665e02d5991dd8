// Every SIMD build against the generic build over one table of calls: sizes 1 to 23 and the
// display's 720x288, regions at every edge, the factors 1, 2, 0.5, 1/3, 0.7 and 2.5, both clip
// modes, every element type, layout and method, source and destination rows on and off 16-byte
// boundaries. Statuses, the written block and the untouched bytes must agree as the table of
// agreement rules says (ResizeTestSupport.h); the SIMD builds' float linear and Lanczos results
// also agree with each other byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "ResizeTestSupport.h"
#include "resize/ResizeBuilds.h"

using namespace resize;
using namespace resize_test;

namespace {

constexpr std::int32_t Methods[] = {InterpNearest, InterpLinear, InterpCubic, InterpLanczos, InterpSuperSample};
constexpr double Factors[] = {1.0, 2.0, 0.5, 1.0 / 3.0, 0.7, 2.5};

struct DifferentialCall {
    Layout layout;
    std::int32_t type;
    std::int32_t code;
    ResizeSize source;
    ResizeRect region;
    ResizeSize destination;
    double scaleX;
    double scaleY;
    std::int32_t clipMode;
    std::int32_t sourceOffset;  // bytes past a 32-byte boundary
    std::int32_t destinationOffset;
};

// A region of `length` pixels: the whole image, at the first or last pixel, inside, or reaching
// past the far edge (cut by the engine), by `kind`.
void PlaceRegion(int kind, std::int32_t length, std::int32_t& origin, std::int32_t& extent, std::mt19937& random) {
    switch (kind % 5) {
    case 0:
        origin = 0;
        extent = length;
        break;
    case 1:  // at the near edge
        origin = 0;
        extent = Between(random, 1, length);
        break;
    case 2:  // at the far edge
        extent = Between(random, 1, length);
        origin = length - extent;
        break;
    case 3:  // inside
        origin = Between(random, 0, length - 1);
        extent = Between(random, 1, length - origin);
        break;
    default:  // past the far edge
        origin = Between(random, 0, length - 1);
        extent = length - origin + Between(random, 1, 4);
        break;
    }
}

// An offset of 0, or 1 to 15 bytes in whole elements.
std::int32_t RowOffset(std::mt19937& random, std::int32_t type) {
    if (random() % 3 == 0) {
        return 0;
    }
    const std::int32_t bytes = ElementBytes(type);
    return bytes * Between(random, 1, 15 / bytes);
}

std::int32_t DestinationLength(double scale, std::int32_t clipMode, std::int32_t region, std::mt19937& random) {
    const double ideal = clipMode == 1 ? scale * region : region / scale;
    const auto fit = static_cast<std::int32_t>(std::ceil(ideal)) + 1;
    // Mostly room for the whole result; sometimes less, so the destination size cuts it.
    return random() % 4 == 0 ? Between(random, 1, fit) : fit + Between(random, 0, 2);
}

std::vector<DifferentialCall> MakeTable() {
    std::mt19937 random(6402);
    std::vector<DifferentialCall> table;
    int sizeCycle = 0;
    for (std::int32_t code : Methods) {
        for (const Layout& layout : AllLayouts) {
            for (std::int32_t type : AllTypes) {
                for (int n = 0; n < 14; ++n) {
                    DifferentialCall c{layout, type, code, {}, {}, {}, 0, 0, 1, 0, 0};
                    c.source = {1 + sizeCycle % 23, 1 + (sizeCycle * 7 + n) % 23};
                    ++sizeCycle;
                    PlaceRegion(n, c.source.width, c.region.x, c.region.width, random);
                    PlaceRegion(n + static_cast<int>(random() % 5), c.source.height, c.region.y, c.region.height, random);
                    c.scaleX = Factors[random() % 6];
                    c.scaleY = Factors[random() % 6];
                    if (code == InterpSuperSample && random() % 4 != 0) {
                        c.scaleX = std::min(c.scaleX, 1.0 / c.scaleX);
                        c.scaleY = std::min(c.scaleY, 1.0 / c.scaleY);
                    }
                    c.clipMode = random() % 4 == 0 ? 0 : 1;
                    if (c.clipMode == 0) {
                        c.scaleX = 1.0 / c.scaleX;
                        c.scaleY = 1.0 / c.scaleY;
                    }
                    const std::int32_t w = std::min(c.region.width, c.source.width - c.region.x);
                    const std::int32_t h = std::min(c.region.height, c.source.height - c.region.y);
                    c.destination = {DestinationLength(c.scaleX, c.clipMode, w, random),
                                     DestinationLength(c.scaleY, c.clipMode, h, random)};
                    c.sourceOffset = RowOffset(random, type);
                    c.destinationOffset = RowOffset(random, type);
                    table.push_back(c);
                }
            }
        }
        // The display's source size, in the entry's layout.
        table.push_back({C3, Type8u, code, {720, 288}, {0, 0, 720, 288}, {720, 576}, 1.0, 2.0, 1, 0, 0});
        table.push_back({C3, Type8u, code, {720, 288}, {16, 8, 700, 280}, {400, 160}, 0.5, 0.5, 1, 5, 11});
    }
    return table;
}

struct Outcome {
    ResizeStatus status;
    std::vector<std::uint8_t> bytes;
    bool guardsIntact;
};

// `offered`: the destination size passed to the call, when not the whole destination image.
Outcome RunBuild(const ResizeBuild& build, const DifferentialCall& c, const TestImage& source, std::uint8_t fill,
                 ResizeSize offered = {0, 0}) {
    TestImage destination(c.layout, c.type, c.destination.width, c.destination.height, 8, fill, c.destinationOffset);
    if (offered.width == 0) {
        offered = c.destination;
    }
    const void* sourceImage = source.EngineSource();
    void* destinationImage = destination.EngineDestination();
    const std::int32_t pixelStride = c.layout.planar ? 1 : c.layout.pixelStride;
    const std::int32_t planar = c.layout.planar ? 1 : 0;
    Outcome o;
    if (c.code == InterpSuperSample) {
        o.status = build.superSample(sourceImage, c.source.width, c.source.height, source.Step(), c.region.x,
                                     c.region.y, c.region.width, c.region.height, destinationImage,
                                     destination.Step(), offered.width, offered.height, c.scaleX,
                                     c.scaleY, pixelStride, c.layout.channelCount, c.type, planar, c.clipMode);
    } else {
        o.status = build.core(sourceImage, c.source.width, c.source.height, source.Step(), c.region.x, c.region.y,
                              c.region.width, c.region.height, destinationImage, destination.Step(),
                              offered.width, offered.height, c.scaleX, c.scaleY, 0.0, 0.0,
                              pixelStride, c.layout.channelCount, c.type, planar, c.code, c.clipMode);
    }
    o.bytes = destination.Contents();
    o.guardsIntact = destination.GuardsIntact();
    return o;
}

double ElementAt(const std::vector<std::uint8_t>& bytes, std::size_t index, std::int32_t type) {
    if (type == Type8u) {
        return bytes[index];
    }
    if (type == Type16u) {
        std::uint16_t v;
        std::memcpy(&v, &bytes[index * 2], 2);
        return v;
    }
    float v;
    std::memcpy(&v, &bytes[index * 4], 4);
    return v;
}

std::string Name(const ResizeBuild& build, const DifferentialCall& c) {
    return std::string(build.name) + " code " + std::to_string(c.code) + " " + c.layout.name + " type " +
           std::to_string(c.type) + " source " + std::to_string(c.source.width) + "x" +
           std::to_string(c.source.height) + " region " + std::to_string(c.region.x) + "," +
           std::to_string(c.region.y) + "," + std::to_string(c.region.width) + "," +
           std::to_string(c.region.height) + " destination " + std::to_string(c.destination.width) + "x" +
           std::to_string(c.destination.height) + " factors " + std::to_string(c.scaleX) + "," +
           std::to_string(c.scaleY) + " clip " + std::to_string(c.clipMode) + " offsets " +
           std::to_string(c.sourceOffset) + "," + std::to_string(c.destinationOffset);
}

// Compares one build's outcome with the generic build's; the generic build's two runs over
// different fills tell which elements the call writes.
void ExpectAgreement(const ResizeBuild& build, const DifferentialCall& c, double largest, const Outcome& generic,
                     const Outcome& genericOtherFill, const Outcome& simd) {
    const std::string name = Name(build, c);
    ASSERT_EQ(simd.status, generic.status) << name;
    ASSERT_TRUE(simd.guardsIntact) << name;
    ASSERT_EQ(simd.bytes.size(), generic.bytes.size());
    Agreement rule = AgreementFor(c.code, c.type);
    // The SSE2-class builds sum the last elements of a one-channel whole-step row in double
    // precision and round once, where the others keep a single-precision running sum.
    if (c.code == InterpSuperSample && c.type == Type32f && build.slot >= 3 &&
        (c.layout.planar || c.layout.channelCount == 1)) {
        rule = Agreement::FloatBound;
    }
    const std::size_t bytes = static_cast<std::size_t>(ElementBytes(c.type));
    const double floatBound = std::ldexp(std::max(1.0, largest), -12);
    for (std::size_t e = 0; e < generic.bytes.size() / bytes; ++e) {
        const bool written = std::memcmp(&generic.bytes[e * bytes], &genericOtherFill.bytes[e * bytes], bytes) == 0;
        const bool same = std::memcmp(&generic.bytes[e * bytes], &simd.bytes[e * bytes], bytes) == 0;
        if (same) {
            continue;
        }
        ASSERT_TRUE(written) << name << ": untouched element " << e << " written";
        ASSERT_NE(rule, Agreement::Identical) << name << ": element " << e;
        const double difference = std::fabs(ElementAt(generic.bytes, e, c.type) - ElementAt(simd.bytes, e, c.type));
        const double allowed = rule == Agreement::WithinOne ? 1.0 : floatBound;
        ASSERT_LE(difference, allowed) << name << ": element " << e;
    }
}

// Clip mode 0 with nearest: the generic build keeps an offered length one above the fitted length
// trunc(region / step + 1e-7), the SSE2-class builds (slots 3 and 4) cut it to the fitted length.
// Their result is the generic build's for the length so cut.
// Sources under 2 pixels a side take every method of the core as nearest.
bool CutsNearestToFitted(const ResizeBuild& build, const DifferentialCall& c) {
    const bool nearest = c.code == InterpNearest ||
                         (c.code != InterpSuperSample && (c.source.width < 2 || c.source.height < 2));
    return build.slot >= 3 && nearest && c.clipMode == 0;
}

std::int32_t FittedNearestLength(std::int32_t offered, std::int32_t region, double step) {
    const double fitted = std::trunc(region / step + 1e-7);
    return fitted == offered - 1.0 ? offered - 1 : offered;
}

ResizeSize FittedNearestSize(const DifferentialCall& c) {
    const std::int32_t w = std::min(c.region.width, c.source.width - c.region.x);
    const std::int32_t h = std::min(c.region.height, c.source.height - c.region.y);
    return {FittedNearestLength(c.destination.width, w, c.scaleX),
            FittedNearestLength(c.destination.height, h, c.scaleY)};
}

TEST(BuildDifferential, NearestStepModeLengthFollowsEachBuildsRule) {
    const auto builds = ResizeBuilds();
    // A 12 x 12 source, region 10 x 10, steps of 2 source pixels: 5 columns and rows fit.
    const DifferentialCall base{C3, Type8u, InterpNearest, {12, 12}, {0, 0, 10, 10}, {}, 2.0, 2.0, 0, 0, 0};
    const struct {
        ResizeSize offered;
        ResizeSize genericWrites;
        ResizeSize sse2Writes;
    } cases[] = {
        {{6, 6}, {6, 6}, {5, 5}},  // one over the fitted length: the rules differ
        {{6, 4}, {6, 4}, {5, 4}},
        {{7, 7}, {5, 5}, {5, 5}},
        {{5, 5}, {5, 5}, {5, 5}},
        {{3, 6}, {3, 6}, {3, 5}},
    };
    std::mt19937 random(79);
    TestImage source(base.layout, base.type, 12, 12, 0, 0xCD, 0);
    source.FillRandom(random);
    for (const auto& k : cases) {
        DifferentialCall c = base;
        c.destination = {8, 8};
        for (const ResizeBuild& build : builds) {
            const ResizeSize expected = build.slot >= 3 ? k.sse2Writes : k.genericWrites;
            const Outcome one = RunBuild(build, c, source, 0xCD, k.offered);
            const Outcome other = RunBuild(build, c, source, 0x5A, k.offered);
            ASSERT_EQ(one.status, StatusOk) << build.name;
            for (std::int32_t y = 0; y < 8; ++y) {
                for (std::int32_t x = 0; x < 8; ++x) {
                    const std::size_t at = (static_cast<std::size_t>(y) * 8 + x) * 3;
                    const bool written = one.bytes[at] == other.bytes[at];
                    EXPECT_EQ(written, x < expected.width && y < expected.height)
                        << build.name << " offered " << k.offered.width << "x" << k.offered.height << " at " << x
                        << "," << y;
                }
            }
        }
    }
}

// Super-sampling with whole steps on 8-bit data of rows long enough for the SIMD builds' one-go
// rows: factors whose sum scale is a power of two and others, bands up to the 257 pixels their
// 16-bit sums hold and past them, bright and random pictures, regions cut at the right and bottom:
// every build writes the generic build's bytes.
TEST(BuildDifferential, WholeStepSuperSamplingOfLongRowsGivesTheGenericBytes) {
    const auto builds = ResizeBuilds();
    const struct {
        double scaleX;
        double scaleY;
    } factors[] = {{0.5, 0.5}, {1.0 / 3.0, 1.0 / 3.0}, {0.25, 1.0 / 16.0}, {1.0 / 16.0, 1.0 / 16.0},
                   {1.0 / 17.0, 1.0 / 16.0}, {1.0, 0.5}, {0.5, 1.0}, {1.0, 1.0}, {0.2, 1.0 / 7.0}};
    std::mt19937 random(2079);
    for (const Layout& layout : {C1, C3, AC4, C4}) {
        for (const auto& f : factors) {
            for (int bright = 0; bright < 2; ++bright) {
                DifferentialCall c{layout, Type8u, InterpSuperSample, {301, 70}, {3, 2, 296, 68}, {}, f.scaleX,
                                   f.scaleY, 1, 0, 0};
                c.region.width += bright * 5;  // past the right edge, cut to the source
                c.destination = {DestinationLength(c.scaleX, 1, 298, random), DestinationLength(c.scaleY, 1, 68, random)};
                TestImage source(layout, Type8u, c.source.width, c.source.height, 4, 0xCD, 0);
                if (bright != 0) {
                    source.FillWith(255);
                } else {
                    source.FillRandom(random);
                }
                const Outcome generic = RunBuild(builds[0], c, source, 0xCD);
                ASSERT_EQ(generic.status, StatusOk);
                for (std::size_t b = 1; b < builds.size(); ++b) {
                    const Outcome simd = RunBuild(builds[b], c, source, 0xCD);
                    ASSERT_EQ(simd.status, StatusOk) << Name(builds[b], c);
                    ASSERT_TRUE(simd.guardsIntact) << Name(builds[b], c);
                    ASSERT_EQ(simd.bytes, generic.bytes) << Name(builds[b], c);
                }
            }
        }
    }
}

// Halving three-element rows works on blocks of eight destination pixels and makes the rest one
// by one: every width from one pixel up, tight source rows, and an odd last band of one row.
TEST(BuildDifferential, HalvingThreeElementRowsOfEveryWidthGivesTheGenericBytes) {
    const auto builds = ResizeBuilds();
    std::mt19937 random(2080);
    for (std::int32_t width = 2; width <= 72; ++width) {
        for (std::int32_t left = 0; left < 2; ++left) {
            DifferentialCall c{C3, Type8u, InterpSuperSample, {width + left, 7}, {left, 0, width, 7},
                               {(width + 1) / 2, 4}, 0.5, 0.5, 1, 0, 0};
            TestImage source(C3, Type8u, c.source.width, c.source.height, 0, 0xCD, 0);
            source.FillRandom(random);
            const Outcome generic = RunBuild(builds[0], c, source, 0xCD);
            ASSERT_EQ(generic.status, StatusOk) << width;
            for (std::size_t b = 1; b < builds.size(); ++b) {
                const Outcome simd = RunBuild(builds[b], c, source, 0xCD);
                ASSERT_EQ(simd.status, StatusOk) << Name(builds[b], c);
                ASSERT_TRUE(simd.guardsIntact) << Name(builds[b], c);
                ASSERT_EQ(simd.bytes, generic.bytes) << Name(builds[b], c);
            }
        }
    }
}

TEST(BuildDifferential, EverySimdBuildAgreesWithTheGenericBuild) {
    if (std::string(BuildUnderTest().name) != "generic") {
        GTEST_SKIP() << "the table runs every build itself";
    }
    const auto builds = ResizeBuilds();
    ASSERT_STREQ(builds[0].name, "generic");
    std::mt19937 random(1964);
    for (const DifferentialCall& c : MakeTable()) {
        TestImage source(c.layout, c.type, c.source.width, c.source.height, 4 * Between(random, 0, 2), 0xCD,
                         c.sourceOffset);
        source.FillRandom(random);
        const double largest = c.type == Type32f ? LargestMagnitude(source) : 0.0;
        const Outcome generic = RunBuild(builds[0], c, source, 0xCD);
        const Outcome genericOtherFill = RunBuild(builds[0], c, source, 0x5A);
        ASSERT_EQ(genericOtherFill.status, generic.status);
        const Outcome genericFitted = RunBuild(builds[0], c, source, 0xCD, FittedNearestSize(c));
        const Outcome genericFittedOtherFill = RunBuild(builds[0], c, source, 0x5A, FittedNearestSize(c));
        std::vector<Outcome> simd;
        for (std::size_t b = 1; b < builds.size(); ++b) {
            simd.push_back(RunBuild(builds[b], c, source, 0xCD));
            if (CutsNearestToFitted(builds[b], c)) {
                ExpectAgreement(builds[b], c, largest, genericFitted, genericFittedOtherFill, simd.back());
            } else {
                ExpectAgreement(builds[b], c, largest, generic, genericOtherFill, simd.back());
            }
            if (HasFatalFailure()) {
                return;
            }
        }
        // The SIMD builds share their float linear operations, and their Lanczos weights and float
        // kernels (where the source is large enough not to lower Lanczos to cubic): their bytes
        // agree exactly.
        const bool lanczos = c.code == InterpLanczos && c.source.width >= 6 && c.source.height >= 6;
        if ((c.code == InterpLinear || lanczos) && c.type == Type32f) {
            for (std::size_t b = 1; b < simd.size(); ++b) {
                ASSERT_EQ(simd[b].bytes, simd[0].bytes) << Name(builds[b + 1], c);
            }
        }
        // The SSE3-class build is the SSE2 build once more: the same status and bytes, every
        // method, type and layout.
        for (std::size_t b = 1; b < simd.size(); ++b) {
            if (builds[b + 1].slot == 4 && builds[b].slot == 3) {
                ASSERT_EQ(simd[b].status, simd[b - 1].status) << Name(builds[b + 1], c);
                ASSERT_EQ(simd[b].bytes, simd[b - 1].bytes) << Name(builds[b + 1], c);
            }
        }
    }
}

}  // namespace
