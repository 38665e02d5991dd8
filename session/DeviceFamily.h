#pragma once
// Where the logged-in device belongs and what it can do: product families,
// the firmware-version gate, the multi-channel flag and capability bits; and
// the small text and picture helpers the windows share (numeric edit filter,
// peripheral model codes, two-state captions, the cross marker).
//
// The no-argument forms read the device facts the login left in g_lpApp (none
// yet: false / 0); the forms taking a product code serve callers that hold one.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace session {

bool IsDvrFamily(std::string_view productId);          // "R41T", "R42T", "R43T"
bool IsVideoServerFamily(std::string_view productId);  // "R47T"
bool IsG66MFamily(std::string_view productId);         // "G66M"
bool IsN5HFamily(std::string_view productId);          // "N51H", "N52H", "N53H"
bool IsDvrFamily();
bool IsVideoServerFamily();
bool IsG66MFamily();
bool IsN5HFamily();

std::uint8_t GetMultiChannelFlag();
// 1 when the device's capability word has a bit of the mask, else 0.
int HasCapability(std::uint32_t mask);

// Reference (the lowest firmware with a feature) against the device's version:
// 2 the device is older, 1 newer, 0 the same, -1 either text is not four
// characters long. Gates leave a feature out only on 2.
int CompareFirmwareVersion(std::string reference, std::string device);

// Reduces an edit box's text to a number in place: mode 0 keeps digits and a
// leading minus, mode 1 digits only, other modes nothing. A text of 256
// characters or more is left alone and gives 0; otherwise 1.
int FilterNumericText(std::string& text, std::uint8_t mode);

// Peripheral model codes and their positions in the peripheral page's lists.
std::uint8_t PeripheralModelToIndex(std::uint8_t model);
std::uint8_t PeripheralIndexToModel(std::uint8_t index);

// A two-state caption from the string table, "on$off": the part before the
// first "$" and the part after it, each at most 49 bytes (cut between
// characters). A text without "$" is all first caption. Returns 1.
int SplitCaptionPair(unsigned stringId, std::string& first, std::string& second);

// Draws the 17 x 17 cross marker centred at (x, y), y counted from the top,
// into a bottom-up picture of width x height 3-byte pixels without row
// padding. Only pixels inside the picture are written; a buffer smaller than
// the picture gets nothing. Returns 1.
int DrawCrossMarker(std::span<std::uint8_t> picture, std::uint16_t width, std::uint16_t height,
                    std::uint32_t colour, std::uint16_t x, std::uint16_t y);

}  // namespace session
