#include "app/DemoFolder.h"

#include <QSettings>
#include <QString>

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace quenlo {

namespace {

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

void DemoFolder::Set(const char* name, const std::string& value) {
    saved_.emplace_back(name, Environment(name));
    ::setenv(name, value.c_str(), 1);
}

bool DemoFolder::Enter() {
    std::error_code ec;
    std::string pattern = (std::filesystem::temp_directory_path(ec) / "quenlo-demo-XXXXXX").string();
    if (ec || ::mkdtemp(pattern.data()) == nullptr) {
        error_ = "cannot make a temporary program folder";
        return false;
    }
    path_ = pattern;
    const auto home = Home();
    const auto config = home / ".config";
    const auto data = home / ".local" / "share";
    const auto cache = home / ".cache";
    const auto state = home / ".local" / "state";
    const auto desktop = home / "Desktop";
    for (const auto& folder : {config, data, cache, state, desktop})
        std::filesystem::create_directories(folder, ec);
    {
        std::ofstream dirs(config / "user-dirs.dirs");
        dirs << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n";
    }
    if (ec || !std::filesystem::is_directory(desktop, ec)) {
        error_ = "cannot make the folders of the demo in " + path_.string();
        return false;
    }

    // The X server's cookie is found through $HOME unless named.
    if (!Environment("XAUTHORITY")) {
        if (const auto realHome = Environment("HOME"); realHome && !realHome->empty()) {
            const auto cookie = std::filesystem::path(*realHome) / ".Xauthority";
            if (std::filesystem::exists(cookie, ec))
                Set("XAUTHORITY", cookie.string());
        }
    }
    Set("QUENLO_HOME", path_.string());
    Set("HOME", home.string());
    Set("XDG_CONFIG_HOME", config.string());
    Set("XDG_DATA_HOME", data.string());
    Set("XDG_CACHE_HOME", cache.string());
    Set("XDG_STATE_HOME", state.string());
    // Qt's own settings (the file dialogs' state) keep their folder from the first use on.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(config.string()));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(config.string()));
    // Relative names (the disc image's default "Image.iso") land here too.
    savedWorkingFolder_ = std::filesystem::current_path(ec);
    std::filesystem::current_path(path_, ec);
    return true;
}

DemoFolder::~DemoFolder() {
    if (path_.empty())
        return;
    std::error_code ignored;
    if (!savedWorkingFolder_.empty())
        std::filesystem::current_path(savedWorkingFolder_, ignored);
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->second)
            ::setenv(it->first.c_str(), it->second->c_str(), 1);
        else
            ::unsetenv(it->first.c_str());
    }
    if (const auto config = Environment("XDG_CONFIG_HOME"); config || Environment("HOME")) {
        const std::string folder = config ? *config : *Environment("HOME") + "/.config";
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(folder));
    }
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace quenlo
