#pragma once
// The named fields of every configuration block the client reads or writes.
// Bytes no row names are kept as the device sent them.

#include <cstdint>
#include <span>
#include <string_view>

#include "config/DeviceFacts.h"
#include "config/blocks/BlockField.h"

namespace config {

// Every row of the option's table, whatever its gate.
std::span<const BlockField> FieldsOf(std::uint8_t option);
// True when the device carries the field.
bool Applies(const BlockField& field, const DeviceFacts& facts);
// The option's field of that name on this device; null when it has none.
const BlockField* FindField(std::uint8_t option, std::string_view name, const DeviceFacts& facts);

}  // namespace config
