// The CD backup writer on the real engine's image-file drive: what it writes
// reads back byte for byte.
#include "recording/backup/CdBackupWriter.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/RecordingUiPort.h"
#include "support/IsoImageReader.h"
#include "recording/backup/IsoBurnEngine.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using namespace recording;
using testutil::ReadImage;

namespace {

class CdBackupWriterDiscTest : public ::testing::Test {
protected:
    CdBackupWriterDiscTest() {
        app.SetUiPort(&ui);
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        writer = std::make_unique<CdBackupWriter>(app, std::make_unique<IsoBurnEngine>(false),
                                                  [this] { return std::optional<std::string>(image.string()); });
    }
    // One backup as the page and the download run it: initialise, check, burn.
    int Backup(const std::string& name, const std::string& data) {
        folder.Write(name, data);
        const std::string path = (folder.path() / name).string();
        if (writer->Initialize(path, {}) != 1)
            return -1;
        writer->m_nDriveIndex = 0;
        if (writer->CheckDisc() != 1)
            return 0;
        writer->Burn();
        return 1;
    }

    testutil::TempFolder folder;
    fs::path image = folder.path() / "Image.iso";
    fakes::RecordingUiPort ui;
    session::AppData app;
    std::unique_ptr<CdBackupWriter> writer;
};

TEST_F(CdBackupWriterDiscTest, BackupsAndTheInstallerReadBackFromTheImage) {
    const std::string first(700000, 'a'), setup(50000, 's'), second(300000, 'b');
    folder.Write("Ravelle_setup.exe", setup);
    app.CSettingINI.m_dwWritePlayerSetup = 1;
    ASSERT_EQ(Backup("CH03_0012.dvr", first), 1);
    app.CSettingINI.m_dwWritePlayerSetup = 0;
    ASSERT_EQ(Backup("CH04_0001.dvr", second), 1);
    EXPECT_TRUE(ui.Calls().empty()) << ui.Calls().front();

    const auto [volume, files, sessions] = ReadImage(image);
    EXPECT_EQ(volume, "QuenloBackup");
    EXPECT_EQ(sessions, 2);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_TRUE(files.at("CH03_0012.dvr") == first);
    EXPECT_TRUE(files.at("Ravelle_setup.exe") == setup);
    EXPECT_TRUE(files.at("CH04_0001.dvr") == second);

    // Two sessions, and a name already on the image is refused.
    ASSERT_EQ(Backup("ch03_0012.DVR", "again"), 0);
    EXPECT_EQ(ui.Calls().back(), "msgtext:FileName is tha same as other existed file,please modify it");
    writer.reset();
    EXPECT_FALSE(ui.Contains("msgtext:Detected memory leaks"));
}

// Each test runs in a process of its own, so this is the run's first burn: the
// drive scan the program makes (here over one address that holds no drive, so
// no real drive is touched) runs on a thread of the library's, and a write
// while it was still going on was refused.
TEST_F(CdBackupWriterDiscTest, FirstBurnAfterADriveScanReadsBack) {
    std::vector<std::string> traced;
    writer = std::make_unique<CdBackupWriter>(
        app,
        std::make_unique<IsoBurnEngine>(true, [&](const std::string& line) { traced.push_back(line); },
                                        std::vector<std::string>{(folder.path() / "no-drive").string()}),
        [this] { return std::optional<std::string>(image.string()); });
    const std::string data(400000, 'f');
    ASSERT_EQ(Backup("CH01_0001.dvr", data), 1);
    EXPECT_TRUE(ui.Calls().empty()) << ui.Calls().front();
    EXPECT_EQ(writer->m_DriveNames, std::vector<std::string>{"Image Recorder"});
    const auto [volume, files, sessions] = ReadImage(image);
    EXPECT_EQ(volume, "QuenloBackup");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files.at("CH01_0001.dvr") == data);
    writer.reset();
    EXPECT_TRUE(traced.empty()) << traced.front();
}

}  // namespace
