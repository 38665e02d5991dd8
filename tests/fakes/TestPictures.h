#pragma once
// Pictures whose orientation and colours survive JPEG compression, for tests
// and benchmarks of the decode, display and snapshot paths. Layout:
// blue-green-red, rows bottom-up, width × 3 bytes per row.
// The checks that go with them: PictureChecks.h.

#include <cstddef>
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

// A camera-like picture for speed measurements: the quadrants under a
// gradient that moves with the frame number and some fine texture, so each
// frame compresses about as a camera's does (30-60 KB at 720 × 576).
inline std::vector<std::uint8_t> ScenePicture(int width, int height, int frame) {
    auto pixels = QuadrantPicture(width, height);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &pixels[(static_cast<std::size_t>(row) * width + x) * 3];
            const int shade = (x + row + frame * 8) % 96;
            const int grain = ((x * 7 + row * 13 + frame) % 5) * 6;
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<std::uint8_t>((p[c] * 5 + shade * 2 + grain) / 7);
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

// Ways a device's picture gets damaged. The first three are errors inside the
// JPEG's header; with the fourth the header reads but decoding fails; the last
// is only a warning to the decoder.
enum class Damage { BogusQuantTable, BogusHuffmanTable, CutInHeader, UndefinedQuantTable, NoEndMarker };

// Where the first segment with this marker (FF marker) starts; 0 when none.
inline std::size_t FindSegment(const std::vector<std::uint8_t>& jpeg, std::uint8_t marker) {
    std::size_t at = 2;  // after the start marker
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        if (jpeg[at + 1] == marker)
            return at;
        at += 2 + (std::size_t{jpeg[at + 2]} << 8 | jpeg[at + 3]);
    }
    return 0;
}

// A copy of a JPEG made by QuadrantJpeg with the damage done.
inline std::vector<std::uint8_t> Damaged(std::vector<std::uint8_t> jpeg, Damage damage) {
    switch (damage) {
    case Damage::BogusQuantTable:
        jpeg[FindSegment(jpeg, 0xDB) + 4] = 0x1F;  // table number 15 does not exist
        break;
    case Damage::BogusHuffmanTable:
        for (std::size_t i = 0; i < 16; ++i)  // code counts that add up to far more than 256
            jpeg[FindSegment(jpeg, 0xC4) + 5 + i] = 0xFF;
        break;
    case Damage::UndefinedQuantTable:
        jpeg[FindSegment(jpeg, 0xC0) + 12] = 3;  // the first component's table, never defined
        break;
    case Damage::CutInHeader:
        jpeg.resize(FindSegment(jpeg, 0xC4) + 10);
        break;
    case Damage::NoEndMarker:
        jpeg.resize(jpeg.size() - 2);
        break;
    }
    return jpeg;
}

}  // namespace testpictures
