#include "resize/ByteRowBlend.h"

namespace resize {

namespace {
// BlendedByte in 16-bit lanes, which the compiler turns into a signed high-half multiply: with
// d = lower - upper, floor(8 a d / 2^16) = floor(a d / 2^13), and (that + 1) >> 1 is
// floor(a d / 2^14 + 1/2). a fits 16 bits signed and 8d lies within +-2040. Kept out of line with
// the share as a signed 16-bit value: where the compiler can see that it is not negative it no
// longer recognises the signed high-half multiply.
[[gnu::noinline]] void BlendLanes(const std::uint8_t* __restrict upper, const std::uint8_t* __restrict lower,
                                  std::size_t count, std::int16_t share, std::uint8_t* __restrict out) {
    for (std::size_t e = 0; e < count; ++e) {
        const auto eightD = static_cast<std::int16_t>((lower[e] - upper[e]) * 8);
        const auto q = static_cast<std::int16_t>((static_cast<std::int32_t>(share) * eightD) >> 16);
        out[e] = static_cast<std::uint8_t>(upper[e] + ((q + 1) >> 1));
    }
}
}  // namespace

void BlendByteRow(const std::uint8_t* upper, const std::uint8_t* lower, std::size_t count, std::uint16_t share,
                  std::uint8_t* out) {
    BlendLanes(upper, lower, count, static_cast<std::int16_t>(share), out);
}

}  // namespace resize
