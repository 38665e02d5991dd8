#pragma once
// The SSE build of the resize engine (dispatch slot 2): the frame over the SSE build's kernel
// set. Its linear kernels are the SSE2 build's: the integer ones give the generic results
// whatever their loop shape, and the float ones round every operation to single precision as
// this build's do. Its cubic kernels share the SSE2 build's groups; only its three- and
// four-channel horizontal kernels differ (channel by channel over four pixels, then scalar).
// Lanczos: its own weights (the SSE2 build's values), the shared horizontal kernels, and vertical
// sums in single precision for every type. Its super-sampling row sums are its own. Methods
// whose SSE kernels are not written yet use the generic kernels.

#include "resize/frame/ResizeEngine.h"
#include "resize/generic/GenericBuild.h"
#include "resize/sse/LanczosWeights.h"
#include "resize/sse2/CubicKernels.h"
#include "resize/sse2/LanczosKernels.h"
#include "resize/sse2/LinearKernels.h"
#include "resize/sse/SuperSampleRows.h"
#include "resize/sse2/SuperSampleWholeRows.h"

namespace resize::sse {

struct KernelSet : generic::GenericKernels<KernelSet> {
    template <class T, class L, class... A>
    static void HorzLinear(A... a) { sse2::ResizeHorzLinear<T, L>(a...); }
    template <class T, class L, class... A>
    static void VertLinear(A... a) { sse2::ResizeVertLinear<T, L>(a...); }
    template <class T, class L, class... A>
    static void HorzCubic(A... a) { sse2::ResizeHorzCubicSse<T, L>(a...); }
    template <class T, class L, class... A>
    static void VertCubic(A... a) { sse2::ResizeVertCubic<T, L>(a...); }
    template <class T, class L, class Work, class... A>
    static void SumRows(A... a) { SuperSampleSumRows<T, L, Work>(a...); }
    template <int E, class... A>
    static bool WholeStepRow8u(A... a) { return sse2::SuperSampleWholeRow8u<E>(a...); }
    template <class T, class L, class... A>
    static void HorzLanczos(A... a) { sse2::ResizeHorzLanczos<T, L>(a...); }
    template <class T, class L, class... A>
    static void VertLanczos(A... a) { sse2::ResizeVertLanczosSingle<T, L>(a...); }
    static void LanczosWeights(const float* fractions, std::int32_t count, float* weights) {
        sse::LanczosWeights(fractions, count, weights);
    }
};

using Engine = frame::ResizeEngine<KernelSet>;

inline constexpr auto Resize_8u_C3R = &Engine::Resize_8u_C3R;
inline constexpr auto ResizeCore = &Engine::ResizeCore;
inline constexpr auto ResizeSuperSample = &Engine::ResizeSuperSample;

}  // namespace resize::sse
