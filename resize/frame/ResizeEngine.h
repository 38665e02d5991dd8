#pragma once
// One build of the resize engine: the frame (entry body, core, super-sampling and row drivers)
// over the build's kernel set K. A kernel set names the build's horizontal and vertical kernels
// of each method, its LanczosWeights, its whole-row sums of super-sampling and its allocators
// (see generic/GenericBuild.h). Each build instantiates the engine once, in its own source file,
// so every routine, table and constant of a build is its own.

#include <cstdint>

#include "resize/ResizeTypes.h"
#include "resize/frame/RowDrivers.h"

namespace resize::frame {

template <class K>
struct ResizeEngine {
    // The build's body of ImageResize_8u_C3R: fixes the engine's parameters for 8-bit
    // three-channel interleaved data; super-sampling when asked for with both factors at most
    // 1.0, the core otherwise.
    static ResizeStatus Resize_8u_C3R(const std::uint8_t* sourceImage, ResizeSize sourceSize,
                                      std::int32_t sourceStep, ResizeRect sourceRegion,
                                      std::uint8_t* destinationImage, std::int32_t destinationStep,
                                      ResizeSize destinationSize, double scaleX, double scaleY,
                                      std::int32_t interpolationCode);

    // Nearest, linear, cubic and Lanczos interpolation for 8u, 16u and 32f elements (elementType
    // 0, 1, 2) in C1, C3, AC4 (channelCount 3, pixelStride 4) and C4 layouts, or planar
    // (isPlanar: sourceImage and destinationImage are arrays of 3 planes when channelCount is 3,
    // else 4). Steps in bytes. clipMode 1: the factors scale the region; 0: they are source steps
    // per destination pixel. Shifts are added to the first source coordinate. Checks run in a
    // fixed order and the first failure decides; nothing is written unless the result is
    // StatusOk, and every table and work row is freed before the call returns.
    static ResizeStatus ResizeCore(const void* sourceImage, std::int32_t sourceWidth,
                                   std::int32_t sourceHeight, std::int32_t sourceStep,
                                   std::int32_t regionX, std::int32_t regionY,
                                   std::int32_t regionWidth, std::int32_t regionHeight,
                                   void* destinationImage, std::int32_t destinationStep,
                                   std::int32_t destinationWidth, std::int32_t destinationHeight,
                                   double scaleX, double scaleY, double shiftX, double shiftY,
                                   std::int32_t pixelStride, std::int32_t channelCount,
                                   std::int32_t elementType, std::int32_t isPlanar,
                                   std::int32_t interpolationCode, std::int32_t clipMode);

    // Every destination pixel is the average of the source area under it. ResizeCore's
    // parameters without the shifts and the interpolation code; the same data layouts, the same
    // checks in the same order, the same region and destination clip. Only reductions: clip
    // mode 1 takes factors up to 1.0, clip mode 0 steps of at least 1.0; others, like non-finite
    // ones, give StatusBadFactor. A forced single destination column or row (factor x region
    // below one pixel) averages the whole region along that axis. Nothing is written unless the
    // result is StatusOk.
    static ResizeStatus ResizeSuperSample(const void* sourceImage, std::int32_t sourceWidth,
                                          std::int32_t sourceHeight, std::int32_t sourceStep,
                                          std::int32_t regionX, std::int32_t regionY,
                                          std::int32_t regionWidth, std::int32_t regionHeight,
                                          void* destinationImage, std::int32_t destinationStep,
                                          std::int32_t destinationWidth,
                                          std::int32_t destinationHeight, double scaleX,
                                          double scaleY, std::int32_t pixelStride,
                                          std::int32_t channelCount, std::int32_t elementType,
                                          std::int32_t isPlanar, std::int32_t clipMode);

    // The build's 27 row drivers, in the table layout of RowDrivers.h.
    static const RowDriverEntry* RowDriverTable();
};

}  // namespace resize::frame
