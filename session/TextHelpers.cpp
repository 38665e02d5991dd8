#include "session/TextHelpers.h"

#include <algorithm>

#include "platform/AsciiText.h"

namespace session {

namespace {

void UpperCase(std::string& text) {
    std::transform(text.begin(), text.end(), text.begin(), platform::AsciiUpper);
}

// A hexadecimal character's value as the devices' texts are read: letters
// from 'A' count from 10, everything else from '0'; nothing is refused.
unsigned HexValue(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' ? u - 55u : u - 48u;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// The leading decimal number of a field (blanks and a sign first), cut to a byte.
std::uint8_t LeadingNumberByte(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || (field[i] >= '\t' && field[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    unsigned value = 0;  // modulo 256 all the way, so long digit runs cannot overflow
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = (value * 10 + unsigned(field[i] - '0')) & 0xFF;
    return static_cast<std::uint8_t>(negative ? (256 - value) & 0xFF : value);
}

}  // namespace

std::string TwoDigitText(int n) {
    const int r = n % 100;
    return (r < 10 ? "0" : "") + std::to_string(r);
}

int SplitToBytes(std::string text, std::span<std::uint8_t> out, std::string_view delimiters) {
    std::fill(out.begin(), out.end(), 0);
    UpperCase(text);
    std::size_t fields = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto start = text.find_first_not_of(delimiters, pos);
        if (start == std::string::npos)
            break;
        const auto end = std::min(text.find_first_of(delimiters, start), text.size());
        if (fields < out.size())
            out[fields] = LeadingNumberByte(std::string_view(text).substr(start, end - start));
        ++fields;
        pos = end;
    }
    return fields > 0 ? 1 : 0;
}

int HexTextToBytes(std::string text, std::span<std::uint8_t> out, char separator) {
    std::erase(text, separator);
    UpperCase(text);
    const std::size_t count = std::min(text.size() / 2, out.size());
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::uint8_t>(16 * HexValue(text[2 * i]) + HexValue(text[2 * i + 1]));
    return 1;
}

int ParseMacAddress(std::string text, std::span<std::uint8_t> out) {
    if (text.size() != 12 || out.size() < 6)
        return 0;
    UpperCase(text);
    std::fill_n(out.begin(), 6, 0);
    if (!std::all_of(text.begin(), text.end(), IsHexDigit))
        return 0;
    for (std::size_t i = 0; i < 6; ++i)
        out[i] = static_cast<std::uint8_t>(16 * HexValue(text[2 * i]) + HexValue(text[2 * i + 1]));
    return 1;
}

std::string SnapshotFileName(const std::tm& t) {
    return TwoDigitText(t.tm_year + 1900) + TwoDigitText(t.tm_mon + 1) + TwoDigitText(t.tm_mday) +
           "T" + TwoDigitText(t.tm_hour) + TwoDigitText(t.tm_min) + TwoDigitText(t.tm_sec) + ".jpg";
}

std::string SnapshotFilePath(std::string& folder, std::string_view fileName) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder + std::string(fileName);
}

}  // namespace session
