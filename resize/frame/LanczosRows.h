#pragma once
// Lanczos row drivers: six taps per direction with the build's weights; taps beyond the image's
// edges repeat the edge pixel, row or column.

#include <algorithm>
#include <cstdint>

#include "resize/frame/PixelLayouts.h"
#include "resize/frame/RowDrivers.h"
#include "resize/frame/RowRing.h"

namespace resize::frame {

// The ring keeps the filtered rows base - 2 ... base + 3, each kept within the image's rows; a
// row beyond an edge is the edge row's work row. It holds every row it still needs whatever the
// advance, so enlargements (one row at a time) and reductions (any advance) share one path.
// The horizontal kernel gets the image's first and last column as element offsets from the
// region's first pixel.
template <class K, class T, class L>
void ResizeRowsLanczos(const RowDriverArgs& a) {
    const T* region = static_cast<const T*>(a.region);
    T* destination = static_cast<T*>(a.destination);
    const auto* rowWeights = static_cast<const float*>(a.rowWeights);
    const auto* columnWeights = static_cast<const float*>(a.columnWeights);
    const std::ptrdiff_t firstColumn = -static_cast<std::ptrdiff_t>(a.regionX) * L::pixelStride;
    const std::ptrdiff_t lastColumn = static_cast<std::ptrdiff_t>(a.sourceExtentX - 1) * L::pixelStride;
    const std::ptrdiff_t firstRow = -static_cast<std::ptrdiff_t>(a.regionY) * a.sourceStep;
    const std::ptrdiff_t lastRow = static_cast<std::ptrdiff_t>(a.sourceExtentY - 1) * a.sourceStep;
    RowRing<float, 6> ring(a.workRows);
    for (std::int32_t i = 0; i < a.destinationHeight; ++i) {
        const std::ptrdiff_t base = a.rowOffsets[i];
        std::ptrdiff_t rows[6];
        for (int j = 0; j < 6; ++j) {
            rows[j] = std::clamp(base + (j - 2) * a.sourceStep, firstRow, lastRow);
        }
        ring.Bring(rows, [&](std::ptrdiff_t row, float* work) {
            K::template HorzLanczos<T, L>(region + row, a.destinationWidth, a.columnOffsets,
                                          columnWeights, firstColumn, lastColumn, work);
        });
        const float* slots[6] = {ring[0], ring[1], ring[2], ring[3], ring[4], ring[5]};
        K::template VertLanczos<T, L>(destination + i * a.destinationStep, a.destinationWidth,
                                      rowWeights + 6 * static_cast<std::ptrdiff_t>(i), slots);
    }
}

// C3, AC4 and C4.
template <class K, class T>
void ResizeRowsLanczosCn(const RowDriverArgs& a) {
    WithInterleavedLayout(a.channelCount, a.pixelStride,
                          [&](auto layout) { ResizeRowsLanczos<K, T, decltype(layout)>(a); });
}

}  // namespace resize::frame
