// Looking up files named on a system without letter case in its names.
#include "platform/FindFile.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace fs = std::filesystem;

TEST(FindPathIgnoringCase, MatchesEveryComponentInAnyLetterCase) {
    testutil::TempFolder folder;
    fs::create_directories(folder.path() / "bmp" / "Login");
    folder.Write("bmp/Login/ADDRESS.bmp", "x");

    const auto found = platform::FindPathIgnoringCase(folder.path(), "BMP/LOGIN/address.BMP");
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, folder.path() / "bmp" / "Login" / "ADDRESS.bmp");
    EXPECT_FALSE(platform::FindPathIgnoringCase(folder.path(), "BMP/LOGIN/search.bmp"));
    EXPECT_FALSE(platform::FindPathIgnoringCase(folder.path(), "BMP/CMOS/address.bmp"));
}

TEST(FindPathIgnoringCase, PrefersTheExactNameThenTheFirstInNameOrder) {
    testutil::TempFolder folder;
    folder.Write("Copy.bmp", "upper");
    folder.Write("copy.BMP", "mixed");
    folder.Write("copy.bmp", "exact");
    EXPECT_EQ(platform::FindPathIgnoringCase(folder.path(), "copy.bmp"), folder.path() / "copy.bmp");
    // "COPY.BMP" is not there as such: of the others, the first by name.
    EXPECT_EQ(platform::FindPathIgnoringCase(folder.path(), "COPY.BMP"), folder.path() / "Copy.bmp");
}

TEST(FindPathIgnoringCase, StaysInsideTheBaseFolder) {
    testutil::TempFolder folder;
    fs::create_directories(folder.path() / "inner");
    folder.Write("outside.txt", "x");
    EXPECT_FALSE(platform::FindPathIgnoringCase(folder.path() / "inner", "../outside.txt"));
    EXPECT_FALSE(platform::FindPathIgnoringCase(folder.path() / "missing", "outside.txt"));
}
