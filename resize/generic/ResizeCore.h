#pragma once
// The generic build of the resize engine.

#include <cstdint>

#include "resize/ResizeTypes.h"

namespace resize::generic {

// The generic body of ImageResize_8u_C3R (dispatch slot 1): fixes the engine's parameters for
// 8-bit three-channel interleaved data and hands the call on.
ResizeStatus Resize_8u_C3R(const std::uint8_t* sourceImage, ResizeSize sourceSize,
                           std::int32_t sourceStep, ResizeRect sourceRegion,
                           std::uint8_t* destinationImage, std::int32_t destinationStep,
                           ResizeSize destinationSize, double scaleX, double scaleY,
                           std::int32_t interpolationCode);

// The engine behind nearest, linear, cubic and Lanczos interpolation for 8u, 16u and 32f
// elements (elementType 0, 1, 2) in C1, C3, AC4 (channelCount 3, pixelStride 4) and C4 layouts,
// or planar (isPlanar: sourceImage and destinationImage are arrays of 3 planes when channelCount
// is 3, else 4). Steps in bytes. clipMode 1: the factors scale the region; 0: they are source
// steps per destination pixel. Shifts are added to the first source coordinate.
// Checks run in a fixed order and the first failure decides; nothing is written unless the
// result is StatusOk, and every table and work row is freed before the call returns.
ResizeStatus ResizeCore(const void* sourceImage, std::int32_t sourceWidth,
                        std::int32_t sourceHeight, std::int32_t sourceStep, std::int32_t regionX,
                        std::int32_t regionY, std::int32_t regionWidth, std::int32_t regionHeight,
                        void* destinationImage, std::int32_t destinationStep,
                        std::int32_t destinationWidth, std::int32_t destinationHeight,
                        double scaleX, double scaleY, double shiftX, double shiftY,
                        std::int32_t pixelStride, std::int32_t channelCount,
                        std::int32_t elementType, std::int32_t isPlanar,
                        std::int32_t interpolationCode, std::int32_t clipMode);

}  // namespace resize::generic
