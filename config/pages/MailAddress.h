#pragma once
// Recipient addresses of the mail page: the block keeps "local <address>"
// (or "<address>"), the list shows the bare address.

#include <cstdint>
#include <string>
#include <string_view>

namespace config {

// Mode 0: list form to stored form; mode 1: stored form to list form (the
// text between the first "<" and the last ">", at most 49 characters; a text
// without both is shown as stored); any other mode: the text unchanged.
std::string FormatMailAddress(std::string_view text, int mode);

// A recipient slot is 48 bytes; the stored form keeps a terminating zero
// inside it, so nothing runs into the next slot or the DDNS domain.
inline constexpr std::size_t kRecipientSlotChars = 47;
// The stored form of the list-form address fits its slot in the device's code page.
bool RecipientFitsSlot(std::string_view listForm);

}  // namespace config
