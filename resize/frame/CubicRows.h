#pragma once
// Cubic row drivers: the build's horizontal cubic kernel filters each needed source row into a
// float work row once; its vertical kernel takes four work rows into each destination row.

#include <cstdint>

#include "resize/frame/PixelLayouts.h"
#include "resize/frame/RowDrivers.h"
#include "resize/frame/RowRing.h"

namespace resize::frame {

template <class K, class T, class L>
void ResizeRowsCubic(const RowDriverArgs& a) {
    const T* region = static_cast<const T*>(a.region);
    T* destination = static_cast<T*>(a.destination);
    const auto* rowFractions = static_cast<const float*>(a.rowWeights);
    const auto* columnFractions = static_cast<const float*>(a.columnWeights);
    RowRing<float, 4> ring(a.workRows);
    for (std::int32_t i = 0; i < a.destinationHeight; ++i) {
        const std::ptrdiff_t base = a.rowOffsets[i];
        const std::ptrdiff_t rows[4] = {base - a.sourceStep, base, base + a.sourceStep,
                                        base + 2 * a.sourceStep};
        ring.Bring(rows, [&](std::ptrdiff_t row, float* work) {
            K::template HorzCubic<T, L>(region + row, a.destinationWidth, a.columnOffsets,
                                        columnFractions, work);
        });
        K::template VertCubic<T, L>(destination + i * a.destinationStep, a.destinationWidth,
                                    rowFractions[i], ring[0], ring[1], ring[2], ring[3]);
    }
}

// C3, AC4 and C4.
template <class K, class T>
void ResizeRowsCubicCn(const RowDriverArgs& a) {
    WithInterleavedLayout(a.channelCount, a.pixelStride,
                          [&](auto layout) { ResizeRowsCubic<K, T, decltype(layout)>(a); });
}

}  // namespace resize::frame
