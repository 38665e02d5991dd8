#pragma once
// The FTP page's values over block 5. A stored text longer than the page
// takes loads as empty and stays on the device unless the person retypes it.

#include <cstdint>
#include <string>

#include "config/Tracked.h"
#include "config/pages/BlockStore.h"

namespace config {

class ConfigWorkingSet;

// Longest texts the page takes: server, user, password, directory.
inline constexpr int kFtpServerChars = 31;
inline constexpr int kFtpUserChars = 15;
inline constexpr int kFtpPasswordChars = 15;
inline constexpr int kFtpDirectoryChars = 31;
inline constexpr std::int64_t kFtpDefaultPort = 21;

struct FtpValues {
    Tracked<std::string> server, user, password, directory;
    Tracked<std::int64_t> port;
};

FtpValues LoadFtpValues(const ConfigWorkingSet& set);
// Writes the changed values into the working copy of block 5.
void WriteFtpChanges(const FtpValues& values, ConfigWorkingSet& set);
// The FTP page's Apply: writes the changes and stores block 5 when it changed. Returns 0.
int SendFtpConfig(const FtpValues& values, ConfigWorkingSet& set, const StoreBlock& store);

}  // namespace config
