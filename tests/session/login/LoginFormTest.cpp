// The login dialog's logic without its widgets: port texts, failure texts,
// and the newest recording for the companion player.
#include "session/login/LoginForm.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/TempFolder.h"

namespace fs = std::filesystem;
using namespace session;

TEST(LoginForm, PortFromTextTakesTheLeadingNumberInSixteenBits) {
    const std::pair<const char*, std::uint16_t> cases[] = {
        {"80", 80}, {"8080", 8080}, {"", 0}, {"abc", 0}, {"12ab", 12}, {"65536", 0}, {"65537", 1},
    };
    for (const auto& [text, port] : cases)
        EXPECT_EQ(PortFromText(text), port) << text;
}

TEST(LoginForm, PortFilterKeepsDigitsAndHoldsTheRange) {
    struct Case {
        const char* text;
        int previous;
        int shown;
    };
    const Case cases[] = {
        {"12a3", 12, 123},  {"99999", 9999, 9999}, {"0", 0, 0},     {"8", 80, 8},
        {"", 8, 8},         {"abc", 77, 77},       {"0080", 8, 80}, {"123456789012345678901", 1, 9999},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterPortText(c.text, c.previous), c.shown) << c.text;
}

TEST(LoginForm, FailureTextsBySelector) {
    EXPECT_EQ(LoginFailureText(1), "Login procedure failed");
    EXPECT_EQ(LoginFailureText(2), "Too many user");
    EXPECT_EQ(LoginFailureText(3), "No support this device");
    EXPECT_EQ(LoginFailureText(4), "");
    EXPECT_EQ(LoginFailureText(0), "");
}

class NewestRecordFileTest : public ::testing::Test {
protected:
    void Write(const std::string& name, int secondsAgo) {
        folder.Write(name, "kfr");
        fs::last_write_time(folder.path() / name,
                            fs::file_time_type::clock::now() - std::chrono::seconds(secondsAgo));
    }
    testutil::TempFolder folder;
};

TEST_F(NewestRecordFileTest, TheLatestWrittenRecordingKeepsItsLetterCase) {
    Write("Old.kfr", 300);
    Write("Alarm_CH01.KFR", 10);
    Write("newer.txt", 1);
    fs::create_directories(folder.path() / "sub.kfr");
    const std::string expected = folder.path().string() + "/Alarm_CH01.KFR";
    EXPECT_EQ(FindNewestRecordFile(folder.path()), expected);
    EXPECT_EQ(FindNewestRecordFile(folder.path().string() + "/"), expected);
}

TEST_F(NewestRecordFileTest, EqualTimesGoToTheFirstNameAndNoRecordingGivesNothing) {
    EXPECT_EQ(FindNewestRecordFile(folder.path()), "");
    EXPECT_EQ(FindNewestRecordFile(""), "");
    Write("b.kfr", 50);
    Write("a.kfr", 50);
    fs::last_write_time(folder.path() / "b.kfr", fs::last_write_time(folder.path() / "a.kfr"));
    EXPECT_EQ(FindNewestRecordFile(folder.path()), folder.path().string() + "/a.kfr");
}
