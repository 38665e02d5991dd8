// The alarm list: the bytes an add writes, the 1,024-item limit, the page's
// deletions, damaged files and adds racing the page from another thread.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/ByteOrder.h"
#include "recording/alarmlist/SystemConfig.h"
#include "support/TempFolder.h"

namespace recording {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FileBytes(const testutil::TempFolder& folder, const std::string& name = kAlarmListFileName) {
    const std::string s = folder.Read(name);
    return Bytes(s.begin(), s.end());
}

class AlarmListTest : public testing::Test {
protected:
    testutil::TempFolder folder;
    std::vector<std::string> reports;
    SystemConfig list{folder.path(), [this](const std::string& text) { reports.push_back(text); }};

    void Add(const std::string& path, std::uint32_t frames = 5, const std::string& source = "192.168.1.20") {
        list.AlarmDB_SetRecordFile(path);
        list.SetCurrentItemTime({2006, 10, 0, 2, 13, 45, 7, 0});
        ASSERT_EQ(list.AlarmDB_AddRecord(frames, source), AlarmListResult::Ok);
    }
    std::vector<AlarmDBItem> FileItems() {
        const auto bytes = FileBytes(folder);
        return ParseAlarmList(bytes).items;
    }
};

TEST_F(AlarmListTest, TheFirstAddWritesTheHeadAndOneItem) {
    const std::string path = "/rec/ALARM_MJPEG_061002T134507_abcd.kfr";
    Add(path, 42);
    const Bytes bytes = FileBytes(folder);
    ASSERT_EQ(bytes.size(), 320u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{0x87, 0x99, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00}));
    const Bytes time = {0xd6, 0x07, 0x0a, 0x00, 0x00, 0x00, 0x02, 0x00, 0x0d, 0x00, 0x2d, 0x00, 0x07, 0x00, 0x00, 0x00};
    EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.begin() + 24), time);
    Bytes pathField(260, 0);
    std::copy(path.begin(), path.end(), pathField.begin());
    EXPECT_EQ(Bytes(bytes.begin() + 24, bytes.begin() + 284), pathField);
    EXPECT_EQ(platform::LoadLe32(bytes.data() + 284), 42u);
    Bytes source(32, 0);
    std::string address = "192.168.1.20";
    std::copy(address.begin(), address.end(), source.begin());
    EXPECT_EQ(Bytes(bytes.begin() + 288, bytes.end()), source);
}

TEST_F(AlarmListTest, PathAndSourceAreCutBetweenCharacters) {
    const std::string longPath = "/" + std::string(257, 'a') + "ż.kfr";  // ż is two bytes at 258-259
    const std::string source = std::string(30, 'b').append("ł");  // ł is two bytes at 30-31
    Add(longPath, 1, source);
    const auto item = FileItems().at(0);
    EXPECT_EQ(item.FileName(), "/" + std::string(257, 'a'));
    EXPECT_EQ(item.Source(), std::string(30, 'b'));
}

TEST_F(AlarmListTest, TheListKeepsTheNewest1024Items) {
    // 1,024 adds made earlier (written at once: each add syncs the file to disc).
    std::vector<AlarmDBItem> earlier(1024);
    for (int i = 0; i < 1024; ++i)
        earlier[i].SetFileName("/rec/" + std::to_string(i) + ".kfr");
    const auto bytes = SerializeAlarmList(earlier);
    folder.Write(kAlarmListFileName, std::string(bytes.begin(), bytes.end()));
    Add("/rec/1024.kfr");
    const auto items = FileItems();
    ASSERT_EQ(items.size(), 1024u);
    EXPECT_EQ(items.front().FileName(), "/rec/1.kfr");
    EXPECT_EQ(items.back().FileName(), "/rec/1024.kfr");
    EXPECT_EQ(platform::LoadLe16(FileBytes(folder).data() + 2), 1024);
}

TEST_F(AlarmListTest, DeletingAndSavingDropsEveryItemOfThatRecordingAndKeepsLaterAdds) {
    Add("/rec/a.kfr");
    Add("/rec/b.kfr");
    Add("/rec/a.kfr");
    Add("/rec/c.kfr");
    std::vector<AlarmDBItem> shown;
    ASSERT_EQ(list.AlarmDB_Read(shown), AlarmListResult::Ok);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].byState, kAlarmItemFileMissing);  // no such recording on disk
    Add("/rec/d.kfr");  // while the page shows the list
    ASSERT_TRUE(list.AlarmDB_MarkDeleted(0));
    EXPECT_EQ(list.AlarmDB_VisibleItems().size(), 3u);
    ASSERT_EQ(list.AlarmDB_Save(), AlarmListResult::Ok);

    std::vector<std::string> names;
    for (const auto& item : FileItems())
        names.push_back(item.FileName());
    EXPECT_EQ(names, (std::vector<std::string>{"/rec/b.kfr", "/rec/c.kfr", "/rec/d.kfr"}));
    EXPECT_FALSE(list.Modified());
}

TEST_F(AlarmListTest, DeleteAllLeavesAnEmptyList) {
    Add("/rec/a.kfr");
    Add("/rec/b.kfr");
    std::vector<AlarmDBItem> shown;
    ASSERT_EQ(list.AlarmDB_Read(shown), AlarmListResult::Ok);
    list.AlarmDB_MarkAllDeleted();
    ASSERT_EQ(list.AlarmDB_Save(), AlarmListResult::Ok);
    EXPECT_EQ(FileBytes(folder), (Bytes{0x87, 0x99, 0x00, 0x00}));
}

TEST_F(AlarmListTest, AMissingListIsCreatedEmptyByTheReading) {
    std::vector<AlarmDBItem> shown;
    ASSERT_EQ(list.AlarmDB_Read(shown), AlarmListResult::Ok);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(FileBytes(folder), (Bytes{0x87, 0x99, 0x00, 0x00}));
}

TEST_F(AlarmListTest, AHeadCountingMoreItemsThanThereAreUsesThoseThereAre) {
    Add("/rec/a.kfr");
    Add("/rec/b.kfr");
    Bytes bytes = FileBytes(folder);
    platform::StoreLe16(bytes.data() + 2, 9);
    folder.Write(kAlarmListFileName, std::string(bytes.begin(), bytes.end()));
    std::vector<AlarmDBItem> shown;
    ASSERT_EQ(list.AlarmDB_Read(shown), AlarmListResult::Ok);
    EXPECT_EQ(shown.size(), 2u);
    Add("/rec/c.kfr");
    EXPECT_EQ(platform::LoadLe16(FileBytes(folder).data() + 2), 3);
    EXPECT_EQ(FileBytes(folder).size(), 4u + 3 * kAlarmItemBytes);
}

TEST_F(AlarmListTest, AFileThatIsNotAListIsMovedAsideUnchangedAndAFreshListStarts) {
    const std::string wrongMagic = std::string("\x12\x34\x01\x00", 4) + std::string(316, 'x');
    for (const std::string& content : {wrongMagic, std::string("\x87\x99\x01", 3)}) {
        testutil::TempFolder own;
        std::vector<std::string> seen;
        SystemConfig fresh{own.path(), [&](const std::string& text) { seen.push_back(text); }};
        own.Write(kAlarmListFileName, content);
        fresh.AlarmDB_SetRecordFile("/rec/new.kfr");
        ASSERT_EQ(fresh.AlarmDB_AddRecord(3, "10.0.0.1"), AlarmListResult::Ok);

        std::vector<std::filesystem::path> aside;
        for (const auto& entry : std::filesystem::directory_iterator(own.path()))
            if (entry.path().filename().string().starts_with("AlarmData.dat.bad-"))
                aside.push_back(entry.path());
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(own.Read(aside[0].filename().string()), content);
        EXPECT_EQ(seen, std::vector<std::string>{kAlarmListReadFailedText});
        const auto list = ParseAlarmList(FileBytes(own));
        ASSERT_EQ(list.items.size(), 1u);
        EXPECT_EQ(list.items[0].FileName(), "/rec/new.kfr");
    }
}

TEST_F(AlarmListTest, AListThatCannotBeReadIsAFailureAndStaysAsItWas) {
    std::filesystem::create_directory(folder.path() / kAlarmListFileName);
    list.AlarmDB_SetRecordFile("/rec/b.kfr");
    EXPECT_EQ(list.AlarmDB_AddRecord(1, "x"), AlarmListResult::IoError);
    std::vector<AlarmDBItem> shown;
    EXPECT_EQ(list.AlarmDB_Read(shown), AlarmListResult::IoError);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / kAlarmListFileName));
}

TEST_F(AlarmListTest, AddsRacingThePageLoseNoItem) {
    constexpr int kAdds = 60;
    std::atomic<bool> done{false};
    std::thread page([&] {
        std::vector<AlarmDBItem> shown;
        while (!done) {
            list.AlarmDB_Read(shown);
            list.AlarmDB_MarkDeleted(1000);  // no such item: a save that deletes nothing
            list.AlarmDB_Save();
            list.AlarmDB_FreeBuffer();
        }
    });
    for (int i = 0; i < kAdds; ++i) {
        list.AlarmDB_SetRecordFile("/rec/" + std::to_string(i) + ".kfr");
        list.SetCurrentItemTime({2006, 10, 0, 2, 13, 45, 7, 0});
        ASSERT_EQ(list.AlarmDB_AddRecord(1, "s"), AlarmListResult::Ok);
    }
    done = true;
    page.join();
    const auto items = FileItems();
    ASSERT_EQ(items.size(), static_cast<std::size_t>(kAdds));
    for (int i = 0; i < kAdds; ++i)
        EXPECT_EQ(items[i].FileName(), "/rec/" + std::to_string(i) + ".kfr");
}

}  // namespace
}  // namespace recording
