#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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

TEST(ProgramFolder, HonoursQuenloHome) {
    const char* old = std::getenv("QUENLO_HOME");
    const std::string saved = old ? old : "";
    testutil::TempFolder home;
    ::setenv("QUENLO_HOME", home.path().c_str(), 1);
    EXPECT_EQ(platform::ProgramFolder(), home.path());
    ::unsetenv("QUENLO_HOME");
    EXPECT_TRUE(fs::exists(platform::ProgramFolder()));
    if (old)
        ::setenv("QUENLO_HOME", saved.c_str(), 1);
}

TEST(StringTable, MessageTextsByIdAndNothingForUnknownIds) {
    EXPECT_EQ(res::LoadString(4094), "Błąd otwarcia pliku urządzenia sterowania");
    EXPECT_EQ(res::LoadString(4081), "Użytkownik lub hasło jest nieprawidłowe");
    EXPECT_TRUE(res::LoadString(1).empty());
}
