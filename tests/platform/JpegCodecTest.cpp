#include "platform/JpegCodec.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "fakes/PictureChecks.h"
#include "platform/AtomicFile.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using platform::JpegCodec;
using platform::JpegInfo;
using platform::JpegStatus;

namespace {

struct SizeCase {
    int width, height;
};

class JpegRoundTrip : public ::testing::TestWithParam<SizeCase> {};

TEST_P(JpegRoundTrip, KeepsSizeOrientationAndColours) {
    const auto [width, height] = GetParam();
    const auto jpeg = testpictures::QuadrantJpeg(width, height);
    JpegCodec codec;
    JpegInfo header;
    ASSERT_EQ(codec.ReadInfo(jpeg, header), JpegStatus::Ok);
    EXPECT_EQ(header.width, width);
    EXPECT_EQ(header.height, height);

    std::vector<std::uint8_t> picture(platform::BgrPictureBytes(width, height) + 16, 0xAB);
    JpegInfo info;
    ASSERT_EQ(codec.Decode(jpeg, picture, info), JpegStatus::Ok) << codec.LastError();
    EXPECT_EQ(info.width, width);
    EXPECT_EQ(info.height, height);
    testpictures::ExpectQuadrants(picture.data(), width, height);
    // Rows are exactly width × 3 bytes: nothing written past the picture.
    EXPECT_TRUE(std::all_of(picture.end() - 16, picture.end(), [](auto b) { return b == 0xAB; }));
}

INSTANTIATE_TEST_SUITE_P(Sizes, JpegRoundTrip,
                         ::testing::Values(SizeCase{720, 576}, SizeCase{640, 228}, SizeCase{33, 25},
                                           SizeCase{321, 241}, SizeCase{17, 13}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

TEST(JpegCodec, PictureLargerThanBufferIsRefusedUntouched) {
    const auto jpeg = testpictures::QuadrantJpeg(64, 48);
    std::vector<std::uint8_t> small(platform::BgrPictureBytes(64, 48) - 1, 0x5A);
    JpegCodec codec;
    JpegInfo info;
    EXPECT_EQ(codec.Decode(jpeg, small, info), JpegStatus::TooLarge);
    EXPECT_EQ(info.width, 64);  // the header's size is still reported
    EXPECT_EQ(info.height, 48);
    EXPECT_TRUE(std::all_of(small.begin(), small.end(), [](auto b) { return b == 0x5A; }));
}

// Errors drop the picture, and the same codec decodes the next good one: an
// error inside a JPEG's header must not spoil the library's handle.
TEST(JpegCodec, DamagedDataGivesErrorsAndTheCodecGoesOn) {
    using testpictures::Damage;
    const auto good = testpictures::QuadrantJpeg(160, 120);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        JpegStatus expected;
        bool headerReads = false;  // the size is reported all the same
    };
    const Case cases[] = {
        {"empty", {}, JpegStatus::BadArgument},
        {"not a JPEG", std::vector<std::uint8_t>(500, 0x42), JpegStatus::BadData},
        {"start marker only", {good.begin(), good.begin() + 4}, JpegStatus::BadData},
        {"bogus quantisation table", testpictures::Damaged(good, Damage::BogusQuantTable), JpegStatus::BadData},
        {"bogus Huffman table", testpictures::Damaged(good, Damage::BogusHuffmanTable), JpegStatus::BadData},
        {"cut inside the header", testpictures::Damaged(good, Damage::CutInHeader), JpegStatus::BadData},
        {"table never defined", testpictures::Damaged(good, Damage::UndefinedQuantTable), JpegStatus::BadData,
         true},
    };
    JpegCodec codec;
    std::vector<std::uint8_t> picture(platform::BgrPictureBytes(160, 120));
    for (const auto& c : cases) {
        for (int twice = 0; twice < 2; ++twice) {
            JpegInfo info;
            EXPECT_EQ(codec.Decode(c.data, picture, info), c.expected) << c.name;
            EXPECT_FALSE(codec.LastError().empty()) << c.name;
            EXPECT_EQ(info.width, c.headerReads ? 160 : 0) << c.name;
        }
        JpegInfo info;
        ASSERT_EQ(codec.ReadInfo(good, info), JpegStatus::Ok) << c.name << ": " << codec.LastError();
        ASSERT_EQ(codec.Decode(good, picture, info), JpegStatus::Ok) << c.name << ": " << codec.LastError();
        testpictures::ExpectQuadrants(picture.data(), 160, 120);
    }
}

// A warning is no error: what could be decoded is shown, and the warning is
// kept in LastError.
TEST(JpegCodec, WarningsStillGiveThePicture) {
    const auto good = testpictures::QuadrantJpeg(160, 120);
    auto scanCut = good;
    // Bytes inside the entropy-coded data turned into a restart marker.
    scanCut[good.size() / 2] = 0xFF;
    scanCut[good.size() / 2 + 1] = 0xD3;
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        bool wholePicture;  // the damage leaves every pixel readable
    };
    const Case cases[] = {
        {"end marker missing", testpictures::Damaged(good, testpictures::Damage::NoEndMarker), true},
        {"cut in the middle", {good.begin(), good.begin() + good.size() / 2}, false},
        {"stray marker in the scan", scanCut, false},
    };
    JpegCodec codec;
    for (const auto& c : cases) {
        std::vector<std::uint8_t> picture(platform::BgrPictureBytes(160, 120));
        JpegInfo info;
        EXPECT_EQ(codec.Decode(c.data, picture, info), JpegStatus::Ok) << c.name;
        EXPECT_FALSE(codec.LastError().empty()) << c.name;
        EXPECT_EQ(info.width, 160) << c.name;
        if (c.wholePicture)
            testpictures::ExpectQuadrants(picture.data(), 160, 120);
        ASSERT_EQ(codec.Decode(good, picture, info), JpegStatus::Ok) << c.name;
        EXPECT_TRUE(codec.LastError().empty()) << c.name;
    }
}

TEST(JpegCodec, GreyJpegGivesGreyPixels) {
    std::vector<std::uint8_t> grey(32 * 16, 200);
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(tjCompress2(tj, grey.data(), 32, 32, 16, TJPF_GRAY, &out, &size, TJSAMP_GRAY, 90, 0), 0);
    const std::vector<std::uint8_t> jpeg(out, out + size);
    tjFree(out);
    tjDestroy(tj);

    JpegCodec codec;
    JpegInfo info;
    std::vector<std::uint8_t> picture(platform::BgrPictureBytes(32, 16));
    ASSERT_EQ(codec.Decode(jpeg, picture, info), JpegStatus::Ok);
    for (std::size_t i = 0; i < picture.size(); i += 3) {
        ASSERT_NEAR(picture[i], 200, 2);
        ASSERT_EQ(picture[i], picture[i + 1]);
        ASSERT_EQ(picture[i], picture[i + 2]);
    }
}

class JpegFileTest : public ::testing::Test {
protected:
    testutil::TempFolder temp;
    const fs::path dir = temp.path();
};

TEST_F(JpegFileTest, WrittenFileDecodesAndIsNeverReplaced) {
    const auto pixels = testpictures::QuadrantPicture(99, 75);
    const auto file = dir / "picture.jpg";
    JpegCodec codec;
    ASSERT_EQ(codec.WriteFile(file, pixels.data(), 99, 75), JpegStatus::Ok) << codec.LastError();

    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(file, bytes));
    const std::vector<std::uint8_t> jpeg(bytes.begin(), bytes.end());
    std::vector<std::uint8_t> back(platform::BgrPictureBytes(99, 75));
    JpegInfo info;
    ASSERT_EQ(codec.Decode(jpeg, back, info), JpegStatus::Ok);
    EXPECT_EQ(info.width, 99);
    EXPECT_EQ(info.height, 75);
    testpictures::ExpectQuadrants(back.data(), 99, 75);

    const auto other = testpictures::QuadrantPicture(10, 10);
    EXPECT_EQ(codec.WriteFile(file, other.data(), 10, 10), JpegStatus::FileExists);
    std::string after;
    ASSERT_TRUE(platform::ReadWholeFile(file, after));
    EXPECT_EQ(after, bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary left
}

TEST_F(JpegFileTest, MissingFolderAndBadPictureFailWithoutAFile) {
    const auto pixels = testpictures::QuadrantPicture(8, 8);
    JpegCodec codec;
    EXPECT_EQ(codec.WriteFile(dir / "missing" / "a.jpg", pixels.data(), 8, 8), JpegStatus::FileError);
    EXPECT_FALSE(codec.LastError().empty());
    EXPECT_EQ(codec.WriteFile(dir / "b.jpg", nullptr, 8, 8), JpegStatus::BadArgument);
    EXPECT_EQ(codec.WriteFile(dir / "c.jpg", pixels.data(), 0, 8), JpegStatus::BadArgument);
    EXPECT_TRUE(fs::is_empty(dir));
}

}  // namespace
