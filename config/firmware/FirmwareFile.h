#pragma once
// Reads one firmware file whole, within kFirmwareFileLimit.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace config {

enum class FirmwareFileRead { Ok, OpenFailed, ReadFailed };

// OpenFailed when the file cannot be opened for reading; ReadFailed when it is
// not a regular file, is larger than the limit or a read fails.
FirmwareFileRead ReadFirmwareFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);

}  // namespace config
