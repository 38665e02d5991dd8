#pragma once
// The SSE build of the resize engine (dispatch slot 2): the frame over the SSE build's kernel
// set. Methods whose SSE kernels are not written yet use the generic kernels.

#include "resize/frame/ResizeEngine.h"
#include "resize/generic/GenericBuild.h"

namespace resize::sse {

struct KernelSet : generic::GenericKernels<KernelSet> {};

using Engine = frame::ResizeEngine<KernelSet>;

inline constexpr auto Resize_8u_C3R = &Engine::Resize_8u_C3R;
inline constexpr auto ResizeCore = &Engine::ResizeCore;
inline constexpr auto ResizeSuperSample = &Engine::ResizeSuperSample;

}  // namespace resize::sse
