#include "platform/ProgramFolder.h"

#include "platform/FindFile.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <system_error>

namespace platform {

namespace {

std::filesystem::path EnvironmentFolder(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace

std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec);
    return exe.parent_path();
}

std::filesystem::path ProgramFolder() { return ProgramFolderFor(ExecutableFolder()); }

std::filesystem::path ProgramFolderFor(const std::filesystem::path& executable) {
    std::error_code ec;
    if (auto home = EnvironmentFolder("QUENLO_HOME"); !home.empty()) {
        std::filesystem::create_directories(home, ec);  // ProgramFolderProblem tells of a failure
        return home;
    }
    if (std::filesystem::is_regular_file(executable / "Setting.ini", ec) && ::access(executable.c_str(), W_OK) == 0)
        return executable;
    auto data = EnvironmentFolder("XDG_DATA_HOME");
    if (data.empty())
        data = HomeFolder() / ".local" / "share";
    const auto folder = data / "quenlo";
    std::filesystem::create_directories(folder, ec);  // ProgramFolderProblem tells of a failure
    return folder;
}

std::string ProgramFolderProblem(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return "The program folder " + folder.string() + " does not exist and cannot be created";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "The program folder " + folder.string() + " cannot be written";
    return {};
}

namespace {
std::mutex g_shippedLock;
std::optional<std::vector<std::filesystem::path>> g_shippedFolders;
}  // namespace

void SetShippedFolders(std::optional<std::vector<std::filesystem::path>> folders) {
    const std::lock_guard lock(g_shippedLock);
    g_shippedFolders = std::move(folders);
}

std::vector<std::filesystem::path> ShippedFolders() {
    {
        const std::lock_guard lock(g_shippedLock);
        if (g_shippedFolders)
            return *g_shippedFolders;
    }
    const auto executable = ExecutableFolder();
    std::vector<std::filesystem::path> folders;
    if (executable.filename() == "bin")
        folders.push_back(executable.parent_path() / "share" / "quenlo");
    folders.push_back(executable);
    return folders;
}

std::optional<std::filesystem::path> FindShippedFile(const std::filesystem::path& programFolder,
                                                     std::string_view relative) {
    if (auto found = FindPathIgnoringCase(programFolder, relative))
        return found;
    for (const auto& folder : ShippedFolders())
        if (auto found = FindPathIgnoringCase(folder, relative))
            return found;
    return std::nullopt;
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
