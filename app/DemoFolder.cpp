#include "app/DemoFolder.h"

#include <stdlib.h>

#include <system_error>

namespace quenlo {

bool DemoFolder::Enter() {
    std::error_code ec;
    std::string pattern = (std::filesystem::temp_directory_path(ec) / "quenlo-demo-XXXXXX").string();
    if (ec || ::mkdtemp(pattern.data()) == nullptr) {
        error_ = "cannot make a temporary program folder";
        return false;
    }
    path_ = pattern;
    ::setenv("QUENLO_HOME", path_.c_str(), 1);
    return true;
}

DemoFolder::~DemoFolder() {
    if (path_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace quenlo
