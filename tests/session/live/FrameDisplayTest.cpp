#include "session/live/FrameDisplay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "fakes/PictureChecks.h"
#include "fakes/RecordingUiPort.h"
#include "platform/AtomicFile.h"
#include "session/AppData.h"
#include "support/TempFolder.h"

using session::AppData;
using session::DisplayPicture;
using session::FrameDisplay;
using session::FrameOverlay;

namespace {

// A pixel of a bottom-up picture, counted from the top.
const std::uint8_t* PixelAt(const std::uint8_t* pixels, int stride, int height, int x, int rowFromTop) {
    return pixels + static_cast<std::size_t>(height - 1 - rowFromTop) * stride + x * 3;
}

bool IsRed(const std::uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 255; }

// A picture for the window back in the 24-bit bottom-up layout, for the
// checks above; the fourth byte of every pixel must be 255.
std::vector<std::uint8_t> AsBgrBottomUp(const DisplayPicture& picture) {
    std::vector<std::uint8_t> bgr(platform::BgrPictureBytes(picture.width, picture.height));
    bool opaque = true;
    for (int row = 0; row < picture.height; ++row)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* from = picture.pixels.data() + static_cast<std::size_t>(row) * picture.stride + x * 4;
            std::memcpy(&bgr[(static_cast<std::size_t>(picture.height - 1 - row) * picture.width + x) * 3], from, 3);
            opaque = opaque && from[3] == 255;
        }
    EXPECT_TRUE(opaque);
    return bgr;
}

// A display over a picture in the application data's picture buffer, with
// the buffers start-up allocates and a clock the test moves.
class FrameDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetUiPort(&ui);
        ASSERT_TRUE(app.lp_ImageBuffer.Allocate(session::kPictureBufferSize));
        ASSERT_TRUE(app.lp_ResizeBuffer.Allocate(session::kPictureBufferSize));
        ASSERT_TRUE(app.lp_FrameCopyBuffer.Allocate(session::kPictureBufferSize));
        app.dw_VideoConnected.store(1);
        app.str_ProductID.Set("R47T");
    }

    void ShowPicture(int width, int height) {
        const auto pixels = testpictures::QuadrantPicture(width, height);
        ASSERT_LE(pixels.size(), app.lp_ImageBuffer.size());
        std::memcpy(app.lp_ImageBuffer.data(), pixels.data(), pixels.size());
        app.lp_CurrentImage.store(app.lp_ImageBuffer.data());
        app.w_ImageWidth.store(static_cast<std::uint16_t>(width));
        app.w_ImageHeight.store(static_cast<std::uint16_t>(height));
    }

    // Draws one picture; true when the finish event was set.
    bool Draw(const FrameOverlay& overlay = {}) {
        EXPECT_EQ(display.DisplayFrame(overlay), 1);
        return app.h_FinishShowImageJobEvent.Wait(platform::Millis(0));
    }

    DisplayPicture Taken() {
        DisplayPicture picture;
        EXPECT_TRUE(display.TakePicture(picture));
        return picture;
    }

    fakes::RecordingUiPort ui;
    AppData app;
    std::uint32_t now = 100000;
    FrameDisplay display{app, nullptr, [this] { return now; }};
};

struct DoublingCase {
    const char* name;
    const char* product;
    int width, height;
    int shownHeight;
};

class FieldDoublingTest : public FrameDisplayTest, public ::testing::WithParamInterface<DoublingCase> {};

TEST_P(FieldDoublingTest, ShowsFieldPicturesAtTwiceTheirHeight) {
    const auto& c = GetParam();
    app.str_ProductID.Set(c.product);
    ShowPicture(c.width, c.height);
    ASSERT_TRUE(Draw());
    const auto picture = Taken();
    EXPECT_EQ(picture.width, c.width);
    EXPECT_EQ(picture.height, c.shownHeight);
    EXPECT_EQ(picture.stride, c.width * 4);
    EXPECT_FALSE(picture.fullScreen);
    ASSERT_GE(picture.pixels.size(), std::size_t{4} * c.width * c.shownHeight);
    testpictures::ExpectQuadrants(AsBgrBottomUp(picture).data(), picture.width, picture.height, 0);
    EXPECT_TRUE(ui.Contains("frame"));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, FieldDoublingTest,
    ::testing::Values(DoublingCase{"VideoLoss640x228", "R47T", 640, 228, 456},
                      DoublingCase{"Narrow320", "R41T", 320, 240, 240},
                      DoublingCase{"G66M640x480", "G66M", 640, 480, 480},
                      // Doubled, these need more than the 1,572,864 bytes of a
                      // picture buffer: the resize buffer grows to them.
                      DoublingCase{"Ntsc704x480", "R41T", 704, 480, 960},
                      DoublingCase{"Pal720x576", "R42T", 720, 576, 1152}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrameDisplayTest, DrawsNothingWhileTheVideoIsNotConnected) {
    app.dw_VideoConnected.store(0);
    ShowPicture(320, 240);
    EXPECT_EQ(display.DisplayFrame({}), 0);
    EXPECT_FALSE(app.h_FinishShowImageJobEvent.IsSet());
    DisplayPicture picture;
    EXPECT_FALSE(display.TakePicture(picture));
    EXPECT_TRUE(ui.Calls().empty());
}

TEST_F(FrameDisplayTest, APictureBeyondThePictureBufferIsRefusedButTheStreamGoesOn) {
    ShowPicture(320, 240);
    app.w_ImageWidth.store(1024);
    app.w_ImageHeight.store(768);  // 2,359,296 bytes: no picture buffer held that
    EXPECT_TRUE(Draw());
    DisplayPicture picture;
    EXPECT_FALSE(display.TakePicture(picture));
}

TEST_F(FrameDisplayTest, ABusyWindowGetsOnlyTheNewestPicture) {
    ShowPicture(320, 240);
    ASSERT_TRUE(Draw());
    ShowPicture(352, 240);
    ASSERT_TRUE(Draw());
    const auto picture = Taken();
    EXPECT_EQ(picture.width, 352);
    EXPECT_EQ(picture.sequence, 2u);
    DisplayPicture again;
    EXPECT_FALSE(display.TakePicture(again));
}

TEST_F(FrameDisplayTest, PicturesAreDrawnAtTheVideoAreaOrigin) {
    display.SetVideoOrigin(12, 34);
    ShowPicture(320, 240);
    ASSERT_TRUE(Draw());
    const auto picture = Taken();
    EXPECT_EQ(picture.x, 12);
    EXPECT_EQ(picture.y, 34);
}

// The resize calls a display made, with their arguments.
struct ResizeCall {
    const std::uint8_t* source;
    std::uint8_t* destination;
    std::string arguments;
};
std::vector<ResizeCall> g_resizeCalls;

resize::ResizeStatus RecordingResize(const std::uint8_t* source, resize::ResizeSize sourceSize,
                                     std::int32_t sourceStep, resize::ResizeRect region,
                                     std::uint8_t* destination, std::int32_t destinationStep,
                                     resize::ResizeSize destinationSize, double scaleX, double scaleY,
                                     std::int32_t interpolation) {
    char text[160];
    std::snprintf(text, sizeof text, "%dx%d/%d (%d,%d,%dx%d) -> %dx%d/%d x%.6f y%.6f i%d", sourceSize.width,
                  sourceSize.height, sourceStep, region.x, region.y, region.width, region.height,
                  destinationSize.width, destinationSize.height, destinationStep, scaleX, scaleY, interpolation);
    g_resizeCalls.push_back({source, destination, text});
    return resize::ImageResize_8u_C3R(source, sourceSize, sourceStep, region, destination, destinationStep,
                                      destinationSize, scaleX, scaleY, interpolation);
}

struct ResizeArgumentsCase {
    const char* name;
    const char* product;
    int width, height;
    bool fullScreen;
    std::vector<std::string> calls;
};

TEST_F(FrameDisplayTest, ResizeArgumentsOfTheDoublingAndTheFullScreenScaling) {
    const ResizeArgumentsCase cases[] = {
        {"field picture doubled with linear", "R47T", 640, 228, false,
         {"640x228/1920 (0,0,640x228) -> 640x456/1920 x1.000000 y2.000000 i2"}},
        {"doubled, then scaled to the screen with nearest", "R42T", 720, 288, true,
         {"720x288/2160 (0,0,720x288) -> 720x576/2160 x1.000000 y2.000000 i2",
          "720x576/2160 (0,0,720x576) -> 1366x768/4100 x1.897222 y1.333333 i1"}},
        {"G66M: only scaled to the screen", "G66M", 640, 480, true,
         {"640x480/1920 (0,0,640x480) -> 1366x768/4100 x2.134375 y1.600000 i1"}},
        {"narrow picture: neither", "R41T", 320, 240, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_resizeCalls.clear();
        app.str_ProductID.Set(c.product);
        FrameDisplay recorded{app, &RecordingResize, [this] { return now; }};
        ASSERT_TRUE(recorded.SetFullScreenRect({0, 0, 1366, 768}));
        if (c.fullScreen)
            recorded.EnterFullScreen();
        ShowPicture(c.width, c.height);
        ASSERT_EQ(recorded.DisplayFrame({}), 1);

        std::vector<std::string> calls;
        for (const auto& call : g_resizeCalls)
            calls.push_back(call.arguments);
        EXPECT_EQ(calls, c.calls);
        if (c.calls.size() == 2) {
            // The doubled picture goes through the resize buffer.
            EXPECT_EQ(g_resizeCalls[0].source, app.lp_ImageBuffer.data());
            EXPECT_EQ(g_resizeCalls[0].destination, app.lp_ResizeBuffer.data());
            EXPECT_EQ(g_resizeCalls[1].source, app.lp_ResizeBuffer.data());
        }
    }
}

// The codes this machine runs: each must give the same bytes.
std::vector<session::PixelCode> MachinePixelCodes() {
    std::vector<session::PixelCode> codes;
    for (const auto code : {session::PixelCode::Scalar, session::PixelCode::Ssse3, session::PixelCode::Avx2})
        if (session::MachineRuns(code))
            codes.push_back(code);
    return codes;
}

// Every width, so that both the sixteen-pixel steps and the pixels left over are met.
TEST(ToDisplayPixelsTest, EachPixelBecomesOpaqueRgb32AndTheRowsTurnTopDown) {
    for (const auto code : MachinePixelCodes()) {
        for (int width = 1; width <= 37; ++width) {
            SCOPED_TRACE(testing::Message() << "code " << static_cast<int>(code) << " width " << width);
            const int height = 3;
            const std::size_t sourceStride = static_cast<std::size_t>(width) * 3 + 5;  // rows need not be packed
            std::vector<std::uint8_t> source(sourceStride * height);
            for (std::size_t i = 0; i < source.size(); ++i)
                source[i] = static_cast<std::uint8_t>(i * 37 + width);
            const std::size_t stride = static_cast<std::size_t>(width) * 4 + 8;
            std::vector<std::uint8_t> shown(stride * height, 0x11);
            session::ToDisplayPixels(code, source.data(), sourceStride, width, height, shown.data(), stride);
            for (int row = 0; row < height; ++row)
                for (int x = 0; x < width; ++x) {
                    const std::uint8_t* p = &source[(height - 1 - row) * sourceStride + x * 3];
                    std::uint32_t word;
                    std::memcpy(&word, &shown[row * stride + x * 4], 4);
                    ASSERT_EQ(word, 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0]) << x << "," << row;
                }
            EXPECT_EQ(shown[static_cast<std::size_t>(width) * 4], 0x11) << "nothing written past the row";
        }
    }
}

// The resize entry's picture of newHeight rows (linear, columns as they are)
// of a bottom-up 24-bit picture, through the given build, put into the
// window's layout; twice the height unless told otherwise.
std::vector<std::uint8_t> EntryDoubledForTheWindow(resize::ResizeRoutine build, const std::vector<std::uint8_t>& source,
                                                   int width, int height, int newHeight = 0) {
    if (newHeight == 0)
        newHeight = 2 * height;
    std::vector<std::uint8_t> doubled(platform::BgrPictureBytes(width, newHeight));
    EXPECT_EQ(build(source.data(), {width, height}, width * 3, {0, 0, width, height}, doubled.data(), width * 3,
                    {width, newHeight}, 1.0, static_cast<double>(newHeight) / height, resize::InterpLinear),
              resize::StatusOk);
    std::vector<std::uint8_t> shown(std::size_t{4} * width * newHeight);
    session::ToDisplayPixels(session::PixelCode::Scalar, doubled.data(), static_cast<std::size_t>(width) * 3, width,
                             newHeight, shown.data(), static_cast<std::size_t>(width) * 4);
    return shown;
}

// Pictures whose neighbouring rows differ by every amount, both ways: noise,
// rows alternating 0 and 255, and a ramp.
std::vector<std::uint8_t> DoublingContent(int kind, int width, int height) {
    std::vector<std::uint8_t> pixels(platform::BgrPictureBytes(width, height));
    std::uint32_t seed = 12345u + static_cast<std::uint32_t>(width * 31 + height);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::size_t row = i / (static_cast<std::size_t>(width) * 3);
        seed = seed * 1664525u + 1013904223u;
        pixels[i] = kind == 0   ? static_cast<std::uint8_t>(seed >> 24)
                    : kind == 1 ? static_cast<std::uint8_t>(row % 2 ? 255 : 0)
                                : static_cast<std::uint8_t>(row * 7 + i % 3 * 50);
    }
    return pixels;
}

TEST(FieldDoublingBytesTest, EqualTheResizeEntrysDoubledPictureInTheWindowsLayout) {
    const struct {
        int width, height;
    } sizes[] = {{704, 288}, {704, 240}, {640, 228}, {720, 288}, {2, 2}, {37, 3}, {21, 101}};
    for (const auto& size : sizes)
        for (int kind = 0; kind < 3; ++kind) {
            SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " content " << kind);
            const auto source = DoublingContent(kind, size.width, size.height);
            session::FieldDoubling doubling;
            ASSERT_TRUE(doubling.Prepare(size.width, size.height));
            std::vector<std::uint8_t> shown(std::size_t{4} * size.width * 2 * size.height);
            doubling.ToDisplayPixels(source.data(), shown.data(), static_cast<std::size_t>(size.width) * 4);
            // Every build of the library the entry can select gives these bytes.
            for (int slot = 0; slot < resize::ResizeDispatchSlots; ++slot) {
                if (resize::ResizeDispatchTable[slot]) {
                    ASSERT_EQ(shown, EntryDoubledForTheWindow(resize::ResizeDispatchTable[slot], source, size.width,
                                                              size.height))
                        << "build slot " << slot;
                }
            }
            ASSERT_EQ(shown, EntryDoubledForTheWindow(&resize::ImageResize_8u_C3R, source, size.width, size.height));
        }
}

// Every code against the entry: a two-row picture whose rows meet every
// (upper, lower) byte pair, spread over sixty-four rows (sixty-two shares),
// a field's doubling, and other scales.
TEST(BlendedToDisplayPixelsTest, EveryCodeGivesTheEntrysRowsForEveryBytePairAndShare) {
    const struct {
        int width, height, newHeight;
    } cases[] = {{21846, 2, 64}, {45, 288, 576}, {37, 5, 13}, {19, 3, 7}, {53, 7, 10}, {16, 4, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " to " << c.newHeight);
        std::vector<std::uint8_t> source = DoublingContent(0, c.width, c.height);
        if (c.height == 2)
            for (std::size_t i = 0; i < 65536; ++i) {
                source[i] = static_cast<std::uint8_t>(i >> 8);
                source[static_cast<std::size_t>(c.width) * 3 + i] = static_cast<std::uint8_t>(i);
            }
        session::BlendedRowTable rows;
        ASSERT_TRUE(rows.Make(c.width, c.height, c.newHeight));
        const auto expected = EntryDoubledForTheWindow(&resize::ImageResize_8u_C3R, source, c.width, c.height,
                                                       c.newHeight);
        for (const auto code : MachinePixelCodes()) {
            std::vector<std::uint8_t> shown(expected.size());
            session::BlendedToDisplayPixels(code, source.data(), c.width, rows, shown.data(),
                                            static_cast<std::size_t>(c.width) * 4);
            ASSERT_EQ(shown, expected) << "code " << static_cast<int>(code);
        }
    }
}

TEST(FieldDoublingBytesTest, PicturesUnderTwoPixelsASideAreLeftToTheEntry) {
    session::FieldDoubling doubling;
    EXPECT_FALSE(doubling.Prepare(704, 1));
    EXPECT_FALSE(doubling.Prepare(1, 288));
    EXPECT_TRUE(doubling.Prepare(704, 288));
}

TEST_F(FrameDisplayTest, TheWindowGetsTheResizeEntrysDoubledPicture) {
    const auto source = DoublingContent(0, 704, 288);
    std::memcpy(app.lp_ImageBuffer.data(), source.data(), source.size());
    app.lp_CurrentImage.store(app.lp_ImageBuffer.data());
    app.w_ImageWidth.store(704);
    app.w_ImageHeight.store(288);
    const auto expected = EntryDoubledForTheWindow(&resize::ImageResize_8u_C3R, source, 704, 288);
    for (int request = 0; request < 3; ++request) {
        SCOPED_TRACE(request);
        // With a picture-copy or snapshot request the doubled picture is made in memory too.
        testutil::TempFolder folder;
        app.CSettingINI.m_strSnapshotPath.Set(folder.path().string() + "/");
        app.dw_FrameCopyRequest.store(request == 1 ? 1 : 0);
        app.dw_SnapshotRequest.store(request == 2 ? 1 : 0);
        ASSERT_TRUE(Draw());
        const auto picture = Taken();
        ASSERT_EQ(picture.height, 576);
        ASSERT_EQ(picture.stride, 704 * 4);
        ASSERT_GE(picture.pixels.size(), expected.size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), picture.pixels.begin()));
        if (request == 1) {
            ASSERT_EQ(app.w_FrameCopyHeight.load(), 576);
            std::vector<std::uint8_t> copy(std::size_t{4} * 704 * 576);
            session::ToDisplayPixels(app.lp_FrameCopyBuffer.data(), 704 * 3, 704, 576, copy.data(), 704 * 4);
            EXPECT_EQ(copy, expected);
        }
    }
}

TEST(PaddedRowBytesTest, RowsOfTheFullScreenPictureAreMultiplesOfFourBytes) {
    EXPECT_EQ(session::PaddedRowBytes(1366), 4100u);
    EXPECT_EQ(session::PaddedRowBytes(1024), 3072u);
    EXPECT_EQ(session::PaddedRowBytes(1280), 3840u);
}

TEST_F(FrameDisplayTest, FullScreenScalesToTheScreenAndSwitchesTheWindowOnce) {
    ASSERT_TRUE(display.SetFullScreenRect({0, 0, 1366, 768}));
    display.EnterFullScreen();
    app.by_MouseMode.store(2);
    app.w_MarkerCountdown.store(4);
    ShowPicture(320, 240);
    ASSERT_TRUE(Draw());
    ASSERT_TRUE(Draw());
    const auto picture = Taken();
    EXPECT_TRUE(picture.fullScreen);
    EXPECT_EQ(picture.width, 1366);
    EXPECT_EQ(picture.height, 768);
    EXPECT_EQ(picture.stride, 1366 * 4);
    ASSERT_GE(picture.pixels.size(), 1366u * 4 * 768);
    // Quadrant colours survive nearest scaling exactly, row padding and all.
    const auto bgr = AsBgrBottomUp(picture);
    EXPECT_EQ(PixelAt(bgr.data(), 1366 * 3, 768, 100, 100)[2], 255);  // top left red
    EXPECT_EQ(PixelAt(bgr.data(), 1366 * 3, 768, 1365, 767)[0], 255);  // bottom right white
    // No marker in full-screen mode, and its countdown keeps.
    EXPECT_EQ(app.w_MarkerCountdown.load(), 4);
    int switches = 0;
    for (const auto& call : ui.Calls())
        switches += call == "fullscreen";
    EXPECT_EQ(switches, 1);
    EXPECT_EQ(display.m_bFullScreenPending.load(), 0u);
}

TEST_F(FrameDisplayTest, AnUnusableFullScreenRectangleIsRefused) {
    EXPECT_FALSE(display.SetFullScreenRect({10, 10, 10, 500}));
    EXPECT_FALSE(display.SetFullScreenRect({0, 0, 100000, 100000}));
}

TEST_F(FrameDisplayTest, TheMarkerShowsOnAsManyPicturesAsItsCountdown) {
    app.by_MouseMode.store(2);
    app.w_MarkerCountdown.store(4);
    app.w_MarkerX.store(240);  // top-right quadrant: green, not red
    app.w_MarkerY.store(60);
    for (int i = 0; i < 5; ++i) {
        ShowPicture(320, 240);  // the marker never touches the decoded picture itself
        ASSERT_TRUE(Draw());
        const auto picture = Taken();
        EXPECT_EQ(IsRed(PixelAt(AsBgrBottomUp(picture).data(), 320 * 3, picture.height, 240 + 5, 60)), i < 4)
            << "picture " << i;
    }
    EXPECT_EQ(app.w_MarkerCountdown.load(), 0);
}

TEST_F(FrameDisplayTest, PictureCopyOfADoubledPictureHasItsHeightAndMarker) {
    app.by_MouseMode.store(2);
    app.w_MarkerCountdown.store(1);
    app.w_MarkerX.store(600);   // in the top-right quadrant: green, not red
    app.w_MarkerY.store(1000);  // beyond the 576 lines before doubling
    app.dw_FrameCopyRequest.store(1);
    ShowPicture(720, 576);
    ASSERT_TRUE(Draw());
    EXPECT_TRUE(app.h_FrameCopyDoneSem.Wait(platform::Millis(0)));
    EXPECT_EQ(app.dw_FrameCopyRequest.load(), 0u);
    ASSERT_EQ(app.w_FrameCopyWidth.load(), 720);
    ASSERT_EQ(app.w_FrameCopyHeight.load(), 1152);
    ASSERT_GE(app.lp_FrameCopyBuffer.size(), platform::BgrPictureBytes(720, 1152));
    EXPECT_TRUE(IsRed(PixelAt(app.lp_FrameCopyBuffer.data(), 720 * 3, 1152, 605, 1000)));
}

TEST_F(FrameDisplayTest, SnapshotOfADoubledPictureHasTheDoubledHeight) {
    testutil::TempFolder folder;
    app.CSettingINI.m_strSnapshotPath.Set(folder.path().string() + "/");
    app.dw_SnapshotRequest.store(1);
    ShowPicture(640, 228);
    ASSERT_TRUE(Draw());
    EXPECT_EQ(app.dw_SnapshotRequest.load(), 0u);
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u);
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(files[0], bytes));
    platform::JpegCodec codec;
    platform::JpegInfo info;
    ASSERT_EQ(codec.ReadInfo({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, info),
              platform::JpegStatus::Ok);
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.height, 456);
    EXPECT_FALSE(ui.Contains("msgbox:4116"));
}

TEST_F(FrameDisplayTest, ASnapshotThatCannotBeWrittenIsReportedAndItsRequestCleared) {
    testutil::TempFolder folder;
    folder.Write("file", "x");
    app.CSettingINI.m_strSnapshotPath.Set((folder.path() / "file" / "below").string() + "/");
    app.dw_SnapshotRequest.store(1);
    ShowPicture(320, 240);
    ASSERT_TRUE(Draw());
    EXPECT_TRUE(ui.Contains("msgbox:4116"));
    EXPECT_EQ(app.dw_SnapshotRequest.load(), 0u);
}

TEST_F(FrameDisplayTest, SnapshotFolderSettingKeepsTheSlashTheSnapshotAdded) {
    testutil::TempFolder folder;
    const std::string written = folder.path().string();
    const std::string missing = (folder.path() / "missing").string();
    for (const std::string& path : {written, missing}) {
        SCOPED_TRACE(path);
        app.CSettingINI.m_strSnapshotPath.Set(path);
        app.dw_SnapshotRequest.store(1);
        ShowPicture(320, 240);
        ASSERT_TRUE(Draw());
        EXPECT_EQ(app.CSettingINI.m_strSnapshotPath.Get(), path + "/");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()),
              1);
}

struct AlarmCase {
    std::uint16_t alarmData;
    const char* channel;
};

TEST_F(FrameDisplayTest, AlarmChannelIsTheLowestAlarmBitCountedFromOne) {
    for (const auto& c : {AlarmCase{0x0004, "3"}, AlarmCase{0x0000, ""}, AlarmCase{0x8001, "1"},
                          AlarmCase{0x8000, "16"}}) {
        ShowPicture(320, 240);
        ASSERT_TRUE(Draw({c.alarmData, ""}));
        EXPECT_EQ(app.m_strAlarmChannel.Get(), c.channel) << c.alarmData;
    }
}

TEST_F(FrameDisplayTest, RatesComeTwoSecondsAfterStreamStartAndRestartTheCounters) {
    app.dw_StreamStartTick.store(now);
    app.dw_FramesShown.store(50);
    app.dw_ReceivedBytes.store(2560000);
    ShowPicture(320, 240);

    now += 1999;
    ASSERT_TRUE(Draw());
    EXPECT_FALSE(ui.Contains("status:FR:25.00 fps DR:10000 kbps "));

    now += 1;
    ASSERT_TRUE(Draw({0, "23.5C"}));
    EXPECT_TRUE(ui.Contains("status:FR:25.00 fps DR:10000 kbps "));
    EXPECT_EQ(display.FrameRateText(), "FR:25.00 fps ");
    EXPECT_EQ(display.DataRateText(), "DR:10000 kbps ");
    EXPECT_EQ(app.dw_StreamStartTick.load(), now);
    EXPECT_EQ(app.dw_ReceivedBytes.load(), 0u);
    EXPECT_EQ(app.dw_RateFramesPrev.load(), 50u);
    EXPECT_EQ(app.m_strSensorText.Get(), "HU: 23.5C");
    EXPECT_FALSE(ui.Contains("refresh"));  // a video server, not a DVR
}

TEST_F(FrameDisplayTest, VideoLossReplacesTheRatesButTheyAreStillCounted) {
    app.str_ProductID.Set("R41T");
    app.dw_VideoLoss.store(1);
    app.dw_StreamStartTick.store(now);
    app.dw_FramesShown.store(9);
    app.dw_ReceivedBytes.store(1000);
    now += 3000;
    ShowPicture(640, 228);
    ASSERT_TRUE(Draw());
    EXPECT_TRUE(ui.Contains("status:Video Loss!"));
    EXPECT_EQ(display.FrameRateText(), "FR:3.00 fps ");
    EXPECT_EQ(app.dw_ReceivedBytes.load(), 0u);
    EXPECT_EQ(app.dw_StreamStartTick.load(), now);
    EXPECT_TRUE(ui.Contains("refresh"));  // the DVR family's information area
}

TEST_F(FrameDisplayTest, TheHeaderTextIsCutAtSixteenCharactersOrItsTerminator) {
    app.dw_StreamStartTick.store(now - 2000);
    ShowPicture(320, 240);
    ASSERT_TRUE(Draw({0, "0123456789abcdefXYZ"}));
    EXPECT_EQ(app.m_strSensorText.Get(), "HU: 0123456789abcdef");
    app.dw_StreamStartTick.store(now - 2000);
    ASSERT_TRUE(Draw({0, std::string("ab\0cd", 5)}));
    EXPECT_EQ(app.m_strSensorText.Get(), "HU: ab");
    app.dw_StreamStartTick.store(now - 2000);
    ASSERT_TRUE(Draw({0, ""}));
    EXPECT_EQ(app.m_strSensorText.Get(), "");
}

TEST_F(FrameDisplayTest, AStartTickAheadOfTheClockGivesNoRates) {
    app.dw_StreamStartTick.store(now + 5000);  // set after this clock read: a negative period
    ShowPicture(320, 240);
    ASSERT_TRUE(Draw());
    for (const auto& call : ui.Calls())
        EXPECT_NE(call.rfind("status:", 0), 0u) << call;
}

}  // namespace
