#pragma once
// The DVR's settings replies: text of "KEY=value;" items. Keys match whole and
// in any order (MONTH never takes STARTMONTH's value); each value is a signed
// decimal of which the field keeps its low 8 or 16 bits. A key the reply
// lacks keeps its field at 0, as the page's record starts.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace config {

struct KeyValueKey {
    std::string_view key;
    std::uint8_t bits;  // 8 or 16
};

// The reply area of a settings read; a reply that fills it is not whole.
inline constexpr std::size_t kKeyValueReplyArea = 1024;

struct KeyValueRead {
    std::vector<std::uint16_t> values;  // in the keys' order; 0 for a key not given
    std::vector<bool> given;
};

// The values of the keys; none when the reply fills the area. A key given
// twice takes its first value.
std::optional<KeyValueRead> ReadKeyValueReply(std::string_view reply, std::span<const KeyValueKey> keys);

// Leading blanks, an optional sign, then digits up to the first other
// character (none: 0); the result is exact in its low 32 bits however long.
std::uint32_t ParseDecimalLowBits(std::string_view text);

}  // namespace config
