// The network backup page's rules: the next free name, the disk list and the
// number each entry sends, Start's checks, the pick taken over once, the
// request and the two option settings.
#include "recording/netbackup/DownloadFilePageState.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "res/StringTable.h"
#include "session/files/SettingsFile.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using namespace recording;

namespace {

DiskMap MapOf(std::initializer_list<unsigned> disks) {
    DiskMap map;
    for (unsigned disk : disks)
        map.m_byDiskMap[disk / 8] |= static_cast<std::uint8_t>(1u << (disk % 8));
    return map;
}

std::string Prompt() { return std::string(res::LoadString(kChooseFolderMessage)); }

TEST(DownloadFilePageState, NextNameIsTheFirstFreeNumberOfTheChannel) {
    testutil::TempFolder folder;
    for (const char* name : {"CH02_0001.dvr", "CH02_0002.dvr", "CH02_0003.dvr", "CH03_0004.dvr", "CH02_0005.dvr"})
        folder.Write(name, "");
    const std::string base = folder.path().string();
    EXPECT_EQ(NextBackupFileName(base, 2), base + "/CH02_0004.dvr");
    EXPECT_EQ(NextBackupFileName(base + "/", 2), base + "/CH02_0004.dvr");
    EXPECT_EQ(NextBackupFileName(base, 3), base + "/CH03_0001.dvr");
    EXPECT_EQ(NextBackupFileName(base, 12), base + "/CH12_0001.dvr");
    EXPECT_EQ(NextBackupFileName("/", 1), "/CH01_0001.dvr");
    // Once the download made the proposed file, the next number follows.
    ASSERT_TRUE(CreateEmptyBackupFile(base + "/CH02_0004.dvr"));
    EXPECT_EQ(NextBackupFileName(base, 2), base + "/CH02_0006.dvr");
}

TEST(DownloadFilePageState, EveryNumberTakenGivesTheTemporaryName) {
    testutil::TempFolder folder;
    char name[32];
    for (unsigned n = 1; n <= kBackupFileNumbers; ++n) {
        std::snprintf(name, sizeof name, "CH07_%.4u.dvr", n);
        ASSERT_TRUE(CreateEmptyBackupFile((folder.path() / name).string()));
    }
    EXPECT_EQ(NextBackupFileName(folder.path().string(), 7), (folder.path() / "CH07_Temp.dvr").string());
}

TEST(DownloadFilePageState, TheFolderLosesOneTrailingSlash) {
    EXPECT_EQ(BackupFolderOf("/data/backup/"), "/data/backup");
    EXPECT_EQ(BackupFolderOf("/data/backup"), "/data/backup");
    EXPECT_EQ(BackupFolderOf("/data//"), "/data/");
    EXPECT_EQ(BackupFolderOf("/"), "/");
    EXPECT_EQ(BackupFolderOf(""), "");
}

TEST(DownloadFilePageState, EachDiskEntrySendsItsOwnNumber) {
    struct Case {
        std::initializer_list<unsigned> disks;
        std::vector<std::string> names;
        int chosen;
        std::uint8_t number;
    };
    const Case cases[] = {
        {{0, 1, 4}, {"MASTER1", "SLAVE1", "EXT-01"}, 2, 4},
        {{0, 2, 3}, {"MASTER1", "MASTER2", "SLAVE2"}, 1, 2},
        {{0, 2, 3}, {"MASTER1", "MASTER2", "SLAVE2"}, 2, 3},
        {{3, 255}, {"SLAVE2", "EXT-252"}, 1, 255},
    };
    for (const Case& c : cases) {
        DownloadFilePageState page;
        page.SetDisks(MapOf(c.disks));
        EXPECT_EQ(page.m_nDiskIndex, 0);
        std::vector<std::string> names;
        for (const BackupDisk& disk : page.disks)
            names.push_back(disk.name);
        EXPECT_EQ(names, c.names);
        page.m_nDiskIndex = c.chosen;
        EXPECT_EQ(page.DiskNumber(), c.number);
    }
    DownloadFilePageState none;
    none.SetDisks(DiskMap{});
    EXPECT_TRUE(none.disks.empty());
    EXPECT_EQ(none.m_nDiskIndex, -1);
    EXPECT_FALSE(none.DiskNumber());
}

TEST(DownloadFilePageState, StartChecksInOrder) {
    struct Case {
        const char* name;
        std::function<void(DownloadFilePageState&)> change;
        unsigned message;
    };
    const std::vector<Case> cases{
        {"ready", [](auto&) {}, 0},
        {"size 0", [](auto& p) { p.m_nFileSize = 0; }, kBadBackupSizeMessage},
        {"size 0 before no folder", [](auto& p) { p.m_nFileSize = 0, p.m_strFilePath = Prompt(); }, kBadBackupSizeMessage},
        {"no folder", [](auto& p) { p.m_strFilePath = Prompt(); }, kBadBackupPathMessage},
        {"no disk list", [](auto& p) { p.m_strFilePath.clear(), p.disks.clear(), p.m_nDiskIndex = -1; },
         kNoBackupSourceMessage},
        {"no disk chosen", [](auto& p) { p.m_nDiskIndex = -1; }, kNoBackupSourceMessage},
        {"disk past the list", [](auto& p) { p.m_nDiskIndex = 3; }, kNoBackupSourceMessage},
        {"channel 0", [](auto& p) { p.m_nChannel = 0; }, kNoBackupSourceMessage},
        {"channel 16", [](auto& p) { p.m_nChannel = 16; }, 0},
        {"channel 17", [](auto& p) { p.m_nChannel = 17; }, kNoBackupSourceMessage},
        {"size 500", [](auto& p) { p.m_nFileSize = 500; }, 0},
    };
    for (const Case& c : cases) {
        DownloadFilePageState page;
        page.SetDisks(MapOf({0, 1}));
        page.m_strFilePath = "/data/CH01_0001.dvr";
        c.change(page);
        EXPECT_EQ(page.StartRefusal(), c.message) << c.name;
    }
}

TEST(DownloadFilePageState, WithoutAFolderTheBoxAsksForOneWhateverTheChannel) {
    DownloadFilePageState page;
    page.LoadFolderSetting("");
    EXPECT_EQ(page.m_strFilePath, Prompt());
    EXPECT_FALSE(page.HasFolder());
    page.m_nChannel = 4;
    page.GetNextFileName();
    EXPECT_EQ(page.m_strFilePath, Prompt());

    testutil::TempFolder folder;
    page.LoadFolderSetting(folder.path().string() + "/");
    EXPECT_EQ(page.m_strFolder, folder.path().string());
    EXPECT_EQ(page.m_strFilePath, folder.path().string() + "/CH04_0001.dvr");
}

TEST(DownloadFilePageState, APickIsTakenOverOnceWithItsChannelAndName) {
    testutil::TempFolder folder;
    DownloadFilePageState page;
    page.m_nChannel = 2;
    page.SetFolder(folder.path().string());
    page.SetDisks(MapOf({0, 1, 4}));

    PendingBackupSelection pick;
    pick.byPending = 1;
    pick.dateTime = {6, 10, 2, 13, 45, 7};
    pick.byDiskIndex = 2;
    pick.byChannel = 5;
    const auto when = page.TakeOver(pick);
    ASSERT_TRUE(when);
    EXPECT_EQ((std::array{when->year, when->month, when->day, when->hour, when->minute, when->second}),
              (std::array{2006, 10, 2, 13, 45, 7}));
    EXPECT_EQ(page.m_nChannel, 5u);
    EXPECT_EQ(page.m_nDiskIndex, 2);
    EXPECT_EQ(page.m_strFilePath, folder.path().string() + "/CH05_0001.dvr");
    EXPECT_EQ(pick.Bytes(), (std::array<std::uint8_t, 12>{}));
    EXPECT_FALSE(page.TakeOver(pick));  // taken once

    // Channel 0 (a manual, system or timer entry) keeps the page's channel and name.
    pick.byPending = 1;
    pick.byChannel = 0;
    pick.byDiskIndex = 1;
    ASSERT_TRUE(page.TakeOver(pick));
    EXPECT_EQ(page.m_nChannel, 5u);
    EXPECT_EQ(page.m_nDiskIndex, 1);
    EXPECT_EQ(page.m_strFilePath, folder.path().string() + "/CH05_0001.dvr");
}

TEST(DownloadFilePageState, TheRequestCarriesThePickersTheDiskNumberAndTheZeroBasedChannel) {
    DownloadFilePageState page;
    page.SetDisks(MapOf({0, 2, 3}));
    page.m_nDiskIndex = 1;
    page.m_nChannel = 5;
    page.m_nFileSize = 20;
    page.m_strFilePath = "/data/CH05_0001.dvr";
    page.m_bWriteCD = true;
    const NetworkBackupRequest r = page.Request({2006, 10, 2, 9, 9, 9}, {2000, 1, 1, 13, 45, 7});
    EXPECT_EQ(NetworkBackupTarget("C00C1E", r),
              "/NetworkBk.cgi?Cookie=C00C1E&Year=2006&Month=10&Day=2&Hour=13&Minute=45&Second=7&Num=2&CH=4&Size=20");
    EXPECT_EQ(r.filePath, "/data/CH05_0001.dvr");
    EXPECT_TRUE(r.writeCd);
}

TEST(DownloadFilePageState, OnlyTheOperatorsClicksChangeTheOptionSettings) {
    session::CSettingINI settings;
    settings.m_dwDynamicDownload = 1;
    DownloadFilePageState page;
    page.LoadOptions(settings);
    EXPECT_TRUE(page.m_bDynamicLoad);
    EXPECT_FALSE(page.m_bWriteCD);
    EXPECT_EQ(settings.m_dwDynamicDownload, 1u);
    EXPECT_EQ(settings.m_dwWriteCD, 0u);
    page.ToggleWriteCd(settings);
    EXPECT_EQ(settings.m_dwWriteCD, 1u);
    page.ToggleDynamicLoad(settings);
    EXPECT_EQ(settings.m_dwDynamicDownload, 0u);
    EXPECT_FALSE(page.m_bDynamicLoad);
}

TEST(DownloadFilePageState, TheTargetIsCreatedEmpty) {
    testutil::TempFolder folder;
    folder.Write("CH01_0001.dvr", "old bytes");
    ASSERT_TRUE(CreateEmptyBackupFile((folder.path() / "CH01_0001.dvr").string()));
    EXPECT_EQ(fs::file_size(folder.path() / "CH01_0001.dvr"), 0u);
    EXPECT_FALSE(CreateEmptyBackupFile((folder.path() / "missing" / "CH01_0001.dvr").string()));
    EXPECT_FALSE(CreateEmptyBackupFile(folder.path().string()));
}

}  // namespace
