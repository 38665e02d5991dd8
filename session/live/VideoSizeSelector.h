#pragma once
// Which picture format the main window is laid out and skinned for: the
// video-size mode (0 NTSC full, 1 NTSC reduced, 2 PAL full, 3 PAL reduced,
// 4 NTSC quarter or G66M 160x120, 5 PAL quarter) and the layout row. The
// start values come from the family, the video standard and the resolution
// setting; afterwards every picture's size may change them.
//
// Runs on the GUI thread (picture sizes reach it through the UI port); the
// modes and the row are atomics of the AppData that other threads read.

#include <atomic>
#include <cstdint>
#include <optional>

namespace session {
class AppData;
}

namespace mainwindow {

class VideoSizeSelector {
public:
    explicit VideoSizeSelector(session::AppData& app) : app_(app) {}
    VideoSizeSelector(const VideoSizeSelector&) = delete;
    VideoSizeSelector& operator=(const VideoSizeSelector&) = delete;

    // The start values by family; another product changes nothing. Returns 1.
    int InitLayout();

    // What the window does after a picture of another format: the DVR's
    // channel bar is laid out again, the window's items re-placed, and the
    // skin of `skin` (a mode 0-3) loaded when there is one.
    struct Change {
        std::uint8_t mode = 0;
        bool channelBarLayout = false;
        std::optional<std::uint8_t> skin;
    };
    // Stores the size and applies the family's frame rules; a change when the
    // mode differs from the one the window was laid out for.
    std::optional<Change> OnFrameSize(std::uint16_t width, std::uint16_t height);
    // True when OnFrameSize(width, height) would change nothing (it stores
    // the size and mode it already has, and the window keeps its format);
    // reads only atomics, so any thread may ask.
    bool FrameSizeChangesNothing(std::uint16_t width, std::uint16_t height) const;

    std::uint8_t GetSizeMode() const;
    std::uint16_t FrameWidth() const { return m_wFrameWidth.load(); }
    std::uint16_t FrameHeight() const { return m_wFrameHeight.load(); }

private:
    session::AppData& app_;
    std::atomic<std::uint16_t> m_wFrameWidth{0};
    std::atomic<std::uint16_t> m_wFrameHeight{0};
};

}  // namespace mainwindow
