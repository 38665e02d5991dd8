#include "resize/frame/ResizeGeometry.h"

#include <algorithm>
#include <cmath>

namespace resize::frame {

ResizeStatus CheckResizeArguments(const ResizeArguments& a) {
    if (a.sourceImage == nullptr || a.destinationImage == nullptr) {
        return StatusNullPointer;
    }
    if (a.isPlanar != 0) {
        const auto sourcePlanes = static_cast<const void* const*>(a.sourceImage);
        const auto destinationPlanes = static_cast<void* const*>(a.destinationImage);
        for (int plane = 0; plane < PlaneCount(a); ++plane) {
            if (sourcePlanes[plane] == nullptr || destinationPlanes[plane] == nullptr) {
                return StatusNullPointer;
            }
        }
    }
    if (a.sourceWidth <= 0 || a.sourceHeight <= 0) {
        return StatusBadSize;
    }
    if (a.sourceStep < 1 || a.destinationStep < 1) {
        return StatusBadStep;
    }
    if (a.regionX < 0 || a.regionY < 0 || a.regionWidth <= 0 || a.regionHeight <= 0) {
        return StatusBadSize;
    }
    if (a.regionX >= a.sourceWidth || a.regionY >= a.sourceHeight) {
        return StatusOutsideSource;
    }
    if (a.destinationWidth <= 0 || a.destinationHeight <= 0) {
        return StatusBadSize;
    }
    // Written as "not greater" so that NaN is refused too.
    if (!(a.scaleX > 0.0) || !(a.scaleY > 0.0)) {
        return StatusBadFactor;
    }
    return StatusOk;
}

bool IsSupportedEngineLayout(const ResizeArguments& a) {
    if (ElementSize(a.elementType) == 0 || (a.clipMode != 0 && a.clipMode != 1)) {
        return false;
    }
    if (a.isPlanar != 0) {
        return a.channelCount == 1 || a.channelCount == 3 || a.channelCount == 4;
    }
    return (a.channelCount == 1 && a.pixelStride == 1) ||
           (a.channelCount == 3 && (a.pixelStride == 3 || a.pixelStride == 4)) ||
           (a.channelCount == 4 && a.pixelStride == 4);
}

void ClipRegionToSource(ResizeArguments& a) {
    a.regionWidth = std::min(a.regionWidth, a.sourceWidth - a.regionX);
    a.regionHeight = std::min(a.regionHeight, a.sourceHeight - a.regionY);
}

std::int32_t ClipDestinationLength(std::int32_t available, double scale, std::int32_t regionLength) {
    const double fitted = std::trunc(scale * static_cast<double>(regionLength) + ResizeEpsilon);
    if (!(fitted < static_cast<double>(available))) {
        return available;
    }
    return fitted < 1.0 ? 1 : static_cast<std::int32_t>(fitted);
}

int PlaneCount(const ResizeArguments& a) {
    if (a.isPlanar == 0) {
        return 1;
    }
    return a.channelCount == 3 ? 3 : 4;
}

const void* RegionStart(const ResizeArguments& a, int plane) {
    const std::ptrdiff_t elementSize = ElementSize(a.elementType);
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(a.regionY) * a.sourceStep;
    if (a.isPlanar == 0) {
        return static_cast<const std::uint8_t*>(a.sourceImage) + rowBytes +
               static_cast<std::ptrdiff_t>(a.regionX) * a.pixelStride * elementSize;
    }
    const void* planeStart = static_cast<const void* const*>(a.sourceImage)[plane];
    return static_cast<const std::uint8_t*>(planeStart) + rowBytes +
           static_cast<std::ptrdiff_t>(a.regionX) * elementSize;
}

void* DestinationStart(const ResizeArguments& a, int plane) {
    if (a.isPlanar == 0) {
        return a.destinationImage;
    }
    return static_cast<void* const*>(a.destinationImage)[plane];
}

}  // namespace resize::frame
