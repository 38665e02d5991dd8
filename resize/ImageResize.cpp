#include "resize/ImageResize.h"

#include "resize/CpuSelection.h"
#include "resize/generic/GenericBuild.h"
#if QUENLO_RESIZE_SIMD
#include "resize/sse/SseBuild.h"
#include "resize/sse2/Sse2Build.h"
#include "resize/sse3/Sse3Build.h"
#endif

namespace resize {

const ResizeRoutine ResizeDispatchTable[ResizeDispatchSlots] = {
    nullptr,
    generic::Resize_8u_C3R,
#if QUENLO_RESIZE_SIMD
    sse::Resize_8u_C3R,
    sse2::Resize_8u_C3R,
    &sse3::Engine::Resize_8u_C3R,
#else
    nullptr,
    nullptr,
    nullptr,
#endif
};

std::atomic<std::int32_t> ResizeVariantIndex{1};

ResizeRoutine SelectedResizeRoutine() {
    const std::int32_t slot = ResizeVariantIndex.load(std::memory_order_relaxed);
    if (slot < 0 || slot >= ResizeDispatchSlots || ResizeDispatchTable[slot] == nullptr) {
        return ResizeDispatchTable[1];
    }
    return ResizeDispatchTable[slot];
}

DispatchDescriptor ResizeDispatchDescriptor = {"i", "ImageResize_8u_C3R", ResizeDispatchTable,
                                               nullptr};
DispatchDescriptor* DispatchDescriptorList = nullptr;

ResizeStatus ImageResize_8u_C3R(const std::uint8_t* sourceImage, ResizeSize sourceSize,
                                std::int32_t sourceStep, ResizeRect sourceRegion,
                                std::uint8_t* destinationImage, std::int32_t destinationStep,
                                ResizeSize destinationSize, double scaleX, double scaleY,
                                std::int32_t interpolationCode) {
    return SelectedResizeRoutine()(sourceImage, sourceSize, sourceStep, sourceRegion,
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
// Static initializers: the dispatcher is registered, and a build named in the environment
// selected, before main() runs.
[[maybe_unused]] const bool registeredAtStartUp = (RegisterResizeDispatcher(), true);
[[maybe_unused]] const bool selectedAtStartUp = (SelectResizeBuildFromEnvironment(), true);
}  // namespace

}  // namespace resize
