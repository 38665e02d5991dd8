#pragma once
// The SSE2 build's Lanczos weights: the SSE build's values, two fractions at a time in four
// lanes.

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#include "resize/sse2/FloatPair.h"

namespace resize::sse2 {

// Internal to each including file, as the Lanczos kernels are (LanczosKernels.h says why).
namespace {

namespace lanczos {

// The weights of the four distances in `d`, lane by lane.
inline __m128 WeightsAt(__m128 d, const float* table) {
    const __m128 magnitude = _mm_and_ps(d, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
    // min(|d|, 3): a NaN distance takes the 3 as well.
    const __m128 x = _mm_mul_ps(_mm_min_ps(magnitude, _mm_set1_ps(3.0f)), _mm_set1_ps(100.0f));
    const __m128i n = _mm_cvttps_epi32(x);
    const __m128 r = _mm_sub_ps(x, _mm_cvtepi32_ps(n));
    alignas(16) std::int32_t index[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(index), n);
    // Each lane's pair T[n], T[n + 1] in one 8-byte load, then split into lows and highs.
    const auto pair = [&](int lane) { return reinterpret_cast<const __m64*>(table + index[lane]); };
    const __m128 p01 = _mm_loadh_pi(_mm_loadl_pi(_mm_setzero_ps(), pair(0)), pair(1));
    const __m128 p23 = _mm_loadh_pi(_mm_loadl_pi(_mm_setzero_ps(), pair(2)), pair(3));
    const __m128 low = _mm_shuffle_ps(p01, p23, _MM_SHUFFLE(2, 0, 2, 0));
    const __m128 high = _mm_shuffle_ps(p01, p23, _MM_SHUFFLE(3, 1, 3, 1));
    return _mm_add_ps(low, _mm_mul_ps(r, _mm_sub_ps(high, low)));
}

}  // namespace lanczos

// Six weights per fraction f, in tap order, from `table` (the LanczosTable): the tap distance
// d = (-f - 2) + j, x = min(|d|, 3) x 100, n = x truncated, weight = T[n] + (x - n) x
// (T[n + 1] - T[n]); a tap at 3 or more reads the table's zeros at 300 and 301, so no range test
// is needed. `weights` starts on a 16-byte boundary; exactly 6 x count floats are written (an odd
// count's last fraction alone), nothing for a count of 0 or less.
inline void LanczosWeights(const float* fractions, std::int32_t count, float* weights, const float* table) {
    const __m128 sign = _mm_castsi128_ps(_mm_set1_epi32(static_cast<int>(0x80000000u)));
    const __m128 two = _mm_set1_ps(2.0f);
    const __m128 taps0123 = _mm_setr_ps(0.0f, 1.0f, 2.0f, 3.0f);
    const __m128 taps4501 = _mm_setr_ps(4.0f, 5.0f, 0.0f, 1.0f);
    const __m128 taps2345 = _mm_setr_ps(2.0f, 3.0f, 4.0f, 5.0f);
    std::int32_t i = 0;
    for (; i + 2 <= count; i += 2) {
        // a = -f - 2 for both fractions, spread as (a1 a1 a1 a1), (a1 a1 a2 a2), (a2 a2 a2 a2).
        const __m128 f = LoadFloatPair(fractions + i);
        const __m128 a = _mm_sub_ps(_mm_xor_ps(f, sign), two);
        float* out = weights + 6 * static_cast<std::ptrdiff_t>(i);
        _mm_store_ps(out, lanczos::WeightsAt(_mm_add_ps(_mm_shuffle_ps(a, a, _MM_SHUFFLE(0, 0, 0, 0)), taps0123), table));
        _mm_store_ps(out + 4, lanczos::WeightsAt(_mm_add_ps(_mm_shuffle_ps(a, a, _MM_SHUFFLE(1, 1, 0, 0)), taps4501), table));
        _mm_store_ps(out + 8, lanczos::WeightsAt(_mm_add_ps(_mm_shuffle_ps(a, a, _MM_SHUFFLE(1, 1, 1, 1)), taps2345), table));
    }
    if (i < count) {
        const __m128 a = _mm_sub_ps(_mm_xor_ps(_mm_load1_ps(fractions + i), sign), two);
        float* out = weights + 6 * static_cast<std::ptrdiff_t>(i);
        const __m128 first = lanczos::WeightsAt(_mm_add_ps(a, taps0123), table);
        _mm_storel_pi(reinterpret_cast<__m64*>(out), first);
        _mm_storeh_pi(reinterpret_cast<__m64*>(out + 2), first);
        _mm_storel_pi(reinterpret_cast<__m64*>(out + 4), lanczos::WeightsAt(_mm_add_ps(a, taps4501), table));
    }
}

}  // namespace

}  // namespace resize::sse2
