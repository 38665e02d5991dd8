#pragma once
// The kernel sets of every build this program carries, for typed tests of a build's own pieces.

#include <gtest/gtest.h>

#include "resize/generic/GenericBuild.h"
#if defined(__x86_64__)
#include "resize/sse/SseBuild.h"
#include "resize/sse2/Sse2Build.h"
#endif

using AllKernelSets = ::testing::Types<resize::generic::KernelSet
#if defined(__x86_64__)
                                       , resize::sse::KernelSet, resize::sse2::KernelSet
#endif
                                       >;
