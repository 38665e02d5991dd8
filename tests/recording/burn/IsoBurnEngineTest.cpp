// The burning engine on its image-file drive: images in temporary folders,
// read back through libisofs.
#include "recording/backup/IsoBurnEngine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>


#include "support/IsoImageReader.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using namespace recording;
using testutil::ReadImage;

namespace {

std::string Pattern(std::size_t size, int seed) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 31 + seed) ^ (i >> 9));
    return data;
}

class IsoBurnEngineTest : public ::testing::Test {
protected:
    IsoBurnEngineTest() : engine(false, [this](const std::string& line) { traced.push_back(line); }) {
        EXPECT_TRUE(engine.Connect());
        EXPECT_EQ(engine.Init({[] { return false; },
                               [this](int code, std::string& data) {
                                   ++asked;
                                   if (code != kAskImageFile)
                                       return 0;
                                   data = image.string();
                                   return 1;
                               }}),
                  0);
        const auto drives = engine.AvailableDrives();
        EXPECT_EQ(drives, (std::vector<std::string>{"Image Recorder"}));
    }
    ~IsoBurnEngineTest() override {
        if (!done) {
            EXPECT_FALSE(engine.Done()) << "everything handed out was released";
        }
    }

    fs::path Source(const std::string& name, const std::string& data) {
        folder.Write(name, data);
        return folder.path() / name;
    }
    BurnIsoItem* Item(const std::string& name, const fs::path& source) {
        BurnIsoItem* item = engine.CreateIsoItem();
        item->name = name;
        item->sourcePath = source.string();
        return item;
    }
    // One burn of `items` (ours after the imported ones) with its own open and close.
    int BurnSession(BurnIsoItem* ours, std::vector<int>* percents = nullptr,
                    std::function<bool()> aborted = {}) {
        BurnDevice* device = engine.OpenDevice(0, DeviceUse::Burn);
        EXPECT_NE(device, nullptr);
        BurnStamp* stamp = nullptr;
        int result = -1;
        const auto info = engine.DiscInfo(device);
        BurnIsoItem* imported =
            info ? engine.ImportDataTrack(device, static_cast<int>(info->trackCount) - 1, &stamp, &result) : nullptr;
        BurnIsoItem* first = ours;
        if (imported) {
            BurnIsoItem* last = ours;
            while (last->next)
                last = last->next;
            last->next = imported;
        }
        BurnTrack* track = engine.CreateIsoTrack(first, "QuenloBackup");
        const int burned = engine.Burn(device, {track, stamp, 1}, kBurnCloseSession,
                                       {[&](int p) { if (percents) percents->push_back(p); },
                                        aborted ? aborted : [] { return false; }});
        engine.FreeIsoTrack(track);
        engine.FreeIsoItemTree(first);
        engine.FreeStamp(stamp);
        engine.CloseDevice(device);
        return burned;
    }

    testutil::TempFolder folder;
    fs::path image = folder.path() / "Image.iso";
    std::vector<std::string> traced;
    int asked = 0;
    bool done = false;
    IsoBurnEngine engine;
};

TEST_F(IsoBurnEngineTest, BackupBurnedIntoANewImageReadsBackWhole) {
    const std::string data = Pattern(5 * 1024 * 1024, 1);
    std::vector<int> percents;
    ASSERT_EQ(BurnSession(Item("CH03_0012.dvr", Source("backup.dvr", data)), &percents), kBurnOk);
    EXPECT_EQ(asked, 1) << "the image-file drive asked for its file once";
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(percents.back(), 100);
    const auto content = ReadImage(image);
    EXPECT_EQ(content.volume, "QuenloBackup");
    ASSERT_EQ(content.files.size(), 1u);
    EXPECT_TRUE(content.files.at("CH03_0012.dvr") == data);
}

TEST_F(IsoBurnEngineTest, SecondBurnAppendsASessionToTheImage) {
    const std::string first = Pattern(300000, 2), second = Pattern(200000, 3);
    ASSERT_EQ(BurnSession(Item("CH03_0012.dvr", Source("a.dvr", first))), kBurnOk);
    ASSERT_EQ(BurnSession(Item("CH04_0001.dvr", Source("b.dvr", second))), kBurnOk);
    BurnDevice* device = engine.OpenDevice(0, DeviceUse::Burn);
    EXPECT_EQ(engine.DiscInfo(device)->trackCount, 2u);
    engine.CloseDevice(device);
    const auto content = ReadImage(image);
    ASSERT_EQ(content.files.size(), 2u);
    EXPECT_TRUE(content.files.at("CH03_0012.dvr") == first);
    EXPECT_TRUE(content.files.at("CH04_0001.dvr") == second);
}

TEST_F(IsoBurnEngineTest, BlankDriveHasNoTrackAndAFullOneListsItsItemsWithTimes) {
    BurnDevice* device = engine.OpenDevice(0, DeviceUse::Check);
    ASSERT_NE(device, nullptr);
    auto info = engine.DiscInfo(device);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->trackCount, 0u);
    BurnStamp* stamp = nullptr;
    int result = -1;
    EXPECT_EQ(engine.ImportDataTrack(device, -1, &stamp, &result), nullptr);
    EXPECT_EQ(stamp, nullptr);
    engine.CloseDevice(device);

    const auto source = Source("a.dvr", Pattern(10000, 4));
    const std::time_t sourceTime = std::time(nullptr);
    ASSERT_EQ(BurnSession(Item("CH03_0012.dvr", source)), kBurnOk);
    device = engine.OpenDevice(0, DeviceUse::Burn);
    info = engine.DiscInfo(device);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->trackCount, 1u);
    EXPECT_GT(info->freeSectors, 0u);
    BurnIsoItem* items = engine.ImportDataTrack(device, 0, &stamp, &result);
    EXPECT_EQ(result, kImportOk);
    ASSERT_NE(items, nullptr);
    EXPECT_NE(stamp, nullptr);
    EXPECT_EQ(items->name, "CH03_0012.dvr");
    EXPECT_TRUE(items->reference);
    EXPECT_FALSE(items->folder);
    std::tm time = items->time;
    EXPECT_LE(std::abs(std::mktime(&time) - sourceTime), 5) << "the file's time, in local time";
    EXPECT_EQ(items->next, nullptr);
    engine.FreeIsoItemTree(items);
    engine.FreeStamp(stamp);
    engine.CloseDevice(device);
}

TEST_F(IsoBurnEngineTest, AbortedOrFailedBurnLeavesTheEarlierSessionReadable) {
    const std::string first = Pattern(100000, 5);
    ASSERT_EQ(BurnSession(Item("CH03_0012.dvr", Source("a.dvr", first))), kBurnOk);
    ASSERT_EQ(BurnSession(Item("BIG.dvr", Source("big.dvr", Pattern(64 * 1024 * 1024, 6))), nullptr,
                          [] { return true; }),
              kBurnAborted);
    const std::string after = Pattern(1000, 7);
    ASSERT_EQ(BurnSession(Item("AFTER.dvr", Source("after.dvr", after))), kBurnOk) << "the drive works after an abort";
    ASSERT_EQ(BurnSession(Item("GONE.dvr", folder.path() / "missing.dvr")), kBurnFailed);
    const auto content = ReadImage(image);
    ASSERT_EQ(content.files.size(), 2u);
    EXPECT_TRUE(content.files.at("CH03_0012.dvr") == first);
    EXPECT_TRUE(content.files.at("AFTER.dvr") == after);
}

TEST_F(IsoBurnEngineTest, DoneReportsAnItemThatWasKept) {
    BurnIsoItem* kept = engine.CreateIsoItem();
    done = true;
    EXPECT_TRUE(engine.Done());
    delete kept;
}

}  // namespace
