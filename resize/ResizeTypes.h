#pragma once
// Plain values shared by the resize entry, every build of the engine and its callers.

#include <cstdint>

namespace resize {

// Pixel counts, passed by value.
struct ResizeSize {
    std::int32_t width;
    std::int32_t height;
};

// Origin at the image's top-left pixel.
struct ResizeRect {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

using ResizeStatus = std::int32_t;

inline constexpr ResizeStatus StatusOk = 0;
inline constexpr ResizeStatus StatusOutsideSource = 29;  // warning: nothing written
inline constexpr ResizeStatus StatusBadSize = -6;
inline constexpr ResizeStatus StatusNullPointer = -8;
inline constexpr ResizeStatus StatusNoMemory = -9;
inline constexpr ResizeStatus StatusBadStep = -14;
inline constexpr ResizeStatus StatusBadInterpolation = -22;
inline constexpr ResizeStatus StatusBadFactor = -23;
// From the build selectors.
inline constexpr ResizeStatus StatusCpuNotSupported = 20;
inline constexpr ResizeStatus StatusUnknownCpuType = 21;

inline constexpr std::int32_t InterpNearest = 1;
inline constexpr std::int32_t InterpLinear = 2;
inline constexpr std::int32_t InterpCubic = 4;
inline constexpr std::int32_t InterpSuperSample = 8;
inline constexpr std::int32_t InterpLanczos = 16;

// Added before every truncation of a mapped coordinate, clipped size or fixed-point weight,
// so values that land a rounding error below a whole number still count as that number.
inline constexpr double ResizeEpsilon = 1e-7;

// Weight 1.0 of the 14-bit fixed-point linear interpolation of 8-bit and 16-bit data.
inline constexpr double LinearWeightScale = 16384.0;

}  // namespace resize
