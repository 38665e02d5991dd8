#pragma once
// Reads and writes one element of a block field in the field's encoding.
// Writes check first and change nothing when they refuse: a number outside
// the field's range, a text longer than the field takes, or a text with a
// character Windows-1250 cannot hold is never cut into a neighbour.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "config/blocks/BlockField.h"

namespace config {

enum class FieldStatus : std::uint8_t {
    Ok,
    OutOfRange,      // a number the field cannot hold
    TooLong,         // a text longer than the field takes (an area of the wrong size)
    NotWindows1250,  // a text with a character the device's code page lacks
    OutsideBlock,    // the element does not lie inside the block, or there is no such field
    WrongKind,       // a number for a text field or a text for a number field
};

// Numbers (IPv4 addresses with the first dotted part on top) or texts (UTF-8;
// the raw bytes of an area).
using FieldValue = std::variant<std::int64_t, std::string>;

bool IsTextCodec(FieldCodec codec);

// 0 or "" when the element lies outside the block.
std::int64_t ReadNumber(std::span<const std::uint8_t> block, const BlockField& field, std::size_t index = 0);
std::string ReadText(std::span<const std::uint8_t> block, const BlockField& field, std::size_t index = 0);
FieldValue ReadField(std::span<const std::uint8_t> block, const BlockField& field, std::size_t index = 0);

FieldStatus WriteNumber(std::span<std::uint8_t> block, const BlockField& field, std::size_t index,
                        std::int64_t value);
// Clears the whole element, then copies the text's Windows-1250 bytes.
FieldStatus WriteText(std::span<std::uint8_t> block, const BlockField& field, std::size_t index,
                      std::string_view utf8);
FieldStatus WriteField(std::span<std::uint8_t> block, const BlockField& field, std::size_t index,
                       const FieldValue& value);

// The text as the device stores it, or the reason it cannot be (Ok: fits maxChars).
FieldStatus EncodeBlockText(std::string_view utf8, std::size_t maxChars, std::string& windows1250);

// "a.b.c.d" of an address number (a on top).
std::string Ipv4Text(std::uint32_t address);

}  // namespace config
