#pragma once
// Pictures whose orientation and colours survive JPEG compression, for tests
// of the decode, display and snapshot paths. Layout: blue-green-red, rows
// bottom-up, width × 3 bytes per row.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/JpegCodec.h"

namespace testpictures {

struct Bgr {
    std::uint8_t b, g, r;
};

// Quadrant colours as seen on screen: top-left red, top-right green,
// bottom-left blue, bottom-right white.
inline constexpr Bgr kTopLeft{0, 0, 255};
inline constexpr Bgr kTopRight{0, 255, 0};
inline constexpr Bgr kBottomLeft{255, 0, 0};
inline constexpr Bgr kBottomRight{255, 255, 255};

inline std::vector<std::uint8_t> QuadrantPicture(int width, int height) {
    std::vector<std::uint8_t> pixels(platform::BgrPictureBytes(width, height));
    for (int row = 0; row < height; ++row) {
        const bool top = row >= height / 2;  // rows are stored bottom-up
        for (int x = 0; x < width; ++x) {
            const bool left = x < width / 2;
            const Bgr c = top ? (left ? kTopLeft : kTopRight) : (left ? kBottomLeft : kBottomRight);
            std::uint8_t* p = &pixels[(static_cast<std::size_t>(row) * width + x) * 3];
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
        }
    }
    return pixels;
}

// Checks the colour in the middle of each quadrant, allowing for compression.
inline void ExpectQuadrants(const std::uint8_t* pixels, int width, int height, int tolerance = 48) {
    auto expect = [&](int x, int rowFromTop, Bgr c, const char* where) {
        const int row = height - 1 - rowFromTop;
        const std::uint8_t* p = &pixels[(static_cast<std::size_t>(row) * width + x) * 3];
        EXPECT_LE(std::abs(p[0] - c.b), tolerance) << where << " blue";
        EXPECT_LE(std::abs(p[1] - c.g), tolerance) << where << " green";
        EXPECT_LE(std::abs(p[2] - c.r), tolerance) << where << " red";
    };
    const int left = width / 4, right = width / 2 + (width - width / 2) / 2;
    const int top = (height - height / 2) / 2, bottom = height - 1 - (height / 2) / 2;
    expect(left, top, kTopLeft, "top left");
    expect(right, top, kTopRight, "top right");
    expect(left, bottom, kBottomLeft, "bottom left");
    expect(right, bottom, kBottomRight, "bottom right");
}

inline std::vector<std::uint8_t> QuadrantJpeg(int width, int height) {
    platform::JpegCodec codec;
    std::vector<std::uint8_t> jpeg;
    const auto pixels = QuadrantPicture(width, height);
    EXPECT_EQ(codec.Encode(pixels.data(), width, height, jpeg), platform::JpegStatus::Ok);
    return jpeg;
}

}  // namespace testpictures
