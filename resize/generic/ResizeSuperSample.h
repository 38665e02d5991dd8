#pragma once
// Super-sampling: resizing by area averaging, for reductions.

#include <cstdint>

#include "resize/ResizeTypes.h"

namespace resize::generic {

// Every destination pixel is the average of the source area under it. ResizeCore's parameters
// without the shifts and the interpolation code; the same data layouts, the same checks in the
// same order, the same region and destination clip. Only reductions: clip mode 1 takes factors
// up to 1.0, clip mode 0 steps of at least 1.0; others, like non-finite ones, give
// StatusBadFactor. A forced single destination column or row (factor x region below one pixel)
// averages the whole region along that axis. Nothing is written unless the result is StatusOk.
ResizeStatus ResizeSuperSample(const void* sourceImage, std::int32_t sourceWidth,
                               std::int32_t sourceHeight, std::int32_t sourceStep,
                               std::int32_t regionX, std::int32_t regionY, std::int32_t regionWidth,
                               std::int32_t regionHeight, void* destinationImage,
                               std::int32_t destinationStep, std::int32_t destinationWidth,
                               std::int32_t destinationHeight, double scaleX, double scaleY,
                               std::int32_t pixelStride, std::int32_t channelCount,
                               std::int32_t elementType, std::int32_t isPlanar,
                               std::int32_t clipMode);

}  // namespace resize::generic
