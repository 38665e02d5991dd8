#pragma once
// The combined firmware image of the video server, G66M and N5H devices: a
// plain run of FirmwareImageRecords from offset 0 to the end of the file, each
// a 4-byte little-endian header (bits 0-3 the record type, bits 4-31 the data
// length) followed by its data. No file header, count or checksum.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "config/firmware/FirmwareItem.h"

namespace config {

inline constexpr std::size_t kImageRecordHeaderSize = 4;
// Record types the device knows; others are sent too.
inline constexpr std::uint8_t kImageRecordBoot = 0;
inline constexpr std::uint8_t kImageRecordKernel = 1;
inline constexpr std::uint8_t kImageRecordHtml = 4;

struct FirmwareImageRecord {
    std::uint8_t type = 0;    // header & 15
    std::uint32_t length = 0; // header >> 4
};
FirmwareImageRecord DecodeImageRecordHeader(std::uint32_t header);

struct FirmwareImage {
    unsigned error = 0;  // 0, kFirmwareOpenFailed or kFirmwareReadFailed
    std::vector<FirmwareItem> records;  // kind = record type, in file order
    std::uint64_t fileSize = 0;
};

// Splits the image's bytes into its records. kFirmwareReadFailed (and no
// record) for an empty image, a header cut short or a record whose length
// runs past the end.
FirmwareImage ParseFirmwareImage(std::span<const std::uint8_t> bytes);
// Reads and splits the image file: kFirmwareOpenFailed when it cannot be
// opened, kFirmwareReadFailed when it cannot be read or split.
FirmwareImage LoadFirmwareImage(const std::filesystem::path& path);

}  // namespace config
