#include "config/firmware/FirmwareFile.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "config/firmware/FirmwareItem.h"

namespace config {

FirmwareFileRead ReadFirmwareFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return FirmwareFileRead::OpenFailed;
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) > kFirmwareFileLimit)
        return FirmwareFileRead::ReadFailed;
    bytes.resize(static_cast<std::size_t>(info.st_size));
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    // A file that changed size while it was read is not taken either.
    if (got != bytes.size() || std::fgetc(file.get()) != EOF) {
        bytes.clear();
        return FirmwareFileRead::ReadFailed;
    }
    return FirmwareFileRead::Ok;
}

}  // namespace config
