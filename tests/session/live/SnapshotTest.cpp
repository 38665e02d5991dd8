#include "session/live/Snapshot.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/PictureChecks.h"
#include "platform/AtomicFile.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

class SnapshotTest : public ::testing::Test {
protected:
    // Decodes a written file and checks its size and quadrant colours.
    void ExpectPicture(const fs::path& file, int width, int height) {
        std::string bytes;
        ASSERT_TRUE(platform::ReadWholeFile(file, bytes));
        const std::vector<std::uint8_t> jpeg(bytes.begin(), bytes.end());
        platform::JpegCodec codec;
        platform::JpegInfo info;
        std::vector<std::uint8_t> back(platform::BgrPictureBytes(width, height));
        ASSERT_EQ(codec.Decode(jpeg, back, info), platform::JpegStatus::Ok);
        EXPECT_EQ(info.width, width);
        EXPECT_EQ(info.height, height);
        testpictures::ExpectQuadrants(back.data(), width, height);
    }
    testutil::TempFolder temp;
    const fs::path dir = temp.path();
};

TEST_F(SnapshotTest, WritesADecodableJpegNamedByTimeAndKeepsTheSlashInTheFolder) {
    const auto picture = testpictures::QuadrantPicture(640, 456);
    std::string folder = dir.string();
    fs::path written;
    ASSERT_EQ(session::SaveSnapshot(folder, picture.data(), 640, 456, At(2006, 10, 2, 9, 30, 5), &written), 1);
    EXPECT_EQ(folder, dir.string() + "/");
    EXPECT_EQ(written, dir / "061002T093005.jpg");
    ExpectPicture(written, 640, 456);

    // Without a given time the name is taken from the clock.
    ASSERT_EQ(session::SaveSnapshot(folder, picture.data(), 640, 456), 1);
    EXPECT_EQ(folder, dir.string() + "/");  // one slash, not two
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(SnapshotTest, SnapshotsInTheSameSecondDoNotOverwriteEachOther) {
    const auto first = testpictures::QuadrantPicture(320, 240);
    const auto second = testpictures::QuadrantPicture(176, 144);
    std::string folder = dir.string() + "/";
    const auto when = At(2024, 3, 4, 5, 6, 7);
    fs::path a, b;
    ASSERT_EQ(session::SaveSnapshot(folder, first.data(), 320, 240, when, &a), 1);
    ASSERT_EQ(session::SaveSnapshot(folder, second.data(), 176, 144, when, &b), 1);
    EXPECT_EQ(a.filename(), "240304T050607.jpg");
    EXPECT_EQ(b.filename(), "240304T050607_2.jpg");
    ExpectPicture(a, 320, 240);
    ExpectPicture(b, 176, 144);
}

TEST_F(SnapshotTest, FailuresReturnZeroAndLeaveNoFile) {
    const auto picture = testpictures::QuadrantPicture(64, 48);
    std::string missing = (dir / "no-such-folder").string();
    EXPECT_EQ(session::SaveSnapshot(missing, picture.data(), 64, 48), 0);
    EXPECT_EQ(missing, (dir / "no-such-folder/").string());
    std::string folder = dir.string();
    EXPECT_EQ(session::SaveSnapshot(folder, nullptr, 64, 48), 0);
    EXPECT_EQ(session::SaveSnapshot(folder, picture.data(), 0, 48), 0);
    std::string empty;
    EXPECT_EQ(session::SaveSnapshot(empty, picture.data(), 64, 48), 0);  // never into the root
    EXPECT_TRUE(fs::is_empty(dir));
}

}  // namespace
