#pragma once
// The motion-area editor's grid under the mouse: which cell a point of the
// dialog falls in, and the idle / pressed / dragging machine that turns
// clicks and drags into toggled cells of the edit mask. The pointer mask
// holds the cell under the pointer while hovering, or every cell the drag
// rectangle meets. Coordinates are the dialog's client pixels.

#include <optional>

#include "config/motion/MotionAreaMask.h"

namespace config {

inline constexpr int kMotionCellWidth = 20;
inline constexpr int kMotionGridWidth = kMotionColumns * kMotionCellWidth;  // 320
// Cell heights on screen: NTSC pictures, and PAL ones.
inline constexpr int kMotionCellHeightNtsc = 19;
inline constexpr int kMotionCellHeightPal = 23;

// What the dialog repaints after a mouse event (never erasing first).
struct MotionRepaint {
    enum class Kind { None, Area, Whole };
    Kind kind = Kind::None;
    int left = 0, top = 0, right = 0, bottom = 0;  // Area: inclusive bounds

    friend bool operator==(const MotionRepaint&, const MotionRepaint&) = default;
};

class MotionGrid {
public:
    enum class MouseState : unsigned char { Idle = 1, Dragging = 2, Pressed = 4 };

    // Where the picture sits; the cell height follows the video standard
    // (0 NTSC, else PAL). Until then, and while no picture has arrived, every
    // point is outside.
    void Place(int left, int top, int pictureHeight, int videoSizeFamily);
    void SetPictureReady(bool ready) { pictureReady_ = ready; }

    // The cell under a point; none outside the picture or below row 11.
    std::optional<MotionCell> CellAt(int x, int y) const;

    MotionRepaint OnButtonDown(int x, int y);
    MotionRepaint OnMove(int x, int y);
    MotionRepaint OnButtonUp(int x, int y);

    // The two buttons beside the picture: every cell selected, or removed.
    void SelectAll() { mask_.fill(0x00); }
    void RemoveAll() { mask_.fill(0xFF); }

    MotionAreaMask& Mask() { return mask_; }
    const MotionAreaMask& Mask() const { return mask_; }
    const MotionAreaMask& PointerMask() const { return pointer_; }
    MouseState State() const { return state_; }
    int CellHeight() const { return cellHeight_; }

private:
    struct Point {
        int x = 0, y = 0;
        friend bool operator==(const Point&, const Point&) = default;
    };
    // Every cell whose closed on-screen rectangle meets the closed rectangle of a and b.
    void PointDrag(Point a, Point b);
    // The area of the previous and the new pointer cell, 5 pixels wider all round.
    MotionRepaint CellsArea(std::optional<MotionCell> previous, MotionCell next) const;

    MotionAreaMask mask_{};
    MotionAreaMask pointer_{};
    MouseState state_ = MouseState::Idle;
    std::optional<MotionCell> hover_;
    Point anchor_;
    bool placed_ = false;
    bool pictureReady_ = false;
    int left_ = 0, top_ = 0, pictureHeight_ = 0;
    int cellHeight_ = kMotionCellHeightNtsc;
};

}  // namespace config
