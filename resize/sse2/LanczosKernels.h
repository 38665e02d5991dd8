#pragma once
// Lanczos kernels of the SSE and SSE2 builds: six taps per direction, every product and partial
// sum one single-precision operation in tap order (the order decides the last bits). The
// horizontal kernels serve both builds; the vertical kernels differ only for 8u and 16u, where
// the SSE build sums in single precision and the SSE2 build in double (the generic arithmetic).

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "resize/frame/PixelLayouts.h"
#include "resize/generic/LanczosKernels.h"
#include "resize/sse2/CubicKernels.h"
#include "resize/sse2/FloatPair.h"

namespace resize::sse2 {

// Internal to each file that includes them: the library's builds run the copies compiled with
// their own files, never a twin another file (a test) compiled with other choices of operand
// order, which would change the payload a NaN result carries.
namespace {

namespace lanczos {

// One column: the six taps' element offsets from the row; all channels, in tap order. Three and
// four channels go in the lanes of one register, each lane the scalar sequence (a pixel's three
// elements read alone, so the fourth element of an AC4 pixel is never read).
template <class T, int Channels>
inline void Column(const T* row, const std::ptrdiff_t (&taps)[6], const float* w, float* out) {
    if constexpr (Channels == 1) {
        float acc = static_cast<float>(row[taps[0]]) * w[0];
        for (int j = 1; j < 6; ++j) {
            const float product = static_cast<float>(row[taps[j]]) * w[j];
            acc = acc + product;
        }
        out[0] = acc;
    } else {
        const auto tap = [&](int j) {
            return Channels == 3 ? cubic::LoadThree(row + taps[j]) : cubic::LoadFour(row + taps[j]);
        };
        __m128 acc = _mm_mul_ps(tap(0), _mm_set1_ps(w[0]));
        for (int j = 1; j < 6; ++j) {
            acc = _mm_add_ps(acc, _mm_mul_ps(tap(j), _mm_set1_ps(w[j])));
        }
        if constexpr (Channels == 4) {
            _mm_storeu_ps(out, acc);
        } else {
            StoreFloatPair(out, acc);
            _mm_store_ss(out + 2, _mm_movehl_ps(acc, acc));
        }
    }
}

// Computes columns from k on while `fits` holds for the column's offset, its taps from `taps`;
// returns the first column not computed.
template <class T, class L, class Fits, class Taps>
inline std::int32_t Run(const T* row, std::int32_t k, std::int32_t count, const std::ptrdiff_t* o,
                        const float* weights, float* work, Fits fits, Taps taps) {
    for (; k < count && fits(o[k]); ++k) {
        const std::ptrdiff_t (&at)[6] = taps(o[k]);
        Column<T, L::channels>(row, at, weights + 6 * static_cast<std::ptrdiff_t>(k),
                               work + static_cast<std::ptrdiff_t>(k) * L::channels);
    }
    return k;
}

// Six single-precision products summed in tap order.
inline float Sum(const float* w, float v0, float v1, float v2, float v3, float v4, float v5) {
    float acc = v0 * w[0];
    acc = acc + v1 * w[1];
    acc = acc + v2 * w[2];
    acc = acc + v3 * w[3];
    acc = acc + v4 * w[4];
    acc = acc + v5 * w[5];
    return acc;
}

// A float row may start at any byte (only the packed body needs 4-byte alignment).
inline void StoreAt(float* destination, std::ptrdiff_t e, float value) {
    std::memcpy(reinterpret_cast<char*>(destination) + 4 * e, &value, sizeof value);
}

}  // namespace lanczos

// work pixel k = sum of weight j x source pixel b + j - 2, b = columnOffsets[k] / stride, the
// pixel kept within the image (firstColumn, lastColumn: its first and last pixel as element
// offsets from the region's first pixel). The columns go in runs by edge class, each with its
// taps fixed, so the interior run clamps nothing: with the region at the image's first column,
// base 0 and then base 1; with the region one column in, base 0; then the interior (b < W - 3)
// and the last three bases, W - 3, W - 2, W - 1 (W: pixels from the region's first to the
// image's last). Each run is entered at most once, in that order. A run takes only columns whose
// taps lie in the image, and a column that fits no run still ahead (offsets the core never
// builds: decreasing, or an image narrower than the core allows) is computed with clamped taps,
// so every column is written and nothing outside the image is read.
template <class T, class L>
void ResizeHorzLanczos(const T* row, std::int32_t count, const std::ptrdiff_t* o, const float* weights,
                       std::ptrdiff_t firstColumn, std::ptrdiff_t lastColumn, float* __restrict work) {
    using lanczos::Run;
    constexpr std::ptrdiff_t s = L::pixelStride;
    const std::ptrdiff_t regionX = -firstColumn / s;
    const std::ptrdiff_t last = lastColumn;  // (W - 1) x s
    // The lowest base whose taps need no clamping on the left.
    const std::ptrdiff_t lowest = std::max<std::ptrdiff_t>(0, 2 - regionX) * s;
    std::int32_t k = 0;
    if (regionX == 0 && last >= 4 * s) {
        k = Run<T, L>(row, k, count, o, weights, work, [](std::ptrdiff_t b) { return b == 0; },
                      [](std::ptrdiff_t) -> const std::ptrdiff_t(&)[6] {
                          static constexpr std::ptrdiff_t at[6] = {0, 0, 0, s, 2 * s, 3 * s};
                          return at;
                      });
        k = Run<T, L>(row, k, count, o, weights, work, [](std::ptrdiff_t b) { return b == s; },
                      [](std::ptrdiff_t) -> const std::ptrdiff_t(&)[6] {
                          static constexpr std::ptrdiff_t at[6] = {0, 0, s, 2 * s, 3 * s, 4 * s};
                          return at;
                      });
    } else if (regionX == 1 && last >= 3 * s) {
        k = Run<T, L>(row, k, count, o, weights, work, [](std::ptrdiff_t b) { return b == 0; },
                      [](std::ptrdiff_t) -> const std::ptrdiff_t(&)[6] {
                          static constexpr std::ptrdiff_t at[6] = {-s, -s, 0, s, 2 * s, 3 * s};
                          return at;
                      });
    }
    // Taps b - 2 ... b + 3 with those past `to` on tap `to`'s column.
    std::ptrdiff_t at[6];
    const auto taps = [&](std::ptrdiff_t b, int to) -> const std::ptrdiff_t(&)[6] {
        for (int j = 0; j < 6; ++j) {
            at[j] = b + (std::min(j, to) - 2) * s;
        }
        return at;
    };
    const auto right = [&](std::ptrdiff_t edge) { return [=](std::ptrdiff_t b) { return b == edge && b >= lowest; }; };
    k = Run<T, L>(row, k, count, o, weights, work, [&](std::ptrdiff_t b) { return b < last - 2 * s && b >= lowest; },
                  [&](std::ptrdiff_t b) -> const std::ptrdiff_t(&)[6] { return taps(b, 5); });
    k = Run<T, L>(row, k, count, o, weights, work, right(last - 2 * s),
                  [&](std::ptrdiff_t b) -> const std::ptrdiff_t(&)[6] { return taps(b, 4); });
    k = Run<T, L>(row, k, count, o, weights, work, right(last - s),
                  [&](std::ptrdiff_t b) -> const std::ptrdiff_t(&)[6] { return taps(b, 3); });
    k = Run<T, L>(row, k, count, o, weights, work, right(last),
                  [&](std::ptrdiff_t b) -> const std::ptrdiff_t(&)[6] { return taps(b, 2); });
    Run<T, L>(row, k, count, o, weights, work, [](std::ptrdiff_t) { return true; },
              [&](std::ptrdiff_t b) -> const std::ptrdiff_t(&)[6] {
                  for (int j = 0; j < 6; ++j) {
                      at[j] = std::clamp(b + (j - 2) * s, firstColumn, lastColumn);
                  }
                  return at;
              });
}

// Whole float rows: element by element, or, when the row is long enough (11 or more), 4-byte
// aligned and shares no memory with a work row or the weights, single elements up to a 16-byte
// boundary, then eight per pass in two groups of four lanes, then single elements. Every lane
// adds the same products in the same order, so both ways give the same bits; an overlapping row
// goes element by element, each element's inputs read after the elements before it are stored.
inline void VertLanczosFloatRow(float* destination, std::ptrdiff_t count, const float* w,
                                const float* const* r) {
    const auto address = [](const void* p) { return reinterpret_cast<std::uintptr_t>(p); };
    const auto overlaps = [&](const void* from, std::ptrdiff_t floats) {
        return address(from) < address(destination + count) && address(destination) < address(from) + 4 * floats;
    };
    bool packed = count >= 11 && address(destination) % 4 == 0 && !overlaps(w, 6);
    for (int j = 0; j < 6 && packed; ++j) {
        packed = !overlaps(r[j], count);
    }
    std::ptrdiff_t e = 0;
    if (packed) {
        const std::ptrdiff_t head = ((16 - address(destination) % 16) % 16) / 4;
        for (; e < head; ++e) {
            lanczos::StoreAt(destination, e, lanczos::Sum(w, r[0][e], r[1][e], r[2][e], r[3][e], r[4][e], r[5][e]));
        }
        __m128 lanes[6];
        for (int j = 0; j < 6; ++j) {
            lanes[j] = _mm_set1_ps(w[j]);
        }
        const auto group = [&](std::ptrdiff_t at) {
            __m128 acc = _mm_mul_ps(_mm_loadu_ps(r[0] + at), lanes[0]);
            for (int j = 1; j < 6; ++j) {
                acc = _mm_add_ps(acc, _mm_mul_ps(_mm_loadu_ps(r[j] + at), lanes[j]));
            }
            _mm_store_ps(destination + at, acc);
        };
        for (; e + 8 <= count; e += 8) {
            for (int j = 5; j >= 0; --j) {
                _mm_prefetch(reinterpret_cast<const char*>(r[j] + e) + 64, _MM_HINT_NTA);
            }
            group(e);
            group(e + 4);
        }
    }
    for (; e < count; ++e) {
        lanczos::StoreAt(destination, e, lanczos::Sum(w, r[0][e], r[1][e], r[2][e], r[3][e], r[4][e], r[5][e]));
    }
}

// Whole 8u or 16u rows, four elements per pass in the lanes of registers (each lane the scalar
// sequence) and the rest one by one: sums in single precision (SSE build) or, with Double, of
// exact double products rounded to double (SSE2 build, the generic arithmetic); then ToElement's
// conversion: widened, ResizeEpsilon added, clamped to the element range (NaN to 0), truncated.
template <class T, bool Double>
void VertLanczosIntegerRow(T* destination, std::ptrdiff_t count, const float* w, const float* const* r) {
    constexpr double top = std::is_same_v<T, std::uint8_t> ? 255.0 : 65535.0;
    const auto convert = [&](__m128d sum) {
        const __m128d v = _mm_add_pd(sum, _mm_set1_pd(ResizeEpsilon));
        return _mm_cvttpd_epi32(_mm_min_pd(_mm_max_pd(v, _mm_setzero_pd()), _mm_set1_pd(top)));
    };
    std::ptrdiff_t e = 0;
    alignas(16) std::int32_t values[4];
    if constexpr (Double) {
        __m128d lanes[6];
        for (int j = 0; j < 6; ++j) {
            lanes[j] = _mm_set1_pd(w[j]);
        }
        // Two elements of row j from floats at `at`, as doubles.
        const auto two = [&](int j, std::ptrdiff_t at) {
            return _mm_cvtps_pd(LoadFloatPair(r[j] + at));
        };
        for (; e + 4 <= count; e += 4) {
            __m128d low = _mm_mul_pd(two(0, e), lanes[0]);
            __m128d high = _mm_mul_pd(two(0, e + 2), lanes[0]);
            for (int j = 1; j < 6; ++j) {
                low = _mm_add_pd(low, _mm_mul_pd(two(j, e), lanes[j]));
                high = _mm_add_pd(high, _mm_mul_pd(two(j, e + 2), lanes[j]));
            }
            _mm_storel_epi64(reinterpret_cast<__m128i*>(values), convert(low));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(values + 2), convert(high));
            for (int j = 0; j < 4; ++j) {
                destination[e + j] = static_cast<T>(values[j]);
            }
        }
        generic::ResizeVertLanczos<T, frame::LayoutC1>(destination + e, static_cast<std::int32_t>(count - e), w,
                                                       std::array<const float*, 6>{r[0] + e, r[1] + e, r[2] + e,
                                                                                    r[3] + e, r[4] + e, r[5] + e}
                                                           .data());
    } else {
        __m128 lanes[6];
        for (int j = 0; j < 6; ++j) {
            lanes[j] = _mm_set1_ps(w[j]);
        }
        for (; e + 4 <= count; e += 4) {
            __m128 acc = _mm_mul_ps(_mm_loadu_ps(r[0] + e), lanes[0]);
            for (int j = 1; j < 6; ++j) {
                acc = _mm_add_ps(acc, _mm_mul_ps(_mm_loadu_ps(r[j] + e), lanes[j]));
            }
            _mm_storel_epi64(reinterpret_cast<__m128i*>(values), convert(_mm_cvtps_pd(acc)));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(values + 2), convert(_mm_cvtps_pd(_mm_movehl_ps(acc, acc))));
            for (int j = 0; j < 4; ++j) {
                destination[e + j] = static_cast<T>(values[j]);
            }
        }
        for (; e < count; ++e) {
            const float v = lanczos::Sum(w, r[0][e], r[1][e], r[2][e], r[3][e], r[4][e], r[5][e]);
            destination[e] = frame::ToElement<T>(static_cast<double>(v));
        }
    }
}

// Sums in single precision; 8u and 16u then widen to double, add ResizeEpsilon, truncate and
// clamp. The SSE build's vertical kernels for every type, and both builds' for 32f.
template <class T, class L>
void ResizeVertLanczosSingle(T* destination, std::int32_t count, const float* w, const float* const* r) {
    if constexpr (std::is_same_v<T, float> && L::pixelStride == L::channels) {
        VertLanczosFloatRow(destination, static_cast<std::ptrdiff_t>(count) * L::channels, w, r);
    } else if constexpr (L::pixelStride == L::channels) {
        VertLanczosIntegerRow<T, false>(destination, static_cast<std::ptrdiff_t>(count) * L::channels, w, r);
    } else {
        for (std::int32_t k = 0; k < count; ++k) {
            T* out = destination + static_cast<std::ptrdiff_t>(k) * L::pixelStride;
            const std::ptrdiff_t e = static_cast<std::ptrdiff_t>(k) * L::channels;
            for (int c = 0; c < L::channels; ++c) {
                const std::ptrdiff_t i = e + c;
                const float v = lanczos::Sum(w, r[0][i], r[1][i], r[2][i], r[3][i], r[4][i], r[5][i]);
                out[c] = frame::ToElement<T>(static_cast<double>(v));
            }
        }
    }
}

// The SSE2 build's: 8u and 16u sum in double as the generic build does; 32f in single precision.
template <class T, class L>
void ResizeVertLanczos(T* destination, std::int32_t count, const float* w, const float* const* r) {
    if constexpr (std::is_same_v<T, float>) {
        ResizeVertLanczosSingle<T, L>(destination, count, w, r);
    } else if constexpr (L::pixelStride == L::channels) {
        VertLanczosIntegerRow<T, true>(destination, static_cast<std::ptrdiff_t>(count) * L::channels, w, r);
    } else {
        generic::ResizeVertLanczos<T, L>(destination, count, w, r);
    }
}

}  // namespace

}  // namespace resize::sse2
