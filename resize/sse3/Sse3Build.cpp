// The SSE3-class build's one instantiation of the engine. Everything the SSE2 build's headers
// share with other builds (the standard and intrinsic headers, the frame, the generic kernel set)
// is included first; the SSE2 build's own headers are then read once more with the name sse2
// standing for sse3, which places their kernel set, kernels and constants in this build's
// namespace. The frame instantiated over that kernel set gives this build's entry, core,
// super-sampling, row drivers and allocators.

#include <emmintrin.h>
#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

#include "resize/frame/AlignedAllocators.h"
#include "resize/frame/PixelLayouts.h"
#include "resize/frame/ResizeEngine.h"
#include "resize/frame/ResizeEntryFrame.h"
#include "resize/generic/GenericBuild.h"
#include "resize/sse3/Sse3Build.h"

#define sse2 sse3
#include "resize/sse2/Sse2Build.h"
#undef sse2

template struct resize::frame::ResizeEngine<resize::sse3::KernelSet>;
