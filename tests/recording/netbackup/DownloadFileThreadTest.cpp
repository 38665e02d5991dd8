// The network backup's transfer against the simulated DVR: the request on the
// wire, the file it leaves for every shape of the reply, each failure's status
// and what it keeps, the player's notices, the progress bar and the cancel.
#include "recording/netbackup/DownloadFileThread.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

#include "fakes/CallLog.h"
#include "fakes/FakePlayerLink.h"
#include "fakes/RecordingUiPort.h"
#include "platform/FileLock.h"
#include "recording/netbackup/BlockReader.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/NetworkBackup.h"
#include "support/TempFolder.h"
#include "support/WaitUntil.h"

namespace fs = std::filesystem;
using namespace recording;
using namespace std::chrono_literals;

namespace {

devicesim::BackupScript AtRate(std::uint64_t bytesPerSecond) {
    devicesim::BackupScript script;
    script.bytesPerSecond = bytesPerSecond;
    return script;
}

constexpr const char* kQuery =
    "Cookie=5A17C0DE&Year=2006&Month=10&Day=2&Hour=13&Minute=45&Second=7&Num=4&CH=2&Size=5";

struct StatusLog : BackupStatusPort, fakes::CallLog {
    void PostBackupStatus(unsigned status, std::uint32_t percent) override {
        if (status == BACKUP_STATUS_PROGRESS) {
            std::lock_guard lock(mutex);
            percents.push_back(percent);
            return;
        }
        Add("status:" + std::to_string(status));
    }
    std::size_t Count() {
        std::lock_guard lock(mutex);
        return percents.size();
    }
    std::mutex mutex;
    std::vector<std::uint32_t> percents;  // read after the thread's end
};

struct ProgressLog : config::SheetProgressSink, fakes::CallLog {
    void Deliver(std::uint32_t command, std::uint32_t value) override {
        if (command == config::Progress_SetPos) {
            highest = std::max(highest.load(), value);
            return;
        }
        Add(std::to_string(command) + ":" + std::to_string(value));
    }
    std::atomic<std::uint32_t> highest{0};
};

class DownloadFileThreadTest : public ::testing::Test {
protected:
    DownloadFileThreadTest() {
        EXPECT_TRUE(device.Start());
        device.Update([](devicesim::DeviceState& s) { s.sessions["5A17C0DE"] = {}; });
        app.SetUiPort(&ui);
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device.Port();
        app.SessionCookie = "5A17C0DE";
        app.str_ProductID = "R41T";
        timing.connectTimeout = 2s;
        timing.receiveTimeout = 2s;
        progress.Attach(&bar);
        link.folder = folder.path();
    }
    ~DownloadFileThreadTest() override { progress.Detach(&bar); }

    NetworkBackupRequest Request() const {
        NetworkBackupRequest r;
        r.year = 2006, r.month = 10, r.day = 2, r.hour = 13, r.minute = 45, r.second = 7;
        r.diskNumber = 4, r.channel = 2, r.sizeMb = 5;
        r.filePath = (folder.path() / "CH03_0001.dvr").string();
        return r;
    }
    // Runs one download to its end; a player that follows when `follow`.
    void Download(NetworkBackupRequest request, bool follow = false) {
        thread = std::make_unique<DownloadFileThread>(app, std::move(request), status, &link, timing, progress);
        ASSERT_TRUE(thread->Create());
        thread->Attach(99);
        if (follow) {
            app.dw_PlayerAck = 1;
            app.dw_PlayerBlockSize = 102400;
        }
        thread->Begin();
        ASSERT_TRUE(testutil::WaitUntil([&] { return !thread->Running(); }));
        thread->Join();
    }
    std::string File() const {
        std::string content;
        platform::ReadWholeFile(folder.path() / "CH03_0001.dvr", content);
        return content;
    }
    std::string Payload(std::size_t bytes) const { return devicesim::BackupPayload(kQuery, 0, bytes); }

    devicesim::DeviceSimulator device;
    devicesim::NetworkBackupService backup{device};
    testutil::TempFolder folder;
    fakes::RecordingUiPort ui;
    session::AppData app;
    platform::Timing timing;
    StatusLog status;
    ProgressLog bar;
    config::SheetProgress progress;
    fakes::FakePlayerLink link;
    std::unique_ptr<DownloadFileThread> thread;
};

TEST_F(DownloadFileThreadTest, RequestIsExactAndTheFileHoldsEveryPayload) {
    app.h_PlayerWindow = 7;
    Download(Request(), true);

    const auto requests = device.RequestsFor("/NetworkBk.cgi");
    ASSERT_EQ(requests.size(), 1u);
    const std::string host = requests[0].headerLines.at(4);
    EXPECT_EQ(requests[0].raw, std::string("GET /NetworkBk.cgi?") + kQuery +
                                   " HTTP/1.1\r\nAccept: */* \r\nAccept-Language: zh-tw\r\n"
                                   "Accept-Encoding: gzip, deflate\r\n"
                                   "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)\r\n" +
                                   host + "\r\nConnection: Keep-Alive\r\n\r\n");
    EXPECT_EQ(host, "Host: 127.0.0.1");
    const std::string file = File();
    EXPECT_EQ(file.size(), 5u << 20);
    EXPECT_TRUE(file == Payload(5u << 20));
    EXPECT_EQ(status.Calls(), (std::vector<std::string>{"status:5"}));
    ASSERT_EQ(status.percents.size(), 2560u);
    EXPECT_EQ(status.percents[511], 20u);  // after 1 MiB
    EXPECT_EQ(status.percents.back(), 100u);
    EXPECT_EQ(bar.Calls(), (std::vector<std::string>{"1:0", "2:100", "4:0"}));
    EXPECT_EQ(bar.highest, 100u);
    EXPECT_TRUE(thread->Finished());

    // The player heard every byte, in notices of 51 blocks and the rest, then the end.
    std::uint64_t announced = 0;
    for (const auto& call : link.Calls())
        if (call.starts_with("post:7:4610:0:"))
            announced += std::stoull(call.substr(14));
    EXPECT_EQ(announced, 5u << 20);
    EXPECT_TRUE(link.Contains("post:7:4610:0:104448"));
    EXPECT_EQ(link.Calls().front(), "post:7:4608:0:99");
    EXPECT_EQ(link.Calls().back(), "post:7:4611:0:0");
}

struct Shape {
    const char* name;
    devicesim::BackupScript script;
};

class ReplyShapes : public DownloadFileThreadTest, public ::testing::WithParamInterface<Shape> {};

TEST_P(ReplyShapes, GiveTheSameFile) {
    devicesim::BackupScript script = GetParam().script;
    script.totalBytes = 300000;
    backup.SetScript(script);
    Download(Request());
    EXPECT_TRUE(File() == Payload(300000));
    EXPECT_EQ(status.Calls(), (std::vector<std::string>{"status:5"}));
    EXPECT_EQ(status.percents.back(), 5u);  // 300,000 bytes of 5 MB
}

INSTANTIATE_TEST_SUITE_P(
    Backup, ReplyShapes,
    ::testing::Values(Shape{"SplitHeaders", {.blockSizes = {2048}, .headerSegment = 3}},
                      Shape{"OtherTypesWithLengths", {.blockSizes = {2048}, .otherTypeEvery = 3, .otherLength = 2048}},
                      Shape{"Blocks8192", {.blockSizes = {8192}}},
                      Shape{"MixedAndLarge", {.blockSizes = {2048, 1, 65536, 5000, 1u << 20}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct Failure {
    const char* name;
    devicesim::BackupScript script;
    unsigned status;
    std::size_t kept;  // bytes of the file afterwards
    const char* player;
};

class Failures : public DownloadFileThreadTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(Failures, ReportTheirStatusAndKeepWholeBlocks) {
    backup.SetScript(GetParam().script);
    app.h_PlayerWindow = 7;
    Download(Request(), true);
    EXPECT_EQ(status.Calls(), (std::vector<std::string>{"status:" + std::to_string(GetParam().status)}));
    EXPECT_TRUE(File() == Payload(GetParam().kept)) << File().size();
    EXPECT_EQ(link.Calls().back(), GetParam().player);
    EXPECT_EQ(bar.Calls().back(), "4:0");
}

INSTANTIATE_TEST_SUITE_P(
    Backup, Failures,
    ::testing::Values(
        Failure{"CutMidBlock", {.cutAfter = 3 * 2056 + 8 + 1000}, 3, 3 * 2048, "post:7:4612:0:4026531842"},
        Failure{"EndFirst", {.endFirst = true}, 4, 0, "post:7:4611:1:0"},
        Failure{"Busy", {.busyFirst = true}, 7, 0, "post:7:4611:1:0"},
        Failure{"BlockOverOneMiB", {.blockSizes = {2048, (1u << 20) + 1}}, 3, 2048, "post:7:4612:0:4026531842"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadFileThreadTest, RefusedConnectIsSendFailure) {
    device.SetRefusing(true);
    app.h_PlayerWindow = 7;  // known, not acknowledged: the stop still reaches it
    Download(Request());
    EXPECT_EQ(status.Calls(), (std::vector<std::string>{"status:1"}));
    EXPECT_FALSE(fs::exists(folder.path() / "CH03_0001.dvr"));
    EXPECT_EQ(link.Calls().back(), "post:7:4612:0:4026531842");
    EXPECT_TRUE(bar.Calls().empty());
}

TEST_F(DownloadFileThreadTest, TargetThatCannotBeCreatedIsFileError) {
    app.h_PlayerWindow = 7;
    NetworkBackupRequest request = Request();
    request.filePath = (folder.path() / "missing" / "CH03_0001.dvr").string();
    Download(request);
    EXPECT_EQ(status.Calls(), (std::vector<std::string>{"status:2"}));
    EXPECT_EQ(link.Calls().back(), "post:7:4612:0:4026531843");
    EXPECT_TRUE(bar.Calls().empty());
}

TEST_F(DownloadFileThreadTest, FullDiskKeepsTheWholeBlocksBeforeIt) {
    // A file size limit stands for the full disk: the fourth block fits only in part.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = 3 * 2048 + 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    app.h_PlayerWindow = 7;
    Download(Request());
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(status.Calls(), (std::vector<std::string>{"status:2"}));
    EXPECT_TRUE(File() == Payload(3 * 2048)) << File().size();
    EXPECT_EQ(link.Calls().back(), "post:7:4612:0:4026531843");
}

TEST_F(DownloadFileThreadTest, StopMidPayloadEndsQuietlyAndLeavesNothingHeld) {
    // The stream stalls inside the fourth block's payload.
    backup.SetScript({.stallAfter = 3 * 2056 + 8 + 100});
    auto lock = platform::FileLock::Create(folder.path() / "NETWORKBK_1");
    ASSERT_TRUE(lock);
    app.h_NetworkBackupMutex.Set(lock);
    app.h_PlayerWindow = 7;
    thread = std::make_unique<DownloadFileThread>(app, Request(), status, &link, timing, progress);
    ASSERT_TRUE(thread->Create());
    thread->Attach(99);
    app.dw_PlayerAck = 1;
    thread->Begin();
    ASSERT_TRUE(testutil::WaitUntil([&] { return status.Count() == 3; }));
    EXPECT_TRUE(CancelsOnDevice(app, thread->Finished()));
    SendCancelNetworkBackup(app, timing, {});
    thread->RequestStop();
    thread->Join();

    EXPECT_TRUE(status.Calls().empty());  // a stop is no failure
    EXPECT_TRUE(File() == Payload(3 * 2048));
    EXPECT_EQ(link.Calls().back(), "post:7:4611:1:0");
    EXPECT_EQ(bar.Calls().back(), "4:0");
    EXPECT_TRUE(lock->Acquire(0ms));
    ASSERT_TRUE(testutil::WaitUntil([&] { return backup.Running() == 0; }));
    EXPECT_EQ(device.RequestsFor("/CancelNB.cgi").at(0).requestLine, "GET /CancelNB.cgi?Cookie=5A17C0DE HTTP/1.1");
}

// The player reads under the backup lock; the download's appends wait for it.
class PlayerHoldsTheLock : public DownloadFileThreadTest {
protected:
    PlayerHoldsTheLock() {
        app.h_NetworkBackupMutex.Set(lock);
        app.h_PlayerWindow = 7;
        backup.SetScript({.totalBytes = 5 * 2048});
        thread = std::make_unique<DownloadFileThread>(app, Request(), status, &link, timing, progress);
        EXPECT_TRUE(thread->Create());
        thread->Attach(99);
        app.dw_PlayerAck = 1;
        thread->Begin();
        // The file is made and the bar begun; the first block waits for the lock.
        EXPECT_TRUE(testutil::WaitUntil([&] { return bar.Contains("2:100"); }));
    }
    // The thread's end, with the lock let go first should it not come.
    bool Ended() {
        const bool ended = testutil::WaitUntil([&] { return !thread->Running(); }, 5s);
        held.reset();
        thread->Join();
        return ended;
    }

    std::shared_ptr<platform::FileLock> lock = platform::FileLock::Create(folder.path() / "NETWORKBK_1");
    std::optional<platform::FileLock::Hold> held = lock->Acquire(0ms);
};

TEST_F(PlayerHoldsTheLock, LongerThanAnyTimeOutAndTheDownloadGoesOnAfterIt) {
    std::this_thread::sleep_for(3s);  // longer than the receive time-out as well
    EXPECT_TRUE(thread->Running());
    EXPECT_TRUE(status.Calls().empty());
    held.reset();
    ASSERT_TRUE(Ended());
    EXPECT_EQ(status.Calls(), (std::vector<std::string>{"status:5"}));
    EXPECT_TRUE(File() == Payload(5 * 2048));
}

TEST_F(PlayerHoldsTheLock, AndAStopEndsTheWaitQuietly) {
    thread->RequestStop();
    ASSERT_TRUE(Ended());
    EXPECT_TRUE(status.Calls().empty());
    EXPECT_EQ(File(), "");
    EXPECT_EQ(link.Calls().back(), "post:7:4611:1:0");
    EXPECT_EQ(bar.Calls().back(), "4:0");
}

TEST_F(PlayerHoldsTheLock, AndTheFileDeletedMeanwhileEndsTheDownloadWithoutMakingItAgain) {
    ASSERT_TRUE(fs::remove(folder.path() / "CH03_0001.dvr"));
    held.reset();
    ASSERT_TRUE(Ended());
    EXPECT_EQ(status.Calls(), (std::vector<std::string>{"status:2"}));
    EXPECT_FALSE(fs::exists(folder.path() / "CH03_0001.dvr"));
    EXPECT_EQ(link.Calls().back(), "post:7:4612:0:4026531843");
    EXPECT_EQ(bar.Calls().back(), "4:0");
}

TEST_F(DownloadFileThreadTest, CancelRequestEndsTheDevicesBackup) {
    backup.SetScript(AtRate(200000));
    thread = std::make_unique<DownloadFileThread>(app, Request(), status, &link, timing, progress);
    ASSERT_TRUE(thread->Create());
    thread->Begin();
    ASSERT_TRUE(testutil::WaitUntil([&] { return status.Count() != 0; }));
    SendCancelNetworkBackup(app, timing, {});
    ASSERT_TRUE(testutil::WaitUntil([&] { return backup.Cancelled() == 1; }));
    thread->RequestStop();
    thread->Join();
}

struct CancelCase {
    const char* product;
    const char* firmware;
    bool finished;
    bool cancels;
};

TEST(CancelsOnDevice, DvrFirmware1043AndNewerBeforeTheEnd) {
    const CancelCase cases[] = {
        {"R41T", "1042", false, false}, {"R41T", "1043", false, true}, {"R43T", "10x", false, true},
        {"R42T", "1052", true, false},  {"R47T", "1052", false, false},
    };
    for (const auto& c : cases) {
        session::AppData app;
        app.str_ProductID = c.product;
        app.str_FWVersion = c.firmware;
        EXPECT_EQ(CancelsOnDevice(app, c.finished), c.cancels) << c.product << " " << c.firmware;
    }
}

TEST(BackupPercentage, IsNotCutToAByte) {
    EXPECT_EQ(BackupPercentage(1 << 20, 5), 20u);
    EXPECT_EQ(BackupPercentage(std::uint64_t{3} << 20, 1), 300u);
    EXPECT_EQ(BackupPercentage(1 << 20, 0), 0u);
}

TEST(BlockReader, SameBytesHoweverTheyArrive) {
    std::string stream;
    for (int i = 0; i < 20000; ++i)
        stream.push_back(static_cast<char>(i * 7));
    for (std::size_t piece : {1u, 3u, 8u, 2047u, 65536u}) {
        std::size_t at = 0;
        BlockReader reader(
            [&](std::uint8_t* area, int capacity) {
                const std::size_t n = std::min({piece, static_cast<std::size_t>(capacity), stream.size() - at});
                if (n == 0)
                    return -1;
                std::memcpy(area, stream.data() + at, n);
                at += n;
                return static_cast<int>(n);
            },
            4096);
        std::string got;
        for (std::size_t want : {8u, 2048u, 8u, 9000u, 936u}) {
            std::vector<std::uint8_t> out(want);
            ASSERT_TRUE(reader.ReadExact(out)) << piece;
            got.append(out.begin(), out.end());
        }
        EXPECT_EQ(got, stream.substr(0, got.size())) << piece;
        std::vector<std::uint8_t> past(stream.size());
        EXPECT_FALSE(reader.ReadExact(past));  // a cut stream is a failure
    }
}

}  // namespace
