#pragma once
// The motion-area editor's own copy of the live picture (24-bit, bottom-up,
// blue-green-red), replaced by the grabber thread and read by the painting,
// each under the lock. A 640-wide picture arrives with its rows doubled and
// is halved in rows and columns to 320 wide; any other size is kept as it
// arrives (the painting stretches it to the display), up to the size of the
// frame display's own buffer.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace config {

struct MotionFrame {
    std::vector<std::uint8_t> pixels;
    int width = 0;
    int height = 0;
};

class MotionPicture {
public:
    // Takes the frame display's picture; false (and the last one kept) for an
    // empty size, one over the bound, or one the bytes do not cover.
    bool Take(std::span<const std::uint8_t> shared, int width, int height);
    // The last picture into `frame`; false before the first.
    bool CopyTo(MotionFrame& frame) const;
    // A picture has arrived.
    bool Ready() const { return ready_.load(); }

private:
    mutable std::mutex mutex_;
    MotionFrame frame_;
    std::atomic<bool> ready_{false};
};

}  // namespace config
