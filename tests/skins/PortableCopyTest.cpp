// A portable copy made by the copy-program dialog's copy: its program folder
// holds every picture the skin set has, and windows started from the copy,
// with no installed data to fall back on, find each picture they load.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "gui/SkinPicture.h"
#include "platform/FindFile.h"
#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "session/files/SettingsFile.h"
#include "session/gui/LoginDialog.h"
#include "session/tools/CopyProgram.h"
#include "skins/SkinSet.h"
#include "skins/SkinTable.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class PortableCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(skins::WriteSkinSet(program()).failed.empty());
        folder.Write("program/CtrlFile.ini", "[DEVICE NUMBER]\n0\n[EOF]\nEND\n");
        folder.Write("program/Setting.ini", "[Quenlo]\r\nUsername=anna\r\n");
        folder.Write("program/quenlo", "the program");
    }
    void TearDown() override { platform::SetShippedFolders(std::nullopt); }
    fs::path program() const { return folder.path() / "program"; }
    fs::path copy() const { return folder.path() / "copy"; }

    testutil::TempFolder folder;
};

TEST_F(PortableCopyTest, TheCopysWindowsFindEveryPictureTheSkinSetHolds) {
    session::CSettingINI settings;
    const session::CopyProgramReport report = session::CopyProgramFiles(program(), copy(), settings, {});
    EXPECT_TRUE(report.Complete());
    EXPECT_EQ(report.pictures, skins::SkinPictures().size());
    EXPECT_EQ(report.programFiles, (std::vector<std::string>{"CtrlFile.ini", "quenlo", "Setting.ini"}));

    platform::SetShippedFolders(std::vector<fs::path>{});  // the copy alone
    for (const skins::SkinPicture& picture : skins::SkinPictures()) {
        EXPECT_TRUE(platform::FindPathIgnoringCase(copy(), picture.name)) << picture.name;
        EXPECT_FALSE(session::LoadSkinPicture(copy(), picture.name).isNull()) << picture.name;
    }

    session::AppData app;
    app.CSettingINI.m_strAppPath.Set(copy().string() + "/");
    session::LoginDialog login(app);
    EXPECT_TRUE(login.SkinComplete());
}

}  // namespace
