// The ".kfr" writer: header and tag bytes, file names, a whole file, and a
// write that fails part-way.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KfrReader.h"
#include "recording/files/RecordFileFormat.h"
#include "recording/files/RecordFileWriter.h"
#include "support/TempFolder.h"

namespace recording {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Repeat(std::uint8_t value, std::size_t n) { return Bytes(n, value); }
Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

FrameHistoryEntry Entry(std::uint32_t number, std::uint32_t length, std::uint32_t streamTime = 0,
                        std::uint32_t videoLoss = 0) {
    FrameHistoryEntry e;
    e.dwFrameNumber = number;
    e.dwLength = length;
    e.dwMarker = kFrameHistoryMarker;
    e.wWidth = 640;
    e.wHeight = 480;
    e.dwStreamTime = streamTime;
    e.byChannel = 1;
    e.dwVideoLoss = videoLoss;
    return e;
}

TEST(RecordFileFormatTest, FrameTagsHaveTheirExactBytes) {
    struct Case {
        std::uint32_t videoLoss;
        Bytes expected;
    };
    const Case cases[] = {
        {0, {0xff, 0x00, 0x00, 0xe0, 0x01, 0x00, 0x00, 0x00, 0x20, 0x4e, 0x00, 0x00, 0x80, 0x02, 0xe0, 0x01,
             0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0x56, 0x41, 0x1d, 0x00, 0x6b, 0x04, 0xff, 0xff}},
        {1, {0xff, 0x08, 0x00, 0xe0, 0x01, 0x00, 0x00, 0x00, 0x20, 0x4e, 0x00, 0x00, 0x80, 0x02, 0xe0, 0x01,
             0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0x01, 0x56, 0x41, 0x1e, 0x00, 0x75, 0x04, 0xff, 0xff}},
    };
    for (const auto& c : cases) {
        std::array<std::uint8_t, kRecordTagMaxBytes> tag{};
        const std::size_t n = BuildFrameTag(Entry(1, 20000, 0, c.videoLoss), tag);
        EXPECT_EQ(Bytes(tag.begin(), tag.begin() + n), c.expected) << "video loss " << c.videoLoss;
    }
}

RecordHeaderFields AlarmHeaderFields() {
    RecordHeaderFields f;
    f.created = {2006, 10, 1, 2, 13, 45, 7, 0};  // Monday
    f.serverName = "192.168.1.20";
    f.userName = "admin";
    f.type = RecordType::Alarm;
    return f;
}

TEST(RecordFileFormatTest, HeaderBlockHasItsExactBytes) {
    const auto header = BuildRecordFileHeader(AlarmHeaderFields());
    const auto extension = RecordHeaderExtension();
    Bytes block(header.begin(), header.end());
    block.insert(block.end(), extension.begin(), extension.end());
    const Bytes expected = Join({
        {0x56, 0x41, 0x58, 0x00, 0x52, 0x34, 0x37, 0x54},
        Repeat(0, 16),
        {0xd6, 0x07, 0x0a, 0x00, 0x01, 0x00, 0x02, 0x00, 0x0d, 0x00, 0x2d, 0x00, 0x07, 0x00, 0x00, 0x00},
        Repeat(0, 12),
        {0xc0, 0xa8, 0x01, 0x14, 0x17, 0x00, 0x00, 0x01, 0x61, 0x64, 0x6d, 0x69, 0x6e},
        Repeat(0, 11),
        {0x02, 0x00, 0x00, 0x00},
        {0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x00, 0xff, 0xff},
    });
    EXPECT_EQ(block, expected);
}

TEST(RecordFileFormatTest, ServerAddressAndUserNameFillTheirFields) {
    struct Case {
        std::string server;
        Bytes address;
    };
    const Case cases[] = {
        {"192.168.1.20", {0xc0, 0xa8, 0x01, 0x14}},
        {"cam.example", {0, 0, 0, 0}},
        {"10.1.2", {0x0a, 0x01, 0x02, 0x00}},
    };
    for (const auto& c : cases) {
        auto fields = AlarmHeaderFields();
        fields.serverName = c.server;
        const auto h = BuildRecordFileHeader(fields);
        EXPECT_EQ(Bytes(h.begin() + 52, h.begin() + 56), c.address) << c.server;
    }
    auto fields = AlarmHeaderFields();
    fields.userName = "abcdefghijklmnopqrst";  // 20 characters
    fields.type = RecordType::Manual;
    const auto h = BuildRecordFileHeader(fields);
    EXPECT_EQ(std::string(h.begin() + 60, h.begin() + 76), "abcdefghijklmnop");
    EXPECT_EQ(h[76], 0x02);  // the flags follow at once: no terminator
    EXPECT_EQ(h[59], 0);
}

TEST(RecordFileFormatTest, FileNamesFollowTheLocalTime) {
    std::tm t{};
    t.tm_year = 106;
    t.tm_mon = 9;
    t.tm_mday = 2;
    t.tm_hour = 13;
    t.tm_min = 45;
    t.tm_sec = 7;
    EXPECT_EQ(AlarmRecordFileName(t, "Ab3xYZ"), "ALARM_MJPEG_061002T134507_Ab3x.kfr");
    EXPECT_EQ(AlarmRecordFileName(t, "a/b"), "ALARM_MJPEG_061002T134507_a_b.kfr");
    EXPECT_EQ(UserRecordFileName(t), "USER_MJPEG_061002T134507_UR.kfr");
    EXPECT_EQ(NumberedRecordFileName("USER_MJPEG_061002T134507_UR.kfr", 3), "USER_MJPEG_061002T134507_UR_3.kfr");
}

TEST(RecordFileWriterTest, OneFrameFileIsWholeWithItsTrailer) {
    testutil::TempFolder folder;
    RecordFileWriter writer;
    ASSERT_TRUE(writer.Open(folder.path(), "one.kfr"));
    ASSERT_EQ(writer.WriteFileHeader(AlarmHeaderFields()), 90u);
    const Bytes jpeg = {0xff, 0xd8, 1, 2, 3, 0xff, 0xd9};
    ASSERT_TRUE(writer.AppendFrame(Entry(0, 7, 4242), jpeg));
    ASSERT_TRUE(writer.Finish());

    const auto file = testutil::ReadKfr(folder.path() / "one.kfr");
    testutil::ExpectComplete(file);
    ASSERT_EQ(file.frames.size(), 1u);
    EXPECT_EQ(file.count, 1u);
    EXPECT_EQ(file.firstTime, 4242u);
    EXPECT_EQ(file.lastTime, 4242u);
    EXPECT_EQ(file.frames[0].jpeg, jpeg);
    const Bytes tail(file.bytes.end() - 12, file.bytes.end());
    EXPECT_EQ(tail, (Bytes{0x5a, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0}));
}

TEST(RecordFileWriterTest, ANameTakenGetsTheNextNumberAndTheOldFileStays) {
    testutil::TempFolder folder;
    folder.Write("rec.kfr", "old");
    folder.Write("rec_2.kfr", "old");
    RecordFileWriter writer;
    ASSERT_TRUE(writer.Open(folder.path(), "rec.kfr"));
    EXPECT_EQ(writer.Path(), folder.path() / "rec_3.kfr");
    EXPECT_EQ(folder.Read("rec.kfr"), "old");
    EXPECT_FALSE(writer.Open(folder.path() / "missing", "rec.kfr"));
}

TEST(RecordFileWriterTest, AWriteFailingMidFrameReportsTheWholeFramesAndLeavesThemClosed) {
    testutil::TempFolder folder;
    RecordFileWriter writer;
    const Bytes jpeg(1000, 0x55);
    // Room for the header block, two frame records and half a third.
    writer.LimitFileSize(90 + 2 * (31 + 1000) + 500);
    ASSERT_TRUE(writer.Open(folder.path(), "full.kfr"));
    ASSERT_EQ(writer.WriteFileHeader(AlarmHeaderFields()), 90u);
    ASSERT_TRUE(writer.AppendFrame(Entry(0, 1000, 1), jpeg));
    ASSERT_TRUE(writer.AppendFrame(Entry(0, 1000, 2), jpeg));
    const auto failed = writer.AppendFrame(Entry(0, 1000, 3), jpeg);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.wholeFrames, 2u);
    EXPECT_EQ(failed.bytes, 500u);
    writer.Finish();  // the trailer fits into the room the cut frees

    const auto file = testutil::ReadKfr(folder.path() / "full.kfr");
    testutil::ExpectComplete(file);
    EXPECT_EQ(file.count, 2u);
    EXPECT_EQ(file.lastTime, 2u);
}

TEST(RecordFileWriterTest, ARecordingWithoutRoomForItsTrailerKeepsItsWholeFrames) {
    testutil::TempFolder folder;
    RecordFileWriter writer;
    const Bytes jpeg(100, 0x11);
    writer.LimitFileSize(90 + 131 + 10);
    ASSERT_TRUE(writer.Open(folder.path(), "tight.kfr"));
    writer.WriteFileHeader(AlarmHeaderFields());
    ASSERT_TRUE(writer.AppendFrame(Entry(0, 100, 7), jpeg));
    EXPECT_FALSE(writer.AppendFrame(Entry(0, 100, 8), jpeg));
    EXPECT_FALSE(writer.Finish());
    const auto file = testutil::ReadKfr(folder.path() / "tight.kfr");
    EXPECT_FALSE(file.hasTrailer);
    ASSERT_EQ(file.frames.size(), 1u);
    EXPECT_EQ(file.bytes.size(), 90u + 131u);
    EXPECT_EQ(file.count, 1u);
    EXPECT_EQ(file.lastTime, 7u);
}

TEST(RecordFileWriterTest, APictureAsLargeAsARingSlotIsRecordedWhole) {
    testutil::TempFolder folder;
    RecordFileWriter writer;
    Bytes jpeg(kFrameHistoryFrameBytes);
    for (std::size_t i = 0; i < jpeg.size(); ++i)
        jpeg[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(writer.Open(folder.path(), "big.kfr"));
    writer.WriteFileHeader(AlarmHeaderFields());
    ASSERT_TRUE(writer.AppendFrame(Entry(0, static_cast<std::uint32_t>(jpeg.size()), 1, 1), jpeg));
    ASSERT_TRUE(writer.Finish());
    const auto file = testutil::ReadKfr(folder.path() / "big.kfr");
    testutil::ExpectComplete(file);
    ASSERT_EQ(file.frames.size(), 1u);
    EXPECT_TRUE(file.frames[0].videoLoss);
    EXPECT_EQ(file.frames[0].jpeg, jpeg);
}

}  // namespace
}  // namespace recording
