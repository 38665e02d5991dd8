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
