#pragma once
// The definitions of a build's entry body and driver table; included by the build's own source
// file only, which instantiates ResizeEngine over its kernel set.

#include "resize/frame/ResizeCoreFrame.h"
#include "resize/frame/ResizeEngine.h"
#include "resize/frame/ResizeSuperSampleFrame.h"
#include "resize/frame/RowDriverTable.h"

namespace resize::frame {

template <class K>
ResizeStatus ResizeEngine<K>::Resize_8u_C3R(const std::uint8_t* sourceImage, ResizeSize sourceSize,
                                            std::int32_t sourceStep, ResizeRect sourceRegion,
                                            std::uint8_t* destinationImage,
                                            std::int32_t destinationStep,
                                            ResizeSize destinationSize, double scaleX,
                                            double scaleY, std::int32_t interpolationCode) {
    // Super-sampling averages areas, so it serves reductions only; code 8 with a factor above
    // 1.0 (or NaN, which fails the comparison) goes to the core, which refuses it.
    if (interpolationCode == InterpSuperSample && scaleX <= 1.0 && scaleY <= 1.0) {
        return ResizeSuperSample(sourceImage, sourceSize.width, sourceSize.height, sourceStep,
                                 sourceRegion.x, sourceRegion.y, sourceRegion.width,
                                 sourceRegion.height, destinationImage, destinationStep,
                                 destinationSize.width, destinationSize.height, scaleX, scaleY,
                                 /*pixelStride*/ 3, /*channelCount*/ 3, /*elementType*/ 0,
                                 /*isPlanar*/ 0, /*clipMode*/ 1);
    }
    return ResizeCore(sourceImage, sourceSize.width, sourceSize.height, sourceStep,
                      sourceRegion.x, sourceRegion.y, sourceRegion.width, sourceRegion.height,
                      destinationImage, destinationStep, destinationSize.width,
                      destinationSize.height, scaleX, scaleY, 0.0, 0.0, /*pixelStride*/ 3,
                      /*channelCount*/ 3, /*elementType*/ 0, /*isPlanar*/ 0, interpolationCode,
                      /*clipMode*/ 1);
}

template <class K>
const RowDriverEntry* ResizeEngine<K>::RowDriverTable() {
    return RowDriverTableOf<K>;
}

}  // namespace resize::frame
