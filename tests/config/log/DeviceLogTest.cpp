// The device's event log: the fetch's requests and limits against the
// simulated device, a cancel in the middle of a stalled request, and the
// viewers' rows.

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "config/PageDevice.h"
#include "config/log/LogFetchJob.h"
#include "config/log/LogViewTable.h"
#include "config/sheet/SheetProgress.h"
#include "support/WaitUntil.h"

namespace config {
namespace {

struct ProgressLog : SheetProgressSink {
    void Deliver(std::uint32_t command, std::uint32_t value) override {
        std::lock_guard lock(mutex);
        commands.emplace_back(command, value);
    }
    std::vector<std::pair<std::uint32_t, std::uint32_t>> Commands() {
        std::lock_guard lock(mutex);
        return commands;
    }
    std::mutex mutex;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> commands;
};

struct LogRun : testutil::PageDevice {
    explicit LogRun(std::size_t records, const char* product = "R41T")
        : PageDevice(product, nullptr, [records](devicesim::DeviceProfile& p) {
              for (std::size_t i = 0; i < records; ++i)
                  p.log.push_back(devicesim::LogRecord(0x1, static_cast<int>(i)));
          }) {
        progress.Attach(&sink);
    }
    ~LogRun() { progress.Detach(&sink); }
    LogFetchResult Fetch(std::uint32_t max) { return FetchDeviceLog(app, timing, max, progress, {}); }
    std::vector<std::string> States() const {
        std::vector<std::string> states;
        for (const auto& request : device->RequestsFor("/Getlog.cgi"))
            states.push_back(request.Param("STATE").value_or(""));
        return states;
    }
    ProgressLog sink;
    SheetProgress progress;
};

TEST(LogCount, OnlyACountWithDigitsAndItsEnd) {
    EXPECT_EQ(ParseLogCount("COUNT=45;"), 45u);
    EXPECT_EQ(ParseLogCount("X=1;COUNT=0;"), 0u);
    EXPECT_EQ(ParseLogCount("COUNT=x;"), std::nullopt);
    EXPECT_EQ(ParseLogCount("COUNT=12"), std::nullopt);
    EXPECT_EQ(ParseLogCount("COUNT=;"), std::nullopt);
    EXPECT_EQ(ParseLogCount("NUMBER=4;"), std::nullopt);
}

TEST(LogFetch, PagesNewestFirstUntilTheCountOrAShortPage) {
    LogRun run(45);
    const auto result = run.Fetch(300);
    ASSERT_EQ(result.outcome, LogFetchResult::Outcome::Records);
    EXPECT_EQ(run.States(), (std::vector<std::string>{"COUNT", "LAST", "PRE"}));
    ASSERT_EQ(result.records.size(), 45u);
    EXPECT_EQ(result.records.front().byMinute, 44 % 60);  // the newest record first
    using P = std::pair<std::uint32_t, std::uint32_t>;
    EXPECT_EQ(run.sink.Commands(), (std::vector<P>{{Progress_Begin, 0}, {Progress_SetRange, 45},
                                                   {Progress_SetPos, 30}, {Progress_End, 0}}));

    LogRun limited(100);
    EXPECT_EQ(limited.Fetch(40).records.size(), 40u);
    EXPECT_EQ(limited.States(), (std::vector<std::string>{"COUNT", "LAST", "PRE"}));

    LogRun shortPage(12);
    EXPECT_EQ(shortPage.Fetch(300).records.size(), 12u);
    EXPECT_EQ(shortPage.States(), (std::vector<std::string>{"COUNT", "LAST"}));

    // A maximum of 0: one page read, an empty viewer.
    LogRun none(45);
    const auto empty = none.Fetch(0);
    EXPECT_EQ(empty.outcome, LogFetchResult::Outcome::Records);
    EXPECT_TRUE(empty.records.empty());
    EXPECT_EQ(none.States(), (std::vector<std::string>{"COUNT", "LAST"}));
}

TEST(LogFetch, KeepsAtMost2048Records) {
    LogRun run(2100);
    const auto result = run.Fetch(2048);
    EXPECT_EQ(result.outcome, LogFetchResult::Outcome::Records);
    EXPECT_EQ(result.records.size(), 2048u);
}

TEST(LogFetch, EmptyAndUnreadableCounts) {
    LogRun empty(0);
    EXPECT_EQ(empty.Fetch(300).outcome, LogFetchResult::Outcome::Empty);
    EXPECT_TRUE(empty.sink.Commands().empty());

    LogRun garbled(45);
    garbled.device->AddFault("/Getlog.cgi", {"count", [](devicesim::Reply& r) { r.body = "COUNT=x;"; }});
    EXPECT_EQ(garbled.Fetch(300).outcome, LogFetchResult::Outcome::Failed);
    EXPECT_EQ(garbled.States(), std::vector<std::string>{"COUNT"});

    LogRun refused(45);
    refused.device->AddFaultOnRequest("/Getlog.cgi", 3, devicesim::Fault::Status(500));
    EXPECT_EQ(refused.Fetch(300).outcome, LogFetchResult::Outcome::Failed);
    ASSERT_FALSE(refused.sink.Commands().empty());
    EXPECT_EQ(refused.sink.Commands().back().first, Progress_End);
}

TEST(LogFetchJob, ACancelEndsAStalledRequestAndReportsNothing) {
    LogRun run(45);
    run.device->AddFaultOnRequest("/Getlog.cgi", 2, devicesim::Fault::Silence());
    run.device->ClearRequests();
    LogFetchJob job;
    bool reported = false;
    ASSERT_TRUE(job.Start(run.app, run.timing, 300, run.progress, [&](LogFetchResult) { reported = true; }));
    ASSERT_TRUE(run.device->WaitForRequests(2, std::chrono::seconds(5)));
    job.Cancel();
    EXPECT_FALSE(job.Running());
    EXPECT_FALSE(reported);
    EXPECT_EQ(run.States(), (std::vector<std::string>{"COUNT", "LAST"}));
    ASSERT_FALSE(run.sink.Commands().empty());
    EXPECT_EQ(run.sink.Commands().back().first, Progress_End);
}

TEST(LogView, RowsOfBothViewers) {
    const std::vector<DeviceLogRecord> records{
        DeviceLogRecord::Parse(std::span<const std::uint8_t, 32>(devicesim::LogRecord(0x1, 1).data(), 32)),
        DeviceLogRecord::Parse(std::span<const std::uint8_t, 32>(devicesim::LogRecord(0x4, 2, 0x06).data(), 32)),
        DeviceLogRecord::Parse(std::span<const std::uint8_t, 32>(devicesim::LogRecord(0x4000, 3).data(), 32)),
        DeviceLogRecord::Parse(std::span<const std::uint8_t, 32>(devicesim::LogRecord(0x2000, 4).data(), 32)),
        DeviceLogRecord::Parse(
            std::span<const std::uint8_t, 32>(devicesim::LogRecord(0x100, 5, 3, "admin").data(), 32)),
        DeviceLogRecord::Parse(std::span<const std::uint8_t, 32>(devicesim::LogRecord(0xFFFF, 6).data(), 32)),
    };
    const auto dvr = LogRows(LogViewer::Dvr, records, kDvrLogMask);
    ASSERT_EQ(dvr.size(), 4u);  // 0x2000 and 0xFFFF are not listed
    EXPECT_EQ(dvr[0], (LogRow{" 1", "POWER ON", "00-02-02 01:01:07", "NO"}));
    EXPECT_EQ(dvr[1][1], "HDD FULL");
    EXPECT_EQ(dvr[2][1], "DDNS UPDATE FAIL");
    EXPECT_EQ(dvr[3][1], "REMOTE LOGIN ( admin )");
    EXPECT_EQ(dvr[3][3], "3");

    const auto server = LogRows(LogViewer::Server, records, kServerLogMask);
    ASSERT_EQ(server.size(), 5u);
    EXPECT_EQ(server[0], (LogRow{" 1", "POWER ON", ""}));
    EXPECT_EQ(server[1][1], "ALARM (2)");
    EXPECT_EQ(server[3][1], "NO EVENT");  // 0x2000
    EXPECT_EQ(server[4][1], "EMAIL SUCCESS");

    const auto withoutPower = LogRows(LogViewer::Dvr, records, kDvrLogMask & ~0x1u);
    EXPECT_EQ(withoutPower[0][0], " 1");
    EXPECT_EQ(withoutPower[0][1], "HDD FULL");
}

}  // namespace
}  // namespace config
