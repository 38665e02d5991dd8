#pragma once
// Nearest-neighbour row drivers: every destination pixel is a copy of the source pixel the
// mapping chose. They use no kernels; the build parameter K gives each build its own copy.

#include <cstdint>
#include <cstring>

#include "resize/frame/PixelLayouts.h"
#include "resize/frame/RowDrivers.h"

namespace resize::frame {

// Elements are copied as unsigned integers of their size, so floats keep their bit patterns.
template <class T>
using CopyUnit = std::conditional_t<sizeof(T) == 1, std::uint8_t,
                                    std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint32_t>>;

template <class K, class T, class L>
void ResizeRowsNearest(const RowDriverArgs& a) {
    using U = CopyUnit<T>;
    const U* region = static_cast<const U*>(a.region);
    U* destination = static_cast<U*>(a.destination);
    const std::ptrdiff_t* columns = a.columnOffsets;
    // Packed layouts can repeat a destination row whose source row is the previous one's with
    // one copy; AC4 must leave every fourth element alone.
    constexpr bool packed = L::channels == L::pixelStride;
    const std::size_t rowBytes = static_cast<std::size_t>(a.destinationWidth) * L::pixelStride * sizeof(U);
    for (std::int32_t i = 0; i < a.destinationHeight; ++i) {
        U* out = destination + i * a.destinationStep;
        if (packed && i > 0 && a.rowOffsets[i] == a.rowOffsets[i - 1]) {
            std::memmove(out, out - a.destinationStep, rowBytes);
            continue;
        }
        const U* in = region + a.rowOffsets[i];
        for (std::int32_t k = 0; k < a.destinationWidth; ++k) {
            const U* p = in + columns[k];
            U* q = out + static_cast<std::ptrdiff_t>(k) * L::pixelStride;
            for (int c = 0; c < L::channels; ++c) {
                q[c] = p[c];
            }
        }
    }
}

// Three channels at the pixel stride (C3, AC4).
template <class K, class T>
void ResizeRowsNearestCn(const RowDriverArgs& a) {
    if (a.pixelStride == 4) {
        ResizeRowsNearest<K, T, LayoutAC4>(a);
    } else {
        ResizeRowsNearest<K, T, LayoutC3>(a);
    }
}

}  // namespace resize::frame
