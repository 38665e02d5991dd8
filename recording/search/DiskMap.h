#pragma once
// The DVR's disks as "/GetDvrHDD.cgi" reports them: a 32-byte bitmap (bit b
// of byte b / 8 set when disk b is present) and one more byte, and the
// names the pages give the disks.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace recording {

inline constexpr std::size_t kDiskReplyBytes = 1024;  // the reply area
inline constexpr std::size_t kDiskBitmapBytes = 32;

struct DiskMap {
    // The bitmap, then reply byte 32 (kept, not used).
    std::array<std::uint8_t, kDiskBitmapBytes + 1> m_byDiskMap{};

    bool Present(unsigned disk) const {
        return disk < 8 * kDiskBitmapBytes && (m_byDiskMap[disk / 8] >> (disk % 8) & 1) != 0;
    }
    // The present disks' numbers, ascending.
    std::vector<std::uint8_t> Disks() const;
};

// A reply body shorter than the map reads as zeros past its end; one longer
// than the reply area is refused.
std::optional<DiskMap> ParseDiskReply(std::span<const std::uint8_t> body);

// 0 "MASTER1", 1 "SLAVE1", 2 "MASTER2", 3 "SLAVE2", n from 4 "EXT-%.2d" of n - 3.
std::string DiskName(unsigned disk);

}  // namespace recording
