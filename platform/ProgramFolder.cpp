#include "platform/ProgramFolder.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace platform {

std::filesystem::path ProgramFolder() {
    if (const char* home = std::getenv("QUENLO_HOME"); home && *home)
        return std::filesystem::path(home);
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec);
    return exe.parent_path();
}

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home);
    return std::filesystem::path("/");
}

std::filesystem::path DesktopFolder() {
    // XDG user-dirs: XDG_DESKTOP_DIR="$HOME/Desktop" in user-dirs.dirs.
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else
        config = HomeFolder() / ".config";
    std::ifstream in(config / "user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DESKTOP_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            return HomeFolder() / value.substr(value.size() > 5 && value[5] == '/' ? 6 : 5);
        if (!value.empty())
            return std::filesystem::path(value);
    }
    return HomeFolder() / "Desktop";
}

}  // namespace platform
