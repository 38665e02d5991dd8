#pragma once
// GoogleTest checks for the pictures of TestPictures.h.

#include <gtest/gtest.h>

#include <cstdlib>

#include "fakes/TestPictures.h"

namespace testpictures {

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

}  // namespace testpictures
