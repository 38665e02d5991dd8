#include "resize/generic/ResizeCore.h"

namespace resize::generic {

ResizeStatus Resize_8u_C3R(const std::uint8_t* sourceImage, ResizeSize sourceSize,
                           std::int32_t sourceStep, ResizeRect sourceRegion,
                           std::uint8_t* destinationImage, std::int32_t destinationStep,
                           ResizeSize destinationSize, double scaleX, double scaleY,
                           std::int32_t interpolationCode) {
    // Super-sampling (code 8 with neither factor above 1.0) is not built yet; until it is, code 8
    // reaches the core like any code it does not know.
    return ResizeCore(sourceImage, sourceSize.width, sourceSize.height, sourceStep,
                      sourceRegion.x, sourceRegion.y, sourceRegion.width, sourceRegion.height,
                      destinationImage, destinationStep, destinationSize.width,
                      destinationSize.height, scaleX, scaleY, 0.0, 0.0, /*pixelStride*/ 3,
                      /*channelCount*/ 3, /*elementType*/ 0, /*isPlanar*/ 0, interpolationCode,
                      /*clipMode*/ 1);
}

}  // namespace resize::generic
