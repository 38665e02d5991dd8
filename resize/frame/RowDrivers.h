#pragma once
// The contract between the core and the row drivers: one argument block per call (per plane for
// planar data), and the layout of each build's fixed table of 27 drivers the core picks from.

#include <cstddef>
#include <cstdint>

namespace resize::frame {

// Steps and offsets are in elements. Which fields a driver reads depends on its method:
//   nearest: offsets only;
//   linear:  weights are uint16 (a per row, pairs {16384 - a, a} per column) for 8u and 16u
//            data, one float per row and column for 32f; work rows 0 and 1 (uint16 or float);
//   cubic:   one float fraction per row and column; float work rows 0 ... 3;
//   Lanczos: six float weights per row and column; float work rows 0 ... 5 and the edges.
struct RowDriverArgs {
    const void* region;          // the region's top-left element (of the plane)
    void* destination;           // the element that receives it
    std::ptrdiff_t sourceStep;
    std::ptrdiff_t destinationStep;
    std::int32_t destinationWidth;
    std::int32_t destinationHeight;
    const std::ptrdiff_t* rowOffsets;     // per destination row, from the region's first row
    const std::ptrdiff_t* columnOffsets;  // per destination column, within a row
    const void* rowWeights;
    const void* columnWeights;
    void* workRows[6];
    std::int32_t regionX;
    std::int32_t regionY;
    std::int32_t sourceExtentX;  // sourceWidth - regionX
    std::int32_t sourceExtentY;  // sourceHeight - regionY
    std::int32_t pixelStride;    // 0 for planar data
    std::int32_t channelCount;   // 0 for planar data
};

using RowDriver = void (*)(const RowDriverArgs& args);

struct RowDriverEntry {
    const char* name;
    RowDriver run;
};

inline constexpr int RowDriverCount = 27;

// Table bases of the methods.
inline constexpr int LanczosDriverBase = 0;
inline constexpr int CubicDriverBase = 6;
inline constexpr int LinearDriverBase = 12;
inline constexpr int NearestDriverBase = 18;

// base + elementType, + 3 for one-channel data (planar, or one channel); nearest on interleaved
// four-channel data uses 24 + elementType.
constexpr int RowDriverIndex(int base, std::int32_t elementType, bool oneChannel,
                             std::int32_t channelCount) {
    if (oneChannel) {
        return base + elementType + 3;
    }
    if (base == NearestDriverBase && channelCount == 4) {
        return 24 + elementType;
    }
    return base + elementType;
}

}  // namespace resize::frame
