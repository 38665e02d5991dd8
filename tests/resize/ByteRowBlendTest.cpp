// The byte-row blend against the 8-bit linear vertical pass it stands for, over every byte pair.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "resize/ByteRowBlend.h"

namespace {

// Two copied-column work values (source bytes x 64) through the linear vertical pass.
std::uint8_t TwoPassByte(int upper, int lower, int share) {
    return static_cast<std::uint8_t>((64 * upper * (16384 - share) + 64 * lower * share + 524288) >> 20);
}

TEST(ByteRowBlend, EveryBytePairGivesTheLinearPassesBytesAtEveryShare) {
    // Every pair once per share, in a row whose length is no multiple of a register's bytes.
    std::vector<std::uint8_t> upper;
    std::vector<std::uint8_t> lower;
    for (int u = 0; u < 256; ++u) {
        for (int l = 0; l < 256; ++l) {
            upper.push_back(static_cast<std::uint8_t>(u));
            lower.push_back(static_cast<std::uint8_t>(l));
        }
    }
    upper.push_back(255);
    lower.push_back(0);
    std::vector<std::uint8_t> out(upper.size());
    for (int share : {0, 1, 2, 3, 127, 128, 4095, 4096, 8191, 8192, 8193, 12288, 16382, 16383, 16384}) {
        resize::BlendByteRow(upper.data(), lower.data(), upper.size(), static_cast<std::uint16_t>(share), out.data());
        for (std::size_t e = 0; e < out.size(); ++e) {
            const std::uint8_t expected = TwoPassByte(upper[e], lower[e], share);
            ASSERT_EQ(resize::BlendedByte(upper[e], lower[e], static_cast<std::uint16_t>(share)), expected)
                << int{upper[e]} << " " << int{lower[e]} << " share " << share;
            ASSERT_EQ(out[e], expected) << int{upper[e]} << " " << int{lower[e]} << " share " << share;
        }
    }
}

TEST(ByteRowBlend, ShortRowsWriteExactlyTheirBytes) {
    const std::uint8_t upper[5] = {0, 10, 200, 255, 7};
    const std::uint8_t lower[5] = {255, 20, 100, 0, 7};
    for (std::size_t count = 0; count <= 5; ++count) {
        std::uint8_t out[6] = {0xCD, 0xCD, 0xCD, 0xCD, 0xCD, 0xCD};
        resize::BlendByteRow(upper, lower, count, 8192, out);
        for (std::size_t e = 0; e < 6; ++e) {
            EXPECT_EQ(out[e], e < count ? TwoPassByte(upper[e], lower[e], 8192) : 0xCD) << count << " " << e;
        }
    }
}

}  // namespace
