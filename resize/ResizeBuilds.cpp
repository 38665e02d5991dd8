#include "resize/ResizeBuilds.h"

#include "resize/generic/GenericBuild.h"
#if defined(__x86_64__)
#include "resize/sse/SseBuild.h"
#endif

namespace resize {

namespace {
constexpr ResizeBuild Builds[] = {
    {"generic", 1, generic::Resize_8u_C3R, generic::ResizeCore, generic::ResizeSuperSample},
#if defined(__x86_64__)
    {"sse", 2, sse::Resize_8u_C3R, sse::ResizeCore, sse::ResizeSuperSample},
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
