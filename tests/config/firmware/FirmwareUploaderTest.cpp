#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "config/firmware/FirmwareRequests.h"
#include "config/firmware/FirmwareUploader.h"
#include "fakes/CallLog.h"
#include "config/firmware/UploadDevice.h"
#include "support/WaitUntil.h"

namespace {

using namespace config;
using namespace firmwaretest;
using devicesim::Fault;
using std::chrono::milliseconds;

class RecordingUploadPort : public FirmwareUploadPort {
public:
    void SetProgress(int percent) override { log.Add("progress " + std::to_string(percent)); }
    void SetUpgradeEnabled(bool enabled) override { log.Add(enabled ? "enable" : "disable"); }
    void UploadEnded(const UploadEnd& end) override {
        log.Add("end " + std::to_string(end.messageId) + (end.closeDialog ? " close" : " stay"));
    }
    std::string End() const {
        for (const auto& call : log.Calls())
            if (call.rfind("end ", 0) == 0)
                return call;
        return "";
    }
    fakes::CallLog log;
};

struct Upload : UploadDevice {
    Upload(const std::string& product, const std::string& firmware, std::string cookie = kCookie,
           const platform::Timing& timing = FastTiming())
        : UploadDevice(product, firmware, std::move(cookie)), uploader(app, port, timing) {}

    // Runs the upload on its worker and waits for its end report.
    std::string Run(UploadPath path, std::vector<FirmwareItem> items) {
        UploadJob job{path, std::move(items), 0};
        for (const auto& item : job.items)
            job.progressBase += item.data.size();
        uploader.Start(std::move(job));
        testutil::WaitUntil([&] { return !port.End().empty(); });
        uploader.Stop();
        return port.End();
    }

    RecordingUploadPort port;
    FirmwareUploader uploader;
};

std::vector<FirmwareItem> ThreeItems(std::uint8_t firstKind, std::uint8_t secondKind, std::uint8_t thirdKind) {
    return {{firstKind, Pattern(900, 1)}, {secondKind, Pattern(901, 2)}, {thirdKind, Pattern(2700, 3)}};
}

TEST(FirmwareUploaderTest, DvrChunksGoStartMiddleFinishedWithRebootOnTheLastItem) {
    Upload upload("R41T", "1069");
    ASSERT_TRUE(upload.started);
    const auto items = ThreeItems(0, 1, 5);
    EXPECT_EQ(upload.Run(UploadPath::DvrChunked, items), "end 4048 close");

    EXPECT_EQ(upload.Targets("/UpgradeFW.cgi"),
              (std::vector<std::string>{
                  "/UpgradeFW.cgi?Upgrade=Start&FileSize=900&Type=0&Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Upgrade=Start&FileSize=901&Type=1&Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Upgrade=Finished&Type=1&Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Upgrade=Start&FileSize=2700&Type=5&Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Upgrade=Finished&Type=5&Reboot=1&Cookie=5A17C0DE",
              }));
    const auto received = upload.receiver->Items();
    ASSERT_EQ(received.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(received[i].bytes, Text(items[i].data)) << i;
    EXPECT_EQ(upload.device->RequestsFor("/UpgradeFW.cgi")[2].body.size(), 1u);  // the 901st byte alone
    EXPECT_EQ(upload.device->State().reboots, 1);

    // The keep-alive's connection may be served after the chunks'.
    ASSERT_TRUE(testutil::WaitUntil([&] { return upload.receiver->KeepAlivesOpened() == 1; }));
    const auto keepAlive = upload.device->RequestsFor("/Getvideo.cgi");
    ASSERT_EQ(keepAlive.size(), 1u);
    EXPECT_EQ(keepAlive[0].raw, RequestBytes("/Getvideo.cgi?Cookie=5A17C0DE&Fake=1"));
    EXPECT_TRUE(upload.receiver->WaitForKeepAlivesClosed(milliseconds(10000)));
    const auto calls = upload.port.log.Calls();
    EXPECT_EQ(calls.front(), "disable");
    EXPECT_EQ(calls.at(calls.size() - 2), "progress 100");
}

TEST(FirmwareUploaderTest, ImageChunksCarryTheRecordNamesOnFinishedOnly) {
    Upload upload("G66M", "1010");
    ASSERT_TRUE(upload.started);
    // Record types 0 and 1, then an unknown type that repeats the previous name.
    std::vector<FirmwareItem> items{{0, Pattern(901, 1)}, {1, Pattern(1801, 2)}, {9, Pattern(950, 3)}};
    EXPECT_EQ(upload.Run(UploadPath::ImageChunked, items), "end 4048 close");
    EXPECT_EQ(upload.Targets("/UpgradeFW.cgi"),
              (std::vector<std::string>{
                  "/UpgradeFW.cgi?Upgrade=Start&FileSize=901&Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Upgrade=Finished&Type=BOOT&Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Upgrade=Start&FileSize=1801&Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Upgrade=Finished&Type=KERNEL&Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Upgrade=Start&FileSize=950&Cookie=5A17C0DE",
                  "/UpgradeFW.cgi?Upgrade=Finished&Type=KERNEL&Reboot=1&Cookie=5A17C0DE",
              }));
}

TEST(FirmwareUploaderTest, EmptyCookieStaysInTheKeepAliveOnlyAndEmptyItemsAreSkipped) {
    Upload upload("R41T", "1069", "");
    ASSERT_TRUE(upload.started);
    // A one-chunk last item carries no Finished, so no reboot request either.
    std::vector<FirmwareItem> items{{0, {}}, {1, Pattern(10, 1)}, {2, {}}};
    EXPECT_EQ(upload.Run(UploadPath::DvrChunked, items), "end 4048 close");
    ASSERT_TRUE(testutil::WaitUntil([&] { return upload.receiver->KeepAlivesOpened() == 1; }));
    EXPECT_EQ(upload.Targets("/Getvideo.cgi"), std::vector<std::string>{"/Getvideo.cgi?Cookie=&Fake=1"});
    EXPECT_EQ(upload.Targets("/UpgradeFW.cgi"),
              std::vector<std::string>{"/UpgradeFW.cgi?Upgrade=Start&FileSize=10&Type=1"});
}

struct FailureCase {
    const char* name;
    UploadPath path;
    const char* faultPath;
    int request;  // the k-th request of the path
    Fault fault;
    const char* end;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FirmwareUploadFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FirmwareUploadFailure, EndsAsTheDeviceAnswered) {
    const FailureCase& c = GetParam();
    platform::Timing timing = FastTiming();
    timing.commandTimeout = milliseconds(300);  // how long a silent device is waited for
    timing.firmwareReplyTimeout = milliseconds(300);
    Upload upload(IsImagePath(c.path) ? "R47T" : "R41T", "1000", kCookie, timing);
    ASSERT_TRUE(upload.started);
    upload.device->AddFaultOnRequest(c.faultPath, c.request, c.fault);
    EXPECT_EQ(upload.Run(c.path, {{1, Pattern(2700, 1)}, {4, Pattern(1400, 2)}}), c.end);
    EXPECT_TRUE(upload.receiver->WaitForKeepAlivesClosed(milliseconds(10000)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FirmwareUploadFailure,
    ::testing::Values(
        FailureCase{"middleChunk500", UploadPath::DvrChunked, "/UpgradeFW.cgi", 2, Fault::Status(500), "end 4077 close"},
        FailureCase{"middleChunkCut", UploadPath::DvrChunked, "/UpgradeFW.cgi", 2, Fault::CloseInsideHeader(),
                    "end 4077 close"},
        FailureCase{"firstChunkSilent", UploadPath::ImageChunked, "/UpgradeFW.cgi", 1, Fault::Silence(),
                    "end 4077 close"},
        FailureCase{"lastFinishedSilent", UploadPath::DvrChunked, "/UpgradeFW.cgi", 5, Fault::Silence(),
                    "end 4048 close"},
        FailureCase{"lastFinishedClosed", UploadPath::ImageChunked, "/UpgradeFW.cgi", 5, Fault::CloseBeforeHeader(),
                    "end 4048 close"},
        FailureCase{"lastFinished500", UploadPath::DvrChunked, "/UpgradeFW.cgi", 5, Fault::Status(500),
                    "end 4077 close"},
        FailureCase{"streamSilent", UploadPath::DvrStream, "/UpgradeFW2.cgi", 2, Fault::Silence(), "end 4048 close"},
        FailureCase{"streamClosed", UploadPath::ImageStream, "/UpgradeFW2.cgi", 1, Fault::CloseBeforeHeader(),
                    "end 4048 close"},
        FailureCase{"streamGarbage", UploadPath::DvrStream, "/UpgradeFW2.cgi", 1, Fault::Garbage(), "end 4048 close"},
        FailureCase{"dvrStream500", UploadPath::DvrStream, "/UpgradeFW2.cgi", 1, Fault::Status(500), "end 4077 close"},
        FailureCase{"imageStream500", UploadPath::ImageStream, "/UpgradeFW2.cgi", 2, Fault::Status(500),
                    "end 4077 stay"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FirmwareUploaderTest, StreamSendsItsRequestThenExactlyTheRawBytes) {
    struct Case {
        const char* product;
        const char* firmware;
        UploadPath path;
        std::vector<std::string> types;
    };
    for (const Case& c : {Case{"R41T", "1070", UploadPath::DvrStream, {"0", "5"}},
                          Case{"R47T", "1013", UploadPath::ImageStream, {"1", "2"}}}) {
        SCOPED_TRACE(c.product);
        Upload upload(c.product, c.firmware);
        ASSERT_TRUE(upload.started);
        // DVR rows 0, 3 (empty), 5; image records boot, kernel (empty), web pages.
        const bool dvr = c.path == UploadPath::DvrStream;
        std::vector<FirmwareItem> items{{0, Pattern(2 * 1300 + 5, 1)},
                                        {std::uint8_t(dvr ? 3 : 1), {}},
                                        {std::uint8_t(dvr ? 5 : 4), Pattern(10, 2)}};
        EXPECT_EQ(upload.Run(c.path, items), "end 4048 close");

        const auto requests = upload.device->RequestsFor("/UpgradeFW2.cgi");
        ASSERT_EQ(requests.size(), 2u);
        const std::string first = RequestBytes("/UpgradeFW2.cgi?Cookie=5A17C0DE&FILESIZE=2605&Type=" + c.types[0]);
        const std::string last =
            RequestBytes("/UpgradeFW2.cgi?Cookie=5A17C0DE&FILESIZE=10&Type=" + c.types[1] + "&REBOOT=1");
        EXPECT_EQ(requests[0].raw.substr(0, first.size()), first);
        EXPECT_EQ(requests[1].raw.substr(0, last.size()), last);
        const auto received = upload.receiver->Items();
        ASSERT_EQ(received.size(), 2u);
        EXPECT_EQ(received[0].bytes, Text(items[0].data));
        EXPECT_EQ(received[1].bytes, Text(items[2].data));
        EXPECT_FALSE(received[0].reboot);
        EXPECT_TRUE(received[1].reboot);
        EXPECT_EQ(upload.receiver->UploadBytes(), 2615u);
        EXPECT_EQ(upload.device->State().reboots, 1);
    }
}

TEST(FirmwareUploaderTest, RefusedKeepAliveFailsBeforeAnyUploadAndKeepsTheDialog) {
    for (UploadPath path : {UploadPath::DvrChunked, UploadPath::ImageStream}) {
        Upload upload("R47T", "1013");
        ASSERT_TRUE(upload.started);
        upload.device->SetRefusing(true);
        EXPECT_EQ(upload.Run(path, {{1, Pattern(10, 1)}}), "end 4077 stay");
        EXPECT_FALSE(upload.port.log.Contains("disable"));
        EXPECT_TRUE(upload.device->Requests().empty());
    }
}

TEST(FirmwareUploaderTest, StopMidItemEndsAtOnceSilentlyAndClosesTheKeepAlive) {
    struct Case {
        const char* name;
        UploadPath path;
    };
    // The chunked device holds its answer to the second chunk; the stream
    // upload waits in its pause after the request.
    for (const Case& c : {Case{"chunked", UploadPath::DvrChunked}, Case{"stream", UploadPath::DvrStream}}) {
        SCOPED_TRACE(c.name);
        const auto hold = milliseconds(20000);
        platform::Timing timing = FastTiming();
        timing.commandTimeout = hold;
        timing.firmwareRequestPause = hold;
        Upload upload("R41T", "1070", kCookie, timing);
        ASSERT_TRUE(upload.started);
        upload.device->AddFaultOnRequest("/UpgradeFW.cgi", 2, Fault::Delay(hold));
        upload.uploader.Start({c.path, {{1, Pattern(5000, 1)}}, 5000});
        const std::uint64_t taken = c.path == UploadPath::DvrChunked ? 1800 : 0;
        ASSERT_TRUE(upload.device->WaitForRequests(c.path == UploadPath::DvrChunked ? 3 : 2, milliseconds(5000)));
        ASSERT_TRUE(upload.receiver->WaitForUploadBytes(taken, milliseconds(5000)));

        const auto before = std::chrono::steady_clock::now();
        upload.uploader.Stop();
        EXPECT_LT(std::chrono::steady_clock::now() - before, hold / 4);  // stopped, not waited out
        EXPECT_TRUE(upload.receiver->WaitForKeepAlivesClosed(milliseconds(10000)));
        std::this_thread::sleep_for(milliseconds(100));
        EXPECT_EQ(upload.receiver->UploadBytes(), taken);
        EXPECT_TRUE(upload.port.End().empty());
    }
}

}  // namespace
