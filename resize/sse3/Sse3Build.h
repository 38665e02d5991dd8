#pragma once
// The SSE3-class build of the resize engine (dispatch slot 4): the SSE2 build's sources compiled a
// second time with the name sse2 standing for sse3 (resize/CMakeLists.txt), so its entry, core,
// super-sampling, row-driver table, kernels, constants and allocators are its own, in namespace
// resize::sse3; only LanczosTable is shared. It performs exactly the SSE2 build's operations
// with SSE and SSE2 instructions only, and is named after the processors the dispatcher gives it
// to. Its kernel set is complete only in that second compilation; elsewhere the engine's
// routines are reached through their declarations.

#include "resize/frame/ResizeEngine.h"

namespace resize::sse3 {

struct KernelSet;

using Engine = frame::ResizeEngine<KernelSet>;

}  // namespace resize::sse3

extern template struct resize::frame::ResizeEngine<resize::sse3::KernelSet>;
