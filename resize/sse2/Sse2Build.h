#pragma once
// The SSE2 build of the resize engine (dispatch slot 3): the frame over the SSE2 build's kernel
// set. Lanczos: vector weights, the horizontal kernels it shares with the SSE build, vertical sums
// in double for 8u and 16u and in single precision for 32f. Methods whose SSE2 kernels are not
// written yet use the generic kernels.

#include "resize/frame/ResizeEngine.h"
#include "resize/generic/GenericBuild.h"
#include "resize/generic/LanczosTable.h"
#include "resize/sse2/CubicKernels.h"
#include "resize/sse2/LanczosKernels.h"
#include "resize/sse2/LanczosWeights.h"
#include "resize/sse2/LinearKernels.h"
#include "resize/sse2/SuperSampleRows.h"
#include "resize/sse2/SuperSampleWholeRows.h"

namespace resize::sse2 {

struct KernelSet : generic::GenericKernels<KernelSet> {
    // Clip mode 0 cuts a nearest destination to the length that fits the region.
    static constexpr frame::NearestFit nearestFit = frame::NearestFit::CutToFitted;
    template <class T, class L, class... A>
    static void HorzLinear(A... a) { ResizeHorzLinear<T, L>(a...); }
    template <class T, class L, class... A>
    static void VertLinear(A... a) { ResizeVertLinear<T, L>(a...); }
    template <class T, class L, class... A>
    static void HorzCubic(A... a) { ResizeHorzCubic<T, L>(a...); }
    template <class T, class L, class... A>
    static void VertCubic(A... a) { ResizeVertCubic<T, L>(a...); }
    template <class T, class L, class Work, class... A>
    static void SumRows(A... a) { SuperSampleSumRows<T, L, Work>(a...); }
    template <int E, class... A>
    static bool WholeStepRow8u(A... a) { return SuperSampleWholeRow8u<E>(a...); }
    template <class T, class L, class... A>
    static void HorzLanczos(A... a) { ResizeHorzLanczos<T, L>(a...); }
    template <class T, class L, class... A>
    static void VertLanczos(A... a) { ResizeVertLanczos<T, L>(a...); }
    static void LanczosWeights(const float* fractions, std::int32_t count, float* weights) {
        sse2::LanczosWeights(fractions, count, weights, LanczosTable);
    }
};

using Engine = frame::ResizeEngine<KernelSet>;

inline constexpr auto Resize_8u_C3R = &Engine::Resize_8u_C3R;
inline constexpr auto ResizeCore = &Engine::ResizeCore;
inline constexpr auto ResizeSuperSample = &Engine::ResizeSuperSample;

}  // namespace resize::sse2
