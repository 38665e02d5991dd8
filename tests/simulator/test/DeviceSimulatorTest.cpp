// The simulator driven by a plain socket client through each reply and fault.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "simulator/DeviceSimulator.h"

using namespace std::chrono_literals;
using devicesim::Bytes;
using devicesim::DeviceProfile;
using devicesim::DeviceSimulator;
using devicesim::Fault;
using devicesim::Reply;

namespace {

using Clock = std::chrono::steady_clock;

struct Received {
    bool connected = false;
    std::string bytes;
    bool closedByDevice = false;        // false: we gave up waiting
    Clock::duration firstByteAfter{};
};

// Sends the bytes on a new connection and reads until the device closes or
// nothing comes for `quiet`.
Received Exchange(std::uint16_t port, const std::string& request, std::chrono::milliseconds quiet = 2000ms) {
    Received result;
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return result;
    }
    result.connected = true;
    auto start = Clock::now();
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    char buffer[65536];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(quiet.count())) <= 0)
            break;
        ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) {
            result.closedByDevice = true;
            break;
        }
        if (result.bytes.empty())
            result.firstByteAfter = Clock::now() - start;
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return result;
}

std::string Get(const std::string& target, const std::string& body = {}) {
    std::string text = "GET " + target + " HTTP/1.1\r\nAccept: */* \r\n";
    if (!body.empty())
        text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return text + "Host: 127.0.0.1\r\nConnection: Keep-Alive\r\n\r\n" + body;
}

std::string BodyOf(const std::string& reply) {
    std::size_t end = reply.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

std::string StatusLineOf(const std::string& reply) {
    return reply.substr(0, reply.find("\r\n"));
}

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Start()); }
    std::uint16_t port() const { return device.Port(); }
    std::string Login() {
        return BodyOf(Exchange(port(), Get("/Login.cgi?Username=tovik&Password=tovik")).bytes);
    }
    DeviceSimulator device;
};

}  // namespace

TEST_F(SimulatorTest, ListensBelowPort10000AndOnSeveralPortsWhenAsked) {
    DeviceSimulator two;
    ASSERT_TRUE(two.Start(2));
    for (std::uint16_t p : two.Ports()) {
        EXPECT_GE(p, 1);
        EXPECT_LE(p, 9999);
        EXPECT_EQ(StatusLineOf(Exchange(p, Get("/Setbrcssa.cgi")).bytes), "HTTP/1.1 200 OK");
    }
    ASSERT_EQ(two.Requests().size(), 2u);
    EXPECT_EQ(two.Requests()[0].port, two.Port(0));
    EXPECT_EQ(two.Requests()[1].port, two.Port(1));
    EXPECT_NE(two.Port(0), two.Port(1));
}

TEST_F(SimulatorTest, LoginRecordsEveryRequestByteAndAnswersTheLoginItems) {
    const std::string request = Get("/Login.cgi?Username=to%76ik&Password=tovik");
    Received reply = Exchange(port(), request);
    EXPECT_TRUE(reply.closedByDevice);
    EXPECT_EQ(reply.bytes,
              "HTTP/1.1 200 OK\r\nContent-Length: 97\r\nContent-Type: text/plain\r\n\r\n"
              "Session-ID=5A17C0DE;Firmware-Version=1052;Product-ID=R41T;MAC-Address=0012A5C0FFEE;Host-Name=DVR;");

    auto log = device.Requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].raw, request);
    EXPECT_EQ(log[0].requestLine, "GET /Login.cgi?Username=to%76ik&Password=tovik HTTP/1.1");
    EXPECT_EQ(log[0].headerLines,
              (std::vector<std::string>{"Accept: */* ", "Host: 127.0.0.1", "Connection: Keep-Alive"}));
    EXPECT_EQ(log[0].path, "/Login.cgi");
    EXPECT_EQ(log[0].Param("Username"), "tovik");  // %76 decoded before comparing
    EXPECT_TRUE(device.IsSession("5A17C0DE"));
}

TEST_F(SimulatorTest, LoginRefusesAWrongPasswordAndTooManyUsers) {
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/Login.cgi?Username=tovik&Password=x")).bytes),
              "HTTP/1.1 401 Unauthorized");
    device.UpdateProfile([](DeviceProfile& p) { p.tooManyUsers = true; });
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/Login.cgi?Username=tovik&Password=tovik")).bytes),
              "HTTP/1.1 202 Accepted");
    EXPECT_FALSE(device.IsSession("5A17C0DE"));
}

TEST_F(SimulatorTest, DeviceInformationNeedsTheSessionAndRemembersTheNewHeader) {
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/Getdeviceinfo.cgi?Cookie=5A17C0DE&RES=0")).bytes),
              "HTTP/1.1 401 Unauthorized");
    device.UpdateProfile([](DeviceProfile& p) {
        p.masters = {{1, 14}, {2, 1}};
        p.retr = 1;
        p.slaves = {{1, 1, 1}, {2, 5, 0}};
        p.fpgaVersion.reset();
    });
    Login();
    Received reply = Exchange(port(), Get("/Getdeviceinfo.cgi?Cookie=5A17C0DE&RES=0&QUA=2&CH=1&NEWHR=1"));
    EXPECT_EQ(BodyOf(reply.bytes),
              "LIFETIME=-1;MULTICH=0;MASTERNUM=2;MID=1;MTYPE=14;MID=2;MTYPE=1;RETR=1;VIDEOMODE=0;USERLEVEL=30;"
              "Boot-Version=1001;2041-Version=1002;SLAVENUM=2;SID=1;STYPE=1;SPROTOCOL=1;SID=2;STYPE=5;SPROTOCOL=0;");
    EXPECT_TRUE(device.NewHeaderRequested("5A17C0DE"));
    Exchange(port(), Get("/Getdeviceinfo.cgi?Cookie=5A17C0DE&RES=0"));
    EXPECT_FALSE(device.NewHeaderRequested("5A17C0DE"));

    device.UpdateProfile([](DeviceProfile& p) { p.linkDevice = 14; });
    EXPECT_NE(BodyOf(Exchange(port(), Get("/Getdeviceinfo.cgi?Cookie=5A17C0DE")).bytes).find("LINKDEVICE=14;RETR=1;"),
              std::string::npos);
}

TEST(SimulatorProfileTest, AllBlocksFollowTheFamilysOrderThenOnline) {
    struct Case {
        const char* product;
        std::size_t onlineOffset;
        std::vector<std::pair<int, std::size_t>> blockAt;  // option, offset
    };
    const Case cases[] = {
        {"R41T", 2044, {{0, 0}, {6, 820}, {9, 960}, {11, 1096}, {13, 1120}, {14, 1892}, {15, 1912}}},
        {"R47T", 1136, {{0, 0}, {6, 820}, {9, 960}, {11, 1096}, {16, 1120}}},
        {"N52H", 1136, {{16, 1120}}},
        {"G66M", 1136, {{16, 1120}}},
    };
    for (const Case& c : cases) {
        DeviceProfile profile = DeviceProfile::ForProduct(c.product);
        for (int option = 0; option < 17; ++option)
            profile.blocks[option] = Bytes(option == 12 ? 96 : devicesim::kOptionBlocks[option].size,
                                           static_cast<std::uint8_t>(0xA0 + option));
        Bytes all = profile.AllBlocks();
        ASSERT_EQ(all.size(), c.onlineOffset + 96) << c.product;
        EXPECT_EQ(all[c.onlineOffset], 0xA0 + 12) << c.product;
        for (auto [option, offset] : c.blockAt) {
            EXPECT_EQ(all[offset], 0xA0 + option) << c.product << " option " << option;
            EXPECT_EQ(all[offset + devicesim::kOptionBlocks[option].size - 1], 0xA0 + option) << c.product;
        }
    }
}

TEST_F(SimulatorTest, ConfigurationBlocksAreReadStoredAndReadBack) {
    device.UpdateProfile([](DeviceProfile& p) { p.SetCapability(0x01020304); });
    Login();
    std::string inf = BodyOf(Exchange(port(), Get("/GetSysCfg.cgi?Option=INF&Size=44&Cookie=5A17C0DE")).bytes);
    ASSERT_EQ(inf.size(), 44u);
    EXPECT_EQ(inf.substr(20, 4), std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(BodyOf(Exchange(port(), Get("/GetSysCfg.cgi?Option=ALL&Size=0&Cookie=5A17C0DE")).bytes).size(), 2044u);

    std::string dns("\x0a\x00\x00\x01\x08\x08\x08\x08\x00\x00\x00\x01", 12);
    Received stored = Exchange(port(), Get("/SetSysCfg.cgi?Option=DNS&Refresh=False&Cookie=5A17C0DE", dns));
    EXPECT_EQ(StatusLineOf(stored.bytes), "HTTP/1.1 200 OK");
    EXPECT_EQ(device.RequestsFor("/SetSysCfg.cgi").at(0).body, dns);
    EXPECT_EQ(BodyOf(Exchange(port(), Get("/GetSysCfg.cgi?Option=DNS&Size=12&Cookie=5A17C0DE")).bytes), dns);

    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/GetSysCfg.cgi?Option=NOPE&Cookie=5A17C0DE")).bytes),
              "HTTP/1.1 400 Bad Request");
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/GetSysCfg.cgi?Option=INF&Size=44")).bytes),
              "HTTP/1.1 401 Unauthorized");
}

TEST_F(SimulatorTest, ChannelAndRebootChangeTheDeviceAndRebootAnswersNothing) {
    Login();
    Exchange(port(), Get("/SetChannel.cgi?Cookie=5A17C0DE&CH=3"));
    EXPECT_EQ(device.State().channel, 3);
    Received reboot = Exchange(port(), Get("/Reboot.cgi?Cookie=5A17C0DE"));
    EXPECT_TRUE(reboot.closedByDevice);
    EXPECT_EQ(reboot.bytes, "");
    EXPECT_EQ(device.State().reboots, 1);
}

TEST_F(SimulatorTest, EveryDevicePathAnswersAndOthersAre404) {
    EXPECT_EQ(devicesim::DevicePaths().size(), 39u);  // 40 commands, two share a path
    for (const auto& path : devicesim::DevicePaths()) {
        if (path == "/Reboot.cgi")
            continue;
        device.Update([](devicesim::DeviceState& s) { s.profile.checkCookie = false; });
        EXPECT_EQ(StatusLineOf(Exchange(port(), Get(path + "?Username=tovik&Password=tovik&Option=INF&CH=1")).bytes), "HTTP/1.1 200 OK") << path;
    }
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/login.cgi")).bytes), "HTTP/1.1 404 Not Found");
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/Nothing.cgi")).bytes), "HTTP/1.1 404 Not Found");

    Reply colour = Reply::Ok("BRIGHT=5;");
    device.SetReply("/Setbrcssa.cgi", colour);
    EXPECT_EQ(BodyOf(Exchange(port(), Get("/Setbrcssa.cgi")).bytes), "BRIGHT=5;");
}

TEST_F(SimulatorTest, FaultsBendTheReplyOnTheWire) {
    const std::string body = "0123456789abcdefghij";  // 20 bytes
    device.SetReply("/Setbrcssa.cgi", Reply::Ok(body));
    const std::string header = Reply::Ok(body).HeaderText();
    struct Case {
        const char* what;
        Fault fault;
        std::function<void(const Received&)> check;
    };
    const Case cases[] = {
        {"status", Fault::Status(500),
         [](const Received& r) { EXPECT_EQ(StatusLineOf(r.bytes), "HTTP/1.1 500 Internal Server Error"); }},
        {"silence", Fault::Silence(),
         [](const Received& r) {
             EXPECT_EQ(r.bytes, "");
             EXPECT_FALSE(r.closedByDevice);
         }},
        {"close before header", Fault::CloseBeforeHeader(),
         [](const Received& r) {
             EXPECT_EQ(r.bytes, "");
             EXPECT_TRUE(r.closedByDevice);
         }},
        {"close inside header", Fault::CloseInsideHeader(12),
         [&](const Received& r) {
             EXPECT_EQ(r.bytes, header.substr(0, 12));
             EXPECT_TRUE(r.closedByDevice);
         }},
        // How the pieces reach the client is the scheduler's business: the
        // device's own writes show the shaping.
        {"header in one-byte segments", Fault::HeaderInSegments(1),
         [&](const Received& r) {
             EXPECT_EQ(r.bytes, header + body);
             std::vector<std::size_t> writes(header.size(), 1);
             writes.push_back(body.size());
             EXPECT_EQ(device.LastReplyWrites(), writes);
         }},
        {"header without blank line", Fault::HeaderWithoutBlankLine(),
         [](const Received& r) {
             EXPECT_EQ(r.bytes.find("\r\n\r\n"), std::string::npos);
             EXPECT_TRUE(r.closedByDevice);
         }},
        {"oversize header", Fault::OversizeHeader(5000),
         [](const Received& r) { EXPECT_EQ(r.bytes.find("\r\n\r\n") + 4, 5000u); }},
        {"oversize body", Fault::OversizeBody(8192),
         [](const Received& r) {
             EXPECT_NE(r.bytes.find("Content-Length: 8192\r\n"), std::string::npos);
             EXPECT_EQ(BodyOf(r.bytes).size(), 8192u);
         }},
        {"cut body", Fault::CutBody(7),
         [&](const Received& r) {
             EXPECT_EQ(r.bytes, header + body.substr(0, 7));
             EXPECT_TRUE(r.closedByDevice);
         }},
        {"no content length", Fault::NoContentLength(),
         [&](const Received& r) {
             EXPECT_EQ(r.bytes.find("Content-Length"), std::string::npos);
             EXPECT_EQ(BodyOf(r.bytes), body);
         }},
        {"content length in lower case", Fault::ContentLengthName("content-length"),
         [](const Received& r) { EXPECT_NE(r.bytes.find("\r\ncontent-length: 20\r\n"), std::string::npos); }},
        {"content length value", Fault::ContentLengthValue("  20 "),
         [](const Received& r) { EXPECT_NE(r.bytes.find("\r\nContent-Length:   20 \r\n"), std::string::npos); }},
        {"garbage", Fault::Garbage("\x01\x02xyz"), [](const Received& r) { EXPECT_EQ(r.bytes, "\x01\x02xyz"); }},
        {"delay", Fault::Delay(150ms),
         [&](const Received& r) {
             EXPECT_EQ(r.bytes, header + body);
             EXPECT_GE(r.firstByteAfter, 140ms);
         }},
        {"body in segments", Fault::BodyInSegments({5, 5}),
         [&](const Received& r) {
             EXPECT_EQ(r.bytes, header + body);
             EXPECT_EQ(device.LastReplyWrites(), (std::vector<std::size_t>{header.size() + 5, 5, 10}));
         }},
        {"combined", Fault::NoContentLength() + Fault::Status(202),
         [](const Received& r) {
             EXPECT_EQ(r.bytes, "HTTP/1.1 202 Accepted\r\nContent-Type: text/plain\r\n\r\n");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        device.AddFault("/Setbrcssa.cgi", c.fault);
        c.check(Exchange(port(), Get("/Setbrcssa.cgi")));
    }
    // Each fault was used once: the path answers normally again.
    EXPECT_EQ(Exchange(port(), Get("/Setbrcssa.cgi")).bytes, header + body);
}

TEST_F(SimulatorTest, FaultsRepeatAsOftenAsScriptedAndAnyPathTakesStar) {
    device.AddFault("/Setbrcssa.cgi", Fault::Status(500), 2);
    device.AddFault("*", Fault::Status(503), -1);
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/Setbrcssa.cgi")).bytes), "HTTP/1.1 500 Internal Server Error");
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/Setbrcssa.cgi")).bytes), "HTTP/1.1 500 Internal Server Error");
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/Setbrcssa.cgi")).bytes), "HTTP/1.1 503 Service Unavailable");
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/SetSorel.cgi")).bytes), "HTTP/1.1 503 Service Unavailable");
    device.ClearFaults();
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/SetSorel.cgi")).bytes), "HTTP/1.1 200 OK");
}

TEST_F(SimulatorTest, RefusingClosesThePortsUntilItEnds) {
    device.SetRefusing(true);
    EXPECT_FALSE(Exchange(port(), Get("/Setbrcssa.cgi")).connected);
    device.SetRefusing(false);
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/Setbrcssa.cgi")).bytes), "HTTP/1.1 200 OK");
}

TEST_F(SimulatorTest, ConnectionHandlersTakeTheWholeConnection) {
    device.SetConnectionHandler("/Getvideo.cgi", [](DeviceSimulator&, const devicesim::Request& request,
                                                    devicesim::Connection& connection) {
        connection.Send("HTTP/1.1 200 OK\r\n\r\n");
        for (int i = 0; i < 3; ++i)
            connection.Send("frame" + std::to_string(i));
    });
    EXPECT_EQ(Exchange(port(), Get("/Getvideo.cgi?CH=1")).bytes, "HTTP/1.1 200 OK\r\n\r\nframe0frame1frame2");
}

TEST_F(SimulatorTest, StopEndsASilentConnectionAtOnce) {
    device.AddFault("/Setbrcssa.cgi", Fault::Silence());
    std::thread client([&] { Exchange(port(), Get("/Setbrcssa.cgi"), 10000ms); });
    ASSERT_TRUE(device.WaitForRequests(1, 10000ms));
    auto start = Clock::now();
    device.Stop();
    EXPECT_LT(Clock::now() - start, 2000ms) << "not when the client gives up, after 10 s";
    client.join();
}

TEST_F(SimulatorTest, ARequestCutShortIsLoggedIncompleteAndNotAnswered) {
    Received reply = Exchange(port(), "GET /Setbrcssa.cgi HTTP/1.1\r\nContent-Length: 10\r\n\r\nabc", 300ms);
    EXPECT_EQ(reply.bytes, "");
    // The client gave up; the device notices the close and logs what came.
    ASSERT_TRUE(device.WaitForRequests(1, 10000ms));
    EXPECT_FALSE(device.Requests()[0].complete);
    EXPECT_EQ(device.Requests()[0].body, "abc");
}

TEST(SimulatorRequestTest, PercentEscapesAreDecodedOnlyWhenValid) {
    const std::pair<const char*, const char*> cases[] = {
        {"a%20b", "a b"}, {"%41%62", "Ab"}, {"100%", "100%"}, {"%4", "%4"}, {"%zz", "%zz"}, {"a+b", "a+b"},
        {"%25%26", "%&"},
    };
    for (auto [text, decoded] : cases)
        EXPECT_EQ(devicesim::DecodePercent(text), decoded) << text;
}

TEST_F(SimulatorTest, DisksAndRecordedEventsAreListedNewestPageFirst) {
    Login();
    device.UpdateProfile([](DeviceProfile& p) {
        p.disks = {0, 5, 255};
        p.diskFlag = 0x5A;
        for (std::uint8_t i = 0; i < 5; ++i)
            p.recordedEvents[5].push_back(devicesim::SearchEntry(i % 2 ? 48 : 4, {6, 10, 2, 13, 45, i}));
        p.searchPageSize = 2;
    });
    const std::string map = BodyOf(Exchange(port(), Get("/GetDvrHDD.cgi?Cookie=5A17C0DE")).bytes);
    ASSERT_EQ(map.size(), 33u);
    EXPECT_EQ(map[0], '\x21');
    EXPECT_EQ(map[31], '\x80');
    EXPECT_EQ(map[32], '\x5A');

    // The seconds of a page's entries, after checking its count word.
    const auto page = [&](const std::string& query) {
        const std::string body = BodyOf(Exchange(port(), Get("/GetSearchList.cgi?Cookie=5A17C0DE&" + query)).bytes);
        std::vector<int> seconds;
        EXPECT_GE(body.size(), 4u);
        if (body.size() < 4)
            return seconds;
        EXPECT_EQ(std::uint8_t(body[2]) | std::uint8_t(body[3]) << 8, ((body.size() - 4) / 16) << 4 | 0x0F);
        for (std::size_t at = 4; at + 16 <= body.size(); at += 16)
            seconds.push_back(body[at + 13]);
        return seconds;
    };
    EXPECT_EQ(page("STATE=LAST&HDD=5&TYPE=8"), (std::vector<int>{4, 3}));
    EXPECT_EQ(page("STATE=PREV&HDD=5&TYPE=8"), (std::vector<int>{2, 1}));
    EXPECT_EQ(page("STATE=PREV&HDD=5&TYPE=8"), (std::vector<int>{0}));
    EXPECT_EQ(page("STATE=PREV&HDD=5&TYPE=8"), (std::vector<int>{}));
    EXPECT_EQ(page("STATE=LAST&HDD=5&TYPE=3"), (std::vector<int>{3, 1})) << "manual entries only";
    EXPECT_EQ(page("STATE=LAST&HDD=5"), (std::vector<int>{4, 3})) << "no TYPE: every kind";
    EXPECT_EQ(page("STATE=LAST&HDD=0&TYPE=8"), (std::vector<int>{}));

    device.UpdateProfile([](DeviceProfile& p) { p.searchCountWord = 200; });
    const std::string announced = BodyOf(Exchange(port(), Get("/GetSearchList.cgi?Cookie=5A17C0DE&STATE=LAST&HDD=5")).bytes);
    EXPECT_EQ(announced.size(), 36u);
    EXPECT_EQ(std::uint8_t(announced[2]) | std::uint8_t(announced[3]) << 8, 200 << 4 | 0x0F);
    EXPECT_EQ(StatusLineOf(Exchange(port(), Get("/GetSearchList.cgi?STATE=LAST&HDD=5")).bytes),
              "HTTP/1.1 401 Unauthorized");
}
