#pragma once
// The program folder of a --demo run: a temporary folder, set as $QUENLO_HOME
// so the run reads and writes none of the user's files, removed at the end.

#include <filesystem>
#include <string>

namespace quenlo {

class DemoFolder {
public:
    DemoFolder() = default;
    ~DemoFolder();
    DemoFolder(const DemoFolder&) = delete;
    DemoFolder& operator=(const DemoFolder&) = delete;

    // Makes the folder and points $QUENLO_HOME at it; false (with error()) when it cannot be made.
    bool Enter();
    const std::filesystem::path& Path() const { return path_; }
    const std::string& error() const { return error_; }

private:
    std::filesystem::path path_;
    std::string error_;
};

}  // namespace quenlo
