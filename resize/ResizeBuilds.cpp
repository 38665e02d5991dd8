#include "resize/ResizeBuilds.h"

#include "resize/generic/GenericBuild.h"
#if QUENLO_RESIZE_SIMD
#include "resize/sse/SseBuild.h"
#include "resize/sse2/Sse2Build.h"
#include "resize/sse3/Sse3Build.h"
#endif

namespace resize {

namespace {
constexpr ResizeBuild Builds[] = {
    {"generic", 1, generic::Resize_8u_C3R, generic::ResizeCore, generic::ResizeSuperSample},
#if QUENLO_RESIZE_SIMD
    {"sse", 2, sse::Resize_8u_C3R, sse::ResizeCore, sse::ResizeSuperSample},
    {"sse2", 3, sse2::Resize_8u_C3R, sse2::ResizeCore, sse2::ResizeSuperSample},
    {"sse3", 4, &sse3::Engine::Resize_8u_C3R, &sse3::Engine::ResizeCore, &sse3::Engine::ResizeSuperSample},
#endif
};
}  // namespace

std::span<const ResizeBuild> ResizeBuilds() {
    return Builds;
}

const ResizeBuild* FindResizeBuild(std::string_view name) {
    for (const ResizeBuild& build : Builds) {
        if (name == build.name) {
            return &build;
        }
    }
    return nullptr;
}

}  // namespace resize
