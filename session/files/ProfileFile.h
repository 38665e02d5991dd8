#pragma once
// A profile (".ini") file held as its lines: "[section]" headers and
// "key=value" lines. Lookups ignore letter case and the blanks around names
// and values; setting a key rewrites its line where it stands or appends it to
// its section, so comments, unknown keys and other sections survive a save.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AtomicFile.h"

namespace session {

// Our profile files hold a few kilobytes; a larger one is not read.
inline constexpr std::uintmax_t kProfileFileMaxBytes = 1 << 20;

class ProfileFile {
public:
    // Reads the file (UTF-8, or Windows-1250 from the original program).
    // Fails, with an empty profile, when it cannot be read or holds more than
    // maxBytes (tooLarge).
    platform::FileResult Load(const std::filesystem::path& path, std::uintmax_t maxBytes = kProfileFileMaxBytes);
    void Parse(std::string_view text);

    // The value of the first such key in the first such section.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // A line break in the value would start a new line: the value ends before it.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // The lines joined with CR LF, in UTF-8.
    std::string Text() const;
    // Replaces the file atomically; false when it cannot be written.
    bool Save(const std::filesystem::path& path) const;

private:
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::vector<std::string> lines_;
};

}  // namespace session
