#pragma once
// Settings a simulated device can be given for the configuration pages'
// tests, on top of its filled blocks: each call changes only its own fields.

#include <cstddef>
#include <string_view>

#include "simulator/DeviceProfile.h"

namespace devicesim {

// Clears the field and writes the text's bytes (no terminator when it fills the field).
void PutBlockText(DeviceProfile& profile, int option, std::size_t offset, std::size_t width, std::string_view text);

// Mail: recipients "john <john@x.pl>" in slot 1 and "<x>" in slot 3, slots 0 and 2 free.
void SetMailRecipients(DeviceProfile& profile);
// FTP: a server name of 32 characters, filling its field.
void SetLongFtpServer(DeviceProfile& profile);

}  // namespace devicesim
