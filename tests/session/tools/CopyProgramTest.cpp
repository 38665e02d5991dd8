// Copying the program into another folder.
#include "session/tools/CopyProgram.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "session/files/ProfileFile.h"
#include "session/files/SettingsFile.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using namespace session;

namespace {

class CopyProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(source());
        fs::create_directories(destination());
    }
    fs::path source() const { return folder.path() / "program"; }
    fs::path destination() const { return folder.path() / "copy"; }
    void WriteSource(const std::string& name, const std::string& content) {
        fs::create_directories((source() / name).parent_path());
        folder.Write("program/" + name, content);
    }
    CopyProgramReport Copy(const fs::path& to, std::vector<int>* percents = nullptr) {
        return CopyProgramFiles(source(), to, settings, [&](int p) {
            if (percents)
                percents->push_back(p);
        });
    }
    std::optional<std::string> Key(const std::string& name) {
        ProfileFile profile;
        EXPECT_TRUE(profile.Load(destination() / "Setting.ini"));
        return profile.Get("Quenlo", name);
    }

    testutil::TempFolder folder;
    CSettingINI settings;
};

}  // namespace

TEST(CopyProgramFileList, NamesTheProgramsOwnFilesThenBothSkinFolders) {
    const auto files = CopyProgramFileList();
    ASSERT_EQ(files.size(), 784u);
    const std::vector<std::string_view> own(files.begin(), files.begin() + 6);
    EXPECT_EQ(own, (std::vector<std::string_view>{"AlarmData.dat", "alarm.wav", "CtrlFile.ini", "quenlo", "ravelle",
                                                  "Setting.ini"}));
    const auto inFolder = [&](std::string_view prefix) {
        return std::count_if(files.begin(), files.end(), [&](std::string_view f) {
            return f.starts_with(prefix) && f.find('/', prefix.size()) == std::string_view::npos;
        });
    };
    EXPECT_EQ(inFolder("BMP/"), 728);
    EXPECT_EQ(inFolder("BMP/LOGIN/"), 50);
    EXPECT_EQ(files[6], "BMP/00_Audio.bmp");
    EXPECT_EQ(files.back(), "BMP/LOGIN/top_middle2.bmp");
}

TEST_F(CopyProgramTest, CopiesWhatThereIsAndPointsTheCopysSettingsAtItself) {
    WriteSource("quenlo", "program");
    WriteSource("Setting.ini", "[Quenlo]\r\nUsername=anna\r\nRecord Path=/home/anna/rec\r\n");
    WriteSource("bmp/login/ADDRESS.bmp", "picture");  // found whatever its letter case
    std::vector<int> percents;
    const CopyProgramReport report = Copy(destination().string() + "/", &percents);

    EXPECT_TRUE(report.Complete());
    EXPECT_EQ(report.copied, 3u);
    EXPECT_EQ(report.missing.size(), 784u - 3u);
    EXPECT_NE(std::find(report.missing.begin(), report.missing.end(), "ravelle"), report.missing.end());
    EXPECT_EQ(folder.Read("copy/quenlo"), "program");
    EXPECT_EQ(folder.Read("copy/BMP/LOGIN/address.BMP"), "picture");

    const std::string dest = destination().string() + "/";
    EXPECT_EQ(Key("Record Path"), dest);
    EXPECT_EQ(Key("Snapshot Path"), dest);
    EXPECT_EQ(Key("Trigger Wav Path"), dest + "alarm.wav");
    EXPECT_EQ(Key("Username"), "anna");  // the rest as the copied file held it

    // One step per listed file: 0 for the first seven, 1 from the eighth, 100 at the end.
    ASSERT_EQ(percents.size(), 784u);
    EXPECT_EQ(std::count(percents.begin(), percents.end(), 0), 7);
    EXPECT_EQ(percents[7], 1);
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
}

TEST_F(CopyProgramTest, WithoutASettingsFileTheCopyGetsOneWithTheFolderKeysOnly) {
    const CopyProgramReport report = Copy(destination());
    EXPECT_TRUE(report.Complete());
    EXPECT_EQ(report.copied, 0u);
    EXPECT_EQ(Key("Record Path"), destination().string() + "/");
    EXPECT_EQ(Key("Username"), std::nullopt);
}

TEST_F(CopyProgramTest, AFileThatCannotBeCopiedIsReportedAndTheCopyIsIncomplete) {
    WriteSource("alarm.wav", "sound");
    WriteSource("CtrlFile.ini", "records");
    fs::create_directories(destination() / "alarm.wav" / "in the way");
    const CopyProgramReport report = Copy(destination());
    EXPECT_FALSE(report.Complete());
    EXPECT_EQ(report.failed, std::vector<std::string>{"alarm.wav"});
    EXPECT_EQ(report.copied, 1u);
    EXPECT_TRUE(report.settingsWritten);
}

TEST_F(CopyProgramTest, CopyingAgainReplacesTheFirstCopy) {
    WriteSource("CtrlFile.ini", "first");
    Copy(destination());
    WriteSource("CtrlFile.ini", "second");
    EXPECT_TRUE(Copy(destination()).Complete());
    EXPECT_EQ(folder.Read("copy/CtrlFile.ini"), "second");
}

// The skin folder's files the list does not name (other folders, other
// names) follow the list's, so a copy's windows find every picture they load.
TEST_F(CopyProgramTest, SkinFilesTheListLacksFollowTheListsFiles) {
    WriteSource("BMP/LOGIN/address.BMP", "listed");
    WriteSource("BMP/CMOS/Day.bmp", "beyond");
    WriteSource("BMP/N_QVGA_KEY_1.bmp", "beyond");
    WriteSource("BMP/cut8.bmp", "listed, other case");
    WriteSource("elsewhere/Other.bmp", "not a skin file");
    std::vector<int> percents;
    const CopyProgramReport report = Copy(destination(), &percents);
    EXPECT_TRUE(report.Complete());
    EXPECT_EQ(report.copied, 4u);
    EXPECT_EQ(report.pictures, 4u);
    EXPECT_EQ(folder.Read("copy/BMP/CMOS/Day.bmp"), "beyond");
    EXPECT_EQ(folder.Read("copy/BMP/N_QVGA_KEY_1.bmp"), "beyond");
    EXPECT_EQ(folder.Read("copy/BMP/cut8.BMP"), "listed, other case");  // named as listed
    EXPECT_FALSE(fs::exists(destination() / "elsewhere"));
    ASSERT_EQ(percents.size(), 784u + 2u);
    EXPECT_EQ(percents.back(), 100);
}

struct DescribeCase {
    const char* what;
    CopyProgramReport report;
    std::string text;
};

class DescribeCopyTest : public ::testing::TestWithParam<DescribeCase> {};

TEST_P(DescribeCopyTest, SaysWhatWentWhereInWords) {
    EXPECT_EQ(DescribeCopy(GetParam().report, "/media/stick"), GetParam().text);
}

CopyProgramReport Report(std::vector<std::string> own, std::size_t pictures, std::vector<std::string> missing,
                         std::vector<std::string> failed = {}, bool settingsWritten = true) {
    CopyProgramReport r;
    r.programFiles = std::move(own);
    r.pictures = pictures;
    r.copied = r.programFiles.size() + pictures;
    r.missing = std::move(missing);
    r.failed = std::move(failed);
    r.settingsWritten = settingsWritten;
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Copy, DescribeCopyTest,
    ::testing::Values(
        DescribeCase{"whole", Report({"quenlo", "Setting.ini", "CtrlFile.ini"}, 687, {"BMP/avi_up.bmp"}),
                     "Copied to /media/stick: the program (quenlo), the settings (Setting.ini), the control-device "
                     "file (CtrlFile.ini) and 687 skin pictures."},
        DescribeCase{"without player", Report({"quenlo"}, 1, {"ravelle", "alarm.wav"}),
                     "Copied to /media/stick: the program (quenlo) and 1 skin picture.\nNot in the program folder, "
                     "so not in the copy: the companion player (ravelle) and the alarm sound (alarm.wav)."},
        DescribeCase{"failures",
                     Report({}, 0, {}, {"a", "b", "c", "d", "e", "f", "g"}, false),
                     "Nothing was copied to /media/stick.\nThe copy is incomplete: 7 files could not be written (a, "
                     "b, c, d, e and 2 more).\nThe copy's Setting.ini could not be written, so the copy keeps this "
                     "program's folders."},
        DescribeCase{"stopped", [] { CopyProgramReport r; r.stopped = true; return r; }(),
                     "The copy did not run to its end."}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(CopyProgramPercent, ThreeCharactersThenThePercentSign) {
    EXPECT_EQ(FormatCopyPercent(0), "  0%");
    EXPECT_EQ(FormatCopyPercent(42), " 42%");
    EXPECT_EQ(FormatCopyPercent(100), "100%");
}
