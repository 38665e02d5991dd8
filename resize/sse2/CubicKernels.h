#pragma once
// Cubic kernels on SSE registers, for the SSE and SSE2 builds: the Newton form of the cubic
// through four taps, every operation one single-precision operation in the grouping of its group
// (the grouping decides the last bits). Scalar groups divide by 3; vector groups multiply by
// CubicOneThird. Integer results: scalar parts truncate (after ResizeEpsilon), vector bodies
// round to nearest even after CubicRoundBias, so a row mixes rounded and truncated elements.
// Fractions and work rows start on 16-byte boundaries; source and destination rows may have any
// alignment. Source reads stay inside each column's four tap pixels.

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "resize/frame/PixelLayouts.h"
#include "resize/sse2/FloatPair.h"

namespace resize::sse2 {

namespace cubic {

// One third rounded toward zero: 3 x CubicOneThird is 1 - 2^-24.
inline float CubicOneThird() {
    constexpr std::uint32_t bits = 0x3EAAAAAAu;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
inline constexpr float CubicRoundBias = 1e-5f;

// ---- scalar groups ----

struct Scalar {
    float a, b, c;
};

inline Scalar ScalarAt(float t) {
    Scalar k;
    k.a = 1.0f + t;
    k.b = (t * k.a) * 0.5f;
    k.c = ((t + -1.0f) * k.b) / 3.0f;
    return k;
}

// Horizontal scalar part.
inline float GroupSH(float p0, float p1, float p2, float p3, const Scalar& k) {
    const float d1 = p1 - p0;
    const float d2 = (p2 - p1) - d1;
    const float d3 = ((p1 - (p2 + p2)) + p3) - d2;
    return ((p0 + k.c * d3) + k.b * d2) + k.a * d1;
}

// Vertical scalar part.
inline float GroupSV(float p0, float p1, float p2, float p3, const Scalar& k) {
    const float d1 = p1 - p0;
    const float d2 = (p2 - p1) - d1;
    const float d3 = (((p3 - p2) - p2) + p1) - d2;
    return ((p0 + k.c * d3) + k.b * d2) + k.a * d1;
}

// The 32f AC4 vertical kernel.
inline float GroupVA(float p0, float p1, float p2, float p3, const Scalar& k) {
    const float d1 = p1 - p0;
    const float d2 = (p2 - d1) - p1;
    const float d3 = (((p3 - d2) - p2) - p2) + p1;
    return ((k.c * d3 + k.b * d2) + k.a * d1) + p0;
}

// ---- vector groups ----

struct Vector {
    __m128 a, b, c;
};

// Horizontal C1 bodies: C = (t - 1)(B K); C4/C3 pixels and vertical bodies: C = ((t - 1) K) B.
template <bool OneThirdFirst>
inline Vector VectorAt(__m128 t) {
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 third = _mm_set1_ps(CubicOneThird());
    Vector k;
    k.a = _mm_add_ps(t, one);
    k.b = _mm_mul_ps(_mm_mul_ps(t, _mm_set1_ps(0.5f)), k.a);
    const __m128 tMinusOne = _mm_sub_ps(t, one);
    k.c = OneThirdFirst ? _mm_mul_ps(_mm_mul_ps(tMinusOne, third), k.b)
                        : _mm_mul_ps(tMinusOne, _mm_mul_ps(k.b, third));
    return k;
}

inline __m128 VectorValue(__m128 p0, __m128 d1, __m128 d2, __m128 d3, const Vector& k) {
    return _mm_add_ps(_mm_add_ps(p0, _mm_mul_ps(k.a, d1)),
                      _mm_add_ps(_mm_mul_ps(k.b, d2), _mm_mul_ps(k.c, d3)));
}

// Horizontal vector groups (XH and PH share the differences).
inline __m128 GroupHorizontal(__m128 p0, __m128 p1, __m128 p2, __m128 p3, const Vector& k) {
    const __m128 d1 = _mm_sub_ps(p1, p0);
    const __m128 d2 = _mm_sub_ps(_mm_sub_ps(p2, p1), d1);
    const __m128 d3 = _mm_add_ps(_mm_sub_ps(_mm_sub_ps(p3, p2), p2), _mm_sub_ps(p1, d2));
    return VectorValue(p0, d1, d2, d3, k);
}

// Vertical vector group.
inline __m128 GroupXV(__m128 p0, __m128 p1, __m128 p2, __m128 p3, const Vector& k) {
    const __m128 d1 = _mm_sub_ps(p1, p0);
    const __m128 d2 = _mm_sub_ps(_mm_sub_ps(p2, p1), d1);
    const __m128 d3 = _mm_add_ps(_mm_sub_ps(p3, d2), _mm_sub_ps(_mm_sub_ps(p1, p2), p2));
    return VectorValue(p0, d1, d2, d3, k);
}

// ---- element conversions ----

template <class T>
inline float TapAt(const T* p) {
    return static_cast<float>(*p);
}

// Four consecutive elements as floats (unaligned; 8u and 16u zero-extended).
template <class T>
inline __m128 LoadFour(const T* p) {
    if constexpr (std::is_same_v<T, float>) {
        return _mm_loadu_ps(p);
    } else if constexpr (std::is_same_v<T, std::uint16_t>) {
        const __m128i e = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        return _mm_cvtepi32_ps(_mm_unpacklo_epi16(e, _mm_setzero_si128()));
    } else {
        std::int32_t bytes;
        std::memcpy(&bytes, p, sizeof bytes);
        const __m128i e = _mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), _mm_setzero_si128());
        return _mm_cvtepi32_ps(_mm_unpacklo_epi16(e, _mm_setzero_si128()));
    }
}

// Three elements of a stride-3 pixel read as two and one, the fourth lane zero.
template <class T>
inline __m128 LoadThree(const T* p) {
    if constexpr (std::is_same_v<T, float>) {
        const __m128 pair = LoadFloatPair(p);
        return _mm_movelh_ps(pair, _mm_load_ss(p + 2));
    } else {
        // Two elements and one: never the element after the pixel.
        __m128i e;
        if constexpr (std::is_same_v<T, std::uint16_t>) {
            std::uint32_t pair;
            std::memcpy(&pair, p, sizeof pair);
            e = _mm_unpacklo_epi16(_mm_set_epi32(0, 0, p[2], static_cast<int>(pair)), _mm_setzero_si128());
        } else {
            std::uint16_t pair;
            std::memcpy(&pair, p, sizeof pair);
            const std::uint32_t three = pair | (static_cast<std::uint32_t>(p[2]) << 16);
            e = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(three)), _mm_setzero_si128()),
                                   _mm_setzero_si128());
        }
        return _mm_cvtepi32_ps(e);
    }
}

// Four vector-body values to the destination type: rounded after the bias and clamped.
template <class T>
inline void StoreFour(T* out, __m128 value) {
    if constexpr (std::is_same_v<T, float>) {
        _mm_storeu_ps(out, value);
    } else {
        const __m128i n = _mm_cvtps_epi32(_mm_add_ps(value, _mm_set1_ps(CubicRoundBias)));
        if constexpr (std::is_same_v<T, std::uint8_t>) {
            const __m128i w = _mm_packs_epi32(n, n);
            const std::int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(w, w));
            std::memcpy(out, &bytes, sizeof bytes);
        } else {
            const __m128i w = _mm_packs_epi32(_mm_sub_epi32(n, _mm_set1_epi32(32768)), n);
            const __m128i u = _mm_add_epi16(w, _mm_set1_epi16(static_cast<short>(0x8000)));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out), u);
        }
    }
}

// A scalar-part value to the destination type: widened, ResizeEpsilon added, truncated, clamped.
template <class T>
inline T ScalarElement(float value) {
    return frame::ToElement<T>(static_cast<double>(value));
}

}  // namespace cubic

// ---- horizontal ----

// One channel: four columns per step (taps offset - 1 .. offset + 2 in one read, transposed),
// the rest by the scalar group.
template <class T>
void HorzCubicC1(const T* row, std::int32_t count, const std::ptrdiff_t* o, const float* fractions,
                 float* work) {
    using namespace cubic;
    std::int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        __m128 t0 = LoadFour(row + o[k] - 1);
        __m128 t1 = LoadFour(row + o[k + 1] - 1);
        __m128 t2 = LoadFour(row + o[k + 2] - 1);
        __m128 t3 = LoadFour(row + o[k + 3] - 1);
        _MM_TRANSPOSE4_PS(t0, t1, t2, t3);
        const Vector c = VectorAt<false>(_mm_load_ps(fractions + k));
        _mm_store_ps(work + k, GroupHorizontal(t0, t1, t2, t3, c));
    }
    for (; k < count; ++k) {
        const T* p = row + o[k];
        work[k] = GroupSH(TapAt(p - 1), TapAt(p), TapAt(p + 1), TapAt(p + 2), ScalarAt(fractions[k]));
    }
}

// Three or four channels, one pixel per step with the channels in the lanes (SSE2 build). At
// stride 3 each tap pixel's three elements alone are read.
template <class T, class L>
void HorzCubicPixels(const T* row, std::int32_t count, const std::ptrdiff_t* o, const float* fractions,
                     float* work) {
    using namespace cubic;
    constexpr int s = L::pixelStride;
    const auto tap = [](const T* p) { return s == 3 ? LoadThree(p) : LoadFour(p); };
    for (std::int32_t k = 0; k < count; ++k) {
        const T* p = row + o[k];
        const Vector c = VectorAt<true>(_mm_set1_ps(fractions[k]));
        const __m128 v = GroupHorizontal(tap(p - s), tap(p), tap(p + s), tap(p + 2 * s), c);
        if constexpr (L::channels == 4) {
            _mm_store_ps(work + 4 * k, v);
        } else {
            StoreFloatPair(work + 3 * k, v);
            _mm_store_ss(work + 3 * k + 2, _mm_movehl_ps(v, v));
        }
    }
}

// Three or four channels, channel by channel over the leading multiple of four pixels (each tap
// loaded alone, the C1 bodies' grouping), the rest by the scalar group (SSE build).
template <class T, class L>
void HorzCubicChannels(const T* row, std::int32_t count, const std::ptrdiff_t* o, const float* fractions,
                       float* work) {
    using namespace cubic;
    constexpr int s = L::pixelStride;
    constexpr int n = L::channels;
    const std::int32_t body = count - count % 4;
    for (int ch = 0; ch < n; ++ch) {
        for (std::int32_t k = 0; k < body; k += 4) {
            __m128 taps[4];
            for (int j = 0; j < 4; ++j) {
                const auto at = [&](int column) { return TapAt(row + o[k + column] + ch + (j - 1) * s); };
                taps[j] = _mm_setr_ps(at(0), at(1), at(2), at(3));
            }
            const Vector c = VectorAt<false>(_mm_load_ps(fractions + k));
            alignas(16) float values[4];
            _mm_store_ps(values, GroupHorizontal(taps[0], taps[1], taps[2], taps[3], c));
            for (int j = 0; j < 4; ++j) {
                work[(k + j) * n + ch] = values[j];
            }
        }
    }
    for (std::int32_t k = body; k < count; ++k) {
        const T* p = row + o[k];
        const Scalar c = ScalarAt(fractions[k]);
        for (int ch = 0; ch < n; ++ch) {
            work[k * n + ch] = GroupSH(TapAt(p + ch - s), TapAt(p + ch), TapAt(p + ch + s), TapAt(p + ch + 2 * s), c);
        }
    }
}

template <class T, class L>
void ResizeHorzCubic(const T* row, std::int32_t count, const std::ptrdiff_t* o, const float* fractions,
                     float* __restrict work) {
    if constexpr (L::channels == 1) {
        HorzCubicC1(row, count, o, fractions, work);
    } else {
        HorzCubicPixels<T, L>(row, count, o, fractions, work);
    }
}

template <class T, class L>
void ResizeHorzCubicSse(const T* row, std::int32_t count, const std::ptrdiff_t* o, const float* fractions,
                        float* __restrict work) {
    if constexpr (L::channels == 1) {
        HorzCubicC1(row, count, o, fractions, work);
    } else {
        HorzCubicChannels<T, L>(row, count, o, fractions, work);
    }
}

// ---- vertical ----

// A whole row of elements: four per step by the vector group, the rest by the scalar group.
template <class T>
void VertCubicRow(T* destination, std::ptrdiff_t count, float t, const float* r0, const float* r1,
                  const float* r2, const float* r3) {
    using namespace cubic;
    std::ptrdiff_t j = 0;
    if (count >= 4) {
        const Vector c = VectorAt<true>(_mm_set1_ps(t));
        for (; j + 4 <= count; j += 4) {
            StoreFour(destination + j, GroupXV(_mm_load_ps(r0 + j), _mm_load_ps(r1 + j), _mm_load_ps(r2 + j),
                                               _mm_load_ps(r3 + j), c));
        }
    }
    const Scalar c = ScalarAt(t);
    for (; j < count; ++j) {
        const float v = GroupSV(r0[j], r1[j], r2[j], r3[j], c);
        destination[j] = ScalarElement<T>(v);
    }
}

// Three of four elements per pixel from dense work rows. 8u/16u: the vector group over the
// leading multiple of four work elements, the scalar group after; 32f: the scalar VA group.
template <class T>
void VertCubicAC4(T* destination, std::int32_t width, float t, const float* r0, const float* r1,
                  const float* r2, const float* r3) {
    using namespace cubic;
    const Scalar s = ScalarAt(t);
    if constexpr (std::is_same_v<T, float>) {
        for (std::int32_t i = 0; i < width; ++i) {
            for (int ch = 0; ch < 3; ++ch) {
                const std::ptrdiff_t e = 3 * static_cast<std::ptrdiff_t>(i) + ch;
                destination[4 * static_cast<std::ptrdiff_t>(i) + ch] = GroupVA(r0[e], r1[e], r2[e], r3[e], s);
            }
        }
    } else {
        const std::ptrdiff_t n = 3 * static_cast<std::ptrdiff_t>(width);
        std::ptrdiff_t e = 0;
        if (n >= 4) {
            const Vector c = VectorAt<true>(_mm_set1_ps(t));
            for (; e + 4 <= n; e += 4) {
                alignas(16) T values[8];
                StoreFour(values, GroupXV(_mm_load_ps(r0 + e), _mm_load_ps(r1 + e), _mm_load_ps(r2 + e),
                                          _mm_load_ps(r3 + e), c));
                for (int j = 0; j < 4; ++j) {
                    destination[(e + j) / 3 * 4 + (e + j) % 3] = values[j];
                }
            }
        }
        for (; e < n; ++e) {
            destination[e / 3 * 4 + e % 3] = ScalarElement<T>(GroupSV(r0[e], r1[e], r2[e], r3[e], s));
        }
    }
}

template <class T, class L>
void ResizeVertCubic(T* __restrict destination, std::int32_t count, float t, const float* r0, const float* r1,
                     const float* r2, const float* r3) {
    if constexpr (L::pixelStride == L::channels) {
        VertCubicRow(destination, static_cast<std::ptrdiff_t>(count) * L::channels, t, r0, r1, r2, r3);
    } else {
        VertCubicAC4(destination, count, t, r0, r1, r2, r3);
    }
}

}  // namespace resize::sse2
