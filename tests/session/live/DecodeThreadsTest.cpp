#include "session/live/DecodeThreads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

#include "fakes/RecordingRecorderPort.h"
#include "fakes/RecordingUiPort.h"
#include "fakes/PictureChecks.h"
#include "session/AppData.h"

using session::AppData;
using session::ImageSlotInfo;

namespace {

constexpr platform::Millis kPatience{5000};

struct ShownPicture {
    std::uint16_t width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
};

ImageSlotInfo Info(std::uint32_t streamTime, std::uint8_t viewChannel = 3) {
    ImageSlotInfo info;
    info.dwFrameTime = streamTime;
    info.byViewChannel = viewChannel;
    return info;
}

// The compose and show threads between a stand-in for the receive thread
// (Feed fills a slot as it does) and a stand-in kernel thread that "draws"
// each picture by copying it.
class DecodeThreadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.lp_SocketBuffer.Allocate(AppData::w_SocketBufferCount * session::kSocketSlotSize));
        ASSERT_TRUE(app.lp_ComposeBuffer.Allocate(session::kPictureBufferSize));
        ASSERT_TRUE(app.lp_ImageBuffer.Allocate(session::kPictureBufferSize));
        ASSERT_TRUE(app.FrameHistory.Allocate());
        app.SetUiPort(&ui);
        app.SetRecorders(&alarm, &user, &schedule);
        ASSERT_TRUE(kernel.Start([this](std::stop_token stop) {
            app.KernelMailbox.Serve([this](const session::KernelMessage& m) { return Draw(m); }, stop);
        }));
        ASSERT_TRUE(session::StartComposeThread(app));
        ASSERT_TRUE(session::StartShowThread(app));
        app.h_StartToShowImageEvent.Set();
    }
    void TearDown() override {
        app.h_EndofGetJpegImageEvent.Set();
        app.h_EndofShowImageEvent.Set();
        compose.Stop();
        show.Stop();
        kernel.Stop();
    }

    bool Draw(const session::KernelMessage& m) {
        if (m.dw_KernelMessageCode != session::Show_Image_Message)
            return true;
        ShownPicture picture;
        picture.width = app.w_ImageWidth.load();
        picture.height = app.w_ImageHeight.load();
        const std::uint8_t* bits = app.lp_CurrentImage.load();
        picture.pixels.assign(bits, bits + platform::BgrPictureBytes(picture.width, picture.height));
        {
            std::lock_guard lock(mutex_);
            shown_.push_back(std::move(picture));
        }
        changed_.notify_all();
        if (drawPictures.load())
            app.h_FinishShowImageJobEvent.Set();
        return true;
    }

    // What the receive thread does for one frame; length overrides the
    // header's payload length.
    void Feed(const std::vector<std::uint8_t>& payload, ImageSlotInfo info, std::size_t length = 0) {
        ASSERT_TRUE(app.h_SocketBufferFreeSem.Wait(kPatience));
        const std::uint16_t slot = app.w_SocketBufferWriteIndex.load();
        std::memcpy(app.lp_SocketBuffer.data() + slot * session::kSocketSlotSize, payload.data(),
                    std::min(payload.size(), session::kSocketSlotSize));
        info.dwLength = static_cast<std::uint32_t>(length ? length : payload.size());
        app.lp_SlotInfo[slot] = info;
        app.w_SocketBufferWriteIndex.store(static_cast<std::uint16_t>((slot + 1) % AppData::w_SocketBufferCount));
        ASSERT_TRUE(app.h_SocketBufferRelSem.Release());
    }

    std::vector<ShownPicture> WaitShown(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, kPatience, [&] { return shown_.size() >= count; });
        return shown_;
    }
    // Waits until the compose thread has consumed every fed slot.
    void WaitComposed() {
        ASSERT_TRUE(app.h_SocketBufferFreeSem.Wait(kPatience));
        ASSERT_TRUE(app.h_SocketBufferFreeSem.Release());
    }
    std::vector<std::uint8_t> HistoryFrame(std::size_t index) {
        const auto bytes = app.FrameHistory.Frame(index);
        return {bytes.begin(), bytes.end()};
    }

    AppData app;
    fakes::RecordingUiPort ui;
    fakes::RecordingRecorderPort alarm, user, schedule;
    std::atomic<bool> drawPictures{true};
    platform::WorkerThread kernel;
    platform::WorkerThread& compose = app.h_ComposeImageDataThread;
    platform::WorkerThread& show = app.h_ShowImageDataThread;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<ShownPicture> shown_;
};

TEST_F(DecodeThreadsTest, GoodFramesAreShownAndStoredForTheRecorders) {
    struct Frame {
        int width, height;
        std::uint32_t streamTime;
    } frames[] = {{176, 144, 500}, {352, 288, 505}, {720, 576, 510}};
    std::vector<std::vector<std::uint8_t>> jpegs;
    for (const auto& f : frames) {
        jpegs.push_back(testpictures::QuadrantJpeg(f.width, f.height));
        Feed(jpegs.back(), Info(f.streamTime));
    }
    const auto shown = WaitShown(3);
    ASSERT_EQ(shown.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shown[i].width, frames[i].width);
        EXPECT_EQ(shown[i].height, frames[i].height);
        testpictures::ExpectQuadrants(shown[i].pixels.data(), frames[i].width, frames[i].height);

        const auto& entry = app.FrameHistory.Entry(i);
        EXPECT_EQ(HistoryFrame(i), jpegs[i]);
        EXPECT_EQ(entry.dwMarker, 0x01234567u);
        EXPECT_EQ(entry.wWidth, frames[i].width);
        EXPECT_EQ(entry.wHeight, frames[i].height);
        EXPECT_EQ(entry.dwStreamTime, frames[i].streamTime);
        EXPECT_EQ(entry.byChannel, app.CSettingINI.m_bySelectedChannel.load());
        EXPECT_EQ(entry.dwVideoLoss, 0u);
        EXPECT_NE(entry.stStoreTime.wYear, 0);
        EXPECT_TRUE(ui.Contains("framesize:" + std::to_string(frames[i].width) + "x" +
                                std::to_string(frames[i].height)));
    }
    EXPECT_EQ(app.dw_FramesShown.load(), 3u);
    EXPECT_EQ(app.dw_VideoLoss.load(), 0u);
    EXPECT_TRUE(ui.Contains("syncchannel:3"));
    EXPECT_EQ(alarm.Calls(), (std::vector<std::string>{"framestored:0", "framestored:1", "framestored:2"}));
}

TEST_F(DecodeThreadsTest, BadFramesAreDroppedAndTheStreamGoesOn) {
    const auto good = testpictures::QuadrantJpeg(160, 120);
    // The header reads, the data does not decode.
    const auto other = testpictures::Damaged(testpictures::QuadrantJpeg(200, 100),
                                             testpictures::Damage::UndefinedQuantTable);
    const std::vector<std::uint8_t> garbage(3000, 0x5A);
    const auto huge = testpictures::QuadrantJpeg(1100, 1000);  // 3.3 MB decoded: beyond the picture buffer
    ASSERT_LE(huge.size(), session::kSocketSlotSize);
    struct Bad {
        const char* name;
        std::vector<std::uint8_t> payload;
        std::size_t length;
    } bad[] = {
        {"undecodable data", other, 0},
        {"not a JPEG", garbage, 0},
        {"picture too large", huge, 0},
        {"length beyond the slot", good, session::kSocketSlotSize + 1},
    };
    std::uint32_t time = 0;
    for (const auto& b : bad) {
        Feed(b.payload, Info(++time), b.length);
        Feed(good, Info(++time));
    }
    const auto shown = WaitShown(4);
    WaitComposed();
    ASSERT_EQ(WaitShown(0).size(), 4u);  // one per good frame, none for the bad
    for (const auto& s : shown)
        EXPECT_EQ(s.width, 160);
    // Only the good frames reached the history: stream times 2, 4, 6, 8.
    EXPECT_EQ(app.FrameHistory.WriteIndex(), 4);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(app.FrameHistory.Entry(i).dwStreamTime, 2 * (i + 1));
        EXPECT_EQ(HistoryFrame(i), good);
    }
    // A frame whose header reads still tells the size control its size.
    EXPECT_TRUE(ui.Contains("framesize:200x100"));
    EXPECT_TRUE(ui.Contains("framesize:1100x1000"));
    // Nothing of a dropped frame keeps the picture buffer.
    ASSERT_TRUE(app.h_JPEGImageBufferFreeSem.Wait(kPatience));
    EXPECT_TRUE(app.h_JPEGImageBufferFreeSem.Release());
}

TEST_F(DecodeThreadsTest, VideoLossShowsABlackPictureAndStoresItsOwnBytes) {
    struct Case {
        std::uint8_t sizeCode, videoMode;
        std::uint16_t width, height;
    } cases[] = {{0, 0, 640, 228}, {1, 1, 320, 276}, {0, 1, 640, 276}, {2, 0, 320, 228}};
    Feed(testpictures::QuadrantJpeg(352, 288), Info(1));  // leaves its bytes in the compose buffer
    std::size_t expectedShown = 1;
    std::uint8_t fill = 0xA0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.sizeCode) << "/" << int(c.videoMode));
        const auto size = session::VideoLossPictureSize(c.sizeCode, c.videoMode);
        EXPECT_EQ(size.width, c.width);
        EXPECT_EQ(size.height, c.height);

        app.by_VideoMode = c.videoMode;
        auto info = Info(100 + fill);
        info.byVideoLoss = 1;
        info.bySizeCode = c.sizeCode;
        const std::vector<std::uint8_t> own(777, ++fill);
        Feed(own, info);
        const auto shown = WaitShown(++expectedShown);
        ASSERT_EQ(shown.size(), expectedShown);
        const auto& picture = shown.back();
        EXPECT_EQ(picture.width, c.width);
        EXPECT_EQ(picture.height, c.height);
        EXPECT_TRUE(std::all_of(picture.pixels.begin(), picture.pixels.end(), [](auto b) { return b == 0; }));
        EXPECT_EQ(app.dw_VideoLoss.load(), 1u);

        WaitComposed();
        const auto newest = app.FrameHistory.NewestIndex();
        EXPECT_EQ(HistoryFrame(newest), own);
        EXPECT_EQ(app.FrameHistory.Entry(newest).dwVideoLoss, 1u);
        EXPECT_EQ(app.FrameHistory.Entry(newest).wWidth, c.width);
    }
    Feed(testpictures::QuadrantJpeg(176, 144), Info(2));
    ASSERT_EQ(WaitShown(expectedShown + 1).back().width, 176);
    EXPECT_EQ(app.dw_VideoLoss.load(), 0u);
}

TEST_F(DecodeThreadsTest, ComposeStopsWhileARecorderHoldsTheHistory) {
    alarm.writing = true;  // its record thread never writes the frame
    const auto jpeg = testpictures::QuadrantJpeg(64, 64);
    Feed(jpeg, Info(1));
    Feed(jpeg, Info(2));  // composed up to the history wait
    ASSERT_EQ(WaitShown(1).size(), 1u);
    ASSERT_TRUE(alarm.frameReadySem.Wait(kPatience));
    platform::SleepFor(platform::Millis(20));
    EXPECT_EQ(app.FrameHistory.WriteIndex(), 1);  // the second frame waits for the recorder
    compose.Stop();                               // returns: the wait watches the stop request
    EXPECT_FALSE(compose.Attached());
    EXPECT_EQ(app.FrameHistory.WriteIndex(), 1);
    EXPECT_EQ(user.historySem.Count(), 1);  // nothing left taken
}

TEST_F(DecodeThreadsTest, StopEventEndsTheShowThreadWithThePictureBufferStillTaken) {
    drawPictures = false;  // the picture is never drawn
    Feed(testpictures::QuadrantJpeg(64, 64), Info(1));
    ASSERT_EQ(WaitShown(1).size(), 1u);
    app.h_EndofShowImageEvent.Set();
    show.Join();  // ends on its stop event alone
    EXPECT_EQ(app.h_JPEGImageBufferFreeSem.Count(), 0);

    app.h_EndofGetJpegImageEvent.Set();
    compose.Join();
}

}  // namespace
