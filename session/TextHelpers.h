#pragma once
// Small text conversions shared by the login, the device search, the
// recorders and the main window: two-digit date and time parts, dotted
// addresses and MAC texts to bytes, and the snapshot file name.

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

namespace session {

// n modulo 100 as two digits ("07", "59"; 2006 gives "06").
std::string TwoDigitText(int n);

// Splits the text at any of the delimiters (empty fields skipped) and stores
// each field's leading decimal number, cut to a byte, in the output's bytes;
// the output is zeroed first and fields beyond it are dropped. 1 when the
// text has a field, else 0. "172.20.3.7" at "." gives AC 14 03 07.
int SplitToBytes(std::string text, std::span<std::uint8_t> out, std::string_view delimiters);

// Drops every separator and turns each pair of hexadecimal characters into a
// byte, as many as the output holds; an odd last character is ignored and no
// character is refused. Returns 1.
int HexTextToBytes(std::string text, std::span<std::uint8_t> out, char separator);

// Twelve hexadecimal characters (either case) into six bytes. 0 when the text
// is not twelve characters long or the output holds fewer than six bytes
// (output untouched), or when a character is not hexadecimal (output zeroed).
int ParseMacAddress(std::string text, std::span<std::uint8_t> out);

// The snapshot file name for a local time: "061002T093005.jpg".
std::string SnapshotFileName(const std::tm& localTime);
// The folder (given a trailing "/" in place when it has none) followed by the name.
std::string SnapshotFilePath(std::string& folder, std::string_view fileName);

}  // namespace session
