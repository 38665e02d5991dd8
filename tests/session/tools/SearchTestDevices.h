#pragma once
// Shared by the device search tests: simulated devices and UDP ports on this computer.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

#include "simulator/SearchResponder.h"

namespace searchtest {

// A UDP socket holding a port on every address, so nobody else can bind it.
class HeldPort {
public:
    HeldPort() {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t size = sizeof a;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &size);
        port_ = ntohs(a.sin_port);
    }
    ~HeldPort() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    HeldPort(const HeldPort&) = delete;
    HeldPort& operator=(const HeldPort&) = delete;
    std::uint16_t Port() const { return port_; }

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

// A port that was free a moment ago, for the client's reply socket.
inline std::uint16_t FreeUdpPort() {
    return HeldPort().Port();
}

// A device at 192.168.1.<lastByte>, web port 8000 + lastByte, its MAC ending in lastByte.
inline devicesim::SearchDevice Device(std::uint8_t type, std::uint8_t lastByte) {
    devicesim::SearchDevice d;
    d.type = type;
    d.mac = {0x00, 0x0e, 0xa6, 0x01, 0x02, lastByte};
    d.ipAddress = {192, 168, 1, lastByte};
    d.webPort = static_cast<std::uint16_t>(8000 + lastByte);
    return d;
}

}  // namespace searchtest
