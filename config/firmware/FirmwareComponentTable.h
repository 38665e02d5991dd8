#pragma once
// The component files of a DVR's firmware: one table of 19 file names per
// model, which differ only in row 0 (the kernel). A row's number is the Type
// its file carries on the wire.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/firmware/FirmwareItem.h"

namespace config {

inline constexpr std::size_t kComponentRows = 19;
using FirmwareComponentTable = std::array<std::string, kComponentRows>;

// The table of a DVR model ("R41T", "R42T", "R43T"); nullopt for any other product.
std::optional<FirmwareComponentTable> ComponentTableFor(std::string_view productId);

struct ComponentFolder {
    unsigned error = 0;               // 0 or kFirmwareFolderEmpty
    std::vector<FirmwareItem> items;  // the rows found, in row order (kind = row)
    std::uint64_t totalSize = 0;      // the progress base
};

// Reads every file of the table found in the folder, its name matched without
// regard to letter case (an exact spelling wins). A file that cannot be read
// whole is left out; kFirmwareFolderEmpty when no file was read.
ComponentFolder LoadComponentFolder(const std::filesystem::path& folder, const FirmwareComponentTable& table);

}  // namespace config
