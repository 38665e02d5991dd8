#include "simulator/SearchResponder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace devicesim {

namespace {

std::string TextAt(const std::vector<std::uint8_t>& r, std::size_t at, std::size_t size) {
    std::string text;
    for (std::size_t i = at; i < at + size && r[i] != 0; ++i)
        text += static_cast<char>(r[i]);
    return text;
}

void Copy4(std::array<std::uint8_t, 4>& to, const std::vector<std::uint8_t>& r, std::size_t at) {
    std::copy_n(r.begin() + static_cast<long>(at), 4, to.begin());
}

}  // namespace

SearchResponder::SearchResponder(SearchResponderOptions options) : options_(std::move(options)) {}

void SearchResponder::AddDevice(const SearchDevice& device) {
    std::lock_guard lock(mutex_);
    devices_.push_back(device);
}

void SearchResponder::SetAnswerChanges(bool answer) {
    std::lock_guard lock(mutex_);
    answerChanges_ = answer;
}

void SearchResponder::SetShortDatagramFirst(std::size_t size) {
    std::lock_guard lock(mutex_);
    shortDatagram_ = std::min<std::size_t>(size, 75);
}

void SearchResponder::SetReplyTwice(bool twice) {
    std::lock_guard lock(mutex_);
    replyTwice_ = twice;
}

std::vector<std::vector<std::uint8_t>> SearchResponder::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<SearchDevice> SearchResponder::Devices() const {
    std::lock_guard lock(mutex_);
    return devices_;
}

bool SearchResponder::WaitForRequests(std::size_t n, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        {
            std::lock_guard lock(mutex_);
            if (requests_.size() >= n)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::array<std::uint8_t, 76> SearchResponder::SearchReply(const SearchDevice& d) {
    std::array<std::uint8_t, 76> r{};
    std::memcpy(r.data(), "AV_SEARCH", 9);
    r[16] = 1;
    r[17] = d.type;
    std::copy(d.mac.begin(), d.mac.end(), r.begin() + 18);
    std::copy(d.ipAddress.begin(), d.ipAddress.end(), r.begin() + 56);
    std::copy(d.subnetMask.begin(), d.subnetMask.end(), r.begin() + 60);
    std::copy(d.gateway.begin(), d.gateway.end(), r.begin() + 64);
    std::copy(d.dnsServer.begin(), d.dnsServer.end(), r.begin() + 68);
    r[72] = static_cast<std::uint8_t>(d.webPort & 0xFF);
    r[73] = static_cast<std::uint8_t>(d.webPort >> 8);
    return r;
}

bool SearchResponder::Start() {
    socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options_.listenPort);
    address.sin_addr.s_addr = ::inet_addr(options_.listenAddress.c_str());
    socklen_t length = sizeof address;
    if (socket_ < 0 || wake_ < 0 ||
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        Stop();
        return false;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
    return true;
}

void SearchResponder::Stop() {
    if (thread_.joinable()) {
        thread_.request_stop();
        const std::uint64_t one = 1;
        [[maybe_unused]] auto written = ::write(wake_, &one, sizeof one);
        thread_.join();
    }
    if (socket_ >= 0)
        ::close(socket_);
    if (wake_ >= 0)
        ::close(wake_);
    socket_ = wake_ = -1;
}

void SearchResponder::Run(std::stop_token stop) {
    std::vector<std::uint8_t> buffer(2048);
    while (!stop.stop_requested()) {
        pollfd fds[2] = {{socket_, POLLIN, 0}, {wake_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 || fds[1].revents != 0)
            continue;
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(socket_, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0)
            continue;
        std::vector<std::uint8_t> request(buffer.begin(), buffer.begin() + n);
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        Handle(request, from.sin_addr.s_addr);
    }
}

void SearchResponder::Handle(const std::vector<std::uint8_t>& request, std::uint32_t sender) {
    if (request.size() < 76)
        return;
    std::vector<std::array<std::uint8_t, 76>> answers;
    {
        std::lock_guard lock(mutex_);
        const std::uint8_t operation = request[16];
        if (operation == 1) {
            for (const auto& device : devices_)
                answers.push_back(SearchReply(device));
        } else if ((operation == 2 || operation == 3) && answerChanges_) {
            for (auto& device : devices_) {
                if (!std::equal(device.mac.begin(), device.mac.end(), request.begin() + 18))
                    continue;
                std::uint8_t status = 1;
                if (TextAt(request, 24, 16) != device.userName || TextAt(request, 40, 16) != device.password)
                    status = 0;
                else if (device.forcedStatus)
                    status = *device.forcedStatus;
                else if (device.fixedAddress)
                    status = 2;
                if (status == 1 && operation == 2) {
                    Copy4(device.ipAddress, request, 56);
                    Copy4(device.subnetMask, request, 60);
                    Copy4(device.gateway, request, 64);
                    Copy4(device.dnsServer, request, 68);
                    device.webPort = static_cast<std::uint16_t>(request[72] | (request[73] << 8));
                }
                auto answer = SearchReply(device);
                std::copy_n(request.begin(), 17, answer.begin());
                answer[17] = status;
                answers.push_back(answer);
            }
        }
    }
    for (const auto& answer : answers)
        Send(answer, sender);
}

void SearchResponder::Send(const std::array<std::uint8_t, 76>& record, std::uint32_t address) {
    std::size_t shortSize;
    bool twice;
    {
        std::lock_guard lock(mutex_);
        shortSize = shortDatagram_;
        twice = replyTwice_;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(options_.replyPort);
    to.sin_addr.s_addr = address;
    const auto* target = reinterpret_cast<const sockaddr*>(&to);
    if (shortSize > 0)
        ::sendto(socket_, record.data(), shortSize, 0, target, sizeof to);
    for (int i = 0; i < (twice ? 2 : 1); ++i)
        ::sendto(socket_, record.data(), record.size(), 0, target, sizeof to);
}

}  // namespace devicesim
