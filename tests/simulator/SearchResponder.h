#pragma once
// The devices' side of the UDP search: listens for AV_SEARCH, AV_SET_IP and
// AV_RESET records, answers each to the sender's address at the reply port,
// keeps every request byte for byte and can be told to misbehave.
// Records are built here on their own, not with the client's code, so a test
// compares two independent readings of the layout.

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace devicesim {

struct SearchDevice {
    std::array<std::uint8_t, 6> mac{};
    std::uint8_t type = 50;  // byte 17 of its search reply
    std::array<std::uint8_t, 4> ipAddress{192, 168, 1, 100};
    std::array<std::uint8_t, 4> subnetMask{255, 255, 255, 0};
    std::array<std::uint8_t, 4> gateway{192, 168, 1, 1};
    std::array<std::uint8_t, 4> dnsServer{192, 168, 1, 1};
    std::uint16_t webPort = 80;
    std::string userName = "admin";
    std::string password = "admin";
    bool fixedAddress = false;                 // refuses changes with status 2
    std::optional<std::uint8_t> forcedStatus;  // answers changes with this status
};

struct SearchResponderOptions {
    std::string listenAddress = "127.0.0.1";
    std::uint16_t listenPort = 0;       // 0: a free port, see Port()
    std::uint16_t replyPort = 3332;     // where the client listens
};

class SearchResponder {
public:
    explicit SearchResponder(SearchResponderOptions options = {});
    ~SearchResponder() { Stop(); }
    SearchResponder(const SearchResponder&) = delete;
    SearchResponder& operator=(const SearchResponder&) = delete;

    void AddDevice(const SearchDevice& device);
    bool Start();
    void Stop();
    std::uint16_t Port() const { return port_; }

    // Faults.
    void SetAnswerChanges(bool answer);           // false: AV_SET_IP / AV_RESET go unanswered
    void SetShortDatagramFirst(std::size_t size); // a datagram of this size before each answer (0: none)
    void SetReplyTwice(bool twice);               // every answer is sent twice

    std::vector<std::vector<std::uint8_t>> Requests() const;
    std::vector<SearchDevice> Devices() const;
    // Waits until at least n requests arrived; false on time-out.
    bool WaitForRequests(std::size_t n, std::chrono::milliseconds timeout) const;

    // The search reply a device sends, field by field.
    static std::array<std::uint8_t, 76> SearchReply(const SearchDevice& device);

private:
    void Run(std::stop_token stop);
    void Handle(const std::vector<std::uint8_t>& request, std::uint32_t senderAddress);
    void Send(const std::array<std::uint8_t, 76>& record, std::uint32_t address);

    SearchResponderOptions options_;
    int socket_ = -1;
    int wake_ = -1;
    std::uint16_t port_ = 0;
    std::jthread thread_;

    mutable std::mutex mutex_;
    std::vector<SearchDevice> devices_;
    std::vector<std::vector<std::uint8_t>> requests_;
    bool answerChanges_ = true;
    std::size_t shortDatagram_ = 0;
    bool replyTwice_ = false;
};

}  // namespace devicesim
