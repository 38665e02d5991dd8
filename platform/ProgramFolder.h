#pragma once
#include <filesystem>

namespace platform {

// The folder of the program's own files: $QUENLO_HOME when set, else the
// executable's folder.
std::filesystem::path ProgramFolder();

// The user's home folder (stands in for a drive root default), and the XDG desktop folder.
std::filesystem::path HomeFolder();
std::filesystem::path DesktopFolder();

}  // namespace platform
