#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/AtomicFile.h"
#include "platform/ProgramFolder.h"
#include "platform/TextCodec.h"
#include "res/StringTable.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

TEST(TextCodec, PolishLettersRoundTripThroughWindows1250) {
    const std::string polish = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż";
    const std::string cp1250 = platform::Utf8ToWindows1250(polish);
    EXPECT_EQ(cp1250, "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF");
    EXPECT_EQ(platform::Windows1250ToUtf8(cp1250), polish);
    EXPECT_FALSE(platform::IsValidUtf8(cp1250));
    EXPECT_EQ(platform::DecodeText(cp1250), polish);
    EXPECT_EQ(platform::DecodeText(polish), polish);  // UTF-8 is taken as it stands
}

TEST(TextCodec, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(platform::Utf8ToWindows1250("a\xE2\x82\xACz"), "a\x80z");  // euro sign
    EXPECT_EQ(platform::Utf8ToWindows1250("\xE6\x97\xA5"), "?");         // not in the code page
    EXPECT_EQ(platform::Utf8ToWindows1250("\xC3"), "?");                 // cut sequence
    EXPECT_FALSE(platform::IsValidUtf8("\xC0\xAF"));                     // overlong form
    EXPECT_FALSE(platform::IsValidUtf8("\xED\xA0\x80"));                 // surrogate
}

class AtomicFileTest : public ::testing::Test {
protected:
    testutil::TempFolder folder;
    const fs::path dir = folder.path();
};

TEST_F(AtomicFileTest, FailedWriteLeavesOldFileWholeAndNoTemporary) {
    const auto file = dir / "Setting.ini";
    ASSERT_TRUE(platform::ReplaceFileAtomically(file, "old content\n"));
    const auto result = platform::ReplaceFileAtomically(file, [](std::FILE* f) {
        std::fputs("half of the new", f);
        return false;
    });
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(folder.Read("Setting.ini"), "old content\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    ASSERT_TRUE(platform::ReplaceFileAtomically(file, "new"));
    EXPECT_EQ(folder.Read("Setting.ini"), "new");
}

TEST_F(AtomicFileTest, MissingFolderIsAnErrorNotACrash) {
    EXPECT_FALSE(platform::ReplaceFileAtomically(dir / "no" / "such" / "file", "x"));
    std::string s;
    EXPECT_FALSE(platform::ReadWholeFile(dir / "absent", s));
}

// Sets environment variables for one test and puts them back afterwards.
class ScopedEnvironment {
public:
    void Set(const char* name, const char* value) {
        if (!saved_.contains(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(ProgramFolder, QuenloHomeFirstElseTheUserDataFolderMadeOnFirstUse) {
    testutil::TempFolder home, data;
    ScopedEnvironment environment;
    environment.Set("QUENLO_HOME", home.path().c_str());
    environment.Set("XDG_DATA_HOME", data.path().c_str());
    EXPECT_EQ(platform::ProgramFolder(), home.path());

    // The test's own folder holds no Setting.ini, so it is no portable copy.
    environment.Set("QUENLO_HOME", nullptr);
    EXPECT_EQ(platform::ProgramFolder(), data.path() / "quenlo");
    EXPECT_TRUE(fs::is_directory(data.path() / "quenlo"));
}

TEST(ProgramFolder, AWritableCopyHoldingItsSettingsIsItsOwnProgramFolder) {
    testutil::TempFolder copy, data;
    ScopedEnvironment environment;
    environment.Set("QUENLO_HOME", nullptr);
    environment.Set("XDG_DATA_HOME", data.path().c_str());
    EXPECT_EQ(platform::ProgramFolderFor(copy.path()), data.path() / "quenlo");

    copy.Write("Setting.ini", "");
    EXPECT_EQ(platform::ProgramFolderFor(copy.path()), copy.path());

    // A read-only copy cannot save, so the user folder takes over (root writes anyway).
    if (::geteuid() != 0) {
        fs::permissions(copy.path(), fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_EQ(platform::ProgramFolderFor(copy.path()), data.path() / "quenlo");
        fs::permissions(copy.path(), fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST(ProgramFolder, ShippedFilesComeFromTheProgramFolderFirstThenFromBesideTheProgram) {
    testutil::TempFolder folder;
    // The build puts CtrlFile.ini beside the programs, the tests included.
    const auto shipped = platform::FindShippedFile(folder.path(), "CtrlFile.ini");
    ASSERT_TRUE(shipped);
    EXPECT_EQ(shipped->parent_path(), platform::ExecutableFolder());

    folder.Write("ctrlfile.INI", "the user's own");
    EXPECT_EQ(platform::FindShippedFile(folder.path(), "CtrlFile.ini"), folder.path() / "ctrlfile.INI");
    EXPECT_FALSE(platform::FindShippedFile(folder.path(), "BMP/no-such-picture.bmp"));
}

TEST(StringTable, MessageTextsByIdAndNothingForUnknownIds) {
    EXPECT_EQ(res::LoadString(4094), "Błąd otwarcia pliku urządzenia sterowania");
    EXPECT_EQ(res::LoadString(4081), "Użytkownik lub hasło jest nieprawidłowe");
    EXPECT_TRUE(res::LoadString(1).empty());
}
