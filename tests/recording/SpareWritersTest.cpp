// The spare media pieces: the ADPCM decoder and the raw frame-record writer.

#include <gtest/gtest.h>

#include <vector>

#include "recording/media/AdpcmDecoder.h"
#include "recording/media/FrameRecordWriter.h"
#include "support/TempFolder.h"

namespace recording {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(AdpcmDecoderTest, DecodesFromItsStartStateAndGoesOnFromCallToCall) {
    AdpcmState state;  // {50, 0}, as the decoder's own state starts
    AdpcmState reported{-1, -1};
    std::vector<std::int16_t> out(8);
    const Bytes in = {0x17, 0x8f, 0x00, 0x7f};
    EXPECT_EQ(DecodeADPCMC(in, out, reported, state), 0);
    EXPECT_EQ(out, (std::vector<std::int16_t>{1642, 2346, -854, -1311, -896, -518, -5672, 5379}));
    EXPECT_EQ(reported, (AdpcmState{50, 0}));
    EXPECT_EQ(state, (AdpcmState{78, 5379}));

    std::vector<std::int16_t> more(2);
    DecodeADPCMC(Bytes{0x00}, more, reported, state);
    EXPECT_EQ(reported, (AdpcmState{78, 5379}));
    EXPECT_EQ(more[0], 5379 + 12635 / 8);  // step 78 is 12,635
}

TEST(AdpcmDecoderTest, ThePredictorAndStepStayInRange) {
    AdpcmState state{88, 32000};
    AdpcmState reported;
    std::vector<std::int16_t> out(4);
    DecodeADPCMC(Bytes{0x77, 0x77}, out, reported, state);
    EXPECT_EQ(out[3], 32767);
    EXPECT_EQ(state.stepIndex, 88);
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

Bytes RecordBytes(std::uint32_t index, std::uint32_t timeMs, std::uint32_t length) {
    Bytes r(40, 0);
    Put32(r, 0, index);
    Put32(r, 4, timeMs);
    Put32(r, 8, length);
    Put32(r, 12, 0xADFBCE23);
    r[16] = 1, r[17] = 2, r[18] = 3;
    Put32(r, 24, 2006), Put32(r, 28, 10), Put32(r, 32, 2), Put32(r, 36, 13);
    return r;
}

TEST(FrameRecordWriterTest, ATwoFrameFileHasItsExactBytes) {
    testutil::TempFolder folder;
    const auto path = folder.path() / "frames.raw";
    {
        FrameRecordWriter writer(path, 0, 0, 0);
        ASSERT_TRUE(writer.IsOpen());
        ASSERT_TRUE(writer.AddFrame(Bytes{0xAA, 0xBB}, {1, 2, 3}, 1500, {2006, 10, 2, 13}));
        ASSERT_TRUE(writer.AddFrame(Bytes{0xCC}, {1, 2, 3}, 4200, {2006, 10, 2, 13}));
    }
    Bytes expected(80, 0);
    Put32(expected, 0, 2);
    Put32(expected, 8, 4);
    for (auto [index, time, frame] : {std::tuple{0u, 1500u, Bytes{0xAA, 0xBB}}, std::tuple{1u, 4200u, Bytes{0xCC}}}) {
        const Bytes record = RecordBytes(index, time, static_cast<std::uint32_t>(frame.size()));
        expected.insert(expected.end(), record.begin(), record.end());
        expected.insert(expected.end(), frame.begin(), frame.end());
        expected.insert(expected.end(), record.begin(), record.end());
    }
    const std::string content = folder.Read("frames.raw");
    EXPECT_EQ(Bytes(content.begin(), content.end()), expected);
}

TEST(FrameRecordWriterTest, TheHeaderIsRewrittenAfterTheTenthFrame) {
    testutil::TempFolder folder;
    FrameRecordWriter writer(folder.path() / "frames.raw", 0, 0, 0);
    for (std::uint32_t n = 1; n <= 11; ++n)
        writer.AddFrame(Bytes{0x01}, {0, 0, 0}, n * 1000, {});
    const std::string content = folder.Read("frames.raw");
    ASSERT_GE(content.size(), 12u);
    EXPECT_EQ(static_cast<std::uint8_t>(content[0]), 10);  // the 11th waits for the next rewrite
    EXPECT_EQ(static_cast<std::uint8_t>(content[8]), 10);
}

}  // namespace
}  // namespace recording
