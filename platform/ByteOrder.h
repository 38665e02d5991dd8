#pragma once
// Little-endian fields of device records, stream headers and stored files,
// read and written byte by byte so neither the host's byte order nor the
// field's alignment matters.

#include <cstdint>

namespace platform {

constexpr std::uint16_t LoadLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

constexpr std::uint32_t LoadLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

constexpr void StoreLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

constexpr void StoreLe32(std::uint8_t* p, std::uint32_t v) {
    StoreLe16(p, static_cast<std::uint16_t>(v));
    StoreLe16(p + 2, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace platform
