#include "config/motion/MotionOverlay.h"

#include "platform/JpegCodec.h"

namespace config {

namespace {

class BottomUpPicture {
public:
    BottomUpPicture(std::span<std::uint8_t> bytes, int width, int height)
        : bytes_(bytes), width_(width), height_(height) {}

    // y counted from the top.
    std::uint8_t* At(int x, int y) {
        const auto row = static_cast<std::size_t>(height_ - 1 - y);
        return bytes_.data() + (row * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 3;
    }
    void Put(int x, int y, BgrColour colour) {
        std::uint8_t* p = At(x, y);
        p[0] = colour.b;
        p[1] = colour.g;
        p[2] = colour.r;
    }

private:
    std::span<std::uint8_t> bytes_;
    int width_, height_;
};

}  // namespace

void DrawMotionOverlay(std::span<std::uint8_t> bytes, int width, int height, const MotionAreaMask& mask,
                       const MotionAreaMask& pointer) {
    if (width < kMotionColumns || height < kMotionRows ||
        bytes.size() < platform::BgrPictureBytes(width, height))
        return;
    BottomUpPicture picture(bytes, width, height);
    const int cellWidth = width / kMotionColumns, cellHeight = height / kMotionRows;
    for (int i = 0; i < kMotionColumns * kMotionRows; ++i) {
        const MotionCell cell{i % kMotionColumns, i / kMotionColumns};
        const int x0 = cell.column * cellWidth, x1 = x0 + cellWidth - 1;
        const int y0 = cell.row * cellHeight, y1 = y0 + cellHeight - 1;
        const bool removed = IsCellSet(mask, cell);
        if (removed)
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x) {
                    std::uint8_t* p = picture.At(x, y);
                    picture.Put(x, y, TintRemoved({p[0], p[1], p[2]}));
                }
        BgrColour border;
        if (IsCellSet(pointer, cell))
            border = kPointerBorder;
        else if (removed)
            border = kRemovedBorder;
        else
            continue;
        for (int y = y0; y <= y1; ++y) {
            picture.Put(x0, y, border);
            picture.Put(x1, y, border);
        }
        for (int x = x0; x <= x1; ++x) {
            picture.Put(x, y0, border);
            picture.Put(x, y1, border);
        }
    }
}

}  // namespace config
