#include "session/live/FrameDisplay.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <new>
#include <span>
#include <utility>

#include "platform/TickCount.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"
#include "session/live/DisplayPixels.h"
#include "session/live/Snapshot.h"

namespace session {

namespace {

// The full-screen picture of the largest screen we draw to (7680 × 4320).
constexpr std::size_t kMaxScreenPictureBytes = std::size_t{7680} * 3 * 4320;

// Makes the buffer hold at least bytes, within the cap; false (buffer
// unusable for this picture) when the picture is beyond the cap or the memory
// is not there.
bool EnsureCapacity(ByteBuffer& buffer, std::size_t bytes, std::size_t cap) {
    if (bytes > cap)
        return false;
    if (buffer.size() >= bytes)
        return true;
    return buffer.Allocate(bytes);
}

bool EnsureCapacity(std::vector<std::uint8_t>& pixels, std::size_t bytes) {
    try {
        if (pixels.size() < bytes)
            pixels.resize(bytes);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

bool IsFieldPicture(int width, std::string_view productId) {
    return width >= kFieldPictureMinWidth && !IsG66MFamily(productId);
}

std::size_t PaddedRowBytes(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

void ToDisplayPixels(const std::uint8_t* source, std::size_t sourceStride, int width, int height,
                     std::uint8_t* destination, std::size_t destinationStride) {
    ToDisplayPixels(BestPixelCode(), source, sourceStride, width, height, destination, destinationStride);
}

bool FieldDoubling::Prepare(int width, int height) {
    if (width == width_ && height == height_)
        return ready_;
    width_ = width;
    height_ = height;
    // The entry takes pictures under two pixels a side nearest-neighbour.
    ready_ = width >= 2 && height >= 2 && rows_.Make(width, height, 2 * height);
    return ready_;
}

void FieldDoubling::ToDisplayPixels(const std::uint8_t* source, std::uint8_t* destination,
                                    std::size_t destinationStride) {
    BlendedToDisplayPixels(BestPixelCode(), source, width_, rows_, destination, destinationStride);
}

void LatestFrameSlot::Publish(DisplayPicture& picture) {
    std::lock_guard lock(mutex_);
    std::swap(picture_, picture);
    fresh_ = true;
}

bool LatestFrameSlot::Take(DisplayPicture& picture) {
    std::lock_guard lock(mutex_);
    if (!fresh_)
        return false;
    std::swap(picture_, picture);
    fresh_ = false;
    return true;
}

FrameDisplay::FrameDisplay(AppData& app, resize::ResizeRoutine resizeRoutine, TickSource tickCount)
    : app_(app),
      resize_(resizeRoutine ? resizeRoutine : &resize::ImageResize_8u_C3R),
      tickCount_(tickCount ? std::move(tickCount) : TickSource(&platform::TickCount)) {}

bool FrameDisplay::SetFullScreenRect(const ScreenRect& rect) {
    if (rect.Width() <= 0 || rect.Height() <= 0 ||
        PaddedRowBytes(rect.Width()) * static_cast<std::size_t>(rect.Height()) > kMaxScreenPictureBytes)
        return false;
    std::lock_guard lock(fullScreenMutex_);
    m_rcFullScreen = rect;
    return true;
}

ScreenRect FrameDisplay::FullScreenRect() const {
    std::lock_guard lock(fullScreenMutex_);
    return m_rcFullScreen;
}

void FrameDisplay::EnterFullScreen() {
    m_bFullScreenPending.store(1);
    m_bFullScreen.store(1);
}

void FrameDisplay::LeaveFullScreen() {
    m_bFullScreen.store(0);
    m_bFullScreenPending.store(0);
}

void FrameDisplay::SetVideoOrigin(int x, int y) {
    originX_.store(x);
    originY_.store(y);
}

std::string FrameDisplay::FrameRateText() const {
    std::lock_guard lock(rateMutex_);
    return frameRateText_;
}

std::string FrameDisplay::DataRateText() const {
    std::lock_guard lock(rateMutex_);
    return dataRateText_;
}

int FrameDisplay::DisplayFrame(const FrameOverlay& overlay) {
    // The session is being torn down; the show thread is released by its stop event.
    if (app_.dw_VideoConnected.load() == 0)
        return 0;

    const std::uint8_t* picture = app_.lp_CurrentImage.load();
    int width = app_.w_ImageWidth.load();
    int height = app_.w_ImageHeight.load();
    const std::size_t sourceBytes = static_cast<std::size_t>(width) * height * 3;
    // A picture the picture buffer cannot have held is not drawn.
    const bool drawable = picture && width > 0 && height > 0 && sourceBytes <= kMaxSourcePictureBytes;

    bool published = false;
    if (drawable) {
        const bool fullScreen = m_bFullScreen.load() != 0;
        const bool drawMarker = !fullScreen && app_.by_MouseMode.load() == 2 && app_.w_MarkerCountdown.load() != 0;
        // Field pictures: twice the height, lines interpolated.
        bool ownPicture = false;  // P is the resize buffer, not the decoded picture
        const bool fieldPicture = IsFieldPicture(width, app_.str_ProductID.Get()) &&
                                  EnsureCapacity(app_.lp_ResizeBuffer, sourceBytes * 2, kMaxDisplayPictureBytes);
        auto doubleIntoResizeBuffer = [&] {
            resize_(picture, {width, height}, width * 3, {0, 0, width, height}, app_.lp_ResizeBuffer.data(),
                    width * 3, {width, 2 * height}, 1.0, 2.0, resize::InterpLinear);
            picture = app_.lp_ResizeBuffer.data();
            height *= 2;
            ownPicture = true;
        };
        // The window's picture is doubled on its way into the window's layout
        // when nothing else needs the doubled 24-bit picture; a request that
        // comes meanwhile gets it made below.
        bool doubleOnDisplay = fieldPicture && !fullScreen && !drawMarker &&
                               resize_ == &resize::ImageResize_8u_C3R && doubling_.Prepare(width, height);
        if (fieldPicture && !doubleOnDisplay)
            doubleIntoResizeBuffer();

        if (fullScreen) {
            if (m_bFullScreenPending.exchange(0))
                app_.Ui().EnterFullScreen();
            const ScreenRect screen = FullScreenRect();
            const int fw = screen.Width(), fh = screen.Height();
            const std::size_t stride = PaddedRowBytes(fw);
            const std::size_t displayStride = static_cast<std::size_t>(fw) * kDisplayPixelBytes;
            if (fw > 0 && fh > 0 && EnsureCapacity(app_.lp_DisplayBits, stride * fh, kMaxScreenPictureBytes) &&
                EnsureCapacity(next_.pixels, displayStride * fh)) {
                resize_(picture, {width, height}, width * 3, {0, 0, width, height}, app_.lp_DisplayBits.data(),
                        static_cast<std::int32_t>(stride), {fw, fh}, static_cast<double>(fw) / width,
                        static_cast<double>(fh) / height, resize::InterpNearest);
                ToDisplayPixels(app_.lp_DisplayBits.data(), stride, fw, fh, next_.pixels.data(), displayStride);
                next_.width = fw;
                next_.height = fh;
                next_.stride = static_cast<int>(displayStride);
                next_.x = 0;
                next_.y = 0;
                next_.fullScreen = true;
                published = true;
            }
        } else {
            if (drawMarker) {
                // The marker goes into the picture as shown (the picture copy and
                // the snapshot below take it too), never into the decoded picture.
                const std::size_t pictureBytes = static_cast<std::size_t>(width) * height * 3;
                if (!ownPicture && EnsureCapacity(app_.lp_ResizeBuffer, pictureBytes, kMaxDisplayPictureBytes)) {
                    std::memcpy(app_.lp_ResizeBuffer.data(), picture, pictureBytes);
                    picture = app_.lp_ResizeBuffer.data();
                    ownPicture = true;
                }
                if (ownPicture) {
                    DrawCrossMarker(std::span(app_.lp_ResizeBuffer.data(), pictureBytes),
                                    static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                                    kCrossMarkerColour, app_.w_MarkerX.load(), app_.w_MarkerY.load());
                    app_.w_MarkerCountdown.fetch_sub(1);
                }
            }
            const int shownHeight = doubleOnDisplay ? 2 * height : height;
            const std::size_t displayStride = static_cast<std::size_t>(width) * kDisplayPixelBytes;
            if (EnsureCapacity(next_.pixels, displayStride * shownHeight)) {
                if (doubleOnDisplay)
                    doubling_.ToDisplayPixels(picture, next_.pixels.data(), displayStride);
                else
                    ToDisplayPixels(picture, static_cast<std::size_t>(width) * 3, width, height, next_.pixels.data(),
                                    displayStride);
                next_.width = width;
                next_.height = shownHeight;
                next_.stride = static_cast<int>(displayStride);
                next_.x = originX_.load();
                next_.y = originY_.load();
                next_.fullScreen = false;
                published = true;
            }
        }

        if (doubleOnDisplay && (app_.dw_FrameCopyRequest.load() || app_.dw_SnapshotRequest.load())) {
            doubleIntoResizeBuffer();
        }
        const std::size_t pictureBytes = static_cast<std::size_t>(width) * height * 3;

        // The motion-area editor's copy: the picture as shown, marker included.
        if (app_.dw_FrameCopyRequest.load()) {
            if (EnsureCapacity(app_.lp_FrameCopyBuffer, pictureBytes, kMaxDisplayPictureBytes)) {
                app_.w_FrameCopyWidth.store(static_cast<std::uint16_t>(width));
                app_.w_FrameCopyHeight.store(static_cast<std::uint16_t>(height));
                std::memcpy(app_.lp_FrameCopyBuffer.data(), picture, pictureBytes);
            } else {
                app_.w_FrameCopyWidth.store(0);
                app_.w_FrameCopyHeight.store(0);
            }
            app_.dw_FrameCopyRequest.store(0);
            app_.h_FrameCopyDoneSem.Release();
        }

        if (app_.dw_SnapshotRequest.load()) {
            std::string folder = app_.CSettingINI.m_strSnapshotPath.Get();
            const int saved =
                SaveSnapshot(folder, picture, static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height));
            // The setting keeps the folder as the snapshot completed it ("/" at the end).
            app_.CSettingINI.m_strSnapshotPath.Set(folder);
            if (saved == 0)
                app_.Ui().ShowMessageBox(kSnapshotFailedMessage);
            app_.dw_SnapshotRequest.store(0);
        }
    }

    std::string alarmChannel;
    if (overlay.alarmData != 0)
        alarmChannel = std::to_string(1 + std::countr_zero(overlay.alarmData));
    app_.m_strAlarmChannel.Set(std::move(alarmChannel));

    UpdateRates(overlay);

    if (published) {
        next_.sequence = ++sequence_;
        slot_.Publish(next_);
        app_.Ui().FrameReady();
    }
    app_.h_FinishShowImageJobEvent.Set();
    return 1;
}

void FrameDisplay::UpdateRates(const FrameOverlay& overlay) {
    const std::uint32_t now = tickCount_();
    const std::uint32_t period = now - app_.dw_StreamStartTick.load();
    if (period < kRatePeriodMs || period >= 0x80000000u)
        return;

    const std::uint32_t framesNow = app_.dw_FramesShown.load();
    app_.dw_RateFramesNow.store(framesNow);
    const std::uint32_t framesPrev = app_.dw_RateFramesPrev.exchange(framesNow);
    const std::uint32_t frames = framesNow >= framesPrev ? framesNow - framesPrev : framesPrev - framesNow;
    const float fps = static_cast<float>(frames * 1000.0 / period);
    // Taken and cleared in one step, so bytes counted meanwhile go to the next period.
    const std::uint64_t bytes = app_.dw_ReceivedBytes.exchange(0);
    const unsigned long kbps = static_cast<unsigned long>(bytes * 1000 / period / 128);
    app_.dw_StreamStartTick.exchange(now);

    char frameRate[48];
    char dataRate[48];
    std::snprintf(frameRate, sizeof frameRate, "FR:%.2f fps ", fps);
    std::snprintf(dataRate, sizeof dataRate, "DR:%lu kbps ", kbps);
    {
        std::lock_guard lock(rateMutex_);
        frameRateText_ = frameRate;
        dataRateText_ = dataRate;
    }

    if (IsDvrFamily(app_.str_ProductID.Get()))
        app_.Ui().RefreshStatus();

    // The header text holds at most 16 characters and need not be terminated.
    const std::string text = overlay.headerText.substr(0, overlay.headerText.find('\0')).substr(0, 16);
    app_.m_strSensorText.Set(text.empty() ? std::string() : "HU: " + text);

    app_.Ui().SetStatusText(app_.dw_VideoLoss.load() ? std::string("Video Loss!")
                                                     : std::string(frameRate) + dataRate);
}

}  // namespace session
