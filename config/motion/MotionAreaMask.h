#pragma once
// A channel's detection area: 16 columns by 12 rows of cells. Row r is the
// big-endian word in bytes 2r (high) and 2r + 1 (low); column c is bit c of
// that word, so columns 0-7 live in byte 2r + 1 and 8-15 in byte 2r. A set
// bit is a removed cell, a clear one a selected cell.

#include <array>
#include <cstddef>
#include <cstdint>

namespace config {

inline constexpr int kMotionColumns = 16;
inline constexpr int kMotionRows = 12;
inline constexpr std::size_t kMotionAreaBytes = 24;

using MotionAreaMask = std::array<std::uint8_t, kMotionAreaBytes>;

struct MotionCell {
    int column = 0;
    int row = 0;
    friend bool operator==(const MotionCell&, const MotionCell&) = default;
};

// The byte and bit of a cell in the mask.
constexpr std::size_t MotionCellByte(MotionCell cell) {
    return static_cast<std::size_t>(2 * cell.row + (cell.column < 8 ? 1 : 0));
}
constexpr std::uint8_t MotionCellBit(MotionCell cell) {
    return static_cast<std::uint8_t>(1u << (cell.column % 8));
}

constexpr bool IsCellSet(const MotionAreaMask& mask, MotionCell cell) {
    return (mask[MotionCellByte(cell)] & MotionCellBit(cell)) != 0;
}
constexpr void SetCell(MotionAreaMask& mask, MotionCell cell) { mask[MotionCellByte(cell)] |= MotionCellBit(cell); }
constexpr void ToggleCell(MotionAreaMask& mask, MotionCell cell) { mask[MotionCellByte(cell)] ^= MotionCellBit(cell); }

constexpr bool IsEmpty(const MotionAreaMask& mask) {
    for (std::uint8_t byte : mask)
        if (byte != 0)
            return false;
    return true;
}

}  // namespace config
