#pragma once
// The builds of the resize engine present in this program, by name and dispatch slot, with
// their inner routines; for the dispatcher, and for the tests, tools and benchmarks that run a
// build directly.

#include <cstdint>
#include <span>
#include <string_view>

#include "resize/ResizeTypes.h"

namespace resize {

using ResizeRoutine = ResizeStatus (*)(const std::uint8_t*, ResizeSize, std::int32_t, ResizeRect,
                                       std::uint8_t*, std::int32_t, ResizeSize, double, double,
                                       std::int32_t);

// A build's ResizeCore: source, source width and height, source step, region x, y, width and
// height, destination, destination step, destination width and height, x and y factor, x and y
// shift, pixel stride, channels, element type, planar flag, interpolation code, clip mode.
using ResizeCoreRoutine = ResizeStatus (*)(const void*, std::int32_t, std::int32_t, std::int32_t,
                                           std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                           void*, std::int32_t, std::int32_t, std::int32_t, double,
                                           double, double, double, std::int32_t, std::int32_t,
                                           std::int32_t, std::int32_t, std::int32_t, std::int32_t);

// A build's ResizeSuperSample: ResizeCore's parameters without the shifts and the
// interpolation code.
using ResizeSuperSampleRoutine = ResizeStatus (*)(const void*, std::int32_t, std::int32_t,
                                                  std::int32_t, std::int32_t, std::int32_t,
                                                  std::int32_t, std::int32_t, void*, std::int32_t,
                                                  std::int32_t, std::int32_t, double, double,
                                                  std::int32_t, std::int32_t, std::int32_t,
                                                  std::int32_t, std::int32_t);

struct ResizeBuild {
    const char* name;  // "generic", "sse", "sse2", "sse3"
    std::int32_t slot;
    ResizeRoutine entry;
    ResizeCoreRoutine core;
    ResizeSuperSampleRoutine superSample;
};

// The generic build first, then the SIMD builds the program was built with (QUENLO_RESIZE_SIMD;
// none outside x86-64).
std::span<const ResizeBuild> ResizeBuilds();

// Null for a name no build of this program carries.
const ResizeBuild* FindResizeBuild(std::string_view name);

}  // namespace resize
