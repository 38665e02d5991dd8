#pragma once
// Pictures whose orientation and colours survive JPEG compression, for tests
// and benchmarks of the decode, display and snapshot paths. Layout:
// blue-green-red, rows bottom-up, width × 3 bytes per row.
// The checks that go with them: PictureChecks.h.

#include <cstdint>
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

// Empty when the codec fails.
inline std::vector<std::uint8_t> QuadrantJpeg(int width, int height) {
    platform::JpegCodec codec;
    std::vector<std::uint8_t> jpeg;
    const auto pixels = QuadrantPicture(width, height);
    if (codec.Encode(pixels.data(), width, height, jpeg) != platform::JpegStatus::Ok)
        jpeg.clear();
    return jpeg;
}

}  // namespace testpictures
