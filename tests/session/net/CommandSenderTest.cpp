// The command sender against the simulated device.

#include "session/net/CommandSender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "fakes/RecordingUiPort.h"
#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CgiRequest.h"
#include "simulator/DeviceSimulator.h"
#include "support/ThreadSleeping.h"

using namespace std::chrono_literals;
using namespace session;
using devicesim::DeviceSimulator;
using devicesim::Fault;
using devicesim::Reply;

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kFixedLines[] =
    "Accept-Encoding: gzip, deflate\r\n"
    "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)\r\n"
    "Host: 127.0.0.1\r\nConnection: Keep-Alive\r\n\r\n";

struct Outcome {
    int result = -1;
    StatusRecord status{7, 0};
    std::uint32_t length = 12345;
    std::string body;
};

class CommandSenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start(2));
        device.UpdateProfile([](devicesim::DeviceProfile& p) { p.checkCookie = false; });
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device.Port(0);
        app.SetUiPort(&ui);
        options.connectTimeout = 1000ms;
        options.sendTimeout = 1000ms;
        options.receiveTimeout = 1000ms;
    }

    Outcome Send(std::uint8_t command, std::string_view request, std::size_t capacity = 4096,
                 const std::string* body = nullptr) {
        Outcome out;
        std::vector<std::uint8_t> buffer(capacity);
        out.result = SorelSendCommand(app, options, command, request,
                                      body ? reinterpret_cast<const std::uint8_t*>(body->data()) : nullptr,
                                      body ? static_cast<std::uint32_t>(body->size()) : 0, &out.status, buffer,
                                      &out.length);
        out.body.assign(buffer.begin(), buffer.begin() + std::min<std::size_t>(out.length, capacity));
        return out;
    }

    DeviceSimulator device;
    AppData app;
    fakes::RecordingUiPort ui;
    CommandOptions options;
};

}  // namespace

TEST_F(CommandSenderTest, LoginSendsTheFixedHeaderLinesAndReturnsTheReplyBody) {
    CgiRequest login(CMD_LOGIN);
    login.AddParam("Username", "tovik");
    login.AddParam("Password", "tovik");
    Outcome out = Send(CMD_LOGIN, login.Text(), 1024);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.body, device.Profile().LoginItems());
    EXPECT_EQ(out.length, out.body.size());
    EXPECT_EQ(out.status.nStatus, 0);  // untouched on success

    auto log = device.Requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].raw, std::string("GET /Login.cgi?Username=tovik&Password=tovik HTTP/1.1\r\n"
                                      "Accept: */* \r\nAccept-Language: zh-tw\r\n") +
                              kFixedLines);
}

TEST_F(CommandSenderTest, AConfigurationStoreCarriesItsBlockAfterTheHeader) {
    CgiRequest store(CMD_SET_SYS_CFG);
    store.AddParam("Option", "DNS");
    store.AddParam("Refresh", "False");
    store.AddParam("Cookie", "5A17C0DE");
    const std::string block("\x0a\x00\x00\x01\x08\x08\x08\x08\x00\x00\x0d\x0a", 12);
    Outcome out = Send(CMD_SET_SYS_CFG, store.Text(), 0, &block);
    EXPECT_EQ(out.result, 1);
    auto log = device.Requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].raw, std::string("GET /SetSysCfg.cgi?Option=DNS&Refresh=False&Cookie=5A17C0DE HTTP/1.1\r\n"
                                      "Accept: */* \r\nAccept-Language: zh-tw\r\nContent-Length: 12\r\n") +
                              kFixedLines + block);
    EXPECT_EQ(device.Profile().Block(3), devicesim::Bytes(block.begin(), block.end()));

    // A body, even an empty one, is announced.
    const std::string empty;
    Send(CMD_SET_SYS_CFG, "/SetSysCfg.cgi?Option=DNS", 0, &empty);
    log = device.Requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[1].raw.find("Accept-Language: zh-tw\r\nContent-Length: 0\r\nAccept-Encoding:"), std::string::npos);
}

TEST_F(CommandSenderTest, EachReplyCaseEndsInItsDefinedResult) {
    const std::string body20 = "0123456789abcdefghij";
    std::string body3000(3000, '\0');
    for (std::size_t i = 0; i < body3000.size(); ++i)
        body3000[i] = static_cast<char>('a' + i % 26);
    struct Case {
        const char* what;
        std::string body;  // what the device has to say
        Fault fault;
        std::size_t capacity;
        int result;
        int status;  // written to the status record (0: untouched)
        std::string received;
    };
    const Case cases[] = {
        {"plain", body20, Fault::Delay(0ms), 4096, 1, 0, body20},
        {"lower-case content-length", body20, Fault::ContentLengthName("content-length"), 4096, 1, 0, body20},
        {"blanks around the length", body20, Fault::ContentLengthValue("  20\t"), 4096, 1, 0, body20},
        {"missing length drops the body", body20, Fault::NoContentLength(), 4096, 1, 0, ""},
        {"body in three segments", body3000, Fault::BodyInSegments({1000, 1000}), 4096, 1, 0, body3000},
        {"status 202", body20, Fault::Status(202), 4096, 0, 202, ""},
        {"status line without reason", body20,
         Fault{"no reason", [](Reply& r) { r.reason.clear(); }}, 4096, 1, 0, body20},
        {"header in one-byte segments", body20, Fault::HeaderInSegments(1), 4096, 1, 0, body20},
        // Each byte well within the receive time-out, the whole header far beyond it.
        {"header trickling in", body20,
         Fault::HeaderInSegments(1) + Fault{"slow", [](Reply& r) { r.piecePause = 40ms; }}, 4096, 0, 0, ""},
        {"bytes past the length are not body", body20, Fault::ContentLengthValue("5"), 4096, 1, 0, "01234"},
        {"oversize header", body20, Fault::OversizeHeader(5000), 4096, 0, 0, ""},
        {"oversize body", body20, Fault::OversizeBody(5000), 4096, 0, 200, ""},
        {"body larger than the caller's buffer", body20, Fault::Delay(0ms), 19, 0, 200, ""},
        {"cut body", body3000, Fault::CutBody(1200), 4096, 0, 200, body3000.substr(0, 1200)},
        {"negative length", body20, Fault::ContentLengthValue("-1"), 4096, 0, 200, ""},
        {"length beyond 2^31", body20, Fault::ContentLengthValue("99999999999"), 4096, 0, 200, ""},
        {"length that is not a number", body20, Fault::ContentLengthValue("12abc"), 4096, 0, 200, ""},
        {"silent device", body20, Fault::Silence(), 4096, 0, 0, ""},
        {"close before header", body20, Fault::CloseBeforeHeader(), 4096, 0, 0, ""},
        {"close inside header", body20, Fault::CloseInsideHeader(20), 4096, 0, 0, ""},
        {"header without blank line", body20, Fault::HeaderWithoutBlankLine(), 4096, 0, 0, ""},
        {"garbage", body20, Fault::Garbage(), 4096, 0, 0, ""},
        {"not a status line", body20, Fault::Garbage("HTTP/1.1 2000 OK\r\n\r\n"), 4096, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        device.SetReply("/GetColor.cgi", Reply::Ok(c.body));
        device.AddFault("/GetColor.cgi", c.fault);
        Outcome out = Send(CMD_GET_COLOR, "/GetColor.cgi", c.capacity);
        EXPECT_EQ(out.result, c.result);
        EXPECT_EQ(out.status.nStatus, c.status);
        EXPECT_EQ(out.status.nReserved, 7);
        EXPECT_EQ(out.length, c.received.size());
        EXPECT_EQ(out.body, c.received);
    }
}

// Text replies whose caller reads only what fits: the area is filled and
// the rest left unread, never written past; a reply cut short before the
// area is full still fails, and binary callers (the default) still refuse.
TEST_F(CommandSenderTest, ATextReplyLongerThanItsAreaIsCutToItWhenTheCallerAsks) {
    std::string body1500(1500, '\0');
    for (std::size_t i = 0; i < body1500.size(); ++i)
        body1500[i] = static_cast<char>('a' + i % 26);
    struct Case {
        const char* what;
        Fault fault;
        std::size_t capacity;
        LongReply longReply;
        int result;
        int status;
        std::string received;
    };
    const Case cases[] = {
        {"fits", Fault::Delay(0ms), 4096, LongReply::CutToArea, 1, 0, body1500},
        {"exactly the area", Fault::Delay(0ms), 1500, LongReply::CutToArea, 1, 0, body1500},
        {"cut to the area", Fault::Delay(0ms), 1024, LongReply::CutToArea, 1, 0, body1500.substr(0, 1024)},
        {"area smaller than what came with the header", Fault::Delay(0ms), 256, LongReply::CutToArea, 1, 0,
         body1500.substr(0, 256)},
        {"cut, the body in segments", Fault::BodyInSegments({100, 700}), 1024, LongReply::CutToArea, 1, 0,
         body1500.substr(0, 1024)},
        {"device closes once the area is full", Fault::CutBody(1024), 1024, LongReply::CutToArea, 1, 0,
         body1500.substr(0, 1024)},
        {"device closes before the area is full", Fault::CutBody(600), 1024, LongReply::CutToArea, 0, 200,
         body1500.substr(0, 600)},
        {"refused by default", Fault::Delay(0ms), 1024, LongReply::Refuse, 0, 200, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        device.SetReply("/GetColor.cgi", Reply::Ok(body1500));
        device.AddFault("/GetColor.cgi", c.fault);
        options.longReply = c.longReply;
        // Guard bytes after the area show that nothing is written past it.
        std::vector<std::uint8_t> buffer(c.capacity + 16, 0xA5);
        Outcome out;
        out.result = SorelSendCommand(app, options, CMD_GET_COLOR, "/GetColor.cgi", nullptr, 0, &out.status,
                                      std::span(buffer.data(), c.capacity), &out.length);
        EXPECT_EQ(out.result, c.result);
        EXPECT_EQ(out.status.nStatus, c.status);
        ASSERT_EQ(out.length, c.received.size());
        EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + out.length), c.received);
        EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(c.capacity), buffer.end(),
                                [](std::uint8_t b) { return b == 0xA5; }));
    }
}

TEST_F(CommandSenderTest, RebootSucceedsOnceSentEvenToASilentDevice) {
    device.AddFault("/Reboot.cgi", Fault::Silence());
    options.receiveTimeout = 10000ms;
    auto start = Clock::now();
    EXPECT_EQ(Send(CMD_REBOOT, "/Reboot.cgi").result, 1);
    EXPECT_LT(Clock::now() - start, 2000ms) << "no wait for the reply";
    EXPECT_EQ(Send(CMD_REBOOT, "/Reboot.cgi").result, 1);  // the device closes without a word
    ASSERT_TRUE(device.WaitForRequests(2, 10000ms));
    EXPECT_EQ(device.RequestsFor("/Reboot.cgi").size(), 2u);
}

TEST_F(CommandSenderTest, AStopRequestEndsABlockedReceivePromptly) {
    device.AddFault("/GetColor.cgi", Fault::Silence());
    std::stop_source stop;
    options.receiveTimeout = 10000ms;
    options.stop = stop.get_token();
    int result = -1;
    testutil::ThreadId waiting;
    std::thread sender([&] {
        waiting.Publish();
        result = Send(CMD_GET_COLOR, "/GetColor.cgi").result;
    });
    ASSERT_TRUE(device.WaitForRequests(1, 10000ms));
    EXPECT_TRUE(testutil::WaitUntilSleeping(waiting));  // in the receive
    auto stopAt = Clock::now();
    stop.request_stop();
    sender.join();
    EXPECT_LT(Clock::now() - stopAt, 2000ms) << "well within the receive time-out";
    EXPECT_EQ(result, 0);
}

TEST_F(CommandSenderTest, APendingWebPortAppliesAfterTheNextStatus200) {
    app.g_wPendingWebPort = device.Port(1);
    app.g_fPendingWebPort = true;
    app.g_strPendingServerName = "127.0.0.1";
    app.g_fPendingServerName = true;

    device.AddFault("/SetSysCfg.cgi", Fault::Status(500));
    EXPECT_EQ(Send(CMD_SET_SYS_CFG, "/SetSysCfg.cgi?Option=IP").result, 0);
    EXPECT_TRUE(app.g_fPendingWebPort.load());  // another status leaves it pending
    EXPECT_EQ(app.CSettingINI.m_wWebPort.load(), device.Port(0));

    EXPECT_EQ(Send(CMD_SET_SYS_CFG, "/SetSysCfg.cgi?Option=IP").result, 1);
    EXPECT_FALSE(app.g_fPendingWebPort.load());
    EXPECT_FALSE(app.g_fPendingServerName.load());
    EXPECT_EQ(app.CSettingINI.m_wWebPort.load(), device.Port(1));

    EXPECT_EQ(Send(CMD_GET_COLOR, "/GetColor.cgi").result, 1);
    auto log = device.Requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].port, device.Port(0));
    EXPECT_EQ(log[1].port, device.Port(0));
    EXPECT_EQ(log[2].port, device.Port(1));
}

TEST_F(CommandSenderTest, AStatus200AppliesThePendingChangesEvenWhenItsLengthIsUnreadable) {
    app.g_wPendingWebPort = device.Port(1);
    app.g_fPendingWebPort = true;
    device.AddFault("/SetSysCfg.cgi", Fault::ContentLengthValue("12abc"));
    Outcome out = Send(CMD_SET_SYS_CFG, "/SetSysCfg.cgi?Option=IP");
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.status.nStatus, 200);
    EXPECT_FALSE(app.g_fPendingWebPort.load());  // the device took the new port
    EXPECT_EQ(app.CSettingINI.m_wWebPort.load(), device.Port(1));
}

TEST_F(CommandSenderTest, LoginByHostNameKeepsTheNameAndRewritesTheServerToTheAddress) {
    app.CSettingINI.m_strServerName = "localhost";
    EXPECT_EQ(Send(CMD_GET_COLOR, "/GetColor.cgi").result, 1);
    EXPECT_EQ(app.CSettingINI.m_strServerName.Get(), "localhost");  // only the login rewrites

    EXPECT_EQ(Send(CMD_LOGIN, "/Login.cgi?Username=tovik&Password=tovik").result, 1);
    EXPECT_EQ(app.CSettingINI.m_szServerAddress.Get(), "localhost");
    EXPECT_EQ(app.CSettingINI.m_strServerName.Get(), "127.0.0.1");

    app.CSettingINI.m_szServerAddress = "kept";
    EXPECT_EQ(Send(CMD_LOGIN, "/Login.cgi?Username=tovik&Password=tovik").result, 1);
    EXPECT_EQ(app.CSettingINI.m_szServerAddress.Get(), "kept");  // a dotted server is left alone
    EXPECT_TRUE(ui.Calls().empty());
}

TEST_F(CommandSenderTest, AWrongAddressIsToldThroughTheUiPortAndNothingIsSent) {
    for (const char* server : {"no-such-host.invalid", "1.2.3", "300.1.1.1"}) {
        ui.Clear();
        app.CSettingINI.m_strServerName = server;
        EXPECT_EQ(Send(CMD_LOGIN, "/Login.cgi").result, 0) << server;
        EXPECT_EQ(ui.Calls(), std::vector<std::string>{"msgtext:IP Address is wrong."}) << server;
        EXPECT_EQ(app.CSettingINI.m_strServerName.Get(), server);
    }
    EXPECT_TRUE(device.Requests().empty());
}

TEST_F(CommandSenderTest, RequestsThatCannotGoOutAreRefusedBeforeAnyByteIsSent) {
    std::string bigBody(4000, 'x');
    EXPECT_EQ(Send(CMD_SET_SYS_CFG, "/SetSysCfg.cgi?Option=SMTP", 0, &bigBody).result, 0);
    EXPECT_EQ(Send(40, "/GetColor.cgi").result, 0);
    EXPECT_EQ(Send(CMD_GET_COLOR, "").result, 0);
    EXPECT_EQ(Send(CMD_GET_COLOR, "/GetColor.cgi?A=b c").result, 0);
    EXPECT_EQ(Send(CMD_GET_COLOR, "/GetColor.cgi?A=b\r\nX: y").result, 0);
    app.CSettingINI.m_strServerName = "";
    EXPECT_EQ(Send(CMD_GET_COLOR, "/GetColor.cgi").result, 0);
    device.Stop();
    EXPECT_TRUE(device.Requests().empty());
}

TEST_F(CommandSenderTest, ARefusedConnectionFails) {
    device.SetRefusing(true);
    EXPECT_EQ(Send(CMD_GET_COLOR, "/GetColor.cgi").result, 0);
}

TEST(ReplyHeaderTest, StatusAndLengthAreReadOnlyFromSoundLines) {
    struct Case {
        const char* header;
        int status;  // -1: not a reply
        std::optional<std::uint32_t> length;
        bool lengthValid;
    };
    const Case cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n", 200, 12, true},
        {"HTTP/1.0 404 Not Found\r\n\r\n", 404, std::nullopt, true},
        {"HTTP/1.1 200\r\nCONTENT-LENGTH:12\r\n\r\n", 200, 12, true},
        {"http/1.1 200 ok\r\ncontent-length: 3\r\n\r\n", 200, 3, true},
        {"HTTP/1.1 200 OK\r\nX-Content-Length: 5\r\n\r\n", 200, std::nullopt, true},
        {"HTTP/1.1 200 OK\r\nContent-Length: 2147483647\r\n\r\n", 200, 2147483647u, true},
        {"HTTP/1.1 200 OK\r\nContent-Length: 2147483648\r\n\r\n", 200, std::nullopt, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: \r\n\r\n", 200, std::nullopt, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: 1 2\r\n\r\n", 200, std::nullopt, false},
        {"HTTP/1.1 20 OK\r\n\r\n", -1, std::nullopt, true},
        {"HTTP/1.1 2000\r\n\r\n", -1, std::nullopt, true},
        {"HTTP/1.1\r\n\r\n", -1, std::nullopt, true},
        {"ICY 200 OK\r\n\r\n", -1, std::nullopt, true},
    };
    for (const Case& c : cases) {
        auto header = ParseReplyHeader(c.header);
        if (c.status < 0) {
            EXPECT_FALSE(header) << c.header;
            continue;
        }
        ASSERT_TRUE(header) << c.header;
        EXPECT_EQ(header->status, c.status) << c.header;
        EXPECT_EQ(header->contentLength, c.length) << c.header;
        EXPECT_EQ(header->lengthValid, c.lengthValid) << c.header;
    }
    EXPECT_FALSE(ParseReplyHeader(std::string_view("HTTP/1.1 200 OK\r\nA: \0\r\n\r\n", 24)));
}

TEST(CommandSenderTextTest, NumericHostsAreDigitsAndDotsOnly) {
    EXPECT_EQ(IsNumericHost("192.168.0.1"), 2);
    EXPECT_EQ(IsNumericHost(""), 2);
    EXPECT_EQ(IsNumericHost("1.2"), 2);
    EXPECT_EQ(IsNumericHost("dvr.local"), 1);
    EXPECT_EQ(IsNumericHost("10.0.0.1a"), 1);
    EXPECT_EQ(IsNumericHost("\xC2\xB9"), 1);
}
