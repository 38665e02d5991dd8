#pragma once
// Argument checks, region clip and addressing shared by the core and super-sampling.

#include <cstddef>
#include <cstdint>

#include "resize/ResizeTypes.h"

namespace resize::frame {

inline constexpr std::int32_t Element8u = 0;
inline constexpr std::int32_t Element16u = 1;
inline constexpr std::int32_t Element32f = 2;

// Bytes per element; 0 for an unknown element type.
constexpr std::int32_t ElementSize(std::int32_t elementType) {
    return elementType == Element8u ? 1 : elementType == Element16u ? 2 : elementType == Element32f ? 4 : 0;
}

// The arguments every resize driver starts from. Interleaved images are addressed through
// sourceImage / destinationImage directly; planar ones through arrays of 3 or 4 plane pointers
// (`const void* const*` and `void* const*`) passed in those two fields. Steps are in bytes.
struct ResizeArguments {
    const void* sourceImage;
    std::int32_t sourceWidth;
    std::int32_t sourceHeight;
    std::int32_t sourceStep;
    std::int32_t regionX;
    std::int32_t regionY;
    std::int32_t regionWidth;
    std::int32_t regionHeight;
    void* destinationImage;
    std::int32_t destinationStep;
    std::int32_t destinationWidth;
    std::int32_t destinationHeight;
    double scaleX;
    double scaleY;
    std::int32_t pixelStride;
    std::int32_t channelCount;
    std::int32_t elementType;
    std::int32_t isPlanar;
    std::int32_t clipMode;
};

// The checks before any work, in their order; the first that fails decides: null pointers
// (every plane pointer of planar data included), source size, steps, region origin and size,
// region outside the source (a warning), destination size, factors (NaN refused).
ResizeStatus CheckResizeArguments(const ResizeArguments& args);

// Engine parameters that only internal callers pass: element type, channel count, pixel stride
// (C1 1/1, C3 3/3, AC4 3/4, C4 4/4; planar 1, 3 or 4 channels) and clip mode 0 or 1. Anything
// else would address memory the caller never described.
bool IsSupportedEngineLayout(const ResizeArguments& args);

// Cuts the region at the source's right and bottom edges.
void ClipRegionToSource(ResizeArguments& args);

// Clip mode 1: min(available, max(1, trunc(scale x regionLength + 1e-7))), clamped in floating
// point so a huge or infinite factor never overflows a conversion.
std::int32_t ClipDestinationLength(std::int32_t available, double scale, std::int32_t regionLength);

// 1 for interleaved data; 3 planes when channelCount is 3, 4 otherwise.
int PlaneCount(const ResizeArguments& args);

// The region's top-left element (of `plane` for planar data; interleaved data has plane 0 only),
// and the destination element that receives it.
const void* RegionStart(const ResizeArguments& args, int plane);
void* DestinationStart(const ResizeArguments& args, int plane);

// trunc(coordinate + 1e-7), kept within 0 ... last before the conversion, so a coordinate that
// drifted or was shifted past either end names the nearest pixel that exists (NaN gives 0).
inline std::int32_t TruncatedIndex(double coordinate, std::int32_t last) {
    const double value = coordinate + ResizeEpsilon;
    if (!(value >= 1.0)) {
        return 0;
    }
    if (value >= static_cast<double>(last)) {
        return last;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace resize::frame
