// The SSE3-class build against the SSE2 build: float sources holding NaNs with payloads and
// infinities give the same bytes; the build's entry, row-driver table and allocators are its own;
// each of its kernels, given the memory of a call of its SSE2 twin, writes the same bytes.

#include <gtest/gtest.h>

#if QUENLO_RESIZE_SIMD

#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <vector>

#include "KernelProbe.h"
#include "ResizeTestSupport.h"
#include "resize/ResizeBuilds.h"
#include "resize/sse2/Sse2Build.h"
#include "resize/sse3/Sse3Build.h"

using namespace resize;
using namespace resize_test;

namespace {

std::uint32_t Bits(float f) {
    std::uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

float FromBits(std::uint32_t b) {
    float f;
    std::memcpy(&f, &b, 4);
    return f;
}

// Quiet and signalling NaNs of both signs with payloads, infinities, and ordinary values.
float SpecialOrOrdinary(std::mt19937& random) {
    switch (random() % 8) {
    case 0:
        return FromBits(0x7FC00000u | (random() & 0x3FFFFFu));  // quiet, payload
    case 1:
        return FromBits(0xFF800001u | (random() & 0x3FFFFEu));  // signalling, negative, payload
    case 2:
        return random() % 2 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    default:
        return static_cast<float>(static_cast<double>(random() % 20001) / 7.0 - 1000.0);
    }
}

TEST(Sse3ClassBuild, FloatNaNsAndInfinitiesGiveTheSse2BuildsBytes) {
    const ResizeBuild* sse2Build = FindResizeBuild("sse2");
    const ResizeBuild* sse3Build = FindResizeBuild("sse3");
    ASSERT_NE(sse2Build, nullptr);
    ASSERT_NE(sse3Build, nullptr);
    std::mt19937 random(8101);
    const std::int32_t methods[] = {InterpNearest, InterpLinear, InterpCubic, InterpLanczos, InterpSuperSample};
    const double factors[][2] = {{2.0, 1.5}, {0.5, 0.5}, {0.4, 0.7}, {1.0, 2.0}};
    int nanResults = 0;
    for (std::int32_t code : methods) {
        for (const Layout& layout : AllLayouts) {
            for (const auto& f : factors) {
                if (code == InterpSuperSample && (f[0] > 1.0 || f[1] > 1.0)) {
                    continue;
                }
                TestImage source(layout, Type32f, 21, 13);
                for (std::int32_t y = 0; y < 13; ++y) {
                    for (std::int32_t x = 0; x < 21; ++x) {
                        for (int e = 0; e < source.ElementsPerPixel(); ++e) {
                            const float v = SpecialOrOrdinary(random);
                            std::memcpy(source.Element(x, y, e), &v, 4);
                        }
                    }
                }
                TestImage destinations[2] = {TestImage(layout, Type32f, 44, 28), TestImage(layout, Type32f, 44, 28)};
                const ResizeBuild* builds[2] = {sse2Build, sse3Build};
                ResizeStatus statuses[2];
                for (int b = 0; b < 2; ++b) {
                    CoreCall call = WholeImageCall(source, destinations[b], f[0], f[1], code);
                    statuses[b] = code == InterpSuperSample
                                      ? builds[b]->superSample(call.sourceImage, call.sourceWidth, call.sourceHeight,
                                                               call.sourceStep, call.regionX, call.regionY,
                                                               call.regionWidth, call.regionHeight,
                                                               call.destinationImage, call.destinationStep,
                                                               call.destinationWidth, call.destinationHeight,
                                                               call.scaleX, call.scaleY, call.pixelStride,
                                                               call.channelCount, call.elementType, call.isPlanar,
                                                               call.clipMode)
                                      : builds[b]->core(call.sourceImage, call.sourceWidth, call.sourceHeight,
                                                        call.sourceStep, call.regionX, call.regionY,
                                                        call.regionWidth, call.regionHeight, call.destinationImage,
                                                        call.destinationStep, call.destinationWidth,
                                                        call.destinationHeight, call.scaleX, call.scaleY, 0.0, 0.0,
                                                        call.pixelStride, call.channelCount, call.elementType,
                                                        call.isPlanar, code, call.clipMode);
                }
                const std::string name = std::string("code ") + std::to_string(code) + " " + layout.name;
                ASSERT_EQ(statuses[0], StatusOk) << name;
                ASSERT_EQ(statuses[1], statuses[0]) << name;
                const std::vector<std::uint8_t> bytes = destinations[0].Contents();
                ASSERT_EQ(destinations[1].Contents(), bytes) << name;
                for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
                    float v;
                    std::memcpy(&v, &bytes[at], 4);
                    nanResults += v != v && (Bits(v) & 0x3FFFFFu) != 0 ? 1 : 0;
                }
            }
        }
    }
    EXPECT_GT(nanResults, 0) << "no NaN payload reached a destination";
}

TEST(Sse3ClassBuild, EntryDriverTableAndAllocatorsAreItsOwn) {
    EXPECT_NE(&sse3::Engine::Resize_8u_C3R, sse2::Resize_8u_C3R);
    EXPECT_NE(&sse3::Engine::ResizeCore, sse2::ResizeCore);
    EXPECT_NE(&sse3::Engine::ResizeSuperSample, sse2::ResizeSuperSample);
    const frame::RowDriverEntry* own = sse3::Engine::RowDriverTable();
    const frame::RowDriverEntry* twin = sse2::Engine::RowDriverTable();
    EXPECT_NE(own, twin);
    std::set<frame::RowDriver> twinDrivers;
    for (int i = 0; i < frame::RowDriverCount; ++i) {
        twinDrivers.insert(twin[i].run);
    }
    for (int i = 0; i < frame::RowDriverCount; ++i) {
        EXPECT_STREQ(own[i].name, twin[i].name) << i;
        EXPECT_EQ(twinDrivers.count(own[i].run), 0u) << own[i].name;
    }
    using OwnAllocators = frame::AlignedAllocators<sse3::KernelSet>;
    using TwinAllocators = frame::AlignedAllocators<sse2::KernelSet>;
    EXPECT_NE(&OwnAllocators::AlignedAllocBytes, &TwinAllocators::AlignedAllocBytes);
    EXPECT_NE(&OwnAllocators::AlignedFree, &TwinAllocators::AlignedFree);
}

TEST(Sse3ClassBuild, EachKernelWritesItsSse2TwinsBytes) {
    const std::vector<KernelProbeResult> own = ProbeSse3Kernels();
    const std::vector<KernelProbeResult> twin = ProbeSse2Kernels();
    ASSERT_EQ(own.size(), twin.size());
    ASSERT_FALSE(own.empty());
    for (std::size_t k = 0; k < own.size(); ++k) {
        EXPECT_EQ(own[k].name, twin[k].name);
        EXPECT_EQ(own[k].bytes, twin[k].bytes) << own[k].name;
        if (own[k].kernel != nullptr) {
            EXPECT_NE(own[k].kernel, twin[k].kernel) << own[k].name << ": the same routine";
        }
    }
}

}  // namespace

#endif
