#pragma once
// Replaces a file as a whole: the new content goes to a temporary file in the
// same folder, which is renamed over the old one only when it was written in
// full. A failure at any step leaves the old file as it was. Reads can be
// bounded (a file over its cap goes aside, see MoveAside.h).

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

struct FileResult {
    bool ok = false;
    std::string error;  // what failed, for the caller's message
    bool exists = false;  // CreateFileAtomically: the name was already taken
    bool tooLarge = false;  // ReadWholeFile: the file holds more than the cap
    explicit operator bool() const { return ok; }
};

// The writer gets the open temporary file and returns false to abandon the replace.
FileResult ReplaceFileAtomically(const std::filesystem::path& path,
                                 const std::function<bool(std::FILE*)>& writer);
FileResult ReplaceFileAtomically(const std::filesystem::path& path, std::string_view content);

// Writes a new file the same way, but never over an existing one: when the name
// is taken, nothing changes and the result says so (exists = true).
FileResult CreateFileAtomically(const std::filesystem::path& path, std::string_view content);

// Reads the whole file into content; ok = false when it cannot be read, and
// also (with tooLarge, content empty) when it holds more than maxBytes: no
// file of ours is that large, and reading it would only exhaust the memory.
FileResult ReadWholeFile(const std::filesystem::path& path, std::string& content,
                         std::uintmax_t maxBytes = UINTMAX_MAX);

}  // namespace platform
