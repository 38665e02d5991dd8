#pragma once
// The live picture's last step into the window's layout (32-bit words
// 0xFFRRGGBB, Qt's RGB32, rows top-down), in code for each instruction set the
// machine may have. FrameDisplay uses the best one; the others stay for
// machines without it and for the tests, which hold every one to the same bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace session {

enum class PixelCode { Scalar, Ssse3, Avx2 };

// The best code this machine runs.
PixelCode BestPixelCode();
bool MachineRuns(PixelCode code);

// A 24-bit blue-green-red picture whose rows are bottom-up, sourceStride bytes
// apart, into the window's layout, destinationStride bytes apart.
void ToDisplayPixels(PixelCode code, const std::uint8_t* source, std::size_t sourceStride, int width, int height,
                     std::uint8_t* destination, std::size_t destinationStride);

// The resize library's linear row mapping for a picture whose columns stay as
// they are: per new row its upper source row and the lower row's share of 16384.
struct BlendedRowTable {
    std::vector<std::int32_t> upperRows;
    std::vector<std::uint16_t> shares;
    // False when the library would not blend whole source rows for these sizes.
    bool Make(int width, int height, int newHeight);
};

// The new rows of a 24-bit picture (rows bottom-up, width × 3 bytes apart) as
// the resize entry blends them, straight into the window's layout.
void BlendedToDisplayPixels(PixelCode code, const std::uint8_t* source, int width, const BlendedRowTable& rows,
                            std::uint8_t* destination, std::size_t destinationStride);

}  // namespace session
