#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "session/TextHelpers.h"

namespace {

using namespace session;
using Bytes = std::vector<std::uint8_t>;

TEST(TwoDigitText, KeepsTheLastTwoDigits) {
    EXPECT_EQ(TwoDigitText(2006), "06");
    EXPECT_EQ(TwoDigitText(7), "07");
    EXPECT_EQ(TwoDigitText(59), "59");
    EXPECT_EQ(TwoDigitText(0), "00");
    EXPECT_EQ(TwoDigitText(100), "00");
}

struct SplitCase {
    const char* text;
    const char* delimiters;
    std::size_t size;
    int result;
    Bytes bytes;
};

class SplitToBytesTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitToBytesTable, FieldsBecomeBytesWithinTheOutput) {
    const auto c = GetParam();
    Bytes out(c.size + 2, 0xEE);  // two guard bytes past the given size
    EXPECT_EQ(SplitToBytes(c.text, std::span(out).first(c.size), c.delimiters), c.result);
    Bytes expected = c.bytes;
    expected.push_back(0xEE);
    expected.push_back(0xEE);
    EXPECT_EQ(out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitToBytesTable,
    ::testing::Values(SplitCase{"172.20.3.7", ".", 4, 1, {0xAC, 0x14, 0x03, 0x07}},
                      SplitCase{"", ".", 4, 0, {0, 0, 0, 0}},
                      SplitCase{"...", ".", 4, 0, {0, 0, 0, 0}},
                      SplitCase{"1..2", ".", 4, 1, {1, 2, 0, 0}},
                      SplitCase{"1.2.3.4.5.6", ".", 4, 1, {1, 2, 3, 4}},  // extra fields dropped
                      SplitCase{"300.-1.12ab.x", ".", 4, 1, {44, 255, 12, 0}},
                      SplitCase{"10:20-30", ":-", 3, 1, {10, 20, 30}},
                      SplitCase{"99999999999999999999.1", ".", 2, 1, {0xFF, 1}}));

TEST(HexTextToBytes, MacWithSeparatorsEitherCase) {
    std::array<std::uint8_t, 6> out{};
    EXPECT_EQ(HexTextToBytes("00:1a:2B:3c:4D:5e", out, ':'), 1);
    EXPECT_EQ(out, (std::array<std::uint8_t, 6>{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
}

TEST(HexTextToBytes, NeverWritesPastTheOutputAndIgnoresAnOddLastCharacter) {
    Bytes out(4, 0xEE);
    EXPECT_EQ(HexTextToBytes("0102030405060708", std::span(out).first(2), '-'), 1);
    EXPECT_EQ(out, (Bytes{0x01, 0x02, 0xEE, 0xEE}));
    Bytes odd(3, 0xEE);
    EXPECT_EQ(HexTextToBytes("ABC", std::span(odd).first(2), ':'), 1);
    EXPECT_EQ(odd, (Bytes{0xAB, 0xEE, 0xEE}));
    Bytes any(1, 0);
    HexTextToBytes("G0", any, ':');  // no character is refused: 'G' counts as 16
    EXPECT_EQ(any[0], 0x00);         // 16 * 16 + 0 cut to a byte
}

TEST(ParseMacAddress, TwelveHexCharactersOrNothing) {
    std::array<std::uint8_t, 6> out{};
    EXPECT_EQ(ParseMacAddress("001a2b3c4d5e", out), 1);
    EXPECT_EQ(out, (std::array<std::uint8_t, 6>{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));

    out.fill(0x77);
    EXPECT_EQ(ParseMacAddress("001A2B3C4D5G", out), 0);
    EXPECT_EQ(out, (std::array<std::uint8_t, 6>{}));  // zeroed

    out.fill(0x77);
    EXPECT_EQ(ParseMacAddress("001A2B3C4D5", out), 0);
    EXPECT_EQ(out, (std::array<std::uint8_t, 6>{0x77, 0x77, 0x77, 0x77, 0x77, 0x77}));

    std::array<std::uint8_t, 5> tooSmall{};
    EXPECT_EQ(ParseMacAddress("001a2b3c4d5e", tooSmall), 0);
    EXPECT_EQ(ParseMacAddress("001a2b3c4d5e", {}), 0);  // no output
}

TEST(SnapshotName, DateAndTimeNameAndTheFolderGetsItsSeparator) {
    std::tm t{};
    t.tm_year = 2006 - 1900;
    t.tm_mon = 9;
    t.tm_mday = 2;
    t.tm_hour = 9;
    t.tm_min = 30;
    t.tm_sec = 5;
    EXPECT_EQ(SnapshotFileName(t), "061002T093005.jpg");

    std::string folder = "/home/op/Snap";
    EXPECT_EQ(SnapshotFilePath(folder, SnapshotFileName(t)), "/home/op/Snap/061002T093005.jpg");
    EXPECT_EQ(folder, "/home/op/Snap/");
    EXPECT_EQ(SnapshotFilePath(folder, "a.jpg"), "/home/op/Snap/a.jpg");
    std::string empty;
    EXPECT_EQ(SnapshotFilePath(empty, "a.jpg"), "/a.jpg");
}

}  // namespace
