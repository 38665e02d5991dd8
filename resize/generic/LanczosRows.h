#pragma once
// Lanczos row drivers and kernels: six taps per direction with the table's weights, applied as
// they are (not normalised). Taps beyond the image's edges repeat the edge pixel, row or column.
// Sums in double, horizontal results stored as floats.

#include <algorithm>
#include <cstdint>

#include "resize/generic/PixelLayouts.h"
#include "resize/generic/RowDrivers.h"
#include "resize/generic/RowRing.h"

namespace resize::generic {

// work pixel k = sum of weight j x source pixel base + j - 2 (j = 0 ... 5), where the source
// pixel's column is kept within the image: firstColumn and lastColumn are the image's first and
// last pixel as element offsets from the region's first pixel.
template <class T, class L>
void ResizeHorzLanczos(const T* row, std::int32_t count, const std::ptrdiff_t* columnOffsets,
                       const float* columnWeights, std::ptrdiff_t firstColumn,
                       std::ptrdiff_t lastColumn, float* __restrict work) {
    constexpr std::ptrdiff_t s = L::pixelStride;
    for (std::int32_t k = 0; k < count; ++k) {
        const std::ptrdiff_t base = columnOffsets[k];
        const float* w = columnWeights + 6 * static_cast<std::ptrdiff_t>(k);
        std::ptrdiff_t taps[6];
        if (base - 2 * s >= firstColumn && base + 3 * s <= lastColumn) {
            for (int j = 0; j < 6; ++j) {
                taps[j] = base + (j - 2) * s;
            }
        } else {
            for (int j = 0; j < 6; ++j) {
                taps[j] = std::clamp(base + (j - 2) * s, firstColumn, lastColumn);
            }
        }
        float* out = work + static_cast<std::ptrdiff_t>(k) * L::channels;
        for (int c = 0; c < L::channels; ++c) {
            double sum = static_cast<double>(w[0]) * row[taps[0] + c];
            for (int j = 1; j < 6; ++j) {
                sum += static_cast<double>(w[j]) * row[taps[j] + c];
            }
            out[c] = static_cast<float>(sum);
        }
    }
}

// destination pixel k = sum of row weight j x work row j (source rows base - 2 ... base + 3).
template <class T, class L>
void ResizeVertLanczos(T* __restrict destination, std::int32_t count, const float* rowWeights,
                       const float* const* rows) {
    const double w0 = rowWeights[0];
    const double w1 = rowWeights[1];
    const double w2 = rowWeights[2];
    const double w3 = rowWeights[3];
    const double w4 = rowWeights[4];
    const double w5 = rowWeights[5];
    for (std::int32_t k = 0; k < count; ++k) {
        T* out = destination + static_cast<std::ptrdiff_t>(k) * L::pixelStride;
        const std::ptrdiff_t e = static_cast<std::ptrdiff_t>(k) * L::channels;
        for (int c = 0; c < L::channels; ++c) {
            double sum = w0 * rows[0][e + c];
            sum += w1 * rows[1][e + c];
            sum += w2 * rows[2][e + c];
            sum += w3 * rows[3][e + c];
            sum += w4 * rows[4][e + c];
            sum += w5 * rows[5][e + c];
            out[c] = ToElement<T>(sum);
        }
    }
}

// The ring keeps the filtered rows base - 2 ... base + 3, each kept within the image's rows; a
// row beyond an edge is the edge row's work row. It holds every row it still needs whatever the
// advance, so enlargements (one row at a time) and reductions (any advance) share one path.
template <class T, class L>
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
            ResizeHorzLanczos<T, L>(region + row, a.destinationWidth, a.columnOffsets,
                                    columnWeights, firstColumn, lastColumn, work);
        });
        const float* slots[6] = {ring[0], ring[1], ring[2], ring[3], ring[4], ring[5]};
        ResizeVertLanczos<T, L>(destination + i * a.destinationStep, a.destinationWidth,
                                rowWeights + 6 * static_cast<std::ptrdiff_t>(i), slots);
    }
}

// C3, AC4 and C4.
template <class T>
void ResizeRowsLanczosCn(const RowDriverArgs& a) {
    WithInterleavedLayout(a.channelCount, a.pixelStride,
                          [&](auto layout) { ResizeRowsLanczos<T, decltype(layout)>(a); });
}

}  // namespace resize::generic
