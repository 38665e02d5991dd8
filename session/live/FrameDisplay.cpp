#include "session/live/FrameDisplay.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <new>
#include <span>
#include <utility>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "platform/TickCount.h"
#include "resize/frame/LinearRows.h"
#include "resize/frame/PixelLayouts.h"
#include "resize/frame/ResizeMapping.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"
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

std::size_t PaddedRowBytes(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

namespace {

// Four pixels from twelve bytes, in 32-bit words of the source.
void ToDisplayRowScalar(const std::uint8_t* from, int width, std::uint32_t* to) {
    int x = 0;
    for (; x + 4 <= width; x += 4, from += 12, to += 4) {
        std::uint32_t w[3];
        std::memcpy(w, from, sizeof w);  // b0 g0 r0 b1 | g1 r1 b2 g2 | r2 b3 g3 r3
        if constexpr (std::endian::native == std::endian::little) {
            to[0] = 0xFF000000u | w[0];
            to[1] = 0xFF000000u | (w[0] >> 24) | (w[1] << 8);
            to[2] = 0xFF000000u | (w[1] >> 16) | (w[2] << 16);
            to[3] = 0xFF000000u | (w[2] >> 8);
        } else {
            for (int k = 0; k < 4; ++k)
                to[k] = 0xFF000000u | std::uint32_t{from[3 * k + 2]} << 16 | std::uint32_t{from[3 * k + 1]} << 8 |
                        from[3 * k];
        }
    }
    for (; x < width; ++x, from += 3, ++to)
        *to = 0xFF000000u | std::uint32_t{from[2]} << 16 | std::uint32_t{from[1]} << 8 | from[0];
}

#if defined(__x86_64__) && defined(__GNUC__)
// Sixteen pixels a step with byte shuffles; the last pixels of the row go the scalar way.
__attribute__((target("ssse3"))) void ToDisplayRowSsse3(const std::uint8_t* from, int width, std::uint32_t* to) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 16 <= width; x += 16, from += 48, to += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 32));
        const __m128i p0 = a;                           // pixels 0-3 in bytes 0-11
        const __m128i p1 = _mm_alignr_epi8(b, a, 12);   // pixels 4-7
        const __m128i p2 = _mm_alignr_epi8(c, b, 8);    // pixels 8-11
        const __m128i p3 = _mm_srli_si128(c, 4);        // pixels 12-15
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_or_si128(_mm_shuffle_epi8(p0, spread), alpha));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 4), _mm_or_si128(_mm_shuffle_epi8(p1, spread), alpha));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), _mm_or_si128(_mm_shuffle_epi8(p2, spread), alpha));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 12), _mm_or_si128(_mm_shuffle_epi8(p3, spread), alpha));
    }
    ToDisplayRowScalar(from, width - x, to);
}

const bool kHaveSsse3 = __builtin_cpu_supports("ssse3");
#endif

// One row of the resize library's 8-bit linear vertical blend of two rows whose columns copy
// the source: its work values are the source bytes times 64, and for a share below 16384 a
// destination byte is (u + high half of (2a) x (2d) + 32) >> 6, u the upper work value and d the
// lower one's difference from it. Share 16384 (the last row) is the lower row itself.
void BlendRows(const std::uint8_t* __restrict upper, const std::uint8_t* __restrict lower, std::size_t bytes,
               std::uint16_t share, std::uint8_t* __restrict to) {
    const auto twiceA = static_cast<std::int32_t>(2 * share);
    std::size_t e = 0;
#if defined(__x86_64__) && defined(__GNUC__)
    // Sixteen bytes a step in 16-bit lanes: the high-half multiply is the blend's own.
    const __m128i zero = _mm_setzero_si128();
    const __m128i a2 = _mm_set1_epi16(static_cast<std::int16_t>(twiceA));
    const __m128i round = _mm_set1_epi16(32);
    const auto half = [&](__m128i up, __m128i low) {
        const __m128i u = _mm_slli_epi16(up, 6);
        const __m128i twiceD = _mm_slli_epi16(_mm_sub_epi16(low, up), 7);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(u, _mm_mulhi_epi16(a2, twiceD)), round), 6);
    };
    for (; e + 16 <= bytes; e += 16) {
        const __m128i up = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + e));
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + e));
        const __m128i first = half(_mm_unpacklo_epi8(up, zero), _mm_unpacklo_epi8(low, zero));
        const __m128i second = half(_mm_unpackhi_epi8(up, zero), _mm_unpackhi_epi8(low, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + e), _mm_packus_epi16(first, second));
    }
#endif
    for (; e < bytes; ++e) {
        const std::int32_t u = upper[e] * 64;
        const auto twiceD = static_cast<std::int16_t>((lower[e] - upper[e]) * 128);
        const auto q = static_cast<std::int16_t>((twiceA * twiceD) >> 16);
        to[e] = static_cast<std::uint8_t>((u + q + 32) >> 6);
    }
}

void ToDisplayRow(const std::uint8_t* from, int width, std::uint32_t* to) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (kHaveSsse3) {
        ToDisplayRowSsse3(from, width, to);
        return;
    }
#endif
    ToDisplayRowScalar(from, width, to);
}

}  // namespace

void ToDisplayPixels(const std::uint8_t* source, std::size_t sourceStride, int width, int height,
                     std::uint8_t* destination, std::size_t destinationStride) {
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* from = source + static_cast<std::size_t>(height - 1 - row) * sourceStride;
        ToDisplayRow(from, width,
                     reinterpret_cast<std::uint32_t*>(destination + static_cast<std::size_t>(row) * destinationStride));
    }
}

bool FieldDoubling::Prepare(int width, int height) {
    if (width == width_ && height == height_)
        return ready_;
    width_ = width;
    height_ = height;
    ready_ = false;
    // The entry takes pictures under two pixels a side nearest-neighbour.
    if (width < 2 || height < 2)
        return false;
    using resize::frame::ResizeMethod;
    const resize::frame::AxisPlan rows = resize::frame::PlanAxis(ResizeMethod::Linear, 1, 2.0, 0.0, height, 2 * height);
    const resize::frame::AxisPlan columns = resize::frame::PlanAxis(ResizeMethod::Linear, 1, 1.0, 0.0, width, width);
    if (rows.length != 2 * height || columns.length != width)
        return false;
    std::vector<std::ptrdiff_t> rowOffsets(static_cast<std::size_t>(rows.length));
    std::vector<std::ptrdiff_t> columnOffsets(static_cast<std::size_t>(columns.length));
    std::vector<std::uint16_t> columnWeights(2 * static_cast<std::size_t>(columns.length));
    shares_.resize(static_cast<std::size_t>(rows.length));
    resize::frame::MapLinearAxis(rows, {0, height, height}, 1, rowOffsets.data(), shares_.data(), 1);
    resize::frame::MapLinearAxis(columns, {0, width, width}, 3, columnOffsets.data(), columnWeights.data(), 2);
    // Only columns that copy the source keep the blend one of two rows of source bytes.
    if (!resize::frame::ColumnsCopySource<resize::frame::LayoutC3>(columnOffsets.data(), columnWeights.data(),
                                                                     columns.length))
        return false;
    upperRows_.assign(rowOffsets.begin(), rowOffsets.end());
    row_.resize(static_cast<std::size_t>(width) * 3);
    ready_ = true;
    return true;
}

void FieldDoubling::ToDisplayPixels(const std::uint8_t* source, std::uint8_t* destination,
                                    std::size_t destinationStride) {
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
    const int doubledHeight = 2 * height_;
    for (int row = 0; row < doubledHeight; ++row) {
        // The doubled picture is bottom-up too: the window's top row is its last.
        const std::size_t i = static_cast<std::size_t>(doubledHeight - 1 - row);
        const std::uint8_t* upper = source + static_cast<std::size_t>(upperRows_[i]) * rowBytes;
        const std::uint16_t share = shares_[i];
        const std::uint8_t* from = upper;
        if (share == 16384) {
            from = upper + rowBytes;
        } else if (share != 0) {
            BlendRows(upper, upper + rowBytes, rowBytes, share, row_.data());
            from = row_.data();
        }
        ToDisplayRow(from, width_, reinterpret_cast<std::uint32_t*>(destination + row * destinationStride));
    }
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
        const bool fieldPicture = width >= kFieldPictureMinWidth && !IsG66MFamily(app_.str_ProductID.Get()) &&
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
