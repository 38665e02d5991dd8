#pragma once
// A --demo run: its temporary folders (DemoFolder) and the simulated device
// beside the program (DemoDevice), with the login dialog filled for it.

#include <filesystem>
#include <string>

#include "app/DemoDevice.h"
#include "app/DemoFolder.h"
#include "app/TavrinApp.h"

namespace quenlo {

class DemoRun {
public:
    // Enters the demo's folders, then starts `simulator`; false (with error())
    // when either fails. Runs before the application object.
    bool Start(const std::filesystem::path& simulator);
    // The login dialog opens filled with the device (all but the password).
    void PrefillLogin(session::TavrinAppOptions& options) const;

    const DemoFolder& Folder() const { return folder_; }
    const DemoDevice& Device() const { return device_; }
    const std::string& error() const { return error_; }

private:
    // The device ends before its folder goes.
    DemoFolder folder_;
    DemoDevice device_;
    std::string error_;
};

}  // namespace quenlo
