#pragma once
// Whole-row sums of super-sampling for the SSE build: `rows` source rows added, row by row and
// element by element in source order, into the first `count` pixels of an accumulator row. They
// give the generic sums bit for bit: integers modulo 2^32, floats rounded to single precision
// once per addition. 16u C1 and C4 and 32f C1 and C4 have vector bodies, used for a row only when
// it is long enough, does not overlap the accumulator row and the accumulator is 4-byte aligned;
// a peel brings the accumulator to 8 (16u) or 16 (32f) bytes first, and scalar loops take the
// rest. The 16u bodies are SSE2 integer operations on the low halves of the registers in place
// of the 64-bit integer unit, so there is no state to clear after them.

#include <emmintrin.h>
#include <xmmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "resize/frame/PixelLayouts.h"

namespace resize::sse {

namespace supersample {

inline bool Apart(const void* source, std::size_t sourceBytes, const void* acc, std::size_t accBytes) {
    const auto s = reinterpret_cast<std::uintptr_t>(source);
    const auto a = reinterpret_cast<std::uintptr_t>(acc);
    return s + sourceBytes <= a || a + accBytes <= s;
}

// The scalar loop over elements `from` ... n - 1 of one row. Reads each source element after the
// accumulator elements before it were written, so an overlapping row gets the element order.
template <class T, class Work>
inline void AddScalar(const T* in, Work* acc, std::ptrdiff_t from, std::ptrdiff_t n) {
    for (std::ptrdiff_t e = from; e < n; ++e) {
        if constexpr (std::is_same_v<T, float>) {
            _mm_store_ss(acc + e, _mm_add_ss(_mm_load_ss(acc + e), _mm_load_ss(in + e)));
        } else {
            acc[e] += in[e];
        }
    }
}

// 16u rows of n elements: two per step, zero-extended and added as two 32-bit lanes. C1 runs
// four steps per iteration (8 elements) with prefetches from width 9; C4 one step from 3
// elements.
template <bool C1>
void AddRow16u(const std::uint16_t* in, std::uint32_t* acc, std::ptrdiff_t n) {
    const std::ptrdiff_t least = C1 ? 9 : 3;
    const auto address = reinterpret_cast<std::uintptr_t>(acc);
    if (n < least || address % 4 != 0 ||
        !Apart(in, static_cast<std::size_t>(n) * 2, acc, static_cast<std::size_t>(n) * 4)) {
        AddScalar(in, acc, 0, n);
        return;
    }
    const std::ptrdiff_t peeled = address % 8 == 4 ? 1 : 0;
    AddScalar(in, acc, 0, peeled);
    constexpr std::ptrdiff_t block = C1 ? 8 : 2;
    const std::ptrdiff_t end = n - (n - peeled) % block;
    const __m128i zero = _mm_setzero_si128();
    for (std::ptrdiff_t e = peeled; e < end; e += block) {
        if constexpr (C1) {
            _mm_prefetch(reinterpret_cast<const char*>(in + e) + 64, _MM_HINT_NTA);
            _mm_prefetch(reinterpret_cast<const char*>(acc + e) + 64, _MM_HINT_NTA);
        }
        for (std::ptrdiff_t p = e; p < e + block; p += 2) {
            std::int32_t pair;
            std::memcpy(&pair, in + p, 4);
            const __m128i wide = _mm_unpacklo_epi16(_mm_cvtsi32_si128(pair), zero);
            __m128i* at = reinterpret_cast<__m128i*>(acc + p);
            _mm_storel_epi64(at, _mm_add_epi32(_mm_loadl_epi64(at), wide));
        }
    }
    AddScalar(in, acc, end, n);
}

// 32f rows of n elements from 11: the peel to a 16-byte accumulator, then 8 floats per iteration
// as two four-lane additions, from aligned or unaligned source loads.
template <bool Prefetch>
void AddRow32f(const float* in, float* acc, std::ptrdiff_t n) {
    const auto address = reinterpret_cast<std::uintptr_t>(acc);
    if (n < 11 || address % 4 != 0 ||
        !Apart(in, static_cast<std::size_t>(n) * 4, acc, static_cast<std::size_t>(n) * 4)) {
        AddScalar(in, acc, 0, n);
        return;
    }
    const std::ptrdiff_t peeled = address % 16 == 0 ? 0 : static_cast<std::ptrdiff_t>((16 - address % 16) / 4);
    AddScalar(in, acc, 0, peeled);
    const std::ptrdiff_t end = n - (n - peeled) % 8;
    const auto body = [&](auto load) {
        for (std::ptrdiff_t e = peeled; e < end; e += 8) {
            if constexpr (Prefetch) {
                _mm_prefetch(reinterpret_cast<const char*>(in + e) + 64, _MM_HINT_NTA);
                _mm_prefetch(reinterpret_cast<const char*>(acc + e) + 64, _MM_HINT_NTA);
            }
            _mm_store_ps(acc + e, _mm_add_ps(_mm_load_ps(acc + e), load(in + e)));
            _mm_store_ps(acc + e + 4, _mm_add_ps(_mm_load_ps(acc + e + 4), load(in + e + 4)));
        }
    };
    if (reinterpret_cast<std::uintptr_t>(in + peeled) % 16 == 0) {
        body([](const float* p) { return _mm_load_ps(p); });
    } else {
        body([](const float* p) { return _mm_loadu_ps(p); });
    }
    AddScalar(in, acc, end, n);
}

}  // namespace supersample

// SuperSampleSumRows_8u_C1 ... SuperSampleSumRows_32f_C4: adds `rows` rows `step` bytes apart
// into `count` elements (C1) or pixels of the layout L; Work is unsigned 32-bit for 8u and 16u,
// float for 32f. Nothing for a count or row count of 0 or below.
template <class T, class L, class Work>
void SuperSampleSumRows(const std::uint8_t* row, std::ptrdiff_t step, std::int32_t count, std::int64_t rows,
                        Work* acc) {
    using namespace supersample;
    if (count <= 0 || rows <= 0) {
        return;
    }
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(count) * L::channels;
    for (std::int64_t r = 0; r < rows; ++r, row += step) {
        const T* in = reinterpret_cast<const T*>(row);
        if constexpr (L::channels != L::pixelStride) {
            // Three channels in four-element pixels: one pixel per iteration.
            for (std::ptrdiff_t at = 0; at < static_cast<std::ptrdiff_t>(count) * 4; at += 4) {
                AddScalar(in + at, acc + at, 0, 3);
            }
        } else if constexpr (std::is_same_v<T, std::uint8_t> && L::channels == 1) {
            std::ptrdiff_t e = 0;
            for (; e + 2 <= n; e += 2) {
                acc[e] += in[e];
                acc[e + 1] += in[e + 1];
            }
            AddScalar(in, acc, e, n);
        } else if constexpr (std::is_same_v<T, std::uint16_t> && L::channels != 3) {
            AddRow16u<L::channels == 1>(in, acc, n);
        } else if constexpr (std::is_same_v<T, float> && L::channels != 3) {
            AddRow32f<L::channels == 1>(in, acc, n);
        } else {
            // 8u C3 and C4, 16u C3, 32f C3: one pixel per iteration.
            for (std::ptrdiff_t at = 0; at < n; at += L::channels) {
                AddScalar(in + at, acc + at, 0, L::channels);
            }
        }
    }
}

}  // namespace resize::sse
