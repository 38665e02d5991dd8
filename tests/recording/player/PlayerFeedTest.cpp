// The hand-over's and the feed's decisions against a fake link.
#include "recording/player/PlayerFeed.h"

#include <gtest/gtest.h>

#include "fakes/FakePlayerLink.h"
#include "fakes/RecordingUiPort.h"
#include "recording/player/PlayerHandOver.h"
#include "support/TempFolder.h"

using namespace recording;

namespace {

TEST(PlayerLockName, TickCountIsReadAsSigned) {
    EXPECT_EQ(NetworkBackupLockName(52304), "NETWORKBK_52304");
    EXPECT_EQ(NetworkBackupLockName(static_cast<std::uint32_t>(-5)), "NETWORKBK_-5");
    EXPECT_EQ(NetworkBackupLockName(0x80000000u), "NETWORKBK_-2147483648");
}

struct FeedFixture {
    testutil::TempFolder folder;
    fakes::RecordingUiPort ui;
    session::AppData app;
    fakes::FakePlayerLink link;
    platform::Timing timing;
    std::unique_ptr<PlayerHandOver> handOver;
    FeedFixture(std::uint32_t tick = 100) {
        app.SetUiPort(&ui);
        link.folder = folder.path();
        handOver = std::make_unique<PlayerHandOver>(app, link, timing, [tick] { return tick; });
    }
};

TEST(PlayerHandOverFake, NegativeTickNamesTheLockAndTheRecord) {
    FeedFixture f(static_cast<std::uint32_t>(-5));
    ASSERT_TRUE(f.handOver->HandOver("/x/a.dvr", true));
    EXPECT_EQ(f.app.sz_NetworkBackupMutexName.Get(), "NETWORKBK_-5");
    EXPECT_EQ(f.link.Calls(), (std::vector<std::string>{"start:ravelle|/x/a.dvr|DYNAMICLOAD=1", "record:7:2:32"}));
}

TEST(PlayerHandOverFake, LockThatCannotBeCreatedEndsTheStart) {
    FeedFixture f;
    f.link.folder = f.folder.path() / "missing";
    EXPECT_FALSE(f.handOver->HandOver("/x/a.dvr", true));
    EXPECT_EQ(f.ui.Calls(), (std::vector<std::string>{"msgtext:Create mutex error"}));
    EXPECT_TRUE(f.link.Calls().empty());
}

TEST(PlayerHandOverFake, PlayerThatDoesNotTakeTheNewPathIsReplaced) {
    FeedFixture f;
    ASSERT_TRUE(f.handOver->HandOver("/x/a.dvr", true));
    f.link.Clear();
    f.link.recordAnswered = false;
    ASSERT_TRUE(f.handOver->HandOver("/x/b.dvr", true));
    EXPECT_EQ(f.link.Calls(), (std::vector<std::string>{"record:7:1:1024", "forget:7", "start:ravelle|/x/b.dvr|DYNAMICLOAD=1",
                                                        "record:7:2:32"}));
}

struct FeedCase {
    const char* name;
    std::uint32_t ackKb;  // 0 = 100 KB
    bool ack;
    bool stopped;
    bool complete;
    std::vector<std::string> posts;  // after the attach
};

TEST(PlayerFeedFake, NoticesFollowTheAcknowledgedBlockSize) {
    const std::vector<FeedCase> cases{
        {"default block", 0, true, false, true,
         {"post:7:4610:0:104448", "post:7:4610:0:104448", "post:7:4610:0:4", "post:7:4611:0:0"}},
        {"64 KB", 64, true, false, false,
         {"post:7:4610:0:67584", "post:7:4610:0:67584", "post:7:4610:0:67584", "post:7:4611:1:0"}},
        {"not acknowledged", 0, false, false, true, {}},
        {"stopped", 0, true, true, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FeedFixture f;
        ASSERT_TRUE(f.handOver->HandOver("/x/a.dvr", true));
        PlayerFeed feed(f.app, f.link);
        feed.Attach(3);
        f.link.Clear();
        if (c.ack)
            f.link.Notice(7, WM_NETBK_ACK, c.ackKb);
        if (c.stopped)
            f.link.Notice(99, WM_NETBK_STOP, 0);
        for (int i = 0; i < 102; ++i)
            feed.DataAppended(2048);
        feed.DataAppended(4);
        feed.Finished(c.complete);
        EXPECT_EQ(f.link.Calls(), c.posts);
    }
}

}  // namespace
