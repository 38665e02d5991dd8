// Starting the companion player as a process of its own.
#include "session/tools/CompanionPlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/TempFolder.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A stand-in player that writes its argument count and arguments, a line each, beside itself.
void InstallRecordingPlayer(const testutil::TempFolder& folder) {
    folder.Write("ravelle", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$(dirname \"$0\")/args.part\"\n"
                            "mv \"$(dirname \"$0\")/args.part\" \"$(dirname \"$0\")/args.txt\"\n");
    fs::permissions(folder.path() / "ravelle", fs::perms::owner_all);
}

std::string WaitForArguments(const testutil::TempFolder& folder) {
    for (int i = 0; i < 500 && !fs::exists(folder.path() / "args.txt"); ++i)
        std::this_thread::sleep_for(10ms);
    return folder.Read("args.txt");
}

}  // namespace

TEST(CompanionPlayer, GetsTheRecordingAsOneArgumentAsItIsWritten) {
    testutil::TempFolder folder;
    InstallRecordingPlayer(folder);
    const std::string recording = "/media/Backup Disk/Alarm CH01.KFR";
    ASSERT_TRUE(session::StartCompanionPlayer(folder.path(), {recording}));
    EXPECT_EQ(WaitForArguments(folder), "1\n" + recording + "\n");
}

TEST(CompanionPlayer, StartsWithoutArgumentsAndReportsAMissingProgram) {
    testutil::TempFolder folder;
    EXPECT_FALSE(session::StartCompanionPlayer(folder.path(), {}));
    InstallRecordingPlayer(folder);
    ASSERT_TRUE(session::StartCompanionPlayer(folder.path(), {}));
    EXPECT_EQ(WaitForArguments(folder), "0\n");
}
