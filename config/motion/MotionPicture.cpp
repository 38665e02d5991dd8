#include "config/motion/MotionPicture.h"

#include <cstring>

#include "platform/JpegCodec.h"
#include "session/live/FrameDisplay.h"

namespace config {

namespace {

constexpr int kDoubledWidth = 640;
constexpr int kHalvedWidth = 320;

}  // namespace

bool MotionPicture::Take(std::span<const std::uint8_t> shared, int width, int height) {
    if (width <= 0 || height <= 0 || (width == kDoubledWidth && height < 2))
        return false;
    const std::size_t bytes = platform::BgrPictureBytes(width, height);
    if (bytes > session::kMaxDisplayPictureBytes || bytes > shared.size())
        return false;
    {
        std::lock_guard lock(mutex_);
        if (width == kDoubledWidth) {
            // Every other pixel of every other row.
            const int halvedHeight = height / 2;
            frame_.pixels.resize(platform::BgrPictureBytes(kHalvedWidth, halvedHeight));
            for (int y = 0; y < halvedHeight; ++y) {
                const std::uint8_t* source = shared.data() + platform::BgrPictureBytes(width, 2 * y);
                std::uint8_t* target = frame_.pixels.data() + platform::BgrPictureBytes(kHalvedWidth, y);
                for (int x = 0; x < kHalvedWidth; ++x)
                    std::memcpy(target + 3 * x, source + 6 * x, 3);
            }
            frame_.width = kHalvedWidth;
            frame_.height = halvedHeight;
        } else {
            frame_.pixels.assign(shared.begin(), shared.begin() + static_cast<std::ptrdiff_t>(bytes));
            frame_.width = width;
            frame_.height = height;
        }
    }
    ready_.store(true);
    return true;
}

bool MotionPicture::CopyTo(MotionFrame& frame) const {
    std::lock_guard lock(mutex_);
    if (frame_.width == 0 || frame_.height == 0)
        return false;
    frame.pixels.assign(frame_.pixels.begin(), frame_.pixels.end());
    frame.width = frame_.width;
    frame.height = frame_.height;
    return true;
}

}  // namespace config
