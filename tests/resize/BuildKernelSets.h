#pragma once
// The kernel sets of every build this program carries, for typed tests of a build's own pieces.

#include <gtest/gtest.h>

#include "resize/generic/GenericBuild.h"
#if QUENLO_RESIZE_SIMD
#include "resize/sse/SseBuild.h"
#include "resize/sse2/Sse2Build.h"
#endif

using AllKernelSets = ::testing::Types<resize::generic::KernelSet
#if QUENLO_RESIZE_SIMD
                                       , resize::sse::KernelSet, resize::sse2::KernelSet
#endif
                                       >;
