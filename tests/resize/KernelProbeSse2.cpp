// The SSE2 build's kernels through the probe.

#include <algorithm>
#include <cstring>
#include <random>
#include <type_traits>

#include "KernelProbe.h"

#if QUENLO_RESIZE_SIMD
#include "resize/sse2/Sse2Build.h"

#define KERNEL_PROBE_NAME ProbeSse2Kernels
#include "KernelProbe.inc"
#endif
