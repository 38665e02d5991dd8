#include "config/firmware/FirmwareImage.h"

#include "config/firmware/FirmwareFile.h"
#include "platform/ByteOrder.h"

namespace config {

FirmwareImageRecord DecodeImageRecordHeader(std::uint32_t header) {
    return {static_cast<std::uint8_t>(header & 15), header >> 4};
}

FirmwareImage ParseFirmwareImage(std::span<const std::uint8_t> bytes) {
    FirmwareImage image;
    image.fileSize = bytes.size();
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        if (bytes.size() - offset < kImageRecordHeaderSize)
            return {kFirmwareReadFailed, {}, image.fileSize};
        const FirmwareImageRecord record = DecodeImageRecordHeader(platform::LoadLe32(bytes.data() + offset));
        offset += kImageRecordHeaderSize;
        if (record.length > bytes.size() - offset)
            return {kFirmwareReadFailed, {}, image.fileSize};
        const auto data = bytes.subspan(offset, record.length);
        image.records.push_back({record.type, {data.begin(), data.end()}});
        offset += record.length;
    }
    if (image.records.empty())
        image.error = kFirmwareReadFailed;
    return image;
}

FirmwareImage LoadFirmwareImage(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    switch (ReadFirmwareFile(path, bytes)) {
    case FirmwareFileRead::OpenFailed:
        return {kFirmwareOpenFailed, {}, 0};
    case FirmwareFileRead::ReadFailed:
        return {kFirmwareReadFailed, {}, 0};
    case FirmwareFileRead::Ok:
        break;
    }
    return ParseFirmwareImage(bytes);
}

}  // namespace config
