#pragma once
// Linear kernels on SSE2 registers, for the SSE2 build and (their results being the generic
// integer results, and their float operations those of the SSE build) for the SSE build.
// 8u and 16u: 14-bit fixed point, 16-bit work rows (8u work values scaled by 64); 8u products by
// one signed multiply-add, 16u products as full unsigned 16 x 16 products. 32f: every operation
// one single-precision operation. Work rows and weight tables start on 16-byte boundaries (the
// frame's allocators give 32); source and destination rows may have any alignment. Every source
// read stays inside the two tap pixels of a column.

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "resize/frame/PixelLayouts.h"
#include "resize/sse2/FloatPair.h"

namespace resize::sse2 {

namespace linear {

// Unaligned loads and stores of 1 to 8 bytes, as the compiler's memory moves (no aliasing
// assumptions about the element types behind them).
template <class U>
inline U Load(const void* at) {
    U value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
template <class U>
inline void Store(void* at, U value) {
    std::memcpy(at, &value, sizeof value);
}
inline __m128i Load64(const void* at) {
    return _mm_loadl_epi64(static_cast<const __m128i*>(at));
}
inline __m128i Load32(const void* at) {
    return _mm_cvtsi32_si128(Load<std::int32_t>(at));
}

// Weight pair {w0, w1} of a column repeated over the four 32-bit lanes.
inline __m128i RepeatedPair(const std::uint16_t* pair) {
    return _mm_set1_epi32(Load<std::int32_t>(pair));
}

// Four unsigned 32-bit values (each below 65536) to the low four 16-bit lanes, unclamped.
inline __m128i PackUnsigned32(__m128i low, __m128i high) {
    const __m128i bias = _mm_set1_epi32(32768);
    const __m128i packed = _mm_packs_epi32(_mm_sub_epi32(low, bias), _mm_sub_epi32(high, bias));
    return _mm_xor_si128(packed, _mm_set1_epi16(static_cast<short>(0x8000)));
}

// ---- 8u ----

// (left x w0 + right x w1 + 128) >> 8 for four lanes holding (left, right) pairs of 16 bits.
inline __m128i Horizontal8u(__m128i pairs, __m128i weights) {
    const __m128i sums = _mm_madd_epi16(pairs, weights);
    return _mm_srai_epi32(_mm_add_epi32(sums, _mm_set1_epi32(128)), 8);
}

// The four channels of one pixel from the 8 bytes of its left and right tap pixel.
inline __m128i Pixel8u(__m128i taps, const std::uint16_t* pair) {
    const __m128i wide = _mm_unpacklo_epi8(taps, _mm_setzero_si128());  // L0..L3 R0..R3
    const __m128i pairs = _mm_unpacklo_epi16(wide, _mm_srli_si128(wide, 8));
    return Horizontal8u(pairs, RepeatedPair(pair));
}

// The taps of a three-channel pixel at stride 3: exactly the six bytes o ... o + 5, as
// [l0 l1 l2 r0 | r0 r1 r2 0].
// The second word comes from the four bytes o + 2 ... o + 5, shifted down by one byte.
inline __m128i Taps8uStride3(const std::uint8_t* p) {
    const __m128i left = _mm_cvtsi32_si128(Load<std::int32_t>(p));
    const __m128i right = _mm_srli_epi32(_mm_cvtsi32_si128(Load<std::int32_t>(p + 2)), 8);
    return _mm_unpacklo_epi32(left, right);
}

// Two pixels' results [a0 a1 a2 - b0 b1 b2 -] as [a0 a1 a2 b0 b1 b2 0 0].
inline __m128i SixValues(__m128i both) {
    const __m128i three = _mm_set_epi32(0, 0, 0x0000FFFF, -1);
    return _mm_or_si128(_mm_and_si128(both, three), _mm_slli_si128(_mm_and_si128(_mm_srli_si128(both, 8), three), 6));
}

// Four 8u pairs (2 bytes each at the four offsets) as (left, right) 16-bit lanes.
inline __m128i Pairs8u(const std::uint8_t* row, const std::ptrdiff_t* o) {
    const __m128i bytes = _mm_set_epi16(0, 0, 0, 0, static_cast<short>(Load<std::uint16_t>(row + o[3])),
                                        static_cast<short>(Load<std::uint16_t>(row + o[2])),
                                        static_cast<short>(Load<std::uint16_t>(row + o[1])),
                                        static_cast<short>(Load<std::uint16_t>(row + o[0])));
    return _mm_unpacklo_epi8(bytes, _mm_setzero_si128());
}

inline void HorzLinear8uC1(const std::uint8_t* row, std::int32_t count, const std::ptrdiff_t* o,
                           const std::uint16_t* w, std::uint16_t* work) {
    std::int32_t k = 0;
    for (; k + 8 <= count; k += 8) {
        const __m128i low = Horizontal8u(Pairs8u(row, o + k), _mm_load_si128(reinterpret_cast<const __m128i*>(w + 2 * k)));
        const __m128i high = Horizontal8u(Pairs8u(row, o + k + 4), _mm_load_si128(reinterpret_cast<const __m128i*>(w + 2 * k + 8)));
        _mm_store_si128(reinterpret_cast<__m128i*>(work + k), _mm_packs_epi32(low, high));
    }
    if (count - k >= 4) {
        const __m128i r = Horizontal8u(Pairs8u(row, o + k), _mm_load_si128(reinterpret_cast<const __m128i*>(w + 2 * k)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(work + k), _mm_packs_epi32(r, r));
        k += 4;
    }
    if (count - k >= 2) {
        const __m128i pairs = _mm_unpacklo_epi8(
            _mm_set_epi16(0, 0, 0, 0, 0, 0, static_cast<short>(Load<std::uint16_t>(row + o[k + 1])),
                          static_cast<short>(Load<std::uint16_t>(row + o[k]))),
            _mm_setzero_si128());
        const __m128i r = Horizontal8u(pairs, Load64(w + 2 * k));
        Store(work + k, _mm_cvtsi128_si32(_mm_packs_epi32(r, r)));
        k += 2;
    }
    if (count - k >= 1) {
        const __m128i pairs = _mm_unpacklo_epi8(_mm_cvtsi32_si128(Load<std::uint16_t>(row + o[k])), _mm_setzero_si128());
        const __m128i r = Horizontal8u(pairs, Load32(w + 2 * k));
        Store(work + k, static_cast<std::uint16_t>(_mm_cvtsi128_si32(r)));
    }
}

inline void HorzLinear8uC4(const std::uint8_t* row, std::int32_t count, const std::ptrdiff_t* o,
                           const std::uint16_t* w, std::uint16_t* work) {
    std::int32_t k = 0;
    for (; k + 2 <= count; k += 2) {
        const __m128i a = Pixel8u(Load64(row + o[k]), w + 2 * k);
        const __m128i b = Pixel8u(Load64(row + o[k + 1]), w + 2 * k + 2);
        _mm_store_si128(reinterpret_cast<__m128i*>(work + 4 * k), _mm_packs_epi32(a, b));
    }
    if (k < count) {
        const __m128i a = Pixel8u(Load64(row + o[k]), w + 2 * k);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(work + 4 * k), _mm_packs_epi32(a, a));
    }
}

// Three channels per pixel: stride 4 reads both whole pixels, stride 3 exactly their six bytes.
template <int Stride>
inline void HorzLinear8uC3(const std::uint8_t* row, std::int32_t count, const std::ptrdiff_t* o,
                           const std::uint16_t* w, std::uint16_t* work) {
    const auto taps = [&](std::int32_t k) {
        return Stride == 4 ? Load64(row + o[k]) : Taps8uStride3(row + o[k]);
    };
    const auto store = [&](std::int32_t k, __m128i values) {
        Store(work + 3 * k, _mm_cvtsi128_si32(values));
        Store(work + 3 * k + 2, static_cast<std::uint16_t>(_mm_extract_epi16(values, 2)));
    };
    const auto pair = [&](std::int32_t k) {
        return _mm_packs_epi32(Pixel8u(taps(k), w + 2 * k), Pixel8u(taps(k + 1), w + 2 * k + 2));
    };
    std::int32_t k = 0;
    // Four pixels' twelve values as one 16-byte and one 8-byte store.
    for (; k + 4 <= count; k += 4) {
        const __m128i first = SixValues(pair(k));
        const __m128i second = SixValues(pair(k + 2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(work + 3 * k), _mm_or_si128(first, _mm_slli_si128(second, 12)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(work + 3 * k + 8), _mm_srli_si128(second, 4));
    }
    for (; k + 2 <= count; k += 2) {
        const __m128i both = pair(k);
        store(k, both);
        store(k + 1, _mm_srli_si128(both, 8));
    }
    if (k < count) {
        const __m128i a = Pixel8u(taps(k), w + 2 * k);
        store(k, _mm_packs_epi32(a, a));
    }
}

// (upper x (16384 - a) + lower x a + 2^19) >> 20 for eight elements (upper, lower interleaved).
inline __m128i Vertical8u(__m128i upper, __m128i lower, __m128i weights) {
    const __m128i round = _mm_set1_epi32(524288);
    const __m128i low = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(upper, lower), weights), round), 20);
    const __m128i high = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(upper, lower), weights), round), 20);
    const __m128i words = _mm_packs_epi32(low, high);
    return _mm_packus_epi16(words, words);
}

inline __m128i RowWeights(std::uint16_t a) {
    const std::uint32_t lowerShare = a;
    const std::uint32_t upperShare = static_cast<std::uint16_t>(16384 - a);
    return _mm_set1_epi32(static_cast<int>(upperShare | (lowerShare << 16)));
}

inline void VertLinear8u(std::uint8_t* destination, std::ptrdiff_t count, std::uint16_t a,
                         const std::uint16_t* upper, const std::uint16_t* lower) {
    const __m128i weights = RowWeights(a);
    std::ptrdiff_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i r = Vertical8u(_mm_load_si128(reinterpret_cast<const __m128i*>(upper + i)),
                                     _mm_load_si128(reinterpret_cast<const __m128i*>(lower + i)), weights);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(destination + i), r);
    }
    if (count - i >= 4) {
        Store(destination + i, _mm_cvtsi128_si32(Vertical8u(Load64(upper + i), Load64(lower + i), weights)));
        i += 4;
    }
    if (count - i >= 2) {
        Store(destination + i, static_cast<std::uint16_t>(_mm_cvtsi128_si32(Vertical8u(Load32(upper + i), Load32(lower + i), weights))));
        i += 2;
    }
    if (count - i >= 1) {
        const __m128i r = Vertical8u(_mm_cvtsi32_si128(upper[i]), _mm_cvtsi32_si128(lower[i]), weights);
        destination[i] = static_cast<std::uint8_t>(_mm_cvtsi128_si32(r));
    }
}

// Two pixels per iteration: four work elements of each (the fourth the next pixel's first, or
// the row's spare room) give the three channel bytes; the fourth destination byte is kept.
inline void VertLinear8uAC4(std::uint8_t* destination, std::int32_t count, std::uint16_t a,
                            const std::uint16_t* upper, const std::uint16_t* lower) {
    const __m128i weights = RowWeights(a);
    const __m128i channels = _mm_set_epi32(0, 0, 0x00FFFFFF, 0x00FFFFFF);
    const __m128i fourth = _mm_set_epi32(0, 0, static_cast<int>(0xFF000000u), static_cast<int>(0xFF000000u));
    std::int32_t k = 0;
    for (; k + 2 <= count; k += 2) {
        const __m128i u = _mm_unpacklo_epi64(Load64(upper + 3 * k), Load64(upper + 3 * k + 3));
        const __m128i l = _mm_unpacklo_epi64(Load64(lower + 3 * k), Load64(lower + 3 * k + 3));
        const __m128i old = Load64(destination + 4 * k);
        const __m128i merged = _mm_or_si128(_mm_and_si128(Vertical8u(u, l, weights), channels), _mm_and_si128(old, fourth));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(destination + 4 * k), merged);
    }
    if (k < count) {
        const __m128i r = Vertical8u(Load64(upper + 3 * k), Load64(lower + 3 * k), weights);
        const __m128i merged = _mm_or_si128(_mm_and_si128(r, channels), _mm_and_si128(Load32(destination + 4 * k), fourth));
        Store(destination + 4 * k, _mm_cvtsi128_si32(merged));
    }
}

// ---- 16u ----

// Lanes (x0, y0, x1, y1, ...) times (v0, v1, ...): the full unsigned 32-bit products of lanes
// 0 ... 3 and 4 ... 7.
inline void Products16u(__m128i values, __m128i weights, __m128i& low, __m128i& high) {
    const __m128i lo = _mm_mullo_epi16(values, weights);
    const __m128i hi = _mm_mulhi_epu16(values, weights);
    low = _mm_unpacklo_epi16(lo, hi);
    high = _mm_unpackhi_epi16(lo, hi);
}

inline __m128i Round16u(__m128i sums) {
    return _mm_srli_epi32(_mm_add_epi32(sums, _mm_set1_epi32(8192)), 14);
}

// Sums of adjacent 32-bit lanes: (a0 + a1, a2 + a3, b0 + b1, b2 + b3).
inline __m128i PairSums(__m128i a, __m128i b) {
    const __m128 fa = _mm_castsi128_ps(a);
    const __m128 fb = _mm_castsi128_ps(b);
    const __m128i even = _mm_castps_si128(_mm_shuffle_ps(fa, fb, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(fa, fb, _MM_SHUFFLE(3, 1, 3, 1)));
    return _mm_add_epi32(even, odd);
}

// Four C1 columns from (left, right) pairs of 16-bit elements and their weight pairs.
inline __m128i Horizontal16uC1(__m128i pairs, __m128i weights) {
    __m128i low, high;
    Products16u(pairs, weights, low, high);
    return Round16u(PairSums(low, high));
}

inline __m128i Pairs16u(const std::uint16_t* row, const std::ptrdiff_t* o, int n) {
    std::int32_t p[4] = {0, 0, 0, 0};
    for (int j = 0; j < n; ++j) {
        p[j] = Load<std::int32_t>(row + o[j]);
    }
    return _mm_set_epi32(p[3], p[2], p[1], p[0]);
}

inline void HorzLinear16uC1(const std::uint16_t* row, std::int32_t count, const std::ptrdiff_t* o,
                            const std::uint16_t* w, std::uint16_t* work) {
    std::int32_t k = 0;
    for (; k + 8 <= count; k += 8) {
        const __m128i low = Horizontal16uC1(Pairs16u(row, o + k, 4), _mm_load_si128(reinterpret_cast<const __m128i*>(w + 2 * k)));
        const __m128i high = Horizontal16uC1(Pairs16u(row, o + k + 4, 4), _mm_load_si128(reinterpret_cast<const __m128i*>(w + 2 * k + 8)));
        _mm_store_si128(reinterpret_cast<__m128i*>(work + k), PackUnsigned32(low, high));
    }
    if (count - k >= 4) {
        const __m128i r = Horizontal16uC1(Pairs16u(row, o + k, 4), _mm_load_si128(reinterpret_cast<const __m128i*>(w + 2 * k)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(work + k), PackUnsigned32(r, r));
        k += 4;
    }
    if (count - k >= 2) {
        const __m128i r = Horizontal16uC1(Pairs16u(row, o + k, 2), Load64(w + 2 * k));
        Store(work + k, _mm_cvtsi128_si32(PackUnsigned32(r, r)));
        k += 2;
    }
    if (count - k >= 1) {
        const __m128i r = Horizontal16uC1(Pairs16u(row, o + k, 1), Load32(w + 2 * k));
        Store(work + k, static_cast<std::uint16_t>(_mm_cvtsi128_si32(r)));
    }
}

// One pixel's four channels from its left taps (lanes 0 ... 3) and right taps (lanes 4 ... 7).
inline __m128i Pixel16u(__m128i left, __m128i right, const std::uint16_t* pair) {
    const __m128i taps = _mm_unpacklo_epi64(left, right);
    const __m128i w0 = _mm_set1_epi16(static_cast<short>(pair[0]));
    const __m128i w1 = _mm_set1_epi16(static_cast<short>(pair[1]));
    __m128i low, high;
    Products16u(taps, _mm_unpacklo_epi64(w0, w1), low, high);
    return Round16u(_mm_add_epi32(low, high));
}

inline void HorzLinear16uC4(const std::uint16_t* row, std::int32_t count, const std::ptrdiff_t* o,
                            const std::uint16_t* w, std::uint16_t* work) {
    const auto pixel = [&](std::int32_t k) { return Pixel16u(Load64(row + o[k]), Load64(row + o[k] + 4), w + 2 * k); };
    std::int32_t k = 0;
    for (; k + 2 <= count; k += 2) {
        _mm_store_si128(reinterpret_cast<__m128i*>(work + 4 * k), PackUnsigned32(pixel(k), pixel(k + 1)));
    }
    if (k < count) {
        const __m128i a = pixel(k);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(work + 4 * k), PackUnsigned32(a, a));
    }
}

// Stride 4: both whole pixels; stride 3: exactly elements o ... o + 5.
template <int Stride>
inline void HorzLinear16uC3(const std::uint16_t* row, std::int32_t count, const std::ptrdiff_t* o,
                            const std::uint16_t* w, std::uint16_t* work) {
    const auto pixel = [&](std::int32_t k) {
        const std::uint16_t* p = row + o[k];
        if (Stride == 4) {
            return Pixel16u(Load64(p), Load64(p + 4), w + 2 * k);
        }
        const __m128i right = _mm_unpacklo_epi32(Load32(p + 3), _mm_cvtsi32_si128(p[5]));
        return Pixel16u(Load64(p), right, w + 2 * k);
    };
    const auto store = [&](std::int32_t k, __m128i values) {
        Store(work + 3 * k, _mm_cvtsi128_si32(values));
        Store(work + 3 * k + 2, static_cast<std::uint16_t>(_mm_extract_epi16(values, 2)));
    };
    std::int32_t k = 0;
    for (; k + 2 <= count; k += 2) {
        const __m128i both = PackUnsigned32(pixel(k), pixel(k + 1));
        store(k, both);
        store(k + 1, _mm_srli_si128(both, 8));
    }
    if (k < count) {
        const __m128i a = pixel(k);
        store(k, PackUnsigned32(a, a));
    }
}

// (upper x (16384 - a) + lower x a + 8192) >> 14 for the elements of two vectors, packed.
inline __m128i Vertical16u(__m128i upper, __m128i lower, std::uint16_t a) {
    const __m128i upperShare = _mm_set1_epi16(static_cast<short>(static_cast<std::uint16_t>(16384 - a)));
    const __m128i lowerShare = _mm_set1_epi16(static_cast<short>(a));
    __m128i ul, uh, ll, lh;
    Products16u(upper, upperShare, ul, uh);
    Products16u(lower, lowerShare, ll, lh);
    return PackUnsigned32(Round16u(_mm_add_epi32(ul, ll)), Round16u(_mm_add_epi32(uh, lh)));
}

inline void VertLinear16u(std::uint16_t* destination, std::ptrdiff_t count, std::uint16_t a,
                          const std::uint16_t* upper, const std::uint16_t* lower) {
    std::ptrdiff_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i r = Vertical16u(_mm_load_si128(reinterpret_cast<const __m128i*>(upper + i)),
                                      _mm_load_si128(reinterpret_cast<const __m128i*>(lower + i)), a);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), r);
    }
    if (count - i >= 4) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(destination + i), Vertical16u(Load64(upper + i), Load64(lower + i), a));
        i += 4;
    }
    if (count - i >= 2) {
        Store(destination + i, _mm_cvtsi128_si32(Vertical16u(Load32(upper + i), Load32(lower + i), a)));
        i += 2;
    }
    if (count - i >= 1) {
        const __m128i r = Vertical16u(_mm_cvtsi32_si128(upper[i]), _mm_cvtsi32_si128(lower[i]), a);
        destination[i] = static_cast<std::uint16_t>(_mm_cvtsi128_si32(r));
    }
}

// Two pixels per iteration, each stored whole with its old fourth element; an odd last pixel
// writes its three elements only.
inline void VertLinear16uAC4(std::uint16_t* destination, std::int32_t count, std::uint16_t a,
                             const std::uint16_t* upper, const std::uint16_t* lower) {
    std::int32_t k = 0;
    for (; k + 2 <= count; k += 2) {
        const __m128i u = _mm_unpacklo_epi64(Load64(upper + 3 * k), Load64(upper + 3 * k + 3));
        const __m128i l = _mm_unpacklo_epi64(Load64(lower + 3 * k), Load64(lower + 3 * k + 3));
        __m128i r = Vertical16u(u, l, a);
        r = _mm_insert_epi16(r, destination[4 * k + 3], 3);
        r = _mm_insert_epi16(r, destination[4 * k + 7], 7);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 4 * k), r);
    }
    if (k < count) {
        const __m128i r = Vertical16u(Load64(upper + 3 * k), Load64(lower + 3 * k), a);
        Store(destination + 4 * k, _mm_cvtsi128_si32(r));
        destination[4 * k + 2] = static_cast<std::uint16_t>(_mm_extract_epi16(r, 2));
    }
}

// ---- 32f ----

// left + (right - left) x t, each operation rounded to single precision.
inline float Blend(float left, float right, float t) {
    const float difference = right - left;
    const float product = difference * t;
    return left + product;
}

inline void HorzLinear32fC1(const float* row, std::int32_t count, const std::ptrdiff_t* o, const float* t,
                            float* work) {
    std::int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        const __m128 first = _mm_loadh_pi(LoadFloatPair(row + o[k]),
                                          reinterpret_cast<const __m64*>(row + o[k + 1]));
        const __m128 second = _mm_loadh_pi(LoadFloatPair(row + o[k + 2]),
                                           reinterpret_cast<const __m64*>(row + o[k + 3]));
        const __m128 left = _mm_shuffle_ps(first, second, _MM_SHUFFLE(2, 0, 2, 0));
        const __m128 right = _mm_shuffle_ps(first, second, _MM_SHUFFLE(3, 1, 3, 1));
        const __m128 product = _mm_mul_ps(_mm_sub_ps(right, left), _mm_load_ps(t + k));
        _mm_store_ps(work + k, _mm_add_ps(left, product));
    }
    for (; k < count; ++k) {
        work[k] = Blend(row[o[k]], row[o[k] + 1], t[k]);
    }
}

// C3 (three channels at the stride) and C4: one pixel at a time, scalar.
template <class L>
inline void HorzLinear32fCn(const float* row, std::int32_t count, const std::ptrdiff_t* o, const float* t,
                            float* work) {
    for (std::int32_t k = 0; k < count; ++k) {
        const float* p = row + o[k];
        for (int c = 0; c < L::channels; ++c) {
            work[static_cast<std::ptrdiff_t>(k) * L::channels + c] = Blend(p[c], p[L::pixelStride + c], t[k]);
        }
    }
}

inline void VertLinear32f(float* destination, std::ptrdiff_t count, float a, const float* upper,
                          const float* lower) {
    const float b = 1.0f - a;
    const __m128 va = _mm_set1_ps(a);
    const __m128 vb = _mm_set1_ps(b);
    const bool aligned = (reinterpret_cast<std::uintptr_t>(destination) & 15) == 0;
    std::ptrdiff_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128 r = _mm_add_ps(_mm_mul_ps(_mm_load_ps(upper + i), vb), _mm_mul_ps(_mm_load_ps(lower + i), va));
        if (aligned) {
            _mm_store_ps(destination + i, r);
        } else {
            _mm_storeu_ps(destination + i, r);
        }
    }
    for (; i < count; ++i) {
        const float up = upper[i] * b;
        const float down = lower[i] * a;
        destination[i] = up + down;
    }
}

inline void VertLinear32fAC4(float* destination, std::int32_t count, float a, const float* upper,
                             const float* lower) {
    const float b = 1.0f - a;
    for (std::int32_t k = 0; k < count; ++k) {
        for (int c = 0; c < 3; ++c) {
            const float up = upper[3 * k + c] * b;
            const float down = lower[3 * k + c] * a;
            destination[4 * static_cast<std::ptrdiff_t>(k) + c] = up + down;
        }
    }
}

}  // namespace linear

// The kernels as the frame's linear drivers call them: count in destination pixels, the layout
// L at compile time.
template <class T, class L>
void ResizeHorzLinear(const T* row, std::int32_t count, const std::ptrdiff_t* columnOffsets,
                      const frame::LinearWork<T>* columnWeights, frame::LinearWork<T>* work) {
    using namespace linear;
    if constexpr (std::is_same_v<T, float>) {
        if constexpr (L::channels == 1) {
            HorzLinear32fC1(row, count, columnOffsets, columnWeights, work);
        } else {
            HorzLinear32fCn<L>(row, count, columnOffsets, columnWeights, work);
        }
    } else if constexpr (std::is_same_v<T, std::uint8_t>) {
        if constexpr (L::channels == 1) {
            HorzLinear8uC1(row, count, columnOffsets, columnWeights, work);
        } else if constexpr (L::channels == 4) {
            HorzLinear8uC4(row, count, columnOffsets, columnWeights, work);
        } else {
            HorzLinear8uC3<L::pixelStride>(row, count, columnOffsets, columnWeights, work);
        }
    } else {
        if constexpr (L::channels == 1) {
            HorzLinear16uC1(row, count, columnOffsets, columnWeights, work);
        } else if constexpr (L::channels == 4) {
            HorzLinear16uC4(row, count, columnOffsets, columnWeights, work);
        } else {
            HorzLinear16uC3<L::pixelStride>(row, count, columnOffsets, columnWeights, work);
        }
    }
}

template <class T, class L>
void ResizeVertLinear(T* destination, std::int32_t count, frame::LinearWork<T> rowWeight,
                      const frame::LinearWork<T>* upper, const frame::LinearWork<T>* lower) {
    using namespace linear;
    const std::ptrdiff_t elements = static_cast<std::ptrdiff_t>(count) * L::channels;
    constexpr bool wholeRow = L::channels == L::pixelStride;
    if constexpr (std::is_same_v<T, float>) {
        if constexpr (wholeRow) {
            VertLinear32f(destination, elements, rowWeight, upper, lower);
        } else {
            VertLinear32fAC4(destination, count, rowWeight, upper, lower);
        }
    } else if constexpr (std::is_same_v<T, std::uint8_t>) {
        if constexpr (wholeRow) {
            VertLinear8u(destination, elements, rowWeight, upper, lower);
        } else {
            VertLinear8uAC4(destination, count, rowWeight, upper, lower);
        }
    } else {
        if constexpr (wholeRow) {
            VertLinear16u(destination, elements, rowWeight, upper, lower);
        } else {
            VertLinear16uAC4(destination, count, rowWeight, upper, lower);
        }
    }
}

}  // namespace resize::sse2
