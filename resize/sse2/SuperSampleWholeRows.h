#pragma once
// Super-sampling with whole steps on 8-bit data of packed pixels (C1, C3, C4) on SSE2 registers:
// one destination row straight from its source rows. The rows' column sums are held in 16-bit
// lanes (a band of at most 257 pixels of 255 fits), each band's sum of its columns is formed for
// every element position at once and then picked out band by band, and the sum goes to the
// destination as trunc(min(255, sum x sumScale + 0.5)), in double precision as the frame does it.
// A sumScale that is exactly 2^-k gives the same value as (sum + 2^(k-1)) >> k, which is used
// then. The sums are exact integers whatever their order, so the bytes are the frame's.

#include <emmintrin.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace resize::sse2 {

namespace wholestep {

// Bytes of the work row the row needs beyond its three bytes an element: room for whole
// registers past the last element.
inline constexpr std::ptrdiff_t Spare = 64;

// The element sums of `rows` source rows into 16-bit lanes, `elements` of them (rounded up to 8;
// those past `elements` are left as zero).
inline void SumColumns(const std::uint8_t* row, std::ptrdiff_t step, std::ptrdiff_t elements, std::int64_t rows,
                       std::uint16_t* sums) {
    const __m128i zero = _mm_setzero_si128();
    std::ptrdiff_t e = 0;
    for (; e + 16 <= elements; e += 16) {
        __m128i low = zero;
        __m128i high = zero;
        const std::uint8_t* at = row + e;
        const auto add = [&](const std::uint8_t* from) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
            low = _mm_add_epi16(low, _mm_unpacklo_epi8(bytes, zero));
            high = _mm_add_epi16(high, _mm_unpackhi_epi8(bytes, zero));
        };
        if (rows == 2) {  // halving, the common case, without the loop
            add(at);
            add(at + step);
        } else {
            for (std::int64_t r = 0; r < rows; ++r, at += step) {
                add(at);
            }
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + e), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + e + 8), high);
    }
    for (; e < elements; ++e) {
        std::uint32_t sum = 0;
        const std::uint8_t* at = row + e;
        for (std::int64_t r = 0; r < rows; ++r, at += step) {
            sum += *at;
        }
        sums[e] = static_cast<std::uint16_t>(sum);
    }
    std::memset(sums + elements, 0, 16 * sizeof(std::uint16_t));
}

// Eight band sums (16-bit lanes, below 2^16) to eight bytes.
inline __m128i ScaleShift(__m128i sums, __m128i half, __m128i shift) {
    // (sum + half) >> k in 32 bits: the sum may use all 16 bits.
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_srl_epi32(_mm_add_epi32(_mm_unpacklo_epi16(sums, zero), half), shift);
    const __m128i high = _mm_srl_epi32(_mm_add_epi32(_mm_unpackhi_epi16(sums, zero), half), shift);
    const __m128i words = _mm_packs_epi32(low, high);
    return _mm_packus_epi16(words, words);
}

inline __m128i ScaleTwo(__m128i sums32, __m128d scale) {
    const __m128d half = _mm_set1_pd(0.5);
    const __m128d top = _mm_set1_pd(255.0);
    const __m128d low = _mm_min_pd(top, _mm_add_pd(_mm_mul_pd(_mm_cvtepi32_pd(sums32), scale), half));
    const __m128d high =
        _mm_min_pd(top, _mm_add_pd(_mm_mul_pd(_mm_cvtepi32_pd(_mm_srli_si128(sums32, 8)), scale), half));
    return _mm_unpacklo_epi64(_mm_cvttpd_epi32(low), _mm_cvttpd_epi32(high));
}

inline __m128i ScaleDouble(__m128i sums, __m128d scale) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i words = _mm_packs_epi32(ScaleTwo(_mm_unpacklo_epi16(sums, zero), scale),
                                          ScaleTwo(_mm_unpackhi_epi16(sums, zero), scale));
    return _mm_packus_epi16(words, words);
}

// Exactly 2:1 on three-element pixels (sums of four, scale 1/4): (a + b + c + d + 2) >> 2 on
// bytes, without widening. With v = avg(a, c) and w = avg(b, d) (rounding up), avg(v, w) is one
// too high exactly where a pair's sum was odd and v + w is odd as well. Each 48-byte block of
// positions gives every position's result; its pixels' bytes (three of every six) are then moved
// together on 64-bit lanes and go out as 24 bytes. Pixels the blocks leave are made one by one.
inline void HalveRow8uC3(const std::uint8_t* top, const std::uint8_t* bottom, std::ptrdiff_t elements,
                         std::int32_t width, std::uint8_t* destination) {
    const auto load = [](const std::uint8_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
    const __m128i one = _mm_set1_epi8(1);
    const auto quarter = [&](std::ptrdiff_t at) {
        const __m128i a = load(top + at);
        const __m128i c = load(bottom + at);
        const __m128i b = load(top + at + 3);
        const __m128i d = load(bottom + at + 3);
        const __m128i v = _mm_avg_epu8(a, c);
        const __m128i w = _mm_avg_epu8(b, d);
        const __m128i odd = _mm_and_si128(_mm_or_si128(_mm_xor_si128(a, c), _mm_xor_si128(b, d)), _mm_xor_si128(v, w));
        return _mm_sub_epi8(_mm_avg_epu8(v, w), _mm_and_si128(odd, one));
    };
    // A pair of lanes holding positions 0-7 and 8-15 of a block (or 24-31 and 32-39): pixels at
    // 0, 6 and 12 to bytes 0-8.
    const __m128i stay = _mm_set_epi64x(0xFF, 0xFFFFFF);
    const __m128i moved = _mm_set_epi64x(0xFFFFFF00, 0xFFFF000000);
    const auto three = [&](__m128i x) {
        const __m128i t = _mm_or_si128(_mm_and_si128(x, stay), _mm_and_si128(_mm_srli_epi64(x, 24), moved));
        return _mm_or_si128(_mm_move_epi64(t), _mm_srli_si128(_mm_unpackhi_epi64(_mm_setzero_si128(), t), 3));
    };
    const __m128i low3 = _mm_set1_epi64x(0xFFFFFF);
    std::int32_t j = 0;
    for (std::ptrdiff_t s = 0; s + 51 <= elements && 3 * static_cast<std::ptrdiff_t>(j) + 28 <= 3 * static_cast<std::ptrdiff_t>(width);
         s += 48, j += 8) {
        const __m128i r0 = quarter(s);
        const __m128i r1 = quarter(s + 16);
        const __m128i r2 = quarter(s + 32);
        // Lanes of positions 16-23 and 40-47 hold one pixel each, at 2.
        const __m128i single = _mm_and_si128(
            _mm_srli_epi64(_mm_castpd_si128(_mm_shuffle_pd(_mm_castsi128_pd(r1), _mm_castsi128_pd(r2), 2)), 16), low3);
        const __m128i first = _mm_or_si128(three(r0), _mm_slli_si128(single, 9));
        const __m128i second =
            _mm_or_si128(three(_mm_castpd_si128(_mm_shuffle_pd(_mm_castsi128_pd(r1), _mm_castsi128_pd(r2), 1))),
                         _mm_slli_si128(_mm_srli_si128(single, 8), 9));
        std::uint8_t* out = destination + 3 * static_cast<std::ptrdiff_t>(j);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), first);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), second);
    }
    for (; j < width; ++j) {
        const std::ptrdiff_t at = 6 * static_cast<std::ptrdiff_t>(j);
        for (std::ptrdiff_t c = at; c < at + 3; ++c) {
            destination[3 * static_cast<std::ptrdiff_t>(j) + c - at] =
                static_cast<std::uint8_t>((top[c] + top[c + 3] + bottom[c] + bottom[c + 3] + 2) >> 2);
        }
    }
}

}  // namespace wholestep

// One destination row of `width` pixels of E elements from `rows` source rows, bands of `bandX`
// pixels. `work` holds at least 3 x columns x E + Spare bytes, 16-byte aligned. False (nothing
// written) where the sums would not fit 16 bits or the row is too short for whole registers.
template <int E>
bool SuperSampleWholeRow8u(const std::uint8_t* row, std::ptrdiff_t step, std::int32_t columns, std::int64_t rows,
                           std::int64_t bandX, std::int32_t width, double sumScale, std::uint8_t* work,
                           std::uint8_t* destination) {
    using namespace wholestep;
    const std::ptrdiff_t elements = static_cast<std::ptrdiff_t>(columns) * E;
    if (rows * bandX > 257 || static_cast<std::int64_t>(width) * bandX > columns || elements < 3 * Spare) {
        return false;
    }
    if constexpr (E == 3) {
        if (rows == 2 && bandX == 2 && sumScale == 0.25) {
            HalveRow8uC3(row, row + step, elements, width, destination);
            return true;
        }
    }
    auto* sums = reinterpret_cast<std::uint16_t*>(work);
    std::uint8_t* bytes = work + 2 * elements + 2 * Spare;
    SumColumns(row, step, elements, rows, sums);

    // Every position's band sum (positions past the last band start are computed and unused).
    int exponent = 0;
    const bool power = std::frexp(sumScale, &exponent) == 0.5 && exponent <= 0 && exponent > -16;
    const int k = 1 - exponent;
    const __m128i half = _mm_set1_epi32(power ? 1 << (k - 1) : 0);
    const __m128i shift = _mm_cvtsi32_si128(k);
    const __m128d scale = _mm_set1_pd(sumScale);
    const std::ptrdiff_t used = static_cast<std::ptrdiff_t>(width - 1) * bandX * E + E;
    const auto load = [&](std::ptrdiff_t at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + at)); };
    const auto store = [&](std::ptrdiff_t e, __m128i band) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(bytes + e),
                         power ? ScaleShift(band, half, shift) : ScaleDouble(band, scale));
    };
    if (bandX == 2) {
        for (std::ptrdiff_t e = 0; e < used; e += 8) {
            store(e, _mm_add_epi16(load(e), load(e + E)));
        }
    } else {
        for (std::ptrdiff_t e = 0; e < used; e += 8) {
            __m128i band = load(e);
            for (std::int64_t p = 1; p < bandX; ++p) {
                band = _mm_add_epi16(band, load(e + p * E));
            }
            store(e, band);
        }
    }
    // Band j's elements stand at position j x bandX x E. Three-element pixels move as four bytes
    // (the fourth overwritten by the next pixel), the last one as its three.
    const std::ptrdiff_t stride = bandX * E;
    std::int32_t j = 0;
    if constexpr (E == 3) {
        for (; j + 1 < width; ++j) {
            std::memcpy(destination + static_cast<std::ptrdiff_t>(j) * E, bytes + j * stride, 4);
        }
    }
    for (; j < width; ++j) {
        std::memcpy(destination + static_cast<std::ptrdiff_t>(j) * E, bytes + j * stride, E);
    }
    return true;
}

}  // namespace resize::sse2
