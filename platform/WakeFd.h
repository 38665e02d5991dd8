#pragma once
// A descriptor that another thread rings to end a poll(): how a stop request
// reaches a thread waiting on sockets. Once rung it stays readable.

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

class WakeFd {
public:
    WakeFd() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~WakeFd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    WakeFd(const WakeFd&) = delete;
    WakeFd& operator=(const WakeFd&) = delete;

    // False when the system gave no descriptor; Ring then does nothing.
    bool Valid() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    // Any thread, a stop callback included.
    void Ring() const noexcept {
        if (fd_ < 0)
            return;
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(fd_, &one, sizeof one);
    }

private:
    const int fd_;
};

}  // namespace platform
