#pragma once
// Text encodings of the files and records we read and write. Our own files are
// UTF-8; files and device texts from the original Windows program are
// Windows-1250, so anything that is not valid UTF-8 is read as Windows-1250.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

bool IsValidUtf8(std::string_view bytes);

std::string Windows1250ToUtf8(std::string_view bytes);
// Characters that Windows-1250 cannot hold become '?'.
std::string Utf8ToWindows1250(std::string_view utf8);

// Valid UTF-8 as it stands, anything else decoded as Windows-1250.
std::string DecodeText(std::string_view bytes);

// The longest prefix of at most max bytes that does not split a UTF-8 sequence.
std::string_view CutUtf8(std::string_view text, std::size_t max);

}  // namespace platform
