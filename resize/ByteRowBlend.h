#pragma once
// The 8-bit linear vertical blend of two rows whose columns copy the source (a factor of 1.0
// across, as in the display's field doubling): one formula for the resize engine of every build
// and for the display, which blends straight into the window's layout.

#include <cstddef>
#include <cstdint>

namespace resize {

// `share` is the lower row's part of 16384 (0 ... 16384). The linear 8-bit passes make a copied
// column's work value the source byte times 64 and blend two work values u and l as
// (64u (16384 - a) + 64l a + 2^19) >> 20, which is floor(u + a (l - u) / 16384 + 1/2): this.
constexpr std::uint8_t BlendedByte(std::uint8_t upper, std::uint8_t lower, std::uint16_t share) {
    return static_cast<std::uint8_t>(upper + ((2 * share * (lower - upper) + 16384) >> 15));
}

// out[e] = BlendedByte(upper[e], lower[e], share) for e < count; out overlaps neither row.
void BlendByteRow(const std::uint8_t* upper, const std::uint8_t* lower, std::size_t count, std::uint16_t share,
                  std::uint8_t* out);

}  // namespace resize
