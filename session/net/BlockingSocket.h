#pragma once
// A blocking IPv4 socket (TCP or UDP) over POSIX sockets. Every wait is a poll
// with a time-out, and any blocked call can be cut short from another thread
// (Abort, or a stop token handed to the call). Failing calls throw
// CBlockingSocketException with the operation's name; Receive and ReceiveFrom
// never throw and report every failure as -1, so reply loops stay simple.

#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <stop_token>
#include <string>

#include "platform/Timing.h"
#include "platform/WakeFd.h"

namespace session {

using Millis = std::chrono::milliseconds;

// An IPv4 endpoint, held as the system's sockaddr_in (network byte order).
class SocketAddress {
public:
    SocketAddress();  // 0.0.0.0, port 0
    // A dotted address text ("a.b.c.d", four decimal numbers) and a port. Any
    // other text gives an invalid address that Connect, Bind and Sendto refuse.
    SocketAddress(const std::string& dottedAddress, std::uint16_t port);
    explicit SocketAddress(const sockaddr_in& address);

    const sockaddr* AsSockAddr() const { return reinterpret_cast<const sockaddr*>(&m_address); }
    static constexpr socklen_t Size() { return sizeof(sockaddr_in); }
    std::uint32_t GetIPAddress() const;  // host byte order: 1.2.3.4 gives 0x01020304
    std::uint16_t GetPort() const;       // host byte order
    bool IsValid() const { return m_bValid; }
    std::string ToText() const;  // "%d.%d.%d.%d"

private:
    sockaddr_in m_address{};
    bool m_bValid = true;
};

class CBlockingSocketException : public std::exception {
public:
    // The failing operation ("Connect", "Send timeout", ...) and the system's
    // error number (0 for a time-out or an abort).
    explicit CBlockingSocketException(std::string operation, int error = 0)
        : m_strMessage(std::move(operation)), m_nError(error) {}
    const char* what() const noexcept override { return m_strMessage.c_str(); }
    int Error() const { return m_nError; }

    std::string m_strMessage;

private:
    int m_nError;
};

class CBlockingSocket {
public:
    static constexpr int kStream = 1;    // TCP
    static constexpr int kDatagram = 2;  // UDP

    CBlockingSocket();
    // Closes a socket that is still open: an owner that forgets to close leaks nothing.
    ~CBlockingSocket();
    CBlockingSocket(const CBlockingSocket&) = delete;
    CBlockingSocket& operator=(const CBlockingSocket&) = delete;

    // kStream or kDatagram; throws "Create".
    void Create(int type = kStream);
    // Throws "Bind".
    void Bind(const SocketAddress& address);
    // Waits at most the time-out for the connection; throws "Connect" on
    // refusal, time-out, abort or an invalid address.
    void Connect(const SocketAddress& address, Millis timeout, std::stop_token stop = {});

    // Sends everything, waiting up to the time-out for room before each piece.
    // Throws "Send timeout" when no room comes in time, "Send" on an error, on
    // a send that makes no progress and on an abort. Returns the length.
    int Send(const void* data, int length, Millis timeout, std::stop_token stop = {});
    // Sends everything in pieces of SendChunk. The time-out is accepted but each
    // piece waits SendChunkTimeout() for room, whatever the caller names.
    int SendAll(const void* data, int length, Millis timeout, std::stop_token stop = {});
    // One wait of SendChunkTimeout() for room (the time-out argument is not
    // used) and one send; returns the bytes the system took.
    int SendChunk(const void* data, int length, Millis timeout, std::stop_token stop = {});
    void SetSendChunkTimeout(Millis timeout) { m_sendChunkTimeout = timeout; }
    Millis SendChunkTimeout() const { return m_sendChunkTimeout; }

    // One receive of at most the capacity after waiting up to the time-out for
    // data. Returns the byte count, or -1 on no socket, time-out, error, abort
    // and a peer that closed the connection. Never throws.
    int Receive(void* buffer, int capacity, Millis timeout, std::stop_token stop = {}) noexcept;
    // Waits up to the time-out until a receive would not wait (data, the
    // peer's close or an error); false on time-out, abort and no socket.
    bool WaitReadable(Millis timeout, std::stop_token stop = {}) noexcept;

    // Datagrams. Sendto sends to m_saDestination at once; throws "Sendto".
    int Sendto(const void* data, int length);
    // One datagram of at most the capacity (the rest of a longer one is lost),
    // its sender in *from when given; -1 as Receive. Never throws.
    int ReceiveFrom(void* buffer, int capacity, Millis timeout, SocketAddress* from = nullptr,
                    std::stop_token stop = {}) noexcept;
    // Switches broadcast on; throws "SetSockOpt". Returns 0.
    int SetSockOpt();

    // The address the system gave this end (after Connect or Bind); throws "GetSockName".
    SocketAddress GetLocalAddress() const;

    // Throws "Close" when the system reports an error; the socket is released either way.
    void Close();
    void CloseQuietly() noexcept;

    // Makes the current and every later wait of this object fail at once.
    // Safe from any thread; lasts for the object's life.
    void Abort() noexcept;
    bool Aborted() const noexcept { return m_bAborted.load(); }

    bool IsConnected() const { return m_bConnected; }
    bool HasSocket() const { return m_hSocket >= 0; }

    // Resolves a host name (or dotted text) to its first IPv4 address; throws
    // "GetHostByName" when it is unknown and at once on a stop request (the
    // look-up itself goes on elsewhere, see HostLookup.h).
    static SocketAddress GetHostByName(const std::string& name, std::uint16_t port, std::stop_token stop = {});

    SocketAddress m_saDestination;  // where Sendto sends; the owner sets it

private:
    enum class WaitOutcome { Ready, Timeout, Aborted };
    WaitOutcome WaitFor(short events, Millis timeout, const std::stop_token& stop) noexcept;
    int SendPiece(const void* data, int length, Millis timeout, const std::stop_token& stop);

    int m_hSocket = -1;
    // Lives as long as the object, so Abort never races with Close.
    platform::WakeFd m_abortWake;
    std::atomic<bool> m_bAborted{false};
    bool m_bConnected = false;
    Millis m_sendChunkTimeout{platform::Timing{}.sendChunkTimeout};
};

// This computer's first IPv4 address that is up and not loopback, as
// "%d.%d.%d.%d"; "127.0.0.1" when there is none.
std::string FormatLocalHostAddress();

}  // namespace session
