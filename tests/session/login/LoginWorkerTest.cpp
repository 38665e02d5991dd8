// The connecting pop-up's login worker against the simulated device.
#include "session/login/LoginWorker.h"

#include <gtest/gtest.h>

#include <chrono>

#include "fakes/CallLog.h"
#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"

using namespace std::chrono_literals;
using namespace session;
using devicesim::DeviceProfile;
using devicesim::DeviceSimulator;
using devicesim::Fault;

namespace {

class LoginWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        app.CSettingINI.m_strServerName = "10.1.1.1";
        app.CSettingINI.m_strUserName = "someone";
        app.CSettingINI.m_dwImageResolution = 2;
        app.CSettingINI.m_dwImageQuality = 1;
        job.server = "127.0.0.1";
        job.user = "tovik";
        job.password = "tovik";
        job.port = std::to_string(device.Port());
        job.timing.connectTimeout = 1000ms;
        job.timing.commandTimeout = 2000ms;
        job.notify.loginEnd = [this](int result) { events.Add("end " + std::to_string(result)); };
        job.notify.message = [this](unsigned id) { events.Add("message " + std::to_string(id)); };
    }
    void TearDown() override { DestroyLoginObject(); }

    DeviceSimulator device;
    AppData app;
    LoginWorkerJob job;
    fakes::CallLog events;
};

}  // namespace

TEST_F(LoginWorkerTest, LogsInReadsTheSessionFactsAndEndsWithOne) {
    device.UpdateProfile([](DeviceProfile& p) {
        p.userLevel = 20;
        p.lifetime = 45;
        p.videoMode = 1;
    });
    EXPECT_EQ(LoginWorkerThread(app, job), 1);
    EXPECT_EQ(events.Calls(), std::vector<std::string>{"end 1"});

    EXPECT_EQ(app.SessionCookie.Get(), "5A17C0DE");
    EXPECT_EQ(app.str_ProductID.Get(), "R41T");
    EXPECT_EQ(app.str_FWVersion.Get(), "1052");
    EXPECT_EQ(app.sz_MACAddress.Get(), "0012A5C0FFEE");
    EXPECT_EQ(app.w_UserLevel.load(), 20);
    EXPECT_EQ(app.dw_LifeTime.load(), 45);
    EXPECT_EQ(app.by_VideoMode.load(), 1);
    EXPECT_EQ(app.str_BootVersion.Get(), "1001");
    EXPECT_EQ(app.str_2041Version.Get(), "1002");
    EXPECT_EQ(app.str_FPGAVersion.Get(), "1003");
    // Only the address and the port go into the settings.
    EXPECT_EQ(app.CSettingINI.m_strServerName.Get(), "127.0.0.1");
    EXPECT_EQ(app.CSettingINI.m_wWebPort.load(), device.Port());
    EXPECT_EQ(app.CSettingINI.m_strUserName.Get(), "someone");
    EXPECT_EQ(app.CSettingINI.m_wLastMAC1.load(), 255);

    // The device information asks for nothing about a stream.
    const auto info = device.RequestsFor("/Getdeviceinfo.cgi");
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info[0].target, "/Getdeviceinfo.cgi?Cookie=5A17C0DE&RES=2&QUA=1");
}

TEST_F(LoginWorkerTest, EveryFailureEndsWithMinusOneThenTheLoginMessage) {
    struct Case {
        const char* name;
        std::function<void(DeviceSimulator&, LoginWorkerJob&)> setUp;
        std::size_t infoRequests;
    };
    const Case cases[] = {
        {"wrong password", [](DeviceSimulator&, LoginWorkerJob& j) { j.password = "wrong"; }, 0},
        {"too many users",
         [](DeviceSimulator& d, LoginWorkerJob&) { d.UpdateProfile([](DeviceProfile& p) { p.tooManyUsers = true; }); },
         0},
        {"device information refused",
         [](DeviceSimulator& d, LoginWorkerJob&) { d.AddFault("/Getdeviceinfo.cgi", Fault::Status(500)); }, 1},
        {"empty device information",
         [](DeviceSimulator& d, LoginWorkerJob&) { d.SetReply("/Getdeviceinfo.cgi", devicesim::Reply::Ok("")); }, 1},
    };
    for (const auto& c : cases) {
        DeviceSimulator fresh;
        ASSERT_TRUE(fresh.Start());
        fakes::CallLog seen;
        LoginWorkerJob failing = job;
        failing.port = std::to_string(fresh.Port());
        failing.notify.loginEnd = [&](int result) { seen.Add("end " + std::to_string(result)); };
        failing.notify.message = [&](unsigned id) { seen.Add("message " + std::to_string(id)); };
        c.setUp(fresh, failing);
        AppData attempt;
        EXPECT_EQ(LoginWorkerThread(attempt, failing), 0) << c.name;
        EXPECT_EQ(seen.Calls(), (std::vector<std::string>{"end -1", "message 4040"})) << c.name;
        EXPECT_EQ(fresh.RequestsFor("/Getdeviceinfo.cgi").size(), c.infoRequests) << c.name;
    }
}

TEST_F(LoginWorkerTest, EmptyCredentialsGiveTheirMessageAndNoResult) {
    job.password.clear();
    EXPECT_EQ(LoginWorkerThread(app, job), 0);
    EXPECT_EQ(events.Calls(), std::vector<std::string>{"message 4081"});
    EXPECT_TRUE(device.Requests().empty());
    EXPECT_EQ(app.CSettingINI.m_strServerName.Get(), "10.1.1.1");
}

TEST_F(LoginWorkerTest, AbsentSessionFactsKeepTheirValues) {
    device.UpdateProfile([](DeviceProfile& p) {
        p.lifetime.reset();
        p.userLevel.reset();
    });
    app.dw_LifeTime = 17;
    app.w_UserLevel = 10;
    EXPECT_EQ(LoginWorkerThread(app, job), 1);
    EXPECT_EQ(app.dw_LifeTime.load(), 17);
    EXPECT_EQ(app.w_UserLevel.load(), 10);
}

TEST_F(LoginWorkerTest, TheOneLoginObjectStartsAFreshWorkerEachTimeAndStopsAHangingOne) {
    ASSERT_EQ(CreateLoginObject(app), 1);
    Login* login = g_lpLogin;
    ASSERT_NE(login, nullptr);
    ASSERT_EQ(CreateLoginObject(app), 1);
    EXPECT_EQ(g_lpLogin, login);

    login->m_strServer = job.server;
    login->m_strUser = job.user;
    login->m_strPassword = job.password;
    login->m_strPort = job.port;
    login->m_timing = job.timing;
    login->m_notify = job.notify;
    ASSERT_EQ(login->CreateThread(), 1);
    ASSERT_TRUE(events.WaitForCount(1));

    // A device that never answers: stopping the worker ends it without a result.
    device.AddFault("/Login.cgi", Fault::Silence(), -1);
    login->m_timing.commandTimeout = 10000ms;
    ASSERT_EQ(login->CreateThread(), 1);
    ASSERT_TRUE(device.WaitForRequests(3, 10000ms));
    const auto start = std::chrono::steady_clock::now();
    login->StopThread();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms) << "far within the 10 s";
    EXPECT_FALSE(events.WaitForCount(2, 100ms));
    EXPECT_EQ(events.Calls(), std::vector<std::string>{"end 1"});
}
