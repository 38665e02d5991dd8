#include "session/net/BlockingSocket.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/Timing.h"
#include "support/ThreadSleeping.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using session::CBlockingSocket;
using session::CBlockingSocketException;
using session::Millis;
using session::SocketAddress;

namespace {

using Clock = std::chrono::steady_clock;

// Time for a call that should end at once, against the far longer time-outs the
// calls are given: generous enough for a loaded sanitizer run.
constexpr auto kPrompt = 2000ms;

// A plain listening TCP socket on 127.0.0.1 with an ephemeral port.
struct Listener {
    int fd = -1;
    std::uint16_t port = 0;
    explicit Listener(int backlog = 8) {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(fd, backlog), 0);
        socklen_t size = sizeof address;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
    }
    ~Listener() { ::close(fd); }
    int Accept() const { return ::accept(fd, nullptr, nullptr); }
    SocketAddress Address() const { return SocketAddress("127.0.0.1", port); }
};

// A connected pair: our socket and the accepted peer descriptor.
struct Connection {
    Listener listener;
    CBlockingSocket socket;
    int peer = -1;
    Connection() {
        socket.Create(CBlockingSocket::kStream);
        socket.Connect(listener.Address(), 2000ms);
        peer = listener.Accept();
    }
    ~Connection() {
        if (peer >= 0)
            ::close(peer);
    }
    void ClosePeer() {
        ::close(peer);
        peer = -1;
    }
};

template <class F>
std::string ThrownOperation(F&& call) {
    try {
        call();
    } catch (const CBlockingSocketException& e) {
        return e.m_strMessage;
    }
    return "(nothing thrown)";
}

}  // namespace

TEST(SocketAddressTest, DottedTextAndPortAreHeldInNetworkOrder) {
    SocketAddress address("1.2.3.4", 80);
    const auto* raw = reinterpret_cast<const unsigned char*>(address.AsSockAddr());
    EXPECT_EQ(SocketAddress::Size(), 16u);
    EXPECT_EQ(raw[2], 0x00);
    EXPECT_EQ(raw[3], 0x50);
    EXPECT_EQ(raw[4], 1);
    EXPECT_EQ(raw[7], 4);
    EXPECT_EQ(address.GetIPAddress(), 0x01020304u);
    EXPECT_EQ(address.GetPort(), 80);
    EXPECT_EQ(address.ToText(), "1.2.3.4");
    EXPECT_TRUE(address.IsValid());
}

TEST(SocketAddressTest, TextThatIsNotFourNumbersIsInvalidAndRefused) {
    for (const char* text : {"", "1.2", "1.2.3", "300.1.1.1", "1.2.3.4.5", "host", "1.2.3.4 "}) {
        SocketAddress address(text, 80);
        EXPECT_FALSE(address.IsValid()) << text;
    }
    CBlockingSocket socket;
    socket.Create(CBlockingSocket::kStream);
    EXPECT_EQ(ThrownOperation([&] { socket.Connect(SocketAddress("1.2", 80), 100ms); }), "Connect");
    EXPECT_FALSE(socket.IsConnected());
}

TEST(BlockingSocketTest, ReceiveWithoutSocketReturnsMinusOneAtOnce) {
    CBlockingSocket never;
    char buffer[8];
    EXPECT_EQ(never.Receive(buffer, sizeof buffer, 5000ms), -1);

    Connection c;
    c.socket.Close();
    auto start = Clock::now();
    EXPECT_EQ(c.socket.Receive(buffer, sizeof buffer, 10000ms), -1);
    EXPECT_LT(Clock::now() - start, kPrompt);
}

TEST(BlockingSocketTest, ConnectSendAndReceiveAnExchange) {
    Connection c;
    EXPECT_TRUE(c.socket.IsConnected());
    EXPECT_EQ(c.socket.GetLocalAddress().ToText(), "127.0.0.1");
    EXPECT_EQ(c.socket.Send("ping", 4, 1000ms), 4);
    char buffer[16] = {};
    ASSERT_EQ(::recv(c.peer, buffer, sizeof buffer, 0), 4);
    EXPECT_STREQ(buffer, "ping");
    ASSERT_EQ(::send(c.peer, "pong!", 5, 0), 5);
    EXPECT_EQ(c.socket.Receive(buffer, sizeof buffer, 1000ms), 5);
    EXPECT_EQ(std::string(buffer, 5), "pong!");
}

TEST(BlockingSocketTest, ReceiveReportsTimeOutAndClosedPeerAlikeAsMinusOne) {
    Connection c;
    char buffer[8];
    auto start = Clock::now();
    EXPECT_EQ(c.socket.Receive(buffer, sizeof buffer, 150ms), -1);
    EXPECT_GE(Clock::now() - start, 140ms);
    c.ClosePeer();
    EXPECT_EQ(c.socket.Receive(buffer, sizeof buffer, 1000ms), -1);
}

TEST(BlockingSocketTest, ConnectToAClosedPortFails) {
    std::uint16_t port;
    {
        Listener gone;
        port = gone.port;
    }
    CBlockingSocket socket;
    socket.Create(CBlockingSocket::kStream);
    EXPECT_EQ(ThrownOperation([&] { socket.Connect(SocketAddress("127.0.0.1", port), 1000ms); }), "Connect");
    EXPECT_FALSE(socket.IsConnected());
    socket.Close();
    socket.CloseQuietly();
}

// A listener whose accept queue is full drops new SYNs, so a connect to it hangs.
struct FullListener {
    Listener listener{0};
    std::array<CBlockingSocket, 4> fillers;
    FullListener() {
        for (auto& filler : fillers) {
            filler.Create(CBlockingSocket::kStream);
            try {
                filler.Connect(listener.Address(), 200ms);
            } catch (const CBlockingSocketException&) {
                break;  // the queue is full already
            }
        }
    }
};

TEST(BlockingSocketTest, ConnectGivesUpAfterItsTimeOut) {
    FullListener full;
    CBlockingSocket socket;
    socket.Create(CBlockingSocket::kStream);
    auto start = Clock::now();
    EXPECT_EQ(ThrownOperation([&] { socket.Connect(full.listener.Address(), 200ms); }), "Connect");
    auto took = Clock::now() - start;
    EXPECT_GE(took, 190ms);
    EXPECT_LT(took, 2000ms);
}

TEST(BlockingSocketTest, SendOfMoreThanOneSendTakesLoopsUntilEverythingIsOut) {
    Connection c;
    std::vector<char> data(8 << 20);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    std::vector<char> received;
    std::jthread reader([&] {
        char buffer[65536];
        ssize_t n;
        while ((n = ::recv(c.peer, buffer, sizeof buffer, 0)) > 0)
            received.insert(received.end(), buffer, buffer + n);
    });
    EXPECT_EQ(c.socket.Send(data.data(), static_cast<int>(data.size()), 2000ms), static_cast<int>(data.size()));
    EXPECT_EQ(c.socket.SendAll(data.data(), 1000, 2000ms), 1000);
    c.socket.Close();
    reader.join();
    ASSERT_EQ(received.size(), data.size() + 1000);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), received.begin()));
}

TEST(BlockingSocketTest, SendToAPeerThatNeverReadsTimesOut) {
    Connection c;
    std::vector<char> data(64 << 20);
    auto start = Clock::now();
    EXPECT_EQ(ThrownOperation([&] { c.socket.Send(data.data(), static_cast<int>(data.size()), 200ms); }),
              "Send timeout");
    EXPECT_LT(Clock::now() - start, 5000ms);
    c.socket.SetSendChunkTimeout(100ms);
    EXPECT_EQ(ThrownOperation([&] { c.socket.SendAll(data.data(), static_cast<int>(data.size()), 100ms); }),
              "Send timeout");
}

TEST(BlockingSocketTest, SendAllWaitsItsOwnPieceTimeOutWhateverTheCallerNames) {
    EXPECT_EQ(CBlockingSocket().SendChunkTimeout(), platform::Timing{}.sendChunkTimeout);
    Connection c;
    c.socket.SetSendChunkTimeout(150ms);
    std::vector<char> data(64 << 20);
    auto start = Clock::now();
    EXPECT_EQ(ThrownOperation([&] { c.socket.SendAll(data.data(), static_cast<int>(data.size()), 10000ms); }),
              "Send timeout");
    EXPECT_LT(Clock::now() - start, 5000ms);
    // Send keeps the caller's time-out.
    start = Clock::now();
    EXPECT_EQ(ThrownOperation([&] { c.socket.Send(data.data(), static_cast<int>(data.size()), 400ms); }),
              "Send timeout");
    EXPECT_GE(Clock::now() - start, 390ms);
}

TEST(BlockingSocketTest, SendToAClosedPeerFailsWithoutASignal) {
    Connection c;
    c.ClosePeer();
    std::vector<char> data(1 << 20);
    // The first send may still be taken by the system; later ones meet the reset.
    EXPECT_EQ(ThrownOperation([&] {
                  for (int i = 0; i < 50; ++i) {
                      c.socket.Send(data.data(), static_cast<int>(data.size()), 500ms);
                      std::this_thread::sleep_for(5ms);
                  }
              }),
              "Send");
}

TEST(BlockingSocketTest, CloseThenCloseQuietlyReleasesOnceAndRepeatsHarmlessly) {
    Connection c;
    c.socket.Close();
    EXPECT_FALSE(c.socket.HasSocket());
    EXPECT_FALSE(c.socket.IsConnected());
    c.socket.CloseQuietly();
    c.socket.Close();
    c.socket.CloseQuietly();
    // The peer sees the end of the connection.
    char byte;
    EXPECT_EQ(::recv(c.peer, &byte, 1, 0), 0);
}

TEST(BlockingSocketTest, CreateRefusesAnUnknownTypeAndASecondCreate) {
    CBlockingSocket socket;
    EXPECT_EQ(ThrownOperation([&] { socket.Create(3); }), "Create");
    socket.Create(CBlockingSocket::kDatagram);
    EXPECT_EQ(ThrownOperation([&] { socket.Create(CBlockingSocket::kDatagram); }), "Create");
}

TEST(BlockingSocketTest, AbortFromAnotherThreadEndsABlockedReceivePromptly) {
    Connection c;
    char buffer[8];
    std::atomic<bool> returned{false};
    int result = 0;
    testutil::ThreadId receiver;
    std::jthread blocked([&] {
        receiver.Publish();
        result = c.socket.Receive(buffer, sizeof buffer, 10000ms);
        returned = true;
    });
    EXPECT_TRUE(testutil::WaitUntilSleeping(receiver));
    EXPECT_FALSE(returned.load());  // still blocked: nothing came and the wait is long
    auto abortAt = Clock::now();
    c.socket.Abort();
    blocked.join();
    EXPECT_EQ(result, -1);
    EXPECT_LT(Clock::now() - abortAt, kPrompt);
    // Aborted for good: later calls fail at once.
    EXPECT_EQ(c.socket.Receive(buffer, sizeof buffer, 10000ms), -1);
    EXPECT_EQ(ThrownOperation([&] { c.socket.Send("x", 1, 10000ms); }), "Send");
}

TEST(BlockingSocketTest, StopRequestEndsBlockedCallsPromptly) {
    {
        Connection c;
        std::stop_source stop;
        int result = 0;
        testutil::ThreadId receiver;
        std::jthread blocked([&] {
            receiver.Publish();
            char buffer[8];
            result = c.socket.Receive(buffer, sizeof buffer, 10000ms, stop.get_token());
        });
        EXPECT_TRUE(testutil::WaitUntilSleeping(receiver));
        auto stopAt = Clock::now();
        stop.request_stop();
        blocked.join();
        EXPECT_EQ(result, -1);
        EXPECT_LT(Clock::now() - stopAt, kPrompt);
    }
    {
        FullListener full;
        CBlockingSocket socket;
        socket.Create(CBlockingSocket::kStream);
        std::stop_source stop;
        std::string thrown;
        testutil::ThreadId connecter;
        std::jthread blocked([&] {
            connecter.Publish();
            thrown = ThrownOperation([&] { socket.Connect(full.listener.Address(), 10000ms, stop.get_token()); });
        });
        EXPECT_TRUE(testutil::WaitUntilSleeping(connecter));
        auto stopAt = Clock::now();
        stop.request_stop();
        blocked.join();
        EXPECT_EQ(thrown, "Connect");
        EXPECT_LT(Clock::now() - stopAt, kPrompt);
    }
}

TEST(BlockingSocketTest, DatagramsTravelBetweenBoundSockets) {
    CBlockingSocket receiver;
    receiver.Create(CBlockingSocket::kDatagram);
    receiver.Bind(SocketAddress("127.0.0.1", 0));
    const auto receiverAddress = receiver.GetLocalAddress();
    ASSERT_NE(receiverAddress.GetPort(), 0);

    CBlockingSocket sender;
    sender.Create(CBlockingSocket::kDatagram);
    EXPECT_EQ(sender.SetSockOpt(), 0);
    sender.Bind(SocketAddress("127.0.0.1", 0));
    sender.m_saDestination = receiverAddress;
    unsigned char record[76];
    for (int i = 0; i < 76; ++i)
        record[i] = static_cast<unsigned char>(i);
    EXPECT_EQ(sender.Sendto(record, sizeof record), 76);

    unsigned char got[76] = {};
    SocketAddress from;
    EXPECT_EQ(receiver.ReceiveFrom(got, sizeof got, 1000ms, &from), 76);
    EXPECT_EQ(std::memcmp(got, record, 76), 0);
    EXPECT_EQ(from.GetPort(), sender.GetLocalAddress().GetPort());
    EXPECT_EQ(from.ToText(), "127.0.0.1");

    auto start = Clock::now();
    EXPECT_EQ(receiver.ReceiveFrom(got, sizeof got, 100ms, &from), -1);
    EXPECT_GE(Clock::now() - start, 90ms);
}

TEST(BlockingSocketTest, DatagramCallsOnAnInvalidTargetThrowTheirNames) {
    CBlockingSocket socket;
    EXPECT_EQ(ThrownOperation([&] { socket.SetSockOpt(); }), "SetSockOpt");
    socket.Create(CBlockingSocket::kDatagram);
    EXPECT_EQ(ThrownOperation([&] { socket.Bind(SocketAddress("nowhere", 3333)); }), "Bind");
    socket.m_saDestination = SocketAddress("nowhere", 7777);
    EXPECT_EQ(ThrownOperation([&] { socket.Sendto("x", 1); }), "Sendto");
}

TEST(BlockingSocketTest, HostNamesResolveToTheirFirstIPv4Address) {
    auto address = CBlockingSocket::GetHostByName("localhost", 8080);
    EXPECT_EQ(address.GetIPAddress() >> 24, 127u);
    EXPECT_EQ(address.GetPort(), 8080);
    EXPECT_EQ(CBlockingSocket::GetHostByName("10.1.2.3", 80).ToText(), "10.1.2.3");
    EXPECT_EQ(ThrownOperation([] { CBlockingSocket::GetHostByName("", 80); }), "GetHostByName");
    EXPECT_EQ(ThrownOperation([] { CBlockingSocket::GetHostByName("no-such-host.invalid", 80); }),
              "GetHostByName");
}

TEST(BlockingSocketTest, LocalHostAddressIsADottedAddress) {
    SocketAddress parsed(session::FormatLocalHostAddress(), 0);
    EXPECT_TRUE(parsed.IsValid());
}
