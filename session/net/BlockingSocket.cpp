#include "session/net/BlockingSocket.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "session/net/HostLookup.h"

namespace session {

namespace {

using Clock = std::chrono::steady_clock;

std::string FormatAddress(std::uint32_t hostOrder) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (hostOrder >> 24) & 0xFF, (hostOrder >> 16) & 0xFF,
                  (hostOrder >> 8) & 0xFF, hostOrder & 0xFF);
    return text;
}

// Milliseconds left until the deadline, as poll takes them (-1: no limit).
int PollTimeout(Clock::time_point deadline, bool unlimited) {
    if (unlimited)
        return -1;
    auto left = std::chrono::ceil<Millis>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

}  // namespace

// --- SocketAddress -------------------------------------------------------------

SocketAddress::SocketAddress() {
    m_address.sin_family = AF_INET;
}

SocketAddress::SocketAddress(const std::string& dottedAddress, std::uint16_t port) {
    m_address.sin_family = AF_INET;
    m_address.sin_port = htons(port);
    // inet_pton takes only the four-number dotted form, so "1.2" or "300.1.1.1"
    // are refused instead of silently meaning some other host.
    if (inet_pton(AF_INET, dottedAddress.c_str(), &m_address.sin_addr) != 1) {
        m_address.sin_addr.s_addr = INADDR_NONE;
        m_bValid = false;
    }
}

SocketAddress::SocketAddress(const sockaddr_in& address) : m_address(address) {}

std::uint32_t SocketAddress::GetIPAddress() const {
    return ntohl(m_address.sin_addr.s_addr);
}

std::uint16_t SocketAddress::GetPort() const {
    return ntohs(m_address.sin_port);
}

std::string SocketAddress::ToText() const {
    return FormatAddress(GetIPAddress());
}

// --- CBlockingSocket -------------------------------------------------------------

CBlockingSocket::CBlockingSocket() = default;

CBlockingSocket::~CBlockingSocket() {
    CloseQuietly();
}

void CBlockingSocket::Create(int type) {
    // Without the abort channel a blocked call could not be stopped; refuse to start.
    if (!m_abortWake.Valid() || m_hSocket >= 0 || (type != kStream && type != kDatagram))
        throw CBlockingSocketException("Create");
    int systemType = (type == kStream ? SOCK_STREAM : SOCK_DGRAM) | SOCK_NONBLOCK | SOCK_CLOEXEC;
    int handle = ::socket(AF_INET, systemType, 0);
    if (handle < 0)
        throw CBlockingSocketException("Create", errno);
    m_hSocket = handle;
}

void CBlockingSocket::Bind(const SocketAddress& address) {
    if (m_hSocket < 0 || !address.IsValid())
        throw CBlockingSocketException("Bind");
    if (::bind(m_hSocket, address.AsSockAddr(), SocketAddress::Size()) != 0)
        throw CBlockingSocketException("Bind", errno);
}

void CBlockingSocket::Connect(const SocketAddress& address, Millis timeout, std::stop_token stop) {
    if (m_hSocket < 0 || !address.IsValid() || Aborted())
        throw CBlockingSocketException("Connect");
    if (::connect(m_hSocket, address.AsSockAddr(), SocketAddress::Size()) != 0) {
        // A connect cut by a signal goes on in the background, like one in progress.
        if (errno != EINPROGRESS && errno != EINTR)
            throw CBlockingSocketException("Connect", errno);
        if (WaitFor(POLLOUT, timeout, stop) != WaitOutcome::Ready)
            throw CBlockingSocketException("Connect", ETIMEDOUT);
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(m_hSocket, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
            error = errno;
        if (error != 0)
            throw CBlockingSocketException("Connect", error);
    }
    m_bConnected = true;
}

int CBlockingSocket::Send(const void* data, int length, Millis timeout, std::stop_token stop) {
    const char* bytes = static_cast<const char*>(data);
    int sent = 0;
    while (sent < length) {
        // Each piece gets the whole time-out and sends what the system takes.
        sent += SendPiece(bytes + sent, length - sent, timeout, stop);
    }
    return sent;
}

int CBlockingSocket::SendAll(const void* data, int length, Millis /*timeout*/, std::stop_token stop) {
    const char* bytes = static_cast<const char*>(data);
    int sent = 0;
    while (sent < length)
        sent += SendPiece(bytes + sent, length - sent, m_sendChunkTimeout, stop);
    return sent;
}

int CBlockingSocket::SendChunk(const void* data, int length, Millis /*timeout*/, std::stop_token stop) {
    return SendPiece(data, length, m_sendChunkTimeout, stop);
}

int CBlockingSocket::SendPiece(const void* data, int length, Millis timeout, const std::stop_token& stop) {
    if (m_hSocket < 0 || length < 0)
        throw CBlockingSocketException("Send");
    if (length == 0)
        return 0;
    for (;;) {
        switch (WaitFor(POLLOUT, timeout, stop)) {
        case WaitOutcome::Timeout:
            throw CBlockingSocketException("Send timeout");
        case WaitOutcome::Aborted:
            throw CBlockingSocketException("Send");
        case WaitOutcome::Ready:
            break;
        }
        ssize_t result = ::send(m_hSocket, data, static_cast<size_t>(length), MSG_NOSIGNAL);
        if (result > 0)
            return static_cast<int>(result);
        if (result < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;  // room vanished between poll and send: wait again (bounded by the time-out)
        // An error, or a send that took nothing of a non-empty piece: no progress is possible.
        throw CBlockingSocketException("Send", result < 0 ? errno : 0);
    }
}

int CBlockingSocket::Receive(void* buffer, int capacity, Millis timeout, std::stop_token stop) noexcept {
    return ReceiveFrom(buffer, capacity, timeout, nullptr, std::move(stop));
}

bool CBlockingSocket::WaitReadable(Millis timeout, std::stop_token stop) noexcept {
    if (m_hSocket < 0)
        return false;
    return WaitFor(POLLIN, std::min(timeout, Millis(INT_MAX)), stop) == WaitOutcome::Ready;
}

int CBlockingSocket::ReceiveFrom(void* buffer, int capacity, Millis timeout, SocketAddress* from,
                                 std::stop_token stop) noexcept {
    if (m_hSocket < 0 || capacity <= 0 || buffer == nullptr)
        return -1;
    const auto deadline = Clock::now() + std::min(timeout, Millis(INT_MAX));
    for (;;) {
        // Bytes already there are taken without a poll first (a stream's
        // frame arrives in many of them); the wait comes only when none are.
        if (stop.stop_requested())
            Abort();  // as a wait would: a stop request aborts the socket for good
        if (Aborted())
            return -1;
        sockaddr_in source{};
        socklen_t sourceSize = sizeof source;
        ssize_t result = ::recvfrom(m_hSocket, buffer, static_cast<size_t>(capacity), MSG_DONTWAIT,
                                    reinterpret_cast<sockaddr*>(&source), &sourceSize);
        if (result > 0) {
            if (from != nullptr)
                *from = SocketAddress(source);
            return static_cast<int>(result);
        }
        if (result == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
            return -1;  // error, or the peer closed the connection
        auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now());
        if (WaitFor(POLLIN, std::max(left, Millis(0)), stop) != WaitOutcome::Ready)
            return -1;
    }
}

int CBlockingSocket::Sendto(const void* data, int length) {
    if (m_hSocket < 0 || length < 0 || !m_saDestination.IsValid())
        throw CBlockingSocketException("Sendto");
    ssize_t result;
    do {
        result = ::sendto(m_hSocket, data, static_cast<size_t>(length), MSG_NOSIGNAL,
                          m_saDestination.AsSockAddr(), SocketAddress::Size());
    } while (result < 0 && errno == EINTR);
    if (result < 0)
        throw CBlockingSocketException("Sendto", errno);
    return static_cast<int>(result);
}

int CBlockingSocket::SetSockOpt() {
    int on = 1;
    if (m_hSocket < 0 || ::setsockopt(m_hSocket, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0)
        throw CBlockingSocketException("SetSockOpt", errno);
    return 0;
}

SocketAddress CBlockingSocket::GetLocalAddress() const {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (m_hSocket < 0 || ::getsockname(m_hSocket, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
        address.sin_family != AF_INET)
        throw CBlockingSocketException("GetSockName", errno);
    return SocketAddress(address);
}

void CBlockingSocket::Close() {
    m_bConnected = false;
    if (m_hSocket < 0)
        return;
    // Linux releases the descriptor even when close reports an error, so the
    // handle is cleared first: closing it again could hit a reused descriptor.
    int handle = m_hSocket;
    m_hSocket = -1;
    if (::close(handle) != 0 && errno != EINTR)
        throw CBlockingSocketException("Close", errno);
}

void CBlockingSocket::CloseQuietly() noexcept {
    if (m_hSocket >= 0)
        ::close(m_hSocket);
    m_hSocket = -1;
    m_bConnected = false;
}

void CBlockingSocket::Abort() noexcept {
    m_bAborted.store(true);
    m_abortWake.Ring();
}

CBlockingSocket::WaitOutcome CBlockingSocket::WaitFor(short events, Millis timeout,
                                                      const std::stop_token& stop) noexcept {
    // A stop request aborts the socket for good, as Abort does.
    std::stop_callback onStop(stop, [this] { Abort(); });
    const bool unlimited = timeout >= Millis(INT_MAX);
    const auto deadline = unlimited ? Clock::time_point::max() : Clock::now() + timeout;
    for (;;) {
        if (Aborted())
            return WaitOutcome::Aborted;
        pollfd fds[2] = {{m_hSocket, events, 0}, {m_abortWake.Fd(), POLLIN, 0}};
        int result = ::poll(fds, 2, PollTimeout(deadline, unlimited));
        if (result < 0 && errno == EINTR)
            continue;
        if (fds[1].revents != 0 || Aborted())
            return WaitOutcome::Aborted;
        if (result == 0)
            return WaitOutcome::Timeout;
        // Readiness, an error or a hang-up: the following call reports which.
        return WaitOutcome::Ready;
    }
}

SocketAddress CBlockingSocket::GetHostByName(const std::string& name, std::uint16_t port, std::stop_token stop) {
    const auto found = LookUpHost(name, std::move(stop));
    if (!found)
        throw CBlockingSocketException("GetHostByName");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(*found);
    address.sin_port = htons(port);
    return SocketAddress(address);
}

std::string FormatLocalHostAddress() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return "127.0.0.1";
    std::string text = "127.0.0.1";
    for (ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0)
            continue;
        sockaddr_in address{};
        std::memcpy(&address, entry->ifa_addr, sizeof address);
        text = SocketAddress(address).ToText();
        break;
    }
    ::freeifaddrs(list);
    return text;
}

}  // namespace session
