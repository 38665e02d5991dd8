// The search and the change/reset exchanges against the simulator's search
// responder on 127.0.0.1, with free ports and shortened waits.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <vector>

#include "fakes/RecordingUiPort.h"
#include "platform/SyncObjects.h"
#include "session/tools/DeviceSearch.h"
#include "session/tools/SearchTestDevices.h"

using namespace session;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Stage = ExchangeOutcome::Stage;
using searchtest::Device;
using searchtest::FreeUdpPort;
using searchtest::HeldPort;

namespace {

class RecordingSearchPort : public fakes::RecordingUiPort, public DeviceSearchPort {
public:
    void ShowMessageBox(unsigned id) override { RecordingUiPort::ShowMessageBox(id); }
    void ShowMessageText(const std::string& text) override { RecordingUiPort::ShowMessageText(text); }
    void DeviceReplied(const SearchRecord& reply) override {
        std::lock_guard lock(mutex_);
        replies_.push_back(reply);
    }
    void SearchStopped() override { stopped_.Set(); }
    void ExchangeFinished(const ExchangeOutcome& outcome) override {
        {
            std::lock_guard lock(mutex_);
            outcome_ = outcome;
        }
        finished_.Set();
    }

    std::vector<SearchRecord> Replies() const {
        std::lock_guard lock(mutex_);
        return replies_;
    }
    ExchangeOutcome Outcome() const {
        std::lock_guard lock(mutex_);
        return outcome_;
    }
    bool WaitStopped(std::chrono::milliseconds timeout) { return stopped_.Wait(timeout); }
    bool WaitFinished(std::chrono::milliseconds timeout) { return finished_.Wait(timeout); }

private:
    mutable std::mutex mutex_;
    std::vector<SearchRecord> replies_;
    ExchangeOutcome outcome_;
    platform::Event stopped_{platform::Event::ResetMode::Manual};
    platform::Event finished_{platform::Event::ResetMode::Manual};
};

class DeviceSearchNetworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        replyPort_ = FreeUdpPort();
        responder_ = std::make_unique<devicesim::SearchResponder>(
            devicesim::SearchResponderOptions{"127.0.0.1", 0, replyPort_});
    }

    void StartResponder() { ASSERT_TRUE(responder_->Start()); }

    SearchEndpoints Endpoints() const {
        SearchEndpoints e;
        e.broadcastAddress = "127.0.0.1";
        e.broadcastPort = responder_->Port();
        e.sourcePort = 0;
        e.replyPort = replyPort_;
        e.localAddress = "127.0.0.1";
        return e;
    }

    // Waits that end early on an answer are long enough for a responder on a
    // loaded machine; a search still ends 2 s after its last reply.
    static platform::Timing Short() {
        platform::Timing t;
        t.searchDuration = 10000ms;
        t.searchReplyWait = 2000ms;
        t.setIpAnswerWait = 10000ms;
        t.resetAnswerWait = 10000ms;
        return t;
    }

    // A change request for the device as the form builds it after a search.
    static SearchRecord ChangeFor(const devicesim::SearchDevice& d, NetworkChange kind,
                                  const std::string& password, const std::string& newAddress) {
        DeviceNetworkFields f;
        f.macAddress = FormatMac(d.mac);
        f.ipAddress = newAddress;
        f.subnetMask = "255.255.255.0";
        f.gateway = "192.168.1.1";
        f.dnsServer = "192.168.1.1";
        f.webPort = 8080;
        return MakeNetworkChangeRequest(kind, f, "admin", password);
    }

    std::uint16_t replyPort_ = 0;
    std::unique_ptr<devicesim::SearchResponder> responder_;
    RecordingSearchPort port_;
};

}  // namespace

TEST_F(DeviceSearchNetworkTest, FindsEveryAnsweringDeviceWithItsFields) {
    responder_->AddDevice(Device(50, 10));
    responder_->AddDevice(Device(113, 20));
    StartResponder();
    DeviceSearch search(port_, Endpoints(), Short());
    ASSERT_TRUE(search.StartSearch());
    ASSERT_TRUE(port_.WaitStopped(20s));

    const auto requests = responder_->Requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto expected = MakeSearchRequest("127.0.0.1").Encode();
    EXPECT_EQ(requests[0], std::vector<std::uint8_t>(expected.begin(), expected.end()));

    SearchResultList list;
    for (const auto& reply : port_.Replies())
        list.Append(reply, 255, 255);
    ASSERT_EQ(list.Count(), 2);
    // The second reply is the list's first row.
    const SearchResultNode& top = *list.Find(list.IndexOfRow(0));
    EXPECT_EQ(SearchRowTexts(top),
              (std::array<std::string, 5>{"192.168.1.20", "00:0e:a6:01:02:14", "8020", "4CH NETWORK DVR", ""}));
    const SearchResultNode& first = *list.Find(list.IndexOfRow(1));
    EXPECT_EQ(first.ipAddress, "192.168.1.10");
    EXPECT_EQ(first.subnetMask, "255.255.255.0");
    EXPECT_EQ(first.gateway, "192.168.1.1");
    EXPECT_EQ(first.dnsServer, "192.168.1.1");
    EXPECT_TRUE(port_.Calls().empty());
}

TEST_F(DeviceSearchNetworkTest, WithNobodyAnsweringTheSearchStopsAfterTheReplyWait) {
    StartResponder();
    platform::Timing t = Short();
    t.searchReplyWait = 300ms;
    DeviceSearch search(port_, Endpoints(), t);
    const auto start = Clock::now();
    ASSERT_TRUE(search.StartSearch());
    ASSERT_TRUE(port_.WaitStopped(10s));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 2300ms) << "the reply wait, not the 10 s search time";
    EXPECT_TRUE(port_.Replies().empty());
    EXPECT_TRUE(port_.Calls().empty());
}

TEST_F(DeviceSearchNetworkTest, ShortDatagramsAreIgnoredAndRepeatedRepliesListedTwice) {
    responder_->AddDevice(Device(50, 10));
    responder_->SetShortDatagramFirst(40);
    responder_->SetReplyTwice(true);
    StartResponder();
    DeviceSearch search(port_, Endpoints(), Short());
    ASSERT_TRUE(search.StartSearch());
    ASSERT_TRUE(port_.WaitStopped(20s));
    const auto replies = port_.Replies();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(FormatIpv4(replies[1].ipAddress), "192.168.1.10");
}

TEST_F(DeviceSearchNetworkTest, ListeningStopsWhenTheSearchTimeIsUp) {
    responder_->AddDevice(Device(50, 10));
    StartResponder();
    platform::Timing t = Short();
    t.searchDuration = 0ms;
    DeviceSearch search(port_, Endpoints(), t);
    ASSERT_TRUE(search.StartSearch());
    ASSERT_TRUE(port_.WaitStopped(20s));
    EXPECT_TRUE(port_.Replies().empty());
}

TEST_F(DeviceSearchNetworkTest, ReplyPortInUseIsReportedAndTheSearchStops) {
    StartResponder();
    HeldPort taken;
    SearchEndpoints e = Endpoints();
    e.replyPort = taken.Port();
    DeviceSearch search(port_, e, Short());
    ASSERT_TRUE(search.StartSearch());
    ASSERT_TRUE(port_.WaitStopped(20s));
    EXPECT_EQ(port_.Calls(), std::vector<std::string>{"msgbox:4006"});
    EXPECT_TRUE(responder_->Requests().empty());
}

TEST_F(DeviceSearchNetworkTest, FailedBroadcastIsReportedAndTheSearchListensOn) {
    StartResponder();
    HeldPort taken;
    SearchEndpoints e = Endpoints();
    e.sourcePort = taken.Port();
    DeviceSearch search(port_, e, Short());
    const auto start = Clock::now();
    ASSERT_TRUE(search.StartSearch());
    ASSERT_TRUE(port_.WaitStopped(20s));
    EXPECT_GE(Clock::now() - start, Short().searchReplyWait);
    EXPECT_EQ(port_.Calls(), std::vector<std::string>{"msgtext:SendBroadCast is wrong"});
}

TEST_F(DeviceSearchNetworkTest, StopEndsAWaitingSearchAtOnceAndSilently) {
    StartResponder();
    platform::Timing t;  // the full 5 s and 10 s
    DeviceSearch search(port_, Endpoints(), t);
    ASSERT_TRUE(search.StartSearch());
    ASSERT_TRUE(responder_->WaitForRequests(1, 10s));
    const auto start = Clock::now();
    search.Stop();
    EXPECT_LT(Clock::now() - start, 2000ms) << "far within the 5 s reply wait";
    EXPECT_FALSE(search.Busy());
    EXPECT_FALSE(port_.WaitStopped(0ms));
}

TEST_F(DeviceSearchNetworkTest, ChangeAndResetAnswersGiveTheirMessages) {
    struct Case {
        const char* name;
        NetworkChange kind;
        std::string password;
        bool fixedAddress;
        std::optional<std::uint8_t> forcedStatus;
        std::uint8_t status;
        unsigned message;
    };
    const auto set = NetworkChange::SetIp;
    const auto reset = NetworkChange::Reset;
    const Case cases[] = {
        {"change done", set, "admin", false, {}, 1, 4005},
        {"reset done", reset, "admin", false, {}, 1, 4062},
        {"change wrong password", set, "nope", false, {}, 0, 4081},
        {"reset wrong password", reset, "nope", false, {}, 0, 4081},
        {"change fixed address", set, "admin", true, {}, 2, 4102},
        {"reset fixed address", reset, "admin", true, {}, 2, 4102},
        {"change failed", set, "admin", false, 7, 7, 4004},
        {"reset failed", reset, "admin", false, 7, 7, 4061},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        devicesim::SearchDevice d = Device(50, 10);
        d.fixedAddress = c.fixedAddress;
        d.forcedStatus = c.forcedStatus;
        responder_->AddDevice(d);
        StartResponder();
        RecordingSearchPort port;
        DeviceSearch search(port, Endpoints(), Short());
        const SearchRecord request = ChangeFor(d, c.kind, c.password, "192.168.1.77");
        ASSERT_TRUE(search.StartExchange(c.kind, request));
        ASSERT_TRUE(port.WaitFinished(20s));
        EXPECT_EQ(port.Outcome().stage, Stage::Answered);
        EXPECT_EQ(port.Outcome().status, c.status);
        EXPECT_EQ(port.Calls(), std::vector<std::string>{"msgbox:" + std::to_string(c.message)});
        const auto requests = responder_->Requests();
        ASSERT_EQ(requests.size(), 1u);
        const auto bytes = request.Encode();
        EXPECT_EQ(requests[0], std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
}

TEST_F(DeviceSearchNetworkTest, AcceptedChangeReachesTheDevice) {
    responder_->AddDevice(Device(87, 10));
    StartResponder();
    DeviceSearch search(port_, Endpoints(), Short());
    ASSERT_TRUE(search.StartExchange(NetworkChange::SetIp,
                                     ChangeFor(Device(87, 10), NetworkChange::SetIp, "admin", "192.168.1.77")));
    ASSERT_TRUE(port_.WaitFinished(20s));
    const auto devices = responder_->Devices();
    EXPECT_EQ(devices[0].ipAddress, (std::array<std::uint8_t, 4>{192, 168, 1, 77}));
    EXPECT_EQ(devices[0].webPort, 8080);
}

TEST_F(DeviceSearchNetworkTest, UnansweredChangeAndResetTimeOut) {
    struct Case {
        NetworkChange kind;
        std::chrono::milliseconds wait;
    };
    for (const Case c : {Case{NetworkChange::SetIp, 250ms}, Case{NetworkChange::Reset, 150ms}}) {
        SetUp();
        responder_->AddDevice(Device(50, 10));
        responder_->SetAnswerChanges(false);
        StartResponder();
        platform::Timing t = Short();
        t.setIpAnswerWait = 250ms;
        t.resetAnswerWait = 150ms;
        RecordingSearchPort port;
        DeviceSearch search(port, Endpoints(), t);
        const auto start = Clock::now();
        ASSERT_TRUE(search.StartExchange(c.kind, ChangeFor(Device(50, 10), c.kind, "admin", "192.168.1.77")));
        ASSERT_TRUE(port.WaitFinished(20s));
        const auto took = Clock::now() - start;
        EXPECT_GE(took, c.wait);
        EXPECT_LT(took, c.wait + 2000ms) << "the wait set, not the usual 7 s or 12 s";
        EXPECT_EQ(port.Outcome().stage, Stage::NoAnswer);
        EXPECT_EQ(port.Calls(), std::vector<std::string>{"msgbox:4064"});
    }
}

TEST_F(DeviceSearchNetworkTest, ShortDatagramIsNoAnswer) {
    devicesim::SearchDevice d = Device(50, 10);
    responder_->AddDevice(d);
    responder_->SetShortDatagramFirst(18);
    StartResponder();
    DeviceSearch search(port_, Endpoints(), Short());
    ASSERT_TRUE(search.StartExchange(NetworkChange::Reset,
                                     ChangeFor(d, NetworkChange::Reset, "admin", "192.168.1.10")));
    ASSERT_TRUE(port_.WaitFinished(20s));
    EXPECT_EQ(port_.Outcome().stage, Stage::Answered);
    EXPECT_EQ(port_.Calls(), std::vector<std::string>{"msgbox:4062"});
}

TEST_F(DeviceSearchNetworkTest, ChangeWithItsReplyPortInUseSendsNothing) {
    devicesim::SearchDevice d = Device(50, 10);
    responder_->AddDevice(d);
    StartResponder();
    HeldPort taken;
    SearchEndpoints e = Endpoints();
    e.replyPort = taken.Port();
    DeviceSearch search(port_, e, Short());
    ASSERT_TRUE(search.StartExchange(NetworkChange::SetIp,
                                     ChangeFor(d, NetworkChange::SetIp, "admin", "192.168.1.77")));
    ASSERT_TRUE(port_.WaitFinished(20s));
    EXPECT_EQ(port_.Outcome().stage, Stage::NoBind);
    EXPECT_EQ(port_.Calls(), std::vector<std::string>{"msgbox:4014"});
    EXPECT_TRUE(responder_->Requests().empty());
}
