#pragma once
// The motion-area editor's picture overlay, drawn into a copy of the picture
// (24-bit, bottom-up rows, blue-green-red): removed cells darkened towards
// red, a blue border round the cells under the pointer, a yellow one round
// the other removed cells. Cells are the picture's sixteenth in width and
// twelfth in height.

#include <cstdint>
#include <span>

#include "config/motion/MotionAreaMask.h"

namespace config {

struct BgrColour {
    std::uint8_t b = 0, g = 0, r = 0;
    friend bool operator==(const BgrColour&, const BgrColour&) = default;
};

inline constexpr BgrColour kPointerBorder{255, 0, 0};
inline constexpr BgrColour kRemovedBorder{0, 255, 255};

// A removed cell's pixel.
constexpr BgrColour TintRemoved(BgrColour pixel) {
    return {static_cast<std::uint8_t>(pixel.b * 155 / 255), static_cast<std::uint8_t>(pixel.g * 155 / 255),
            static_cast<std::uint8_t>(pixel.r * 155 / 255 + 100)};
}

// Draws into the picture of width × height pixels (rows of width × 3 bytes);
// a picture smaller than the span says, or than 16 × 12 pixels, is left alone.
void DrawMotionOverlay(std::span<std::uint8_t> picture, int width, int height, const MotionAreaMask& mask,
                       const MotionAreaMask& pointer);

}  // namespace config
