#pragma once
// A named lock shared with another process: an exclusive flock on a lock file.
// Each holder opens the file for itself, so two holders in one process
// exclude each other as two processes do.

#include <filesystem>
#include <memory>
#include <optional>
#include <stop_token>
#include <utility>

#include "platform/SyncObjects.h"

namespace platform {

class FileLock {
public:
    // Creates (or opens) the lock file; null when it cannot be created.
    static std::shared_ptr<FileLock> Create(const std::filesystem::path& path);
    // Removes the lock file; a holder that still has it open keeps its lock.
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // The lock while it lives; released on every path by its destructor.
    class Hold {
    public:
        explicit Hold(int fd) : fd_(fd) {}
        Hold(Hold&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
        Hold& operator=(Hold&&) = delete;
        ~Hold();

    private:
        int fd_;
    };

    // Waits until the lock is taken; nothing on time-out, stop request or a file gone.
    std::optional<Hold> Acquire(Millis timeout, std::stop_token stop = {}) const;
    const std::filesystem::path& Path() const { return path_; }

private:
    explicit FileLock(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

}  // namespace platform
