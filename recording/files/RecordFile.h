#pragma once
// One recording file open for writing: created new (never over an existing
// file), appended to, patched in place, cut back. Every write is checked and
// reports how far it got. Tests can cap the file's size to play a full disk.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace recording {

class RecordFile {
public:
    RecordFile() = default;
    ~RecordFile() { Close(); }
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&& other) noexcept;

    enum class CreateResult { Created, Exists, Failed };
    // Creates the file; an existing file of that name is left alone (Exists).
    CreateResult Create(const std::filesystem::path& path, std::string* error = nullptr);
    bool IsOpen() const { return fd_ >= 0; }
    const std::filesystem::path& Path() const { return path_; }
    // Bytes in the file (the end, where Append writes).
    std::uint64_t Size() const { return size_; }

    // Appends the bytes; returns how many reached the file (all of them, or
    // fewer when the disk is full or the write failed).
    std::size_t Append(std::span<const std::uint8_t> bytes);
    // Writes over bytes already in the file; false on any failure.
    bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Cuts the file back to the size.
    bool Truncate(std::uint64_t size);
    void Close();
    // Removes the file (only an empty leftover is ever removed by its owner).
    void CloseAndRemove();

    // Test hook: the file never grows past this size, as on a full disk.
    void LimitSize(std::uint64_t bytes) { limit_ = bytes; }

private:
    int fd_ = -1;
    std::filesystem::path path_;
    std::uint64_t size_ = 0;
    std::uint64_t limit_ = UINT64_MAX;
};

}  // namespace recording
