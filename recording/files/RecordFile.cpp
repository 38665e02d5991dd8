#include "recording/files/RecordFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace recording {

RecordFile::RecordFile(RecordFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      size_(other.size_),
      limit_(other.limit_) {}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        size_ = other.size_;
        limit_ = other.limit_;
    }
    return *this;
}

RecordFile::CreateResult RecordFile::Create(const std::filesystem::path& path, std::string* error) {
    Close();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        const bool exists = errno == EEXIST;
        if (error)
            *error = "cannot create " + path.string() + ": " + std::strerror(errno);
        return exists ? CreateResult::Exists : CreateResult::Failed;
    }
    fd_ = fd;
    path_ = path;
    size_ = 0;
    return CreateResult::Created;
}

std::size_t RecordFile::Append(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0)
        return 0;
    const std::size_t allowed =
        size_ >= limit_ ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), limit_ - size_));
    std::size_t done = 0;
    while (done < allowed) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, allowed - done, static_cast<off_t>(size_ + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    size_ += done;
    return done;
}

bool RecordFile::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || offset + bytes.size() > size_)
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool RecordFile::Truncate(std::uint64_t size) {
    if (fd_ < 0 || ::ftruncate(fd_, static_cast<off_t>(size)) != 0)
        return false;
    size_ = size;
    return true;
}

void RecordFile::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void RecordFile::CloseAndRemove() {
    if (fd_ < 0)
        return;
    Close();
    ::unlink(path_.c_str());
}

}  // namespace recording
