#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace platform {
namespace {

int OpenLockFile(const std::filesystem::path& path, int extraFlags) {
    return ::open(path.c_str(), O_RDWR | O_CLOEXEC | extraFlags, 0600);
}

}  // namespace

std::shared_ptr<FileLock> FileLock::Create(const std::filesystem::path& path) {
    const int fd = OpenLockFile(path, O_CREAT);
    if (fd < 0)
        return nullptr;
    ::close(fd);
    return std::shared_ptr<FileLock>(new FileLock(path));
}

FileLock::~FileLock() {
    ::unlink(path_.c_str());
}

FileLock::Hold::~Hold() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

std::optional<FileLock::Hold> FileLock::Acquire(Millis timeout, std::stop_token stop) const {
    const int fd = OpenLockFile(path_, 0);
    if (fd < 0)
        return std::nullopt;
    const auto end = DeadlineFor(timeout);
    // flock has no time-out of its own: try, then sleep a stoppable moment.
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd);
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= end || !SleepFor(Millis(5), stop)) {
            ::close(fd);
            return std::nullopt;
        }
    }
    return Hold(fd);
}

}  // namespace platform
