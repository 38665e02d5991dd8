#include "session/live/StreamReceiveThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

#include "fakes/TestPictures.h"
#include "platform/JpegCodec.h"
#include "session/AppData.h"
#include "session/live/StreamFramer.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/VideoStream.h"

using namespace std::chrono_literals;
using devicesim::StreamFault;
using session::AppData;
using session::HeaderLayout;
using session::ImageSlotInfo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kCookie = "5A17C0DE";

struct ReceivedFrame {
    ImageSlotInfo info;
    std::vector<std::uint8_t> picture;
};

class StreamReceiveThreadTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device.Port();
        app.SessionCookie = kCookie;
        app.LocalHostAddress = "127.0.0.1";
        ASSERT_TRUE(app.lp_SocketBuffer.Allocate(AppData::w_SocketBufferCount * session::kSocketSlotSize));
        pictures = {testpictures::QuadrantJpeg(64, 48), testpictures::QuadrantJpeg(48, 32)};
        stream.SetPictures(pictures);
        stream.SetFrameRate(200);
        timing.connectTimeout = 2000ms;
        timing.streamSendTimeout = 2000ms;
        // The test takes each frame well within the slot wait, however loaded the machine.
        timing.streamSlotWait = 10000ms;
        timing.streamReceiveTimeout = 2000ms;  // a stall outlasts it, a loaded machine's hiccup does not
        Layout(HeaderLayout::New);
    }
    void TearDown() override { app.h_GetJpegImageThread.Stop(); }

    // The login's choice of header layout, on both sides.
    void Layout(HeaderLayout layout) {
        const bool isNew = layout == HeaderLayout::New;
        app.dw_NewHeaderFormat = isNew ? 1 : 0;
        device.Update([&](devicesim::DeviceState& s) { s.sessions[kCookie].newHeader = isNew; });
    }
    void StartStream() {
        ASSERT_TRUE(session::StartStreamReceiveThread(app, timing));
        app.h_StartToGetJpegImageEvent.Set();
    }
    // The compose thread's side of the receive ring.
    std::optional<ReceivedFrame> TakeFrame(platform::Millis timeout = 10000ms) {
        if (!app.h_SocketBufferRelSem.Wait(timeout))
            return std::nullopt;
        const std::uint16_t index = app.w_SocketBufferReadIndex.load();
        ReceivedFrame frame{app.lp_SlotInfo[index], {}};
        const std::uint8_t* slot = app.lp_SocketBuffer.data() + std::size_t{index} * session::kSocketSlotSize;
        frame.picture.assign(slot, slot + std::min<std::size_t>(frame.info.dwLength, session::kSocketSlotSize));
        app.w_SocketBufferReadIndex = static_cast<std::uint16_t>((index + 1) % AppData::w_SocketBufferCount);
        EXPECT_TRUE(app.h_SocketBufferFreeSem.Release());
        return frame;
    }
    // The kernel thread's side of the mailbox: the next code, if one comes in time.
    std::optional<std::uint32_t> TakeMailboxCode(platform::Millis timeout) {
        std::stop_source giveUp;
        std::jthread timer([&](std::stop_token stop) {
            if (platform::SleepFor(timeout, stop))
                giveUp.request_stop();
        });
        auto message = app.KernelMailbox.Take(giveUp.get_token());
        if (!message)
            return std::nullopt;
        app.KernelMailbox.FreeSlot();
        return message->dw_KernelMessageCode;
    }
    // Waits for the thread's body to return.
    bool ThreadEnds(platform::Millis timeout) {
        const auto until = Clock::now() + timeout;
        while (app.h_GetJpegImageThread.Running()) {
            if (Clock::now() > until)
                return false;
            std::this_thread::sleep_for(1ms);
        }
        app.h_GetJpegImageThread.Join();
        return true;
    }
    // Once the stream has reached its injected stall or close, takes the frames
    // still to come: as many as the device sent, `taken` of them already taken.
    void TakeTheRestBeforeTheEnd(std::size_t taken) {
        ASSERT_TRUE(stream.WaitForEnd(10000ms));
        for (; taken < stream.FramesSent(); ++taken)
            ASSERT_TRUE(TakeFrame(10000ms)) << "frame " << taken + 1 << " of " << stream.FramesSent();
    }
    void ExpectEndWithCode1(std::int32_t lastStreamError) {
        EXPECT_EQ(TakeMailboxCode(10000ms), session::Get_Image_TimeOut_Message);
        EXPECT_TRUE(ThreadEnds(10000ms));
        EXPECT_EQ(app.LastStreamError.load(), lastStreamError);
    }

    devicesim::DeviceSimulator device;
    devicesim::VideoStream stream{device};
    AppData app;
    platform::Timing timing;
    std::vector<std::vector<std::uint8_t>> pictures;
};

class StreamLayouts : public StreamReceiveThreadTest, public testing::WithParamInterface<HeaderLayout> {};

}  // namespace

TEST(StreamRequest, CarriesTheCookieAndTheFixedHeaderLines) {
    const std::string fixedLines =
        " HTTP/1.1\r\n"
        "Accept: */* \r\n"
        "Accept-Language: zh-tw\r\n"
        "Accept-Encoding: gzip, deflate\r\n"
        "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)\r\n"
        "Host: 192.0.2.7\r\n"
        "Connection: Keep-Alive\r\n"
        "\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"5A17C0DE", "GET /Getvideo.cgi?Cookie=5A17C0DE" + fixedLines},
        {"5A17 C0DE", "GET /Getvideo.cgi?Cookie=5A17%20C0DE" + fixedLines},
        {"", "GET /Getvideo.cgi?Cookie=" + fixedLines},
        {"5A17\r\nX-Injected: 1", ""},  // refused: nothing is sent
    };
    for (const auto& [cookie, request] : cases)
        EXPECT_EQ(session::BuildStreamRequest(cookie, "192.0.2.7"), request) << cookie;
}

// The cookie goes out escaped, and Host names the local end of the route to
// the device, as in every command, whatever address start-up found.
TEST_F(StreamReceiveThreadTest, TheRequestIsBuiltAsTheCommandsAre) {
    const std::string cookie = "5A17 C0DE";
    app.SessionCookie = cookie;
    app.LocalHostAddress = "192.0.2.7";
    device.Update([&](devicesim::DeviceState& s) { s.sessions[cookie].newHeader = true; });
    StartStream();
    ASSERT_TRUE(TakeFrame());
    const auto requests = device.RequestsFor("/Getvideo.cgi");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].raw, session::BuildStreamRequest(cookie, "127.0.0.1"));
}

// A cookie that would break the request line never reaches the device; the
// stream ends as after a failed send, so a re-login fetches a new cookie.
TEST_F(StreamReceiveThreadTest, ACookieWithALineBreakIsNeverSent) {
    app.SessionCookie = "5A17\r\nX-Injected: 1";
    StartStream();
    ExpectEndWithCode1(0);
    EXPECT_TRUE(device.RequestsFor("/Getvideo.cgi").empty());
}

TEST_P(StreamLayouts, FramesArriveInOrderAndAResetEndsTheStreamQuietly) {
    Layout(GetParam());
    stream.SetSegmentSize(97);  // every frame split over several segments
    StartStream();
    platform::JpegCodec codec;
    std::vector<std::uint8_t> decoded(platform::BgrPictureBytes(64, 48));
    for (std::uint32_t n = 1; n <= 12; ++n) {
        auto frame = TakeFrame();
        ASSERT_TRUE(frame) << "frame " << n;
        EXPECT_EQ(frame->info.dwFrameTime, 5 * n);
        const auto& sent = devicesim::DevicePicture(pictures[(n - 1) % pictures.size()]);
        EXPECT_EQ(frame->picture, sent);
        ASSERT_TRUE(session::IsJpegFrameStart(frame->picture));
        platform::JpegInfo info;
        EXPECT_EQ(codec.Decode(frame->picture, decoded, info), platform::JpegStatus::Ok);
    }
    EXPECT_EQ(device.RequestsFor("/Getvideo.cgi").at(0).raw, session::BuildStreamRequest(kCookie, "127.0.0.1"));
    EXPECT_EQ(app.dw_GetImageThreadRunning.load(), 1u);
    EXPECT_EQ(app.dw_StreamReceiving.load(), 1u);
    EXPECT_EQ(app.dw_VideoConnected.load(), 1u);
    EXPECT_GT(app.dw_ReceivedBytes.load(), 0u);
    EXPECT_TRUE(app.h_StartToShowImageEvent.IsSet());

    app.LastStreamError = 4100;
    app.h_NotifyGetJPEGImageThreadResetEvent.Set();
    EXPECT_TRUE(app.h_FeedBackForNotifyResetEvent.Wait(10000ms));
    EXPECT_TRUE(ThreadEnds(10000ms));
    EXPECT_EQ(app.dw_GetImageThreadRunning.load(), 0u);
    EXPECT_EQ(app.dw_StreamReceiving.load(), 0u);
    EXPECT_EQ(app.dw_VideoConnected.load(), 1u) << "cleared only by the tear-down";
    EXPECT_EQ(app.LastStreamError.load(), 4100);
    EXPECT_FALSE(TakeMailboxCode(100ms));
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, StreamLayouts, testing::Values(HeaderLayout::New, HeaderLayout::Old),
                         [](const auto& info) { return info.param == HeaderLayout::New ? "New" : "Old"; });

TEST_F(StreamReceiveThreadTest, DamagedStretchesAreDroppedAndTheStreamGoesOn) {
    Layout(HeaderLayout::Old);  // the only layout whose length can outgrow a slot
    stream.InjectFault(StreamFault::Oversize(150000));
    stream.InjectFault(StreamFault::Garbage({0x00, 0x00, 0x00, 0x00, 0x01, 0xFF, 0xD9}));
    stream.SetSegmentSize(500);
    StartStream();
    std::uint32_t last = 0;
    for (int i = 0; i < 10; ++i) {
        auto frame = TakeFrame();
        ASSERT_TRUE(frame);
        EXPECT_GT(frame->info.dwFrameTime, last) << "in order";
        last = frame->info.dwFrameTime;
        EXPECT_TRUE(frame->picture == devicesim::DevicePicture(pictures[0]) ||
                    frame->picture == devicesim::DevicePicture(pictures[1]));
    }
}

TEST_F(StreamReceiveThreadTest, BadVersionLosesTheFrameUpToItsPictureEnd) {
    stream.InjectFault(StreamFault::BadVersion());
    StartStream();
    auto frame = TakeFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->info.dwFrameTime, 2u * 5) << "frame 1 was the bad one";
}

TEST_F(StreamReceiveThreadTest, RefusedConnectGives4098AndCode1) {
    device.SetRefusing(true);
    StartStream();
    ExpectEndWithCode1(session::STREAM_ERR_CONNECT);
    EXPECT_EQ(app.dw_GetImageThreadRunning.load(), 0u);
}

TEST_F(StreamReceiveThreadTest, StopDuringTheSlotWaitGives4099AndCode1AtOnce) {
    timing.streamSlotWait = 10000ms;
    StartStream();
    ASSERT_TRUE(stream.WaitForFrames(3, 10000ms));  // one slot filled and never given back
    const auto start = Clock::now();
    app.h_EndofGetJpegImageEvent.Set();
    ExpectEndWithCode1(session::STREAM_ERR_STOPPED);
    EXPECT_LT(Clock::now() - start, 2000ms) << "far within the slot wait";
    EXPECT_EQ(app.dw_StreamReceiving.load(), 0u);
}

TEST_F(StreamReceiveThreadTest, NoFreeSlotGives4100AndCode1) {
    timing.streamSlotWait = 400ms;
    StartStream();
    ExpectEndWithCode1(session::STREAM_ERR_TIMEOUT);
    EXPECT_EQ(app.h_SocketBufferRelSem.Count(), 1) << "the one filled slot stays published";
}

TEST_F(StreamReceiveThreadTest, StallEndsAfterTheReceiveTimeOutWithCode1AndTheErrorUnchanged) {
    app.LastStreamError = session::STREAM_ERR_CONNECT;
    StartStream();
    ASSERT_TRUE(TakeFrame());
    stream.InjectFault(StreamFault::Stall());
    TakeTheRestBeforeTheEnd(1);
    const auto start = Clock::now();
    ExpectEndWithCode1(session::STREAM_ERR_CONNECT);
    EXPECT_LT(Clock::now() - start, timing.streamReceiveTimeout + 2000ms) << "the test's receive time-out, not the usual 20 s";
    // The re-login that follows a receive failure sets the flags itself.
    EXPECT_EQ(app.dw_GetImageThreadRunning.load(), 1u);
}

// Frames that came in one piece right before the device fell silent are all
// handed on, not held back until more bytes come (they never would).
TEST_F(StreamReceiveThreadTest, FramesThatCameTogetherBeforeASilenceAreAllHandedOn) {
    app.LastStreamError = session::STREAM_ERR_CONNECT;
    StartStream();
    ASSERT_TRUE(TakeFrame());
    // Small enough for the three to come in with one receive.
    devicesim::Bytes last(100, 0x55);
    const std::uint8_t start[] = {0xFF, 0xD8, 0xFF, 0xDB}, end[] = {0xFF, 0xD9};
    std::copy(std::begin(start), std::end(start), last.begin());
    std::copy(std::begin(end), std::end(end), last.end() - 2);
    for (int i = 0; i < 3; ++i)
        stream.InjectFault(StreamFault::Picture(last));
    stream.InjectFault(StreamFault::Stall());
    ASSERT_TRUE(stream.WaitForEnd(10000ms));
    const std::size_t frames = stream.FramesSent() + 3;
    int lastOnes = 0;
    for (std::size_t taken = 1; taken < frames; ++taken) {
        auto frame = TakeFrame(10000ms);
        ASSERT_TRUE(frame) << "frame " << taken + 1 << " of " << frames;
        lastOnes = frame->picture == last ? lastOnes + 1 : 0;
    }
    EXPECT_EQ(lastOnes, 3);
    ExpectEndWithCode1(session::STREAM_ERR_CONNECT);
}

TEST_F(StreamReceiveThreadTest, ClosedConnectionEndsWithCode1) {
    StartStream();
    ASSERT_TRUE(TakeFrame());
    stream.InjectFault(StreamFault::Close());
    TakeTheRestBeforeTheEnd(1);
    ExpectEndWithCode1(0);
}

TEST_F(StreamReceiveThreadTest, ResetInsideABlockedReceiveEndsPromptlyWithoutCode1) {
    timing.streamReceiveTimeout = 20000ms;
    StartStream();
    ASSERT_TRUE(TakeFrame());
    stream.InjectFault(StreamFault::Stall());
    TakeTheRestBeforeTheEnd(1);
    const auto start = Clock::now();
    app.h_NotifyGetJPEGImageThreadResetEvent.Set();
    ASSERT_TRUE(app.h_FeedBackForNotifyResetEvent.Wait(10000ms));
    EXPECT_LT(Clock::now() - start, 2000ms) << "far within the 20 s receive time-out";
    EXPECT_TRUE(ThreadEnds(10000ms));
    EXPECT_FALSE(TakeMailboxCode(100ms));
    EXPECT_EQ(app.LastStreamError.load(), 0);
}

TEST_F(StreamReceiveThreadTest, ResetIsSeenBeforeAStopRequestedWithIt) {
    timing.streamSlotWait = 10000ms;
    StartStream();
    ASSERT_TRUE(stream.WaitForFrames(3, 10000ms));  // waiting for a slot
    // An orderly close asks for both: it must not start a re-login.
    app.h_NotifyGetJPEGImageThreadResetEvent.Set();
    app.h_EndofGetJpegImageEvent.Set();
    EXPECT_TRUE(app.h_FeedBackForNotifyResetEvent.Wait(10000ms));
    EXPECT_TRUE(ThreadEnds(10000ms));
    EXPECT_FALSE(TakeMailboxCode(100ms));
    EXPECT_EQ(app.LastStreamError.load(), 0);
}

TEST_F(StreamReceiveThreadTest, ThreadStopBeforeTheStartEventEndsItQuietly) {
    ASSERT_TRUE(session::StartStreamReceiveThread(app, timing));
    app.h_GetJpegImageThread.Stop();
    EXPECT_FALSE(app.h_GetJpegImageThread.Attached());
    EXPECT_TRUE(device.RequestsFor("/Getvideo.cgi").empty());
    EXPECT_FALSE(TakeMailboxCode(50ms));
}
