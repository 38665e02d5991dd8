// The login dialog's attempt and its two threads, against the simulated device.
#include "session/login/LoginThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "fakes/CallLog.h"
#include "fakes/FakeNameServer.h"
#include "session/AppData.h"
#include "session/login/LoginExchange.h"
#include "simulator/DeviceSimulator.h"

using namespace std::chrono_literals;
using namespace session;
using devicesim::DeviceProfile;
using devicesim::DeviceSimulator;
using devicesim::Fault;
using devicesim::Reply;

namespace {

class LoginThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        timing.connectTimeout = 1000ms;
        timing.commandTimeout = 2000ms;
        app.w_LoginResult = kLoginNotLoggedIn;
    }
    LoginFields Fields(std::string password = "tovik") const {
        return {"127.0.0.1", "tovik", std::move(password), std::to_string(device.Port())};
    }

    DeviceSimulator device;
    AppData app;
    platform::Timing timing;
};

}  // namespace

TEST_F(LoginThreadTest, AcceptedLoginLeavesTheFieldsAndTheDevicesFacts) {
    ASSERT_EQ(RunDialogLogin(app, Fields(), timing), 0);

    EXPECT_EQ(app.w_LoginResult.load(), kLoginLoggedIn);
    EXPECT_EQ(app.SessionCookie.Get(), "5A17C0DE");
    EXPECT_EQ(app.str_FWVersion.Get(), "1052");
    EXPECT_EQ(app.str_ProductID.Get(), "R41T");
    EXPECT_EQ(app.sz_MACAddress.Get(), "0012A5C0FFEE");
    EXPECT_EQ(app.CSettingINI.m_wLastMAC1.load(), 0xFF);
    EXPECT_EQ(app.CSettingINI.m_wLastMAC2.load(), 0xEE);
    EXPECT_EQ(app.str_HostName.Get(), "DVR");
    EXPECT_EQ(app.CSettingINI.m_strUserName.Get(), "tovik");
    EXPECT_EQ(app.CSettingINI.m_strPassword.Get(), "tovik");
    EXPECT_EQ(app.CSettingINI.m_wWebPort.load(), device.Port());

    const auto requests = device.RequestsFor("/Login.cgi");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/Login.cgi?Username=tovik&Password=tovik");
    EXPECT_TRUE(device.RequestsFor("/Getdeviceinfo.cgi").empty());
}

TEST_F(LoginThreadTest, EachRefusalSelectsItsFailureText) {
    struct Case {
        const char* name;
        std::function<void(DeviceSimulator&)> setUp;
        std::string password;
        int failure;  // 0: accepted
    };
    const Case cases[] = {
        {"wrong password", [](DeviceSimulator&) {}, "wrong", 1},
        {"too many users", [](DeviceSimulator& d) { d.UpdateProfile([](DeviceProfile& p) { p.tooManyUsers = true; }); },
         "tovik", 2},
        {"unknown product", [](DeviceSimulator& d) { d.UpdateProfile([](DeviceProfile& p) { p.productId = "X99Z"; }); },
         "tovik", 3},
        {"no product code is accepted",
         [](DeviceSimulator& d) { d.SetReply("/Login.cgi", Reply::Ok("Session-ID=77;Firmware-Version=1052;")); },
         "tovik", 0},
        {"no session id", [](DeviceSimulator& d) { d.SetReply("/Login.cgi", Reply::Ok("Product-ID=R41T;")); },
         "tovik", 1},
        {"empty reply", [](DeviceSimulator& d) { d.SetReply("/Login.cgi", Reply::Ok("")); }, "tovik", 1},
        {"server error", [](DeviceSimulator& d) { d.AddFault("/Login.cgi", Fault::Status(500)); }, "tovik", 1},
        {"reply longer than 256 bytes",
         [](DeviceSimulator& d) { d.UpdateProfile([](DeviceProfile& p) { p.hostName = std::string(600, 'h'); }); },
         "tovik", 0},
        {"nothing listening", [](DeviceSimulator& d) { d.SetRefusing(true); }, "tovik", 1},
    };
    for (const auto& c : cases) {
        DeviceSimulator fresh;
        ASSERT_TRUE(fresh.Start());
        c.setUp(fresh);
        AppData attempt;
        attempt.w_LoginResult = kLoginNotLoggedIn;
        const LoginFields fields{"127.0.0.1", "tovik", c.password, std::to_string(fresh.Port())};
        EXPECT_EQ(RunDialogLogin(attempt, fields, timing), c.failure) << c.name;
        EXPECT_EQ(attempt.w_LoginResult.load(), c.failure == 0 ? kLoginLoggedIn : kLoginNotLoggedIn) << c.name;
        // The typed fields stay in the settings whatever the outcome.
        EXPECT_EQ(attempt.CSettingINI.m_strPassword.Get(), c.password) << c.name;
    }
}

TEST_F(LoginThreadTest, RefusedProductKeepsWhatTheReplyGaveBeforeIt) {
    device.UpdateProfile([](DeviceProfile& p) { p.productId = "X99Z"; });
    ASSERT_EQ(RunDialogLogin(app, Fields(), timing), 3);
    EXPECT_EQ(app.SessionCookie.Get(), "5A17C0DE");
    EXPECT_EQ(app.str_FWVersion.Get(), "1052");
    EXPECT_EQ(app.str_ProductID.Get(), "X99Z");
}

TEST_F(LoginThreadTest, ThreadReportsItsEndOnItsOwnThread) {
    fakes::CallLog events;
    const auto caller = std::this_thread::get_id();
    LoginThread thread(app, timing);
    LoginThread::Reports reports;
    reports.succeeded = [&] { events.Add(std::this_thread::get_id() == caller ? "caller" : "succeeded"); };
    reports.failed = [&](int failure) { events.Add("failed " + std::to_string(failure)); };

    ASSERT_TRUE(thread.Start(Fields(), reports));
    ASSERT_TRUE(events.WaitForCount(1));
    ASSERT_TRUE(thread.Start(Fields("wrong"), reports));
    ASSERT_TRUE(events.WaitForCount(2));
    thread.Stop();
    EXPECT_EQ(events.Calls(), (std::vector<std::string>{"succeeded", "failed 1"}));
}

// Escape or a second press stops the attempt from the GUI thread: it ends at
// once, also while the name server keeps the look-up waiting.
TEST_F(LoginThreadTest, AnAbandonedAttemptEndsAtOnceAndReportsNothing) {
    fakes::FakeNameServer names;
    names.Silence("silent-dvr.test");
    struct Case {
        const char* name;
        std::string server;
        std::function<bool()> reached;  // the attempt waits where the stop must cut it short
    };
    const Case cases[] = {
        {"silent device", "127.0.0.1", [&] { return device.WaitForRequests(1, 10000ms); }},
        {"silent name server", "silent-dvr.test", [&] { return names.Asked().WaitForCount(1); }},
    };
    device.AddFault("/Login.cgi", Fault::Silence(), -1);
    timing.commandTimeout = 10000ms;
    for (const auto& c : cases) {
        fakes::CallLog events;
        LoginThread thread(app, timing);
        LoginThread::Reports reports;
        reports.succeeded = [&] { events.Add("succeeded"); };
        reports.failed = [&](int failure) { events.Add("failed"); };
        reports.wrongAddress = [&] { events.Add("wrong address"); };
        LoginFields fields = Fields();
        fields.server = c.server;
        ASSERT_TRUE(thread.Start(fields, reports)) << c.name;
        ASSERT_TRUE(c.reached()) << c.name;

        const auto start = std::chrono::steady_clock::now();
        thread.Stop();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms) << c.name << ": far within the 10 s";
        EXPECT_FALSE(thread.Running()) << c.name;
        EXPECT_FALSE(events.WaitForCount(1, 100ms)) << c.name;
    }
    EXPECT_EQ(names.Asked().Count("silent-dvr.test"), 1) << "the look-up is still unanswered";
}

TEST(AnimateThreadTest, TicksAtOnceThenEveryPeriodUntilStopped) {
    fakes::CallLog ticks;
    AnimateThread animate;
    ASSERT_TRUE(animate.Start(20ms, [&] { ticks.Add("tick"); }));
    ASSERT_TRUE(ticks.WaitForCount(4));
    animate.Stop();
    const std::size_t count = ticks.Calls().size();
    EXPECT_FALSE(ticks.WaitForCount(count + 1, 80ms));
    EXPECT_FALSE(animate.Running());
}
