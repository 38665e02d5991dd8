#pragma once
// Writes the whole skin set into a program folder's BMP/.

#include <filesystem>
#include <string>
#include <vector>

namespace skins {

struct SkinSetResult {
    std::size_t written = 0;
    std::vector<std::string> failed;  // names that could not be written
};

// Writes every picture of SkinPictures() under `folder` (which gets BMP/...),
// as 24-bit BMP files, making the folders it needs.
SkinSetResult WriteSkinSet(const std::filesystem::path& folder);

// The program's icon for the desktop entry: the main window's snapshot
// button, drawn as the skin draws it at `size` pixels square, as a PNG file.
bool WriteProgramIcon(const std::filesystem::path& file, int size = 64);

}  // namespace skins
