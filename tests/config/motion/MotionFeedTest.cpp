// The motion-area editor's picture feed: the own picture as it takes the
// frame display's copies, and the grabber thread's hand-shake with a fake
// frame display, including a close while the feed stalls.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "config/motion/MotionImageThread.h"
#include "config/motion/MotionPicture.h"
#include "platform/JpegCodec.h"
#include "session/AppData.h"
#include "session/live/FrameDisplay.h"
#include "fakes/FakeFrameDisplay.h"
#include "support/WaitUntil.h"

namespace config {
namespace {

// Pixel (x, buffer row y) carries x and y in its bytes.
std::vector<std::uint8_t> CodedPicture(int width, int height) {
    std::vector<std::uint8_t> picture(platform::BgrPictureBytes(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &picture[platform::BgrPictureBytes(width, y) + 3u * x];
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(x >> 8);
            p[2] = static_cast<std::uint8_t>(y);
        }
    return picture;
}

TEST(MotionPicture, HalvesTheDoubled640PictureAndKeepsOthers) {
    MotionPicture picture;
    MotionFrame frame;
    EXPECT_FALSE(picture.CopyTo(frame));
    EXPECT_FALSE(picture.Ready());

    const auto doubled = CodedPicture(640, 456);
    ASSERT_TRUE(picture.Take(doubled, 640, 456));
    ASSERT_TRUE(picture.CopyTo(frame));
    EXPECT_EQ(frame.width, 320);
    EXPECT_EQ(frame.height, 228);
    for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {319, 227}, {160, 100}}) {
        const std::uint8_t* p = &frame.pixels[platform::BgrPictureBytes(320, y) + 3u * x];
        EXPECT_EQ(p[0] | p[1] << 8, 2 * x);
        EXPECT_EQ(p[2], static_cast<std::uint8_t>(2 * y));
    }

    const auto wide = CodedPicture(720, 576);
    ASSERT_TRUE(picture.Take(wide, 720, 576));
    ASSERT_TRUE(picture.CopyTo(frame));
    EXPECT_EQ(frame.width, 720);
    EXPECT_EQ(frame.height, 576);
    EXPECT_EQ(frame.pixels, wide);

    // Refused, the last picture kept: no size, more than the bytes, beyond the bound.
    EXPECT_FALSE(picture.Take(wide, 0, 576));
    EXPECT_FALSE(picture.Take(wide, 720, 577));
    EXPECT_FALSE(picture.Take(wide, 640, 1));
    std::vector<std::uint8_t> huge(session::kMaxDisplayPictureBytes + 3);
    EXPECT_FALSE(picture.Take(huge, 1, static_cast<int>(huge.size() / 3)));
    ASSERT_TRUE(picture.CopyTo(frame));
    EXPECT_EQ(frame.width, 720);
}

TEST(MotionImageThread, FeedsPicturesFromStartFeedUntilStopped) {
    session::AppData app;
    testutil::FakeFrameDisplay display(app, CodedPicture(640, 456), 640, 456);
    MotionPicture picture;
    std::atomic<int> arrived{0};
    MotionImageThread grabber(app, picture, [&] { ++arrived; });
    ASSERT_TRUE(grabber.Start());
    // Idle until "Ustaw": nothing asked of the display.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(display.copies.load(), 0);
    EXPECT_FALSE(picture.Ready());

    grabber.StartFeed();
    ASSERT_TRUE(testutil::WaitUntil([&] { return arrived.load() >= 3; }));
    MotionFrame frame;
    ASSERT_TRUE(picture.CopyTo(frame));
    EXPECT_EQ(frame.width, 320);
    EXPECT_EQ(frame.height, 228);
    grabber.Stop();
    EXPECT_FALSE(grabber.Running());
    EXPECT_EQ(app.dw_FrameCopyRequest.load(), 0u);
}

TEST(MotionImageThread, StopEndsAStalledFeedAndALeftoverCopyIsNotTaken) {
    session::AppData app;
    testutil::FakeFrameDisplay display(app, CodedPicture(640, 456), 640, 456);
    display.serving = false;
    // A copy left over from an earlier editor.
    app.w_FrameCopyWidth = 640;
    app.w_FrameCopyHeight = 456;
    ASSERT_TRUE(app.h_FrameCopyDoneSem.Release());

    MotionPicture picture;
    MotionImageThread grabber(app, picture, {});
    ASSERT_TRUE(grabber.Start());
    grabber.StartFeed();
    ASSERT_TRUE(testutil::WaitUntil([&] { return app.dw_FrameCopyRequest.load() == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(picture.Ready());
    grabber.Stop();
    EXPECT_FALSE(grabber.Running());
    EXPECT_EQ(app.dw_FrameCopyRequest.load(), 0u);
}

TEST(MotionImageThread, StopBeforeTheFeedStarted) {
    session::AppData app;
    MotionPicture picture;
    MotionImageThread grabber(app, picture, {});
    ASSERT_TRUE(grabber.Start());
    grabber.Stop();
    EXPECT_FALSE(grabber.Running());
    EXPECT_EQ(app.dw_FrameCopyRequest.load(), 0u);
}

}  // namespace
}  // namespace config
