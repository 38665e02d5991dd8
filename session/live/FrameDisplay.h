#pragma once
// Draws each decoded picture of the live stream into the main window.
//
// DisplayFrame runs on the kernel thread for every picture the show thread
// hands over. It doubles the height of field pictures, scales the picture to
// the screen in full-screen mode, draws the click-to-position marker, serves
// the picture-copy and snapshot requests and, at most every two seconds, puts
// the frame and data rates into the status line. The finished picture goes
// into a latest-frame slot and the window is asked to repaint; DisplayFrame
// never waits for the window, so a busy window drops pictures instead of
// holding up the stream.
//
// The one copy of the picture on its way to the window (the draw into the
// window's bitmap) also turns it into the layout the window paints without
// any conversion: 32-bit pixels, rows top-down.
//
// The working buffers grow to the picture they hold, up to a fixed cap; a
// picture beyond the cap is not drawn.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "resize/ImageResize.h"
#include "session/live/DisplayPixels.h"

namespace session {

class AppData;

// The largest decoded picture (the picture buffer) and the largest doubled one.
inline constexpr std::size_t kMaxSourcePictureBytes = 1572864;
inline constexpr std::size_t kMaxDisplayPictureBytes = 2 * kMaxSourcePictureBytes;

// Field pictures at least this wide are shown at twice their height.
inline constexpr std::uint16_t kFieldPictureMinWidth = 640;
// Whether a picture of this width is a field shown at twice its height: wide
// enough, and not from a G66M camera, whose pictures are whole frames.
bool IsFieldPicture(int width, std::string_view productId);
// The size the window draws a picture through; larger pictures are clipped.
inline constexpr int kVideoAreaWidth = 720;
inline constexpr int kVideoAreaHeight = 576;
// The rates are refreshed after at least this many milliseconds.
inline constexpr std::uint32_t kRatePeriodMs = 2000;
// The click-to-position marker's colour.
inline constexpr std::uint32_t kCrossMarkerColour = 0xFF0000;
// "Błąd zapisu zdjęcia,sprawdź prawidłowość ścieżki."
inline constexpr unsigned kSnapshotFailedMessage = 4116;

// Bytes between rows of a 24-bit picture as the window system keeps them:
// width × 3 rounded up to a multiple of 4.
std::size_t PaddedRowBytes(int width);

// Bytes a pixel of a picture for the window takes.
inline constexpr int kDisplayPixelBytes = 4;

// Copies a 24-bit blue-green-red picture whose rows are bottom-up,
// sourceStride bytes apart, into the window's layout: each pixel as the 32-bit
// word 0xFFRRGGBB in the machine's byte order (Qt's RGB32), rows top-down,
// destinationStride bytes apart.
void ToDisplayPixels(const std::uint8_t* source, std::size_t sourceStride, int width, int height,
                     std::uint8_t* destination, std::size_t destinationStride);

// The field doubling of the resize entry (linear, twice the rows, columns as
// they are) written straight into the window's layout: the same bytes as the
// entry's doubled picture put through ToDisplayPixels, without the doubled
// 24-bit picture in between. The row table is the resize library's own
// mapping, made again only when the picture size changes.
class FieldDoubling {
public:
    // False when a picture of this size cannot be doubled this way; the resize
    // entry then does the doubling.
    bool Prepare(int width, int height);
    // The picture of the last Prepare (24-bit blue-green-red, rows bottom-up,
    // width × 3 bytes apart), doubled: width × 2 × height pixels for the window.
    void ToDisplayPixels(const std::uint8_t* source, std::uint8_t* destination, std::size_t destinationStride);

private:
    int width_ = 0;
    int height_ = 0;
    bool ready_ = false;
    BlendedRowTable rows_;
};

// The window rectangle of full-screen mode.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A picture ready for the window: 32-bit pixels 0xFFRRGGBB (ToDisplayPixels),
// rows top-down, `stride` bytes apart, drawn with its top-left corner at (x, y).
struct DisplayPicture {
    std::vector<std::uint8_t> pixels;
    int width = 0;
    int height = 0;
    int stride = 0;
    int x = 0;
    int y = 0;
    bool fullScreen = false;
    std::uint64_t sequence = 0;  // counts the pictures handed to the slot
};

// One picture between the drawing thread and the window. Buffers are swapped,
// not copied, so neither side allocates once both have one of full size.
class LatestFrameSlot {
public:
    // Puts the picture in the slot; picture gets the slot's previous buffer
    // (a picture the window never took is dropped).
    void Publish(DisplayPicture& picture);
    // Swaps the newest picture into picture; false when none came since the last take.
    bool Take(DisplayPicture& picture);

private:
    std::mutex mutex_;
    DisplayPicture picture_;
    bool fresh_ = false;
};

// What the frame header last announced, for the status area.
struct FrameOverlay {
    std::uint16_t alarmData = 0;  // the alarm bits of the last header
    std::string headerText;       // the header's 16-byte text (may lack its terminator)
};

class FrameDisplay {
public:
    using TickSource = std::function<std::uint32_t()>;

    // resizeRoutine: the scaling entry (the resize library's by default);
    // tickCount: milliseconds as the receive thread stamps dw_StreamStartTick.
    explicit FrameDisplay(AppData& app, resize::ResizeRoutine resizeRoutine = nullptr,
                          TickSource tickCount = {});
    FrameDisplay(const FrameDisplay&) = delete;
    FrameDisplay& operator=(const FrameDisplay&) = delete;

    // CTavrinDlg::DisplayFrame: 1 after drawing (h_FinishShowImageJobEvent
    // set), 0 when the video is not connected (nothing drawn, event untouched).
    int DisplayFrame(const FrameOverlay& overlay);

    // The window's side of the slot.
    bool TakePicture(DisplayPicture& picture) { return slot_.Take(picture); }

    // The full-screen rectangle; the full-screen picture is sized by it. False when the
    // rectangle is empty, too large or its buffer cannot be allocated.
    bool SetFullScreenRect(const ScreenRect& rect);
    ScreenRect FullScreenRect() const;
    // The full-screen commands set both flags; the first picture after them
    // switches the window and clears the pending flag.
    void EnterFullScreen();
    void LeaveFullScreen();
    std::atomic<std::uint32_t> m_bFullScreen{0};
    std::atomic<std::uint32_t> m_bFullScreenPending{0};

    // The video-area origin of the window's current layout.
    void SetVideoOrigin(int x, int y);

    // The rate texts, kept between calls.
    std::string FrameRateText() const;
    std::string DataRateText() const;

private:
    void UpdateRates(const FrameOverlay& overlay);

    AppData& app_;
    resize::ResizeRoutine resize_;
    TickSource tickCount_;
    LatestFrameSlot slot_;
    DisplayPicture next_;     // the picture being prepared (kernel thread only)
    FieldDoubling doubling_;  // kernel thread only
    std::uint64_t sequence_ = 0;

    mutable std::mutex fullScreenMutex_;  // the rectangle and lp_DisplayBits
    ScreenRect m_rcFullScreen;
    std::atomic<int> originX_{0};
    std::atomic<int> originY_{0};

    mutable std::mutex rateMutex_;
    std::string frameRateText_;
    std::string dataRateText_;
};

}  // namespace session
