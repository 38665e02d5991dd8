#include "platform/FindFile.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "platform/AsciiText.h"

namespace platform {
namespace {

// The entry of `folder` named `name` in any letter case; the first in name
// order when several differ only in case, so the choice does not depend on
// the order the folder lists them.
std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& folder, std::string_view name) {
    std::error_code ec;
    const auto exact = folder / std::string(name);
    if (std::filesystem::exists(exact, ec))
        return exact;
    std::vector<std::string> matches;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (EqualsIgnoringAsciiCase(entry, name))
            matches.push_back(std::move(entry));
    }
    if (matches.empty())
        return std::nullopt;
    return folder / *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::optional<std::filesystem::path> FindPathIgnoringCase(const std::filesystem::path& base,
                                                          std::string_view relative) {
    std::filesystem::path current = base;
    std::size_t start = 0;
    while (start <= relative.size()) {
        const std::size_t slash = std::min(relative.find('/', start), relative.size());
        const std::string_view part = relative.substr(start, slash - start);
        start = slash + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..")
            return std::nullopt;  // names stay inside the base folder
        auto found = FindEntry(current, part);
        if (!found)
            return std::nullopt;
        current = std::move(*found);
    }
    std::error_code ec;
    if (!std::filesystem::exists(current, ec))
        return std::nullopt;
    return current;
}

}  // namespace platform
