#pragma once
// Compile-time pixel layouts and element conversions shared by the interpolation kernels.

#include <cstdint>
#include <type_traits>

#include "resize/ResizeTypes.h"

namespace resize::frame {

// channels: elements resized per pixel (also the packed work pixel); pixelStride: elements from
// one pixel to the next in source and destination.
struct LayoutC1 {
    static constexpr int channels = 1;
    static constexpr int pixelStride = 1;
};
struct LayoutC3 {
    static constexpr int channels = 3;
    static constexpr int pixelStride = 3;
};
// Three channels in four-element pixels; the fourth element is never read or written.
struct LayoutAC4 {
    static constexpr int channels = 3;
    static constexpr int pixelStride = 4;
};
struct LayoutC4 {
    static constexpr int channels = 4;
    static constexpr int pixelStride = 4;
};

// Calls run(layout) with the interleaved layout a multi-channel driver serves.
template <class Run>
void WithInterleavedLayout(std::int32_t channelCount, std::int32_t pixelStride, Run&& run) {
    if (channelCount == 4) {
        run(LayoutC4{});
    } else if (pixelStride == 4) {
        run(LayoutAC4{});
    } else {
        run(LayoutC3{});
    }
}

// Work row elements of linear interpolation: 16-bit fixed point for 8u and 16u data (8-bit values
// kept scaled by 64), floats for float data.
template <class T>
using LinearWork = std::conditional_t<std::is_same_v<T, float>, float, std::uint16_t>;

// A filtered double to a destination element: integers add 1e-7, truncate toward zero and clamp
// (clamping first, so no value is out of range for the conversion; NaN gives 0); floats are
// rounded to single precision, unclamped.
template <class T>
inline T ToElement(double value) {
    if constexpr (std::is_same_v<T, float>) {
        return static_cast<float>(value);
    } else {
        constexpr double top = std::is_same_v<T, std::uint8_t> ? 255.0 : 65535.0;
        const double v = value + ResizeEpsilon;
        if (!(v >= 1.0)) {
            return 0;
        }
        if (v >= top) {
            return static_cast<T>(top);
        }
        return static_cast<T>(static_cast<std::int32_t>(v));
    }
}

}  // namespace resize::frame
