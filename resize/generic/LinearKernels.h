#pragma once
// The generic build's linear kernels. 8-bit and 16-bit data use 14-bit fixed-point weights and
// 16-bit work rows (8-bit values kept scaled by 64); float data use float weights and float work
// rows, computed in double.

#include <cstdint>
#include <type_traits>

#include "resize/frame/PixelLayouts.h"

namespace resize::generic {

using frame::LinearWork;

// Rounding constants and shifts of the two fixed-point passes.
template <class T>
struct LinearFixedPoint;
template <>
struct LinearFixedPoint<std::uint8_t> {
    static constexpr std::int32_t horizontalRound = 128;
    static constexpr int horizontalShift = 8;
    static constexpr std::int32_t verticalRound = 524288;
    static constexpr int verticalShift = 20;
};
template <>
struct LinearFixedPoint<std::uint16_t> {
    static constexpr std::int32_t horizontalRound = 8192;
    static constexpr int horizontalShift = 14;
    static constexpr std::int32_t verticalRound = 8192;
    static constexpr int verticalShift = 14;
};

// work[k] = blend of source pixels at columnOffsets[k] and the next pixel, per channel.
template <class T, class L>
void ResizeHorzLinear(const T* row, std::int32_t count, const std::ptrdiff_t* columnOffsets,
                      const std::uint16_t* columnWeights, std::uint16_t* __restrict work) {
    using F = LinearFixedPoint<T>;
    for (std::int32_t k = 0; k < count; ++k) {
        const T* p = row + columnOffsets[k];
        const T* q = p + L::pixelStride;
        const std::int32_t w0 = columnWeights[2 * k];
        const std::int32_t w1 = columnWeights[2 * k + 1];
        std::uint16_t* out = work + static_cast<std::ptrdiff_t>(k) * L::channels;
        for (int c = 0; c < L::channels; ++c) {
            out[c] = static_cast<std::uint16_t>((p[c] * w0 + q[c] * w1 + F::horizontalRound) >>
                                                F::horizontalShift);
        }
    }
}

template <class T, class L>
void ResizeHorzLinear(const float* row, std::int32_t count, const std::ptrdiff_t* columnOffsets,
                      const float* columnWeights, float* __restrict work) {
    for (std::int32_t k = 0; k < count; ++k) {
        const float* p = row + columnOffsets[k];
        const float* q = p + L::pixelStride;
        const double f = columnWeights[k];
        float* out = work + static_cast<std::ptrdiff_t>(k) * L::channels;
        for (int c = 0; c < L::channels; ++c) {
            const double left = p[c];
            out[c] = static_cast<float>(left + (static_cast<double>(q[c]) - left) * f);
        }
    }
}

// The 8-bit vertical blend of packed rows for a row weight a below 16384, in 16-bit lanes. Work
// values are below 2^14, so with d = lower - upper, (upper x (16384 - a) + lower x a + 2^19) >> 20
// is exactly (upper + floor(a x d / 2^14) + 32) >> 6, and floor(a x d / 2^14) is the high half of
// the 16-bit product (2a) x (2d). Kept out of line: where the compiler can see that 2a is not
// negative it no longer recognises the signed high-half multiply.
[[gnu::noinline]] inline void BlendWorkRows8u(std::uint8_t* __restrict destination, std::ptrdiff_t elements,
                                             std::int16_t twiceA, const std::uint16_t* __restrict upper,
                                             const std::uint16_t* __restrict lower) {
    for (std::ptrdiff_t e = 0; e < elements; ++e) {
        const auto u = static_cast<std::int16_t>(upper[e]);
        const auto twiceD = static_cast<std::int16_t>((lower[e] - upper[e]) * 2);
        const auto q = static_cast<std::int16_t>((static_cast<std::int32_t>(twiceA) * twiceD) >> 16);
        destination[e] = static_cast<std::uint8_t>((u + q + 32) >> 6);
    }
}

// destination pixel = upper x (1 - a) + lower x a, a the share of the lower row.
template <class T, class L>
void ResizeVertLinear(T* __restrict destination, std::int32_t count, std::uint16_t rowWeight,
                      const std::uint16_t* __restrict upper, const std::uint16_t* __restrict lower) {
    using F = LinearFixedPoint<T>;
    const std::int32_t a = rowWeight;
    const std::int32_t b = 16384 - a;
    const std::ptrdiff_t elements = static_cast<std::ptrdiff_t>(count) * L::channels;
    if constexpr (std::is_same_v<T, std::uint8_t> && L::channels == L::pixelStride) {
        if (a < 16384) {
            BlendWorkRows8u(destination, elements, static_cast<std::int16_t>(2 * a), upper, lower);
            return;
        }
    }
    if constexpr (L::channels == L::pixelStride) {
        for (std::ptrdiff_t e = 0; e < elements; ++e) {
            destination[e] = static_cast<T>((upper[e] * b + lower[e] * a + F::verticalRound) >>
                                            F::verticalShift);
        }
    } else {
        for (std::int32_t k = 0; k < count; ++k) {
            T* out = destination + static_cast<std::ptrdiff_t>(k) * L::pixelStride;
            const std::ptrdiff_t w = static_cast<std::ptrdiff_t>(k) * L::channels;
            for (int c = 0; c < L::channels; ++c) {
                out[c] = static_cast<T>((upper[w + c] * b + lower[w + c] * a + F::verticalRound) >>
                                        F::verticalShift);
            }
        }
    }
}

template <class T, class L>
void ResizeVertLinear(float* __restrict destination, std::int32_t count, float rowWeight,
                      const float* __restrict upper, const float* __restrict lower) {
    const double a = rowWeight;
    const double b = 1.0 - a;
    for (std::int32_t k = 0; k < count; ++k) {
        float* out = destination + static_cast<std::ptrdiff_t>(k) * L::pixelStride;
        const std::ptrdiff_t w = static_cast<std::ptrdiff_t>(k) * L::channels;
        for (int c = 0; c < L::channels; ++c) {
            out[c] = static_cast<float>(static_cast<double>(upper[w + c]) * b +
                                        static_cast<double>(lower[w + c]) * a);
        }
    }
}

}  // namespace resize::generic
