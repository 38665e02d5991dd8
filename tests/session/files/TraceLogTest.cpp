#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>

#include "support/TempFolder.h"
#include "session/files/TraceLog.h"

namespace {

std::string Lines(int first, int count) {
    std::string text;
    for (int i = first; i < first + count; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

int CountLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class TraceLogTest : public ::testing::Test {
protected:
    void SetUp() override { session::TraceLog(300, dir.path()); }
    void TearDown() override { session::FreeTraceLog(); }
    testutil::TempFolder dir;
};

TEST_F(TraceLogTest, FirstLineCreatesTheFileWithJustThatLine) {
    session::WriteTraceLog("Start send login command");
    EXPECT_EQ(dir.Read("trace.log"), "Start send login command\r\n");
}

struct LimitCase {
    int linesBefore;
    int linesAfter;
    int oldestKept;  // number of the first old line still there
};

class TraceLogLimit : public TraceLogTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(TraceLogLimit, KeepsTheNewestLinesUpToTheLimit) {
    const auto c = GetParam();
    dir.Write("trace.log", Lines(0, c.linesBefore));
    session::WriteTraceLog("login success");
    const std::string after = dir.Read("trace.log");
    EXPECT_EQ(CountLines(after), c.linesAfter);
    EXPECT_EQ(after, Lines(c.oldestKept, c.linesBefore - c.oldestKept) + "login success\r\n");
}

INSTANTIATE_TEST_SUITE_P(LineCounts, TraceLogLimit,
                         ::testing::Values(LimitCase{299, 300, 0}, LimitCase{300, 300, 1},
                                           LimitCase{301, 300, 2}, LimitCase{350, 300, 51}),
                         [](const auto& info) {
                             return "From" + std::to_string(info.param.linesBefore) + "Lines";
                         });

TEST_F(TraceLogTest, ShorterNewLineLeavesNothingOfTheOldFileBehind) {
    // The dropped line is far longer than the new one.
    std::string old(90, 'x');
    old += "\r\n";
    old += Lines(1, 299);
    dir.Write("trace.log", old);
    session::WriteTraceLog("ok");
    EXPECT_EQ(dir.Read("trace.log"), Lines(1, 299) + "ok\r\n");
}

TEST_F(TraceLogTest, LastLineWithoutLineEndStaysWhole) {
    dir.Write("trace.log", "line 0\r\nline 1");
    session::WriteTraceLog("Got start event");
    EXPECT_EQ(dir.Read("trace.log"), "line 0\r\nline 1\r\nGot start event\r\n");
}

TEST_F(TraceLogTest, MissingFolderLosesTheLineAndGoesOn) {
    session::TraceLog(300, dir.path() / "missing");
    session::WriteTraceLog("sClient.Connect failed");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
    session::TraceLog(300, dir.path());
    session::WriteTraceLog("next");
    EXPECT_EQ(dir.Read("trace.log"), "next\r\n");
}

// A trace.log far beyond any the program writes is not read: it goes aside
// whole and a new one begins with the line.
TEST_F(TraceLogTest, HugeFileIsMovedAsideAndANewOneBegins) {
    const auto path = dir.path() / "trace.log";
    dir.Write("trace.log", "old line\r\n");
    std::filesystem::resize_file(path, std::uintmax_t{1536} << 20);
    session::WriteTraceLog("Got start event");
    EXPECT_EQ(dir.Read("trace.log"), "Got start event\r\n");
    const auto aside = dir.SetAside("trace.log");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(aside[0]), std::uintmax_t{1536} << 20);
}

TEST_F(TraceLogTest, WritesAfterFreeAreDropped) {
    session::FreeTraceLog();
    session::WriteTraceLog("late");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "trace.log"));
}

TEST_F(TraceLogTest, TwoThreadsLeaveOnlyWholeLinesInEachOnesOrder) {
    session::TraceLog(1000, dir.path());
    auto writer = [](char who) {
        for (int i = 0; i < 200; ++i)
            session::WriteTraceLog(std::string(1, who) + " " + std::to_string(i));
    };
    std::thread a(writer, 'A'), b(writer, 'B');
    a.join();
    b.join();

    const std::string text = dir.Read("trace.log");
    int next[2] = {0, 0};
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos);
        const std::string line = text.substr(pos, end - pos);
        ASSERT_GE(line.size(), 3u) << line;
        ASSERT_TRUE(line[0] == 'A' || line[0] == 'B') << line;
        int& expected = next[line[0] - 'A'];
        EXPECT_EQ(line.substr(2), std::to_string(expected)) << line;
        ++expected;
        pos = end + 2;
    }
    EXPECT_EQ(next[0], 200);
    EXPECT_EQ(next[1], 200);
}

TEST(DebugTraceLog, OpenReplacesTheFileWithAnEmptyOneAndCloseMayRunTwice) {
    testutil::TempFolder dir;
    dir.Write("DebugTrace.log", "left from the last run");
    session::DebugTraceLog log;
    EXPECT_EQ(log.Open(dir.path()), 1);
    EXPECT_TRUE(log.IsOpen());
    EXPECT_EQ(dir.Read("DebugTrace.log"), "");
    EXPECT_EQ(log.Close(), 1);
    EXPECT_EQ(log.Close(), 1);
    EXPECT_FALSE(log.IsOpen());
}

TEST(DebugTraceLog, OpenFailsInAMissingFolder) {
    testutil::TempFolder dir;
    session::DebugTraceLog log;
    EXPECT_EQ(log.Open(dir.path() / "missing"), 0);
    EXPECT_FALSE(log.IsOpen());
}

}  // namespace
