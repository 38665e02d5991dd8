#include "config/motion/MotionGrid.h"

#include <algorithm>

namespace config {

void MotionGrid::Place(int left, int top, int pictureHeight, int videoSizeFamily) {
    left_ = left;
    top_ = top;
    pictureHeight_ = pictureHeight;
    cellHeight_ = videoSizeFamily == 0 ? kMotionCellHeightNtsc : kMotionCellHeightPal;
    placed_ = true;
}

std::optional<MotionCell> MotionGrid::CellAt(int x, int y) const {
    if (!placed_ || !pictureReady_)
        return std::nullopt;
    if (x < left_ || x >= left_ + kMotionGridWidth || y < top_ || y >= top_ + pictureHeight_)
        return std::nullopt;
    const MotionCell cell{(x - left_) / kMotionCellWidth, (y - top_) / cellHeight_};
    if (cell.row >= kMotionRows)
        return std::nullopt;
    return cell;
}

MotionRepaint MotionGrid::OnButtonDown(int x, int y) {
    if (state_ == MouseState::Idle && CellAt(x, y))
        state_ = MouseState::Pressed;
    return {};
}

MotionRepaint MotionGrid::OnMove(int x, int y) {
    const std::optional<MotionCell> cell = CellAt(x, y);
    if (!cell) {
        if (state_ != MouseState::Dragging && !IsEmpty(pointer_)) {
            pointer_.fill(0);
            hover_.reset();
            return {MotionRepaint::Kind::Whole};
        }
        return {};
    }
    const Point point{x, y};
    switch (state_) {
    case MouseState::Idle: {
        if (IsCellSet(pointer_, *cell))
            return {};
        const std::optional<MotionCell> previous = hover_;
        pointer_.fill(0);
        SetCell(pointer_, *cell);
        hover_ = cell;
        return CellsArea(previous, *cell);
    }
    case MouseState::Pressed: {
        const std::optional<MotionCell> previous = hover_;
        pointer_.fill(0);
        anchor_ = point;
        SetCell(pointer_, *cell);
        hover_ = cell;
        state_ = MouseState::Dragging;
        return CellsArea(previous, *cell);
    }
    case MouseState::Dragging:
        if (point == anchor_)
            return {};
        PointDrag(anchor_, point);
        return {MotionRepaint::Kind::Whole};
    }
    return {};
}

MotionRepaint MotionGrid::OnButtonUp(int x, int y) {
    switch (state_) {
    case MouseState::Pressed: {
        const std::optional<MotionCell> cell = CellAt(x, y);
        if (!cell)
            return {};
        ToggleCell(mask_, *cell);
        state_ = MouseState::Idle;
        return {MotionRepaint::Kind::Whole};
    }
    case MouseState::Dragging:
        for (std::size_t i = 0; i < kMotionAreaBytes; ++i)
            mask_[i] ^= pointer_[i];
        pointer_.fill(0);
        hover_.reset();
        state_ = MouseState::Idle;
        return {MotionRepaint::Kind::Whole};
    case MouseState::Idle:
        break;
    }
    return {};
}

void MotionGrid::PointDrag(Point a, Point b) {
    const int x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
    const int y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
    pointer_.fill(0);
    for (int row = 0; row < kMotionRows; ++row) {
        const int top = top_ + row * cellHeight_;
        if (top > y1 || top + cellHeight_ < y0)
            continue;
        for (int column = 0; column < kMotionColumns; ++column) {
            const int left = left_ + column * kMotionCellWidth;
            if (left <= x1 && left + kMotionCellWidth >= x0)
                SetCell(pointer_, {column, row});
        }
    }
}

MotionRepaint MotionGrid::CellsArea(std::optional<MotionCell> previous, MotionCell next) const {
    constexpr int kMargin = 5;
    MotionCell low = next, high = next;
    if (previous) {
        low = {std::min(previous->column, next.column), std::min(previous->row, next.row)};
        high = {std::max(previous->column, next.column), std::max(previous->row, next.row)};
    }
    return {MotionRepaint::Kind::Area, left_ + low.column * kMotionCellWidth - kMargin,
            top_ + low.row * cellHeight_ - kMargin, left_ + (high.column + 1) * kMotionCellWidth + kMargin,
            top_ + (high.row + 1) * cellHeight_ + kMargin};
}

}  // namespace config
