#pragma once
// Whole-row sums of super-sampling on SSE2 registers: `rows` source rows summed into the first
// `count` pixels of an accumulator row, which they overwrite. Each group of pixels is held in
// registers over all rows, top to bottom, and stored once; the pixels after the last whole group
// go one at a time. 8u and 16u elements are widened to 32 bits and summed modulo 2^32. 32f sums
// are running single-precision sums, except the one-channel tail, which sums in double precision
// and rounds once. Loads need no alignment and never reach past the count-th pixel of a row; the
// 16-byte stores are aligned ones, into the accumulator row (32-byte aligned; the groups advance
// it by 32, 48 or 64 bytes). With three channels in four-element pixels the fourth accumulator
// element is not written.

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "resize/frame/PixelLayouts.h"

namespace resize::sse2 {

namespace supersample {

inline __m128i Load64(const void* at) {
    return _mm_loadl_epi64(static_cast<const __m128i*>(at));
}
inline __m128i Load32(const void* at) {
    std::int32_t value;
    std::memcpy(&value, at, sizeof value);
    return _mm_cvtsi32_si128(value);
}
inline void Store32(void* at, __m128i v) {
    const std::int32_t value = _mm_cvtsi128_si32(v);
    std::memcpy(at, &value, sizeof value);
}

// Eight 8-bit or 16-bit elements widened to two vectors of four 32-bit lanes.
inline void Widen8u(__m128i bytes, __m128i& low, __m128i& high) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i words = _mm_unpacklo_epi8(bytes, zero);
    low = _mm_unpacklo_epi16(words, zero);
    high = _mm_unpackhi_epi16(words, zero);
}
inline __m128i Widen16u(__m128i words) {
    return _mm_unpacklo_epi16(words, _mm_setzero_si128());
}

// Elements 0, 1 and 2 of a three-channel pixel in four-element pixels: 8 and 4 bytes.
inline void StoreThree(std::uint32_t* at, __m128i sums) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at), sums);
    Store32(at + 2, _mm_srli_si128(sums, 8));
}
inline void StoreThree(float* at, __m128 sums) {
    _mm_storel_pi(reinterpret_cast<__m64*>(at), sums);
    _mm_store_ss(at + 2, _mm_movehl_ps(sums, sums));
}

// ---- 8u and 16u ----

// C1 and C4: groups of 8 elements (8 pixels, 2 pixels); C1 tails one element, C4 one pixel.
template <class T, int Channels>
void SumRowsInteger(const std::uint8_t* row, std::ptrdiff_t step, std::int32_t count, std::int64_t rows,
                    std::uint32_t* acc) {
    const std::ptrdiff_t elements = static_cast<std::ptrdiff_t>(count) * Channels;
    std::ptrdiff_t e = 0;
    for (; e + 8 <= elements; e += 8) {
        __m128i low = _mm_setzero_si128();
        __m128i high = _mm_setzero_si128();
        const std::uint8_t* at = row + e * static_cast<std::ptrdiff_t>(sizeof(T));
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            __m128i a;
            __m128i b;
            if constexpr (std::is_same_v<T, std::uint8_t>) {
                Widen8u(Load64(at), a, b);
            } else if constexpr (Channels == 1) {
                a = Widen16u(Load64(at));
                b = Widen16u(Load64(at + 8));
            } else {
                const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
                a = Widen16u(words);
                b = _mm_unpackhi_epi16(words, _mm_setzero_si128());
            }
            low = _mm_add_epi32(low, a);
            high = _mm_add_epi32(high, b);
        }
        _mm_store_si128(reinterpret_cast<__m128i*>(acc + e), low);
        _mm_store_si128(reinterpret_cast<__m128i*>(acc + e + 4), high);
    }
    if constexpr (Channels == 1) {
        for (; e < elements; ++e) {
            std::uint32_t sum = 0;
            const std::uint8_t* at = row + e * static_cast<std::ptrdiff_t>(sizeof(T));
            for (std::int64_t r = 0; r < rows; ++r, at += step) {
                T value;
                std::memcpy(&value, at, sizeof value);
                sum += value;
            }
            acc[e] = sum;
        }
    } else if (e < elements) {
        __m128i sums = _mm_setzero_si128();
        const std::uint8_t* at = row + e * static_cast<std::ptrdiff_t>(sizeof(T));
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            const __m128i pixel = std::is_same_v<T, std::uint8_t>
                                      ? Widen16u(_mm_unpacklo_epi8(Load32(at), _mm_setzero_si128()))
                                      : Widen16u(Load64(at));
            sums = _mm_add_epi32(sums, pixel);
        }
        _mm_store_si128(reinterpret_cast<__m128i*>(acc + e), sums);
    }
}

// Three channels in four-element pixels: groups of 2 pixels, then an odd last pixel.
template <class T>
void SumRowsIntegerAC4(const std::uint8_t* row, std::ptrdiff_t step, std::int32_t count, std::int64_t rows,
                       std::uint32_t* acc) {
    constexpr std::ptrdiff_t pixelBytes = 4 * sizeof(T);
    std::int32_t k = 0;
    for (; k + 2 <= count; k += 2) {
        __m128i first = _mm_setzero_si128();
        __m128i second = _mm_setzero_si128();
        const std::uint8_t* at = row + k * pixelBytes;
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            __m128i a;
            __m128i b;
            if constexpr (std::is_same_v<T, std::uint8_t>) {
                Widen8u(Load64(at), a, b);
            } else {
                a = Widen16u(Load64(at));
                b = Widen16u(Load64(at + 8));
            }
            first = _mm_add_epi32(first, a);
            second = _mm_add_epi32(second, b);
        }
        StoreThree(acc + 4 * k, first);
        StoreThree(acc + 4 * k + 4, second);
    }
    if (k < count) {
        __m128i sums = _mm_setzero_si128();
        const std::uint8_t* at = row + k * pixelBytes;
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            const __m128i pixel = std::is_same_v<T, std::uint8_t>
                                      ? Widen16u(_mm_unpacklo_epi8(Load32(at), _mm_setzero_si128()))
                                      : Widen16u(Load64(at));
            sums = _mm_add_epi32(sums, pixel);
        }
        StoreThree(acc + 4 * k, sums);
    }
}

// Three channels in packed three-element pixels: groups of 4 pixels (12 elements), then each
// last pixel's three elements.
template <class T>
void SumRowsIntegerC3(const std::uint8_t* row, std::ptrdiff_t step, std::int32_t count, std::int64_t rows,
                      std::uint32_t* acc) {
    constexpr std::ptrdiff_t pixelBytes = 3 * sizeof(T);
    std::int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        __m128i s0 = _mm_setzero_si128();
        __m128i s1 = _mm_setzero_si128();
        __m128i s2 = _mm_setzero_si128();
        const std::uint8_t* at = row + k * pixelBytes;
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            __m128i a;
            __m128i b;
            __m128i c;
            if constexpr (std::is_same_v<T, std::uint8_t>) {
                Widen8u(Load64(at), a, b);
                c = Widen16u(_mm_unpacklo_epi8(Load32(at + 8), _mm_setzero_si128()));
            } else {
                a = Widen16u(Load64(at));
                b = Widen16u(Load64(at + 8));
                c = Widen16u(Load64(at + 16));
            }
            s0 = _mm_add_epi32(s0, a);
            s1 = _mm_add_epi32(s1, b);
            s2 = _mm_add_epi32(s2, c);
        }
        _mm_store_si128(reinterpret_cast<__m128i*>(acc + 3 * k), s0);
        _mm_store_si128(reinterpret_cast<__m128i*>(acc + 3 * k + 4), s1);
        _mm_store_si128(reinterpret_cast<__m128i*>(acc + 3 * k + 8), s2);
    }
    for (; k < count; ++k) {
        std::uint32_t sums[3] = {0, 0, 0};
        const std::uint8_t* at = row + k * pixelBytes;
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            T values[3];
            std::memcpy(values, at, sizeof values);
            sums[0] += values[0];
            sums[1] += values[1];
            sums[2] += values[2];
        }
        std::memcpy(acc + 3 * k, sums, 8);
        std::memcpy(acc + 3 * k + 2, sums + 2, 4);
    }
}

// ---- 32f ----

// C1 and C4: groups of 16 floats. The C1 tail sums each element's rows in double precision and
// rounds once; the C4 tail takes one pixel at a time in single precision.
template <int Channels>
void SumRowsFloat(const std::uint8_t* row, std::ptrdiff_t step, std::int32_t count, std::int64_t rows, float* acc) {
    const std::ptrdiff_t elements = static_cast<std::ptrdiff_t>(count) * Channels;
    std::ptrdiff_t e = 0;
    for (; e + 16 <= elements; e += 16) {
        __m128 s0 = _mm_setzero_ps();
        __m128 s1 = _mm_setzero_ps();
        __m128 s2 = _mm_setzero_ps();
        __m128 s3 = _mm_setzero_ps();
        const std::uint8_t* at = row + e * 4;
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            const float* f = reinterpret_cast<const float*>(at);
            s0 = _mm_add_ps(s0, _mm_loadu_ps(f));
            s1 = _mm_add_ps(s1, _mm_loadu_ps(f + 4));
            s2 = _mm_add_ps(s2, _mm_loadu_ps(f + 8));
            s3 = _mm_add_ps(s3, _mm_loadu_ps(f + 12));
        }
        _mm_store_ps(acc + e, s0);
        _mm_store_ps(acc + e + 4, s1);
        _mm_store_ps(acc + e + 8, s2);
        _mm_store_ps(acc + e + 12, s3);
    }
    if constexpr (Channels == 1) {
        for (; e < elements; ++e) {
            __m128d sum = _mm_setzero_pd();
            const std::uint8_t* at = row + e * 4;
            for (std::int64_t r = 0; r < rows; ++r, at += step) {
                sum = _mm_add_sd(sum, _mm_cvtss_sd(_mm_setzero_pd(), _mm_load_ss(reinterpret_cast<const float*>(at))));
            }
            _mm_store_ss(acc + e, _mm_cvtsd_ss(_mm_setzero_ps(), sum));
        }
    } else {
        for (; e < elements; e += 4) {
            __m128 sums = _mm_setzero_ps();
            const std::uint8_t* at = row + e * 4;
            for (std::int64_t r = 0; r < rows; ++r, at += step) {
                sums = _mm_add_ps(sums, _mm_loadu_ps(reinterpret_cast<const float*>(at)));
            }
            _mm_store_ps(acc + e, sums);
        }
    }
}

// Three channels in four-float pixels: groups of 4 pixels, then one pixel at a time; the fourth
// float is summed in a lane but not stored.
inline void SumRowsFloatAC4(const std::uint8_t* row, std::ptrdiff_t step, std::int32_t count, std::int64_t rows,
                            float* acc) {
    std::int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        __m128 s[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
        const std::uint8_t* at = row + k * 16;
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            const float* f = reinterpret_cast<const float*>(at);
            s[0] = _mm_add_ps(s[0], _mm_loadu_ps(f));
            s[1] = _mm_add_ps(s[1], _mm_loadu_ps(f + 4));
            s[2] = _mm_add_ps(s[2], _mm_loadu_ps(f + 8));
            s[3] = _mm_add_ps(s[3], _mm_loadu_ps(f + 12));
        }
        for (int p = 0; p < 4; ++p) {
            StoreThree(acc + 4 * (k + p), s[p]);
        }
    }
    for (; k < count; ++k) {
        __m128 sums = _mm_setzero_ps();
        const std::uint8_t* at = row + k * 16;
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            sums = _mm_add_ps(sums, _mm_loadu_ps(reinterpret_cast<const float*>(at)));
        }
        StoreThree(acc + 4 * k, sums);
    }
}

// Three channels in packed three-float pixels: groups of 4 pixels (12 floats), then each last
// pixel's floats 0 and 1 and float 2.
inline void SumRowsFloatC3(const std::uint8_t* row, std::ptrdiff_t step, std::int32_t count, std::int64_t rows,
                           float* acc) {
    std::int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        __m128 s0 = _mm_setzero_ps();
        __m128 s1 = _mm_setzero_ps();
        __m128 s2 = _mm_setzero_ps();
        const std::uint8_t* at = row + k * 12;
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            const float* f = reinterpret_cast<const float*>(at);
            s0 = _mm_add_ps(s0, _mm_loadu_ps(f));
            s1 = _mm_add_ps(s1, _mm_loadu_ps(f + 4));
            s2 = _mm_add_ps(s2, _mm_loadu_ps(f + 8));
        }
        _mm_store_ps(acc + 3 * k, s0);
        _mm_store_ps(acc + 3 * k + 4, s1);
        _mm_store_ps(acc + 3 * k + 8, s2);
    }
    for (; k < count; ++k) {
        __m128 sums = _mm_setzero_ps();
        const std::uint8_t* at = row + k * 12;
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            const float* f = reinterpret_cast<const float*>(at);
            const __m128 pixel = _mm_movelh_ps(_mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(f)),
                                               _mm_load_ss(f + 2));
            sums = _mm_add_ps(sums, pixel);
        }
        StoreThree(acc + 3 * k, sums);
    }
}

}  // namespace supersample

// SuperSampleSumRows_8u_C1 ... SuperSampleSumRows_32f_C4: `count` elements (C1) or pixels of the
// layout L, `rows` rows `step` bytes apart; Work is unsigned 32-bit for 8u and 16u, float for
// 32f. rows >= 1; a count of 0 writes nothing.
template <class T, class L, class Work>
void SuperSampleSumRows(const std::uint8_t* row, std::ptrdiff_t step, std::int32_t count, std::int64_t rows,
                        Work* acc) {
    using namespace supersample;
    if (count <= 0 || rows <= 0) {
        return;
    }
    if constexpr (std::is_same_v<T, float>) {
        static_assert(std::is_same_v<Work, float>);
        if constexpr (L::pixelStride == 3) {
            SumRowsFloatC3(row, step, count, rows, acc);
        } else if constexpr (L::channels == 3) {
            SumRowsFloatAC4(row, step, count, rows, acc);
        } else {
            SumRowsFloat<L::channels>(row, step, count, rows, acc);
        }
    } else {
        static_assert(std::is_same_v<Work, std::uint32_t>);
        if constexpr (L::pixelStride == 3) {
            SumRowsIntegerC3<T>(row, step, count, rows, acc);
        } else if constexpr (L::channels == 3) {
            SumRowsIntegerAC4<T>(row, step, count, rows, acc);
        } else {
            SumRowsInteger<T, L::channels>(row, step, count, rows, acc);
        }
    }
}

}  // namespace resize::sse2
