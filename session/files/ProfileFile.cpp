#include "session/files/ProfileFile.h"

#include "platform/AsciiText.h"
#include "platform/AtomicFile.h"
#include "platform/TextCodec.h"

namespace session {

namespace {

using platform::EqualsIgnoringAsciiCase;
using platform::TrimBlanks;

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimBlanks(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimBlanks(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    line = TrimBlanks(line);
    return !line.empty() && line.front() == ';';
}

// Key and value of a "key=value" line.
std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line) {
    if (IsComment(line))
        return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return std::pair{TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))};
}

}  // namespace

platform::FileResult ProfileFile::Load(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    std::string bytes;
    auto read = platform::ReadWholeFile(path, bytes, maxBytes);
    if (!read) {
        lines_.clear();
        return read;
    }
    Parse(platform::DecodeText(bytes));
    return read;
}

void ProfileFile::Parse(std::string_view text) {
    lines_.clear();
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines_.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
}

std::optional<std::size_t> ProfileFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (const auto name = SectionName(lines_[i]); name && EqualsIgnoringAsciiCase(*name, section))
            return i;
    return std::nullopt;
}

std::optional<std::string> ProfileFile::Get(std::string_view section, std::string_view key) const {
    const auto header = FindSection(section);
    if (!header)
        return std::nullopt;
    for (std::size_t i = *header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i)
        if (const auto kv = KeyValue(lines_[i]); kv && EqualsIgnoringAsciiCase(kv->first, key))
            return std::string(kv->second);
    return std::nullopt;
}

void ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    value = value.substr(0, value.find_first_of("\r\n"));
    std::string line = std::string(key) + "=" + std::string(value);
    auto header = FindSection(section);
    if (!header) {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::move(line));
        return;
    }
    // New keys go after the section's last non-blank line, before the blank
    // lines that separate it from the next section.
    std::size_t insertAt = *header + 1;
    for (std::size_t i = *header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
        if (const auto kv = KeyValue(lines_[i]); kv && EqualsIgnoringAsciiCase(kv->first, key)) {
            lines_[i] = std::move(line);
            return;
        }
        if (!TrimBlanks(lines_[i]).empty())
            insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

std::string ProfileFile::Text() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool ProfileFile::Save(const std::filesystem::path& path) const {
    return static_cast<bool>(platform::ReplaceFileAtomically(path, Text()));
}

}  // namespace session
