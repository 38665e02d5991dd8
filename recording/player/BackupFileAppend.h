#pragma once
// One open-append-close of the growing backup file, under the backup lock when
// a player may be reading it.

#include <cstdint>
#include <filesystem>
#include <span>
#include <stop_token>

#include "platform/SyncObjects.h"
#include "session/AppData.h"

namespace recording {

// False when the lock was not had in `lockWait` (or a stop came first), the
// file does not exist (it is never made here) or it could not be written whole
// (what was written of it is then cut off again); the lock is released on
// every path.
bool AppendToBackupFile(session::AppData& app, const std::filesystem::path& file,
                        std::span<const std::uint8_t> bytes, platform::Millis lockWait, std::stop_token stop = {});

}  // namespace recording
