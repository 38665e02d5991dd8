#pragma once
// One named field of a configuration block: where it sits, how wide it is, how
// its bytes encode a value, how often it repeats, and on which devices it
// exists. The block tables (BlockFieldTable) are made of these rows.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace config {

enum class FieldCodec : std::uint8_t {
    U8,
    S8,
    U16,       // little-endian
    U32,       // little-endian
    Minutes,   // signed 32-bit little-endian; -1 unlimited
    Ipv4,      // four bytes a, b, c, d; held as a number with a on top
    Text,      // Windows-1250, zero-padded; no terminator when full
    Area,      // raw bytes, taken and given as they are
};

// Which devices carry the field (the rest leave those bytes unnamed, or name them otherwise).
enum class FieldGate : std::uint8_t {
    Always,
    NewPppoe,          // block 6 in the new layout
    OldPppoe,          // block 6 in the old layout
    SenderInSystem,    // block 7 carries sender characters 16-42
    SenderInSntp,      // block 8's text carries sender characters 16-42
    ChannelNames,      // block 10 holds two channel names (video server from "1010")
    PtzRows,           // block 10 in its per-channel PTZ layout (every other device)
    Dvr,
    VideoServer,
};

struct BlockField {
    std::uint8_t option;
    std::string_view name;
    std::size_t offset;
    std::size_t width;        // bytes of one element
    FieldCodec codec;
    std::size_t count = 1;    // elements
    std::size_t stride = 0;   // bytes between elements (0: width)
    std::size_t maxChars = 0; // texts: longest text the field takes (0: width)
    FieldGate gate = FieldGate::Always;

    std::size_t Offset(std::size_t index) const { return offset + index * (stride ? stride : width); }
    std::size_t MaxChars() const { return maxChars ? maxChars : width; }
    std::size_t End() const { return Offset(count - 1) + width; }
};

}  // namespace config
