#pragma once
// What a firmware upload sends and which road it takes: the items (component
// files of a DVR, records of a combined image) and the four upload paths,
// chosen by device family and firmware version.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace config {

// One piece of firmware sent on its own: a component file (kind = its row in
// the component table) or an image record (kind = the record type).
struct FirmwareItem {
    std::uint8_t kind = 0;
    std::vector<std::uint8_t> data;
};

enum class UploadPath {
    DvrChunked,    // component files, one "/UpgradeFW.cgi" per 900-byte chunk
    DvrStream,     // component files, "/UpgradeFW2.cgi" and the raw bytes
    ImageChunked,  // image records, as DvrChunked
    ImageStream,   // image records, as DvrStream
};

// The path of a device: the DVR family streams from "1070", the video server
// from "1013" (a version that is not four characters streams on both); G66M
// and N5H always send chunks. nullopt for a device outside these families.
std::optional<UploadPath> ChooseUploadPath(std::string_view productId, const std::string& firmwareVersion);

bool IsStreamPath(UploadPath path);
bool IsImagePath(UploadPath path);

// Messages of the upgrade.
inline constexpr unsigned kFirmwareOpenFailed = 4047;    // the image file cannot be opened
inline constexpr unsigned kFirmwareWritingFlash = 4048;  // every item was sent
inline constexpr unsigned kFirmwareReadFailed = 4057;    // the image cannot be read or holds no record
inline constexpr unsigned kFirmwareUploadFailed = 4077;
inline constexpr unsigned kFirmwareFolderEmpty = 4111;   // no component file in the folder

// The most bytes a firmware file may hold; a larger one is not read.
inline constexpr std::uint64_t kFirmwareFileLimit = 256ull * 1024 * 1024;

}  // namespace config
