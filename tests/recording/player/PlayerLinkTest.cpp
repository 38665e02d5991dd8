// The player link against the stand-in player: start, reuse, forget,
// acknowledgements, failures before the hello, and what it read under the lock.
#include "recording/player/UnixPlayerLink.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>

#include "fakes/RecordingUiPort.h"
#include "platform/ProgramFolder.h"
#include "recording/netbackup/DownloadFilePageState.h"
#include "recording/player/BackupFileAppend.h"
#include "recording/player/PlayerFeed.h"
#include "recording/player/PlayerHandOver.h"
#include "support/TempFolder.h"
#include "support/WaitUntil.h"

namespace fs = std::filesystem;
using namespace recording;
using namespace std::chrono_literals;

namespace {

class PlayerLinkTest : public ::testing::Test {
protected:
    PlayerLinkTest() {
        char pattern[] = "/tmp/qpl-XXXXXX";  // short: a socket address has little room
        runFolder_ = ::mkdtemp(pattern);
        timing.playerHelloWait = 5s;
        timing.playerAnswerWait = 2s;
        app.SetUiPort(&ui);
        app.CSettingINI.m_strAppPath = folder.path().string() + "/";
        link = std::make_unique<UnixPlayerLink>(timing.playerAnswerWait, runFolder_);
        handOver = std::make_unique<PlayerHandOver>(app, *link, timing, [this] { return tick++; });
    }
    ~PlayerLinkTest() override {
        handOver.reset();
        link.reset();
        fs::remove_all(runFolder_);
    }

    void Install(const std::string& conf) {
        // A running copy cannot be overwritten; the configuration is read at each start.
        fs::copy_file(fs::canonical("/proc/self/exe").parent_path() / "player-standin" / "ravelle",
                      folder.path() / "ravelle", fs::copy_options::skip_existing);
        folder.Write("ravelle.conf", conf);
    }
    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        std::ifstream in(folder.path() / "ravelle.log");
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    bool Logged(const std::string& line) const {
        return testutil::WaitUntil([&] { return std::ranges::count(Log(), line) > 0; }, 5s);
    }
    int CountStarting(const std::string& prefix) const {
        return static_cast<int>(std::ranges::count_if(Log(), [&](const std::string& l) { return l.starts_with(prefix); }));
    }
    // Appends `size` bytes in blocks under the backup lock, telling the feed after each.
    std::string Download(PlayerFeed& feed, const fs::path& file, std::size_t size, std::size_t block = 2048) {
        EXPECT_TRUE(CreateEmptyBackupFile(file.string()));
        std::string data;
        for (std::size_t i = 0; i < size; ++i)
            data.push_back(static_cast<char>(i * 7 + i / 251));
        for (std::size_t at = 0; at < size; at += block) {
            const auto n = std::min(block, size - at);
            EXPECT_TRUE(AppendToBackupFile(app, file,
                                           {reinterpret_cast<const std::uint8_t*>(data.data()) + at, n}, 5s));
            feed.DataAppended(static_cast<std::uint32_t>(n));
        }
        feed.Finished(true);
        return data;
    }

    testutil::TempFolder folder;
    fs::path runFolder_;
    platform::Timing timing;
    fakes::RecordingUiPort ui;
    session::AppData app;
    std::uint32_t tick = 52304;
    std::unique_ptr<UnixPlayerLink> link;
    std::unique_ptr<PlayerHandOver> handOver;
};

TEST_F(PlayerLinkTest, StartedPlayerReadsTheWholeDownloadUnderTheLock) {
    Install("ack=0\n");
    const auto file = folder.path() / "CH03_0012.dvr";
    ASSERT_TRUE(handOver->HandOver(file.string(), true));
    EXPECT_TRUE(Logged("args:2:" + file.string() + "|DYNAMICLOAD=1"));
    EXPECT_TRUE(Logged("record:2:NETWORKBK_52304:32"));
    EXPECT_EQ(app.sz_NetworkBackupMutexName.Get(), "NETWORKBK_52304");
    EXPECT_TRUE(fs::exists(runFolder_ / "NETWORKBK_52304"));
    EXPECT_NE(app.h_PlayerWindow, 0u);
    EXPECT_EQ(app.dw_PlayerStarted, 1u);
    EXPECT_TRUE(ui.Contains("lowermain"));

    PlayerFeed feed(app, *link);
    feed.Attach(349);
    EXPECT_TRUE(Logged("attach:349"));
    ASSERT_TRUE(testutil::WaitUntil([&] { return app.dw_PlayerAck == 1; }, 5s));
    EXPECT_EQ(app.dw_PlayerBlockSize, 102400u);

    const std::size_t size = 5 * 104448 + 3000;
    const auto data = Download(feed, file, size);
    ASSERT_TRUE(Logged("read:" + std::to_string(size)));
    std::vector<std::string> notices;
    for (const auto& line : Log())
        if (line.starts_with("data:") || line.starts_with("state:"))
            notices.push_back(line);
    EXPECT_EQ(notices, (std::vector<std::string>{"data:104448", "data:104448", "data:104448", "data:104448",
                                                 "data:104448", "data:3000", "state:0"}));
    EXPECT_EQ(folder.Read("ravelle.read"), data);
}

// An installed client: the player lies in the installed data folder, not in
// the user's program folder, and the dynamic-load hand-over finds it there.
TEST_F(PlayerLinkTest, PlayerInTheInstalledDataFolderFollowsTheDownload) {
    const fs::path installed = folder.path() / "share";
    fs::create_directories(installed);
    fs::copy_file(fs::canonical("/proc/self/exe").parent_path() / "player-standin" / "ravelle", installed / "ravelle");
    folder.Write("share/ravelle.conf", "ack=0\n");
    platform::SetShippedFolders(std::vector<fs::path>{installed});
    const auto file = folder.path() / "CH01_0001.dvr";
    const bool handedOver = handOver->HandOver(file.string(), true);
    platform::SetShippedFolders(std::nullopt);
    ASSERT_TRUE(handedOver);
    EXPECT_FALSE(ui.Contains("msgbox:" + std::to_string(kPlayerStartFailedMessage)));
    EXPECT_NE(app.h_PlayerWindow, 0u);
    EXPECT_TRUE(testutil::WaitUntil(
        [&] { return std::ifstream(installed / "ravelle.log").peek() != std::char_traits<char>::eof(); }, 5s));
    std::ifstream log(installed / "ravelle.log");
    std::string first;
    std::getline(log, first);
    EXPECT_EQ(first, "args:2:" + file.string() + "|DYNAMICLOAD=1");
}

TEST_F(PlayerLinkTest, SecondBackupGoesToTheRunningPlayerAndANewOneAfterItEnds) {
    Install("ack=0\nexitAfterState=1\n");
    ASSERT_TRUE(handOver->HandOver((folder.path() / "a.dvr").string(), true));
    ASSERT_TRUE(Logged("record:2:NETWORKBK_52304:32"));
    const auto firstPid = app.dw_PlayerProcessID.load();

    // While it runs: the new path, the same lock.
    ASSERT_TRUE(handOver->HandOver((folder.path() / "b.dvr").string(), true));
    EXPECT_TRUE(Logged("record:1:" + (folder.path() / "b.dvr").string() + ":1024"));
    EXPECT_EQ(app.sz_NetworkBackupMutexName.Get(), "NETWORKBK_52304");
    EXPECT_EQ(CountStarting("args:"), 1);

    // It ends after its download: the next backup starts a new process with a new lock.
    PlayerFeed feed(app, *link);
    feed.Attach(1);
    ASSERT_TRUE(testutil::WaitUntil([&] { return app.dw_PlayerAck == 1; }, 5s));
    Download(feed, folder.path() / "b.dvr", 10000);
    ASSERT_TRUE(Logged("state:0"));
    ASSERT_TRUE(testutil::WaitUntil([&] { return !link->IsAlive(app.h_PlayerWindow, firstPid); }, 5s));
    ASSERT_TRUE(handOver->HandOver((folder.path() / "c.dvr").string(), true));
    EXPECT_TRUE(Logged("record:2:NETWORKBK_52305:32"));
    EXPECT_EQ(CountStarting("args:"), 2);
    EXPECT_NE(app.dw_PlayerProcessID, firstPid);
    EXPECT_FALSE(fs::exists(runFolder_ / "NETWORKBK_52304")) << "the old lock is gone";
}

TEST_F(PlayerLinkTest, BackupWithoutTheOptionForgetsThePlayer) {
    Install("ack=0\n");
    ASSERT_TRUE(handOver->HandOver((folder.path() / "a.dvr").string(), true));
    ASSERT_TRUE(Logged("record:2:NETWORKBK_52304:32"));

    ASSERT_TRUE(handOver->HandOver((folder.path() / "b.dvr").string(), false));
    EXPECT_EQ(app.h_PlayerWindow, 0u);
    EXPECT_EQ(app.dw_PlayerProcessID, 0);
    EXPECT_EQ(app.h_NetworkBackupMutex.Get(), nullptr);
    EXPECT_TRUE(Logged("hangup"));
    PlayerFeed feed(app, *link);
    feed.Attach(1);
    Download(feed, folder.path() / "b.dvr", 300000);
    feed.Failed(NETBK_STOP_FILE);
    EXPECT_EQ(CountStarting("attach:") + CountStarting("data:") + CountStarting("state:") + CountStarting("stop:"), 0);
}

struct AckCase {
    std::string conf;
    std::uint32_t ack;
    std::uint32_t blockSize;
};

TEST_F(PlayerLinkTest, AcknowledgementCountsOnlyFromThePlayersOwnConnection) {
    for (const AckCase& c : {AckCase{"ack=64\n", 1, 65536}, AckCase{"ack=64\nackFrom=second\n", 0, 0}}) {
        SCOPED_TRACE(c.conf);
        fs::remove(folder.path() / "ravelle.log");
        Install(c.conf);
        handOver->HandOver((folder.path() / "a.dvr").string(), false);  // forget the last case's player
        ASSERT_TRUE(handOver->HandOver((folder.path() / "a.dvr").string(), true));
        PlayerFeed feed(app, *link);
        feed.Attach(5);
        ASSERT_TRUE(Logged("attach:5"));
        // The player's own acknowledgement counts once it comes; one on a second
        // connection is given room to (wrongly) count.
        testutil::WaitUntil([&] { return app.dw_PlayerAck != 0 && app.dw_PlayerBlockSize != 0; },
                            c.ack == 1 ? 10000ms : 300ms);
        EXPECT_EQ(app.dw_PlayerAck, c.ack);
        EXPECT_EQ(app.dw_PlayerBlockSize, c.blockSize);
        Download(feed, folder.path() / "a.dvr", 140000);
        feed.Failed(NETBK_STOP_NETWORK);
        EXPECT_TRUE(Logged("stop:4026531842"));
        EXPECT_EQ(CountStarting("data:") > 0, c.ack == 1);
    }
}

TEST_F(PlayerLinkTest, FailureBeforeTheAcknowledgementStillStopsThePlayer) {
    Install("ack=none\n");
    ASSERT_TRUE(handOver->HandOver((folder.path() / "a.dvr").string(), true));
    PlayerFeed feed(app, *link);
    feed.Attach(9);
    ASSERT_TRUE(Logged("attach:9"));
    feed.Failed(NETBK_STOP_NETWORK);
    EXPECT_TRUE(Logged("stop:4026531842"));
}

struct HelloCase {
    std::string conf;  // empty: no player installed
    unsigned message;
};

TEST_F(PlayerLinkTest, PlayerNotFoundIsShownAndTheDownloadGoesOnWithoutIt) {
    timing.playerHelloWait = 2s;  // long enough for a loaded machine to see the player exit
    handOver = std::make_unique<PlayerHandOver>(app, *link, timing, [this] { return tick++; });
    for (const HelloCase& c : {HelloCase{"hello=hang\n", 4108}, HelloCase{"hello=exit\n", 4113},
                               HelloCase{"hello=other\n", 4113}, HelloCase{"", 4108}}) {
        SCOPED_TRACE(c.conf);
        ui.Clear();
        fs::remove(folder.path() / "ravelle");
        if (!c.conf.empty())
            Install(c.conf);
        EXPECT_TRUE(handOver->HandOver((folder.path() / "a.dvr").string(), true));
        EXPECT_EQ(ui.Calls().back(), "msgbox:" + std::to_string(c.message));
        EXPECT_EQ(app.dw_PlayerProcessID, 0);
        EXPECT_EQ(app.h_PlayerWindow, 0u);
        EXPECT_NE(app.h_NetworkBackupMutex.Get(), nullptr) << "the lock still guards the writes";
    }
}

}  // namespace
