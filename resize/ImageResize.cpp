#include "resize/ImageResize.h"

#include "resize/generic/ResizeCore.h"

namespace resize {

const ResizeRoutine ResizeDispatchTable[ResizeDispatchSlots] = {
    nullptr,
    &generic::Resize_8u_C3R,
    nullptr,
    nullptr,
    nullptr,
};

std::int32_t ResizeVariantIndex = 1;

DispatchDescriptor ResizeDispatchDescriptor = {"i", "ImageResize_8u_C3R", ResizeDispatchTable,
                                               nullptr};
DispatchDescriptor* DispatchDescriptorList = nullptr;

ResizeStatus ImageResize_8u_C3R(const std::uint8_t* sourceImage, ResizeSize sourceSize,
                                std::int32_t sourceStep, ResizeRect sourceRegion,
                                std::uint8_t* destinationImage, std::int32_t destinationStep,
                                ResizeSize destinationSize, double scaleX, double scaleY,
                                std::int32_t interpolationCode) {
    std::int32_t slot = ResizeVariantIndex;
    // A slot without a build (no SIMD build is present yet) falls back to the generic one.
    if (slot < 0 || slot >= ResizeDispatchSlots || ResizeDispatchTable[slot] == nullptr) {
        slot = 1;
    }
    return ResizeDispatchTable[slot](sourceImage, sourceSize, sourceStep, sourceRegion,
                                     destinationImage, destinationStep, destinationSize, scaleX,
                                     scaleY, interpolationCode);
}

DispatchDescriptor* PushDispatchDescriptor(DispatchDescriptor* descriptor) {
    DispatchDescriptor* former = DispatchDescriptorList;
    DispatchDescriptorList = descriptor;
    return former;
}

void RegisterResizeDispatcher() {
    ResizeDispatchDescriptor.next = PushDispatchDescriptor(&ResizeDispatchDescriptor);
}

namespace {
// Static initializer: the dispatcher is registered before main() runs.
[[maybe_unused]] const bool registeredAtStartUp = (RegisterResizeDispatcher(), true);
}  // namespace

}  // namespace resize
