#pragma once
// The generic build of the resize engine (dispatch slot 1): the frame over the generic kernels,
// which compute in double precision and round to single only when they store.

#include <cstdint>

#include "resize/frame/AlignedAllocators.h"
#include "resize/frame/ResizeEngine.h"
#include "resize/frame/ResizeMapping.h"
#include "resize/frame/SuperSampleRows.h"
#include "resize/generic/CubicKernels.h"
#include "resize/generic/LanczosKernels.h"
#include "resize/generic/LanczosTable.h"
#include "resize/generic/LinearKernels.h"

namespace resize::generic {

// The generic kernel set, for the build `Build`: a build that has no kernel of its own for a
// method yet derives its kernel set from this one and hides what it replaces.
template <class Build>
struct GenericKernels : frame::AlignedAllocators<Build> {
    static constexpr frame::NearestFit nearestFit = frame::NearestFit::CutBelowOneOver;
    template <class T, class L, class... A>
    static void HorzLinear(A... a) { ResizeHorzLinear<T, L>(a...); }
    template <class T, class L, class... A>
    static void VertLinear(A... a) { ResizeVertLinear<T, L>(a...); }
    template <class T, class L, class... A>
    static void HorzCubic(A... a) { ResizeHorzCubic<T, L>(a...); }
    template <class T, class L, class... A>
    static void VertCubic(A... a) { ResizeVertCubic<T, L>(a...); }
    template <class T, class L, class... A>
    static void HorzLanczos(A... a) { ResizeHorzLanczos<T, L>(a...); }
    template <class T, class L, class... A>
    static void VertLanczos(A... a) { ResizeVertLanczos<T, L>(a...); }
    static void LanczosWeights(const float* fractions, std::int32_t count, float* weights) {
        generic::LanczosWeights(fractions, count, weights);
    }
    // Mode 0's whole source rows summed into a cleared super-sampling accumulator row (32-bit
    // integers for 8u and 16u, floats for 32f).
    template <class T, class L, class Work, class... A>
    static void SumRows(A... a) { frame::SuperSampleSumRows<T, L, Work>(a...); }
    // Mode 0 on 8-bit packed pixels (E elements each): a whole destination row from its source
    // rows, or false to leave it to the frame's passes. The generic build leaves every row.
    template <int E>
    static bool WholeStepRow8u(const std::uint8_t*, std::ptrdiff_t, std::int32_t, std::int64_t, std::int64_t,
                               std::int32_t, double, std::uint8_t*, std::uint8_t*) {
        return false;
    }
};

struct KernelSet : GenericKernels<KernelSet> {};

using Engine = frame::ResizeEngine<KernelSet>;

// The generic body of ImageResize_8u_C3R, its core, super-sampling and driver table.
inline constexpr auto Resize_8u_C3R = &Engine::Resize_8u_C3R;
inline constexpr auto ResizeCore = &Engine::ResizeCore;
inline constexpr auto ResizeSuperSample = &Engine::ResizeSuperSample;

}  // namespace resize::generic
