#pragma once
// The generic build's Lanczos kernels: six taps per direction with the table's weights, applied
// as they are (not normalised). Taps beyond the image's edges repeat the edge pixel. Sums in
// double, horizontal results stored as floats.

#include <algorithm>
#include <cstdint>

#include "resize/frame/PixelLayouts.h"

namespace resize::generic {

using frame::ToElement;

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

}  // namespace resize::generic
