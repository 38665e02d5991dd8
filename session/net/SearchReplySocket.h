#pragma once
// The UDP socket on which search replies and change answers arrive: bound to
// one port on every local address, with a wait that a stop request cuts short.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <stop_token>

#include "platform/WakeFd.h"

namespace session {

class SearchReplySocket {
public:
    enum class OpenResult { Ok, NoSocket, NoBind };
    enum class WaitResult { Readable, Timeout, Failed, Stopped };

    SearchReplySocket() = default;
    SearchReplySocket(const SearchReplySocket&) = delete;
    SearchReplySocket& operator=(const SearchReplySocket&) = delete;
    ~SearchReplySocket() { Close(); }

    OpenResult Open(std::uint16_t port);
    WaitResult WaitReadable(std::chrono::milliseconds timeout, std::stop_token stop);
    // One datagram into the buffer: its whole length (which may exceed the
    // buffer; the rest is dropped), or -1 on failure.
    long Receive(std::span<std::uint8_t> buffer);
    void Close();

private:
    int socket_ = -1;
    std::optional<platform::WakeFd> wake_;  // rung by a stop request; made by each Open
};

}  // namespace session
