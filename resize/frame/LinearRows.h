#pragma once
// Linear row drivers: each needed source row is filtered horizontally into a work row once, by
// the build's horizontal kernel, and each destination row blends the two work rows around its
// sample with the build's vertical kernel.

#include <cstdint>
#include <type_traits>

#include "resize/ByteRowBlend.h"
#include "resize/frame/PixelLayouts.h"
#include "resize/frame/RowDrivers.h"
#include "resize/frame/RowRing.h"

namespace resize::frame {

// True when every destination column takes exactly the source pixel of its own index with the
// whole weight (a factor of 1.0 across): the horizontal pass is then a scaled copy.
template <class L>
bool ColumnsCopySource(const std::ptrdiff_t* columnOffsets, const std::uint16_t* columnWeights,
                       std::int32_t count) {
    for (std::int32_t k = 0; k < count; ++k) {
        const std::ptrdiff_t own = static_cast<std::ptrdiff_t>(k) * L::pixelStride;
        const bool left = columnWeights[2 * k + 1] == 0 && columnOffsets[k] == own;
        const bool right = columnWeights[2 * k] == 0 && columnOffsets[k] + L::pixelStride == own;
        if (!left && !right) {
            return false;
        }
    }
    return true;
}

// The fixed-point horizontal pass for columns that copy the source: p x 16384 with the rounding
// term shifted down is p x 64 for 8-bit data and p for 16-bit data, in every build.
template <class T, class L>
void ResizeHorzLinearCopy(const T* __restrict row, std::int32_t count, std::uint16_t* __restrict work) {
    constexpr int shift = std::is_same_v<T, std::uint8_t> ? 6 : 0;
    for (std::int32_t k = 0; k < count; ++k) {
        for (int c = 0; c < L::channels; ++c) {
            work[static_cast<std::ptrdiff_t>(k) * L::channels + c] =
                static_cast<std::uint16_t>(row[static_cast<std::ptrdiff_t>(k) * L::pixelStride + c] << shift);
        }
    }
}

template <class K, class T, class L>
void ResizeRowsLinear(const RowDriverArgs& a) {
    using Work = LinearWork<T>;
    const T* region = static_cast<const T*>(a.region);
    T* destination = static_cast<T*>(a.destination);
    const auto* rowWeights = static_cast<const Work*>(a.rowWeights);
    const auto* columnWeights = static_cast<const Work*>(a.columnWeights);
    bool copyColumns = false;
    if constexpr (!std::is_same_v<T, float>) {
        copyColumns = ColumnsCopySource<L>(a.columnOffsets, columnWeights, a.destinationWidth);
    }
    // 8-bit rows of packed pixels whose columns copy the source (the display's field doubling):
    // each destination row is its two source rows blended byte by byte, the same bytes as the
    // two passes through work rows give.
    if constexpr (std::is_same_v<T, std::uint8_t> && L::channels == L::pixelStride) {
        if (copyColumns) {
            const std::size_t count = static_cast<std::size_t>(a.destinationWidth) * L::channels;
            for (std::int32_t i = 0; i < a.destinationHeight; ++i) {
                const T* upper = region + a.rowOffsets[i];
                BlendByteRow(upper, upper + a.sourceStep, count, rowWeights[i], destination + i * a.destinationStep);
            }
            return;
        }
    }
    RowRing<Work, 2> ring(a.workRows);
    for (std::int32_t i = 0; i < a.destinationHeight; ++i) {
        const std::ptrdiff_t r = a.rowOffsets[i];
        const std::ptrdiff_t rows[2] = {r, r + a.sourceStep};
        ring.Bring(rows, [&](std::ptrdiff_t row, Work* work) {
            if constexpr (!std::is_same_v<T, float>) {
                if (copyColumns) {
                    ResizeHorzLinearCopy<T, L>(region + row, a.destinationWidth, work);
                    return;
                }
            }
            K::template HorzLinear<T, L>(region + row, a.destinationWidth, a.columnOffsets,
                                         columnWeights, work);
        });
        K::template VertLinear<T, L>(destination + i * a.destinationStep, a.destinationWidth,
                                     rowWeights[i], ring[0], ring[1]);
    }
}

// C3, AC4 and C4.
template <class K, class T>
void ResizeRowsLinearCn(const RowDriverArgs& a) {
    WithInterleavedLayout(a.channelCount, a.pixelStride,
                          [&](auto layout) { ResizeRowsLinear<K, T, decltype(layout)>(a); });
}

}  // namespace resize::frame
