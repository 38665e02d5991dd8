// Firmware as the person picks it: the whole input is also a combined image file, split into
// records exactly as its bytes are (whole records covering the file, or an error and none), and
// the same input builds a DVR's component folder (the first byte the model; then per file a row,
// a letter-case mask, a length and the bytes), whose read takes each row's file whole, the
// exact spelling first, and counts their bytes as the progress base. The upload types of every
// path follow the items read.
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "config/firmware/FirmwareComponentTable.h"
#include "config/firmware/FirmwareImage.h"
#include "config/firmware/FirmwareRequests.h"

namespace {

namespace fs = std::filesystem;

// A folder of this process's own, emptied for each input and removed at exit.
const fs::path& WorkFolder() {
    static const fs::path folder = [] {
        fs::path made = fs::temp_directory_path() / ("fuzz_firmware_files." + std::to_string(::getpid()));
        fs::create_directories(made);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(WorkFolder(), ignored);
        });
        return made;
    }();
    return folder;
}

void WriteFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void CheckTypes(const std::vector<config::FirmwareItem>& items) {
    for (const auto path : {config::UploadPath::DvrChunked, config::UploadPath::DvrStream,
                            config::UploadPath::ImageChunked, config::UploadPath::ImageStream})
        if (config::ItemTypeValues(path, items).size() != items.size())
            std::abort();
}

void CheckImage(std::span<const std::uint8_t> bytes, const fs::path& file) {
    const config::FirmwareImage image = config::ParseFirmwareImage(bytes);
    std::uint64_t covered = 0;
    for (const auto& record : image.records)
        covered += config::kImageRecordHeaderSize + record.data.size();
    if (image.fileSize != bytes.size() || (image.error == 0) != !image.records.empty() ||
        (image.error == 0 && covered != bytes.size()))
        std::abort();
    WriteFile(file, bytes);
    const config::FirmwareImage loaded = config::LoadFirmwareImage(file);
    if (loaded.error != image.error || loaded.records.size() != image.records.size())
        std::abort();
    for (std::size_t i = 0; i < image.records.size(); ++i)
        if (loaded.records[i].kind != image.records[i].kind || loaded.records[i].data != image.records[i].data)
            std::abort();
    CheckTypes(image.records);
}

void CheckFolder(std::span<const std::uint8_t> bytes, const fs::path& folder) {
    if (bytes.empty())
        return;
    static const char* const models[] = {"R41T", "R42T", "R43T"};
    const auto table = config::ComponentTableFor(models[bytes[0] % 3]);
    if (!table)
        std::abort();
    fs::create_directories(folder);
    // Per row: the contents of each spelling written, the exact one under its own name.
    std::map<std::size_t, std::map<std::string, std::vector<std::uint8_t>>> written;
    std::size_t at = 1;
    while (at + 3 <= bytes.size()) {
        const std::size_t row = bytes[at] % config::kComponentRows;
        const std::uint8_t caseMask = bytes[at + 1];
        const std::size_t length = std::min<std::size_t>(bytes[at + 2], bytes.size() - at - 3);
        std::string name = (*table)[row];
        for (std::size_t i = 0; i < name.size() && i < 8; ++i)
            if (caseMask & (1u << i))
                name[i] = char(std::tolower(static_cast<unsigned char>(name[i])));
        const auto contents = bytes.subspan(at + 3, length);
        WriteFile(folder / name, contents);
        written[row][name].assign(contents.begin(), contents.end());
        at += 3 + length;
    }
    const config::ComponentFolder loaded = config::LoadComponentFolder(folder, *table);
    if ((loaded.error == 0) != !written.empty() || loaded.items.size() != written.size())
        std::abort();
    std::uint64_t total = 0;
    auto expected = written.begin();
    for (const auto& item : loaded.items) {
        if (item.kind != expected->first)
            std::abort();
        const auto& spellings = expected->second;
        const auto exact = spellings.find((*table)[item.kind]);
        bool known = exact != spellings.end() ? item.data == exact->second : false;
        for (const auto& [name, contents] : spellings)
            known = known || (exact == spellings.end() && item.data == contents);
        if (!known)
            std::abort();
        total += item.data.size();
        ++expected;
    }
    if (loaded.totalSize != total)
        std::abort();
    CheckTypes(loaded.items);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path& work = WorkFolder();
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(work, ignored))
        fs::remove_all(entry.path(), ignored);
    const std::span<const std::uint8_t> bytes(data, size);
    CheckImage(bytes, work / "image.bin");
    CheckFolder(bytes, work / "components");
    return 0;
}
