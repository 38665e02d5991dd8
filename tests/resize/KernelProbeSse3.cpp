// The SSE3-class build's kernels through the probe: the SSE2 build's headers read with sse2
// standing for sse3, as the build itself is made, after everything they share with other builds.

#include <emmintrin.h>
#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <type_traits>

#include "KernelProbe.h"

#if QUENLO_RESIZE_SIMD
#include "resize/frame/ResizeEngine.h"
#include "resize/generic/GenericBuild.h"

#define sse2 sse3
#include "resize/sse2/Sse2Build.h"

#define KERNEL_PROBE_NAME ProbeSse3Kernels
#include "KernelProbe.inc"
#undef sse2
#endif
