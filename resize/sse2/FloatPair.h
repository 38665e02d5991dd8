#pragma once
// Two floats in the low half of a register. A row of floats is only 4-byte aligned, so the pair
// moves as two floats (movlps), never as a double, whose access there would be misaligned; the
// bytes are the same.

#include <xmmintrin.h>

namespace resize::sse2 {

// Internal to each including file, as the kernels are (LanczosKernels.h says why).
namespace {

// The pair in lanes 0 and 1, lanes 2 and 3 zero.
inline __m128 LoadFloatPair(const float* at) {
    return _mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(at));
}

// Lanes 0 and 1 of `value`.
inline void StoreFloatPair(float* at, __m128 value) { _mm_storel_pi(reinterpret_cast<__m64*>(at), value); }

}  // namespace

}  // namespace resize::sse2
