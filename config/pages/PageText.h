#pragma once
// Counting and splitting page texts by the characters the device stores: the
// block texts are Windows-1250, one byte per character.

#include <algorithm>
#include <cstddef>
#include <string>

#include "platform/TextCodec.h"

namespace config {

inline std::size_t BlockCharCount(const std::string& utf8) { return platform::Utf8ToWindows1250(utf8).size(); }

// The first `chars` characters; the rest into *rest when asked.
inline std::string BlockHead(const std::string& utf8, std::size_t chars, std::string* rest = nullptr) {
    const std::string bytes = platform::Utf8ToWindows1250(utf8);
    if (rest)
        *rest = platform::Windows1250ToUtf8(bytes.substr(std::min(chars, bytes.size())));
    return platform::Windows1250ToUtf8(bytes.substr(0, chars));
}

}  // namespace config
