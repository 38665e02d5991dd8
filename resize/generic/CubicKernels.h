#pragma once
// The generic build's cubic kernels: the cubic polynomial through four consecutive samples, first
// along a source row into a float work row, then down four work rows into a destination row.
// Arithmetic in double, horizontal results stored as floats.

#include <cstdint>

#include "resize/frame/PixelLayouts.h"

namespace resize::generic {

using frame::ToElement;

// The coefficients of Newton's forward-difference form at fraction t (samples at -1, 0, 1, 2),
// worked out once per destination column or row.
struct CubicCoefficients {
    double h;            // t (t + 1) / 2
    double g;            // (t - 1) h / 3
    double tPlusOne;
};

inline CubicCoefficients CubicAt(float fraction) {
    const double t = fraction;
    CubicCoefficients k;
    k.h = t * (t + 1.0) * 0.5;
    k.g = (t - 1.0) * k.h / 3.0;
    k.tPlusOne = t + 1.0;
    return k;
}

// The cubic through p(-1), p(0), p(1), p(2), in this evaluation order.
inline double Cubic(double pm1, double p0, double p1, double p2, const CubicCoefficients& k) {
    const double d1 = p0 - pm1;
    const double d2 = (p1 - p0) - d1;
    const double d3 = (p2 - 2.0 * p1 + p0) - d2;
    return pm1 + k.g * d3 + k.h * d2 + k.tPlusOne * d1;
}

// work pixel k = the cubic through the source pixels base - 1 ... base + 2 of column k.
template <class T, class L>
void ResizeHorzCubic(const T* row, std::int32_t count, const std::ptrdiff_t* columnOffsets,
                     const float* columnFractions, float* __restrict work) {
    constexpr int s = L::pixelStride;
    for (std::int32_t k = 0; k < count; ++k) {
        const T* p = row + columnOffsets[k];
        const CubicCoefficients coefficients = CubicAt(columnFractions[k]);
        float* out = work + static_cast<std::ptrdiff_t>(k) * L::channels;
        for (int c = 0; c < L::channels; ++c) {
            out[c] = static_cast<float>(Cubic(p[c - s], p[c], p[c + s], p[c + 2 * s], coefficients));
        }
    }
}

// destination pixel k = the cubic down the four work rows (source rows base - 1 ... base + 2).
template <class T, class L>
void ResizeVertCubic(T* __restrict destination, std::int32_t count, float rowFraction,
                     const float* r0, const float* r1, const float* r2, const float* r3) {
    const CubicCoefficients coefficients = CubicAt(rowFraction);
    for (std::int32_t k = 0; k < count; ++k) {
        T* out = destination + static_cast<std::ptrdiff_t>(k) * L::pixelStride;
        const std::ptrdiff_t w = static_cast<std::ptrdiff_t>(k) * L::channels;
        for (int c = 0; c < L::channels; ++c) {
            out[c] = ToElement<T>(Cubic(r0[w + c], r1[w + c], r2[w + c], r3[w + c], coefficients));
        }
    }
}

}  // namespace resize::generic
