#include "session/net/SearchReplySocket.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace session {

SearchReplySocket::OpenResult SearchReplySocket::Open(std::uint16_t port) {
    Close();
    socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    wake_.emplace();  // a fresh one: a ring from an earlier wait must not end the next
    if (socket_ < 0 || !wake_->Valid()) {
        Close();
        return OpenResult::NoSocket;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        Close();
        return OpenResult::NoBind;
    }
    return OpenResult::Ok;
}

SearchReplySocket::WaitResult SearchReplySocket::WaitReadable(std::chrono::milliseconds timeout,
                                                              std::stop_token stop) {
    if (socket_ < 0)
        return WaitResult::Failed;
    std::stop_callback onStop(stop, [this] { wake_->Ring(); });
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fds[2] = {{socket_, POLLIN, 0}, {wake_->Fd(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return WaitResult::Failed;
        }
        if (fds[1].revents != 0 || stop.stop_requested())
            return WaitResult::Stopped;
        if (fds[0].revents & POLLIN)
            return WaitResult::Readable;
        if (fds[0].revents != 0)
            return WaitResult::Failed;
        if (ready == 0 && std::chrono::steady_clock::now() >= deadline)
            return WaitResult::Timeout;
    }
}

long SearchReplySocket::Receive(std::span<std::uint8_t> buffer) {
    if (socket_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::recv(socket_, buffer.data(), buffer.size(), MSG_TRUNC | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 ? -1 : static_cast<long>(n);
    }
}

void SearchReplySocket::Close() {
    if (socket_ >= 0)
        ::close(socket_);
    socket_ = -1;
    wake_.reset();
}

}  // namespace session
