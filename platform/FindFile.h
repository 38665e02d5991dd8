#pragma once
// File names that came from a system without letter case in its names (the
// skin pictures, the files a copy of the program takes) are looked up here
// without regard to ASCII letter case.

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// The existing path under `base` whose components match the "/"-separated
// `relative` name, each component compared without regard to ASCII letter
// case (an exact match is taken first). nullopt when there is none.
std::optional<std::filesystem::path> FindPathIgnoringCase(const std::filesystem::path& base,
                                                          std::string_view relative);

}  // namespace platform
