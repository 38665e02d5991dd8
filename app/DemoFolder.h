#pragma once
// The folders of a --demo run: one temporary folder that is the program
// folder ($QUENLO_HOME) and holds a home folder of its own, set as $HOME and
// as the XDG config, data, cache and state folders (with the desktop inside
// it), and as the working folder. So every default folder (records,
// snapshots, backups, disc images), the file dialogs' state and the trace
// files land inside it, and the user's home stays as it was. The destructor
// puts the environment back and removes the folder.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quenlo {

class DemoFolder {
public:
    DemoFolder() = default;
    ~DemoFolder();
    DemoFolder(const DemoFolder&) = delete;
    DemoFolder& operator=(const DemoFolder&) = delete;

    // Makes the folders and points the environment at them; false (with
    // error()) when they cannot be made. Runs before the application object,
    // which reads some of these variables once.
    bool Enter();
    const std::filesystem::path& Path() const { return path_; }
    // The home folder inside it.
    std::filesystem::path Home() const { return path_ / "home"; }
    const std::string& error() const { return error_; }

private:
    void Set(const char* name, const std::string& value);

    std::filesystem::path path_;
    std::string error_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;  // variables as they were
    std::filesystem::path savedWorkingFolder_;
};

}  // namespace quenlo
