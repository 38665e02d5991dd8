// The receive, compose and show threads together against the device simulator.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "fakes/PictureChecks.h"
#include "fakes/RecordingRecorderPort.h"
#include "fakes/RecordingUiPort.h"
#include "session/AppData.h"
#include "session/live/ChannelButtonBar.h"
#include "session/live/DecodeThreads.h"
#include "session/live/StreamReceiveThread.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/VideoStream.h"
#include "support/DeviceSession.h"

using namespace std::chrono_literals;
using session::AppData;

namespace {

constexpr const char* kCookie = "DEC0DE01";

class LiveVideoTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        device.Update([](devicesim::DeviceState& s) { s.sessions[kCookie].newHeader = true; });
        app.dw_NewHeaderFormat = 1;
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device.Port();
        app.SessionCookie = kCookie;
        app.LocalHostAddress = "127.0.0.1";
        ASSERT_TRUE(app.lp_SocketBuffer.Allocate(AppData::w_SocketBufferCount * session::kSocketSlotSize));
        ASSERT_TRUE(app.lp_ComposeBuffer.Allocate(session::kPictureBufferSize));
        ASSERT_TRUE(app.lp_ImageBuffer.Allocate(session::kPictureBufferSize));
        ASSERT_TRUE(app.FrameHistory.Allocate());
        app.SetRecorders(&alarm, &user, &schedule);
        ASSERT_TRUE(kernel.Start([this](std::stop_token stop) {
            app.KernelMailbox.Serve([this](const session::KernelMessage& m) { return Draw(m); }, stop);
        }));
    }
    void TearDown() override {
        app.SetUiPort(nullptr);
        app.h_EndofGetJpegImageEvent.Set();
        app.h_EndofShowImageEvent.Set();
        app.h_GetJpegImageThread.Stop();
        app.h_ComposeImageDataThread.Stop();
        app.h_ShowImageDataThread.Stop();
        kernel.Stop();
    }
    void StartPipeline() {
        ASSERT_TRUE(session::StartShowThread(app));
        ASSERT_TRUE(session::StartComposeThread(app));
        ASSERT_TRUE(session::StartStreamReceiveThread(app, timing));
        app.h_StartToGetJpegImageEvent.Set();
    }
    bool Draw(const session::KernelMessage& m) {
        if (m.dw_KernelMessageCode == session::Show_Image_Message) {
            const std::uint16_t width = app.w_ImageWidth.load(), height = app.w_ImageHeight.load();
            const std::uint8_t* bits = app.lp_CurrentImage.load();
            std::vector<std::uint8_t> pixels(bits, bits + platform::BgrPictureBytes(width, height));
            testpictures::ExpectQuadrants(pixels.data(), width, height);
            {
                std::lock_guard lock(mutex_);
                widths_.push_back(width);
            }
            changed_.notify_all();
            app.h_FinishShowImageJobEvent.Set();
        }
        return true;
    }
    std::vector<std::uint16_t> WaitShown(std::size_t count, platform::Millis timeout = 5000ms) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, timeout, [&] { return widths_.size() >= count; });
        return widths_;
    }

    devicesim::DeviceSimulator device;
    devicesim::VideoStream stream{device};
    AppData app;
    platform::Timing timing;
    fakes::RecordingRecorderPort alarm, user, schedule;
    fakes::RecordingUiPort ui;
    platform::WorkerThread kernel;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::uint16_t> widths_;
};

// A picture whose header the decoder refuses is dropped, and the pictures
// after it are shown; one that only lacks its end marker is shown.
TEST_F(LiveVideoTest, EveryGoodFrameSentIsShownAndACorruptOneIsSkipped) {
    using testpictures::Damage;
    const auto first = testpictures::QuadrantJpeg(176, 144);
    const auto corrupt = testpictures::Damaged(testpictures::QuadrantJpeg(320, 240), Damage::BogusHuffmanTable);
    const auto second = testpictures::Damaged(testpictures::QuadrantJpeg(352, 288), Damage::NoEndMarker);
    stream.SetPictures({first, corrupt, second});
    stream.SetFrameRate(100);
    stream.SetSegmentSize(700);
    StartPipeline();

    ASSERT_GE(WaitShown(10).size(), 10u);
    stream.InjectFault(devicesim::StreamFault::Stall());  // the device sends no more frames
    ASSERT_TRUE(stream.WaitForEnd(10000ms));  // the last frame in flight has left the device
    const std::size_t sent = stream.FramesSent();
    // Frames 2, 5, 8, ... carry the corrupt picture.
    const std::size_t corruptSent = (sent + 1) / 3;
    const auto shown = WaitShown(sent - corruptSent);
    EXPECT_EQ(shown.size(), sent - corruptSent);
    for (std::size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(shown[i], i % 2 == 0 ? 176 : 352) << i;
    EXPECT_EQ(app.dw_FramesShown.load(), shown.size());
    // The recorders' history got the good frames only: stream time n of frame n, × 5.
    const auto& newest = app.FrameHistory.Entry(app.FrameHistory.NewestIndex());
    EXPECT_NE((newest.dwStreamTime / 5) % 3, 2u);
    platform::SleepFor(100ms);
    EXPECT_EQ(WaitShown(0, 0ms).size(), shown.size());  // nothing more, nothing lost
}

// Waits until the window's port has been told `call` (the compose thread's calls).
bool WaitForCall(const fakes::RecordingUiPort& ui, const std::string& call) {
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (!ui.Contains(call)) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        platform::SleepFor(5ms);
    }
    return true;
}

// Every size the picture-format rules know (DVR, video server and G66M, NTSC
// and PAL heights, full, reduced and quarter) comes through the stream and
// is reported as it is. The device cycles through them all, so a client that
// falls behind the device's rate still meets each within the first round.
TEST_F(LiveVideoTest, EachPictureSizeOfTheFormatRulesReachesTheWindowsPort) {
    app.SetUiPort(&ui);
    const std::pair<int, int> sizes[] = {{640, 228}, {640, 276}, {320, 228}, {320, 276}, {704, 240}, {704, 288},
                                         {704, 480}, {352, 240}, {352, 288}, {640, 480}, {320, 240}, {160, 120}};
    std::vector<devicesim::Bytes> pictures;
    for (const auto& [width, height] : sizes)
        pictures.push_back(testpictures::QuadrantJpeg(width, height));
    stream.SetPictures(pictures);
    stream.SetFrameRate(100);
    StartPipeline();
    for (const auto& [width, height] : sizes)
        EXPECT_TRUE(WaitForCall(ui, "framesize:" + std::to_string(width) + "x" + std::to_string(height)))
            << width << "x" << height;
}

// The stream shows the channel /SetChannel.cgi asked for a few frames later;
// the bar counts the view channel of its pictures one up, the multi-channel
// view as 0.
TEST_F(LiveVideoTest, TheStreamFollowsTheChannelRequest) {
    app.SetUiPort(&ui);
    app.str_ProductID = "R41T";
    app.by_MultiChannel = 1;
    app.CSettingINI.m_bySelectedChannel = 0;
    app.ChannelButtonBar.Create();
    stream.SetFrameRate(100);
    StartPipeline();
    ASSERT_TRUE(WaitForCall(ui, "syncchannel:0"));
    ASSERT_EQ(app.ChannelButtonBar.SwitchChannel(5, timing), 1);
    ASSERT_TRUE(WaitForCall(ui, "syncchannel:4"));
    EXPECT_TRUE(app.ChannelButtonBar.SyncCurrentChannel(mainwindow::BarChannelOfView(4)));
    EXPECT_EQ(app.ChannelButtonBar.CurrentChannel(), 5);
    ASSERT_EQ(app.ChannelButtonBar.SwitchChannel(0, timing), 1);
    ASSERT_TRUE(WaitForCall(ui, "syncchannel:16"));
    EXPECT_TRUE(app.ChannelButtonBar.SyncCurrentChannel(mainwindow::BarChannelOfView(16)));
    EXPECT_EQ(app.ChannelButtonBar.CurrentChannel(), 0);
    EXPECT_EQ(testutil::RequestTargets(device, "/SetChannel.cgi"),
              (std::vector<std::string>{"/SetChannel.cgi?Cookie=DEC0DE01&CH=5", "/SetChannel.cgi?Cookie=DEC0DE01&CH=0"}));
}

}  // namespace
