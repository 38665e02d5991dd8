#include "session/login/LoginExchange.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "fakes/RecordingUiPort.h"
#include "session/AppData.h"
#include "simulator/DeviceSimulator.h"

namespace {

using mainwindow::ControlDeviceEntry;
using session::AppData;

constexpr std::uint16_t kMaster = mainwindow::kControlDeviceMaster | mainwindow::kControlDeviceValid;
constexpr std::uint16_t kSlave = mainwindow::kControlDeviceSlave | mainwindow::kControlDeviceValid;

std::vector<ControlDeviceEntry> ListedDevices(const AppData& app) {
    const auto state = app.C_ControlD.Snapshot();
    return {state.entries.begin(), state.entries.begin() + state.m_byCount};
}

// ---- Reply items ------------------------------------------------------------

TEST(ReplyItemTest, ValuesAreCutToTheirFieldsAndNeedTheirSemicolon) {
    struct Case {
        const char* name;
        std::string reply;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"plain item", "A=1;B=22;", "B", "22"},
        {"first occurrence wins", "B=1;B=2;", "B", "1"},
        {"key must be followed by =", "BX=5;B=6;", "B", "6"},
        {"case-sensitive", "b=1;", "B", std::nullopt},
        {"no semicolon after the key", "A=1;B=22", "B", std::nullopt},
        {"empty value", "B=;", "B", ""},
        {"value up to the first semicolon", "B=x=y;z;", "B", "x=y"},
        {"text ends at its first zero byte", std::string("A=1;\0B=2;", 9), "B", std::nullopt},
        {"long value cut to 255", "B=" + std::string(400, 'v') + ";", "B", std::string(255, 'v')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(session::ReplyValue(c.reply, c.key), c.value) << c.name;
}

TEST(ReplyItemTest, SearchFromAPositionMovesToTheSemicolon) {
    const std::string reply = "MID=1;MTYPE=2;MID=3;MTYPE=4;";
    auto first = session::FindReplyItem(reply, "MID");
    ASSERT_TRUE(first);
    auto second = session::FindReplyItem(reply, "MID", first->end);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->value, "3");
    EXPECT_EQ(reply[second->end], ';');
    EXPECT_FALSE(session::FindReplyItem(reply, "MID", second->end));
    EXPECT_FALSE(session::FindReplyItem(reply, "MID", reply.size() + 5));
}

TEST(ReplyItemTest, NumbersReadAsDecimalWithSignAndLimits) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"-1", -1},      {"30", 30},          {" 12", 12},          {"+7", 7},
        {"12abc", 12},   {"abc", 0},          {"", 0},              {"-", 0},
        {"99999999999", INT_MAX},             {"-99999999999", INT_MIN},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(session::ReplyNumber(text), number) << text;
}

// ---- Login reply ------------------------------------------------------------

TEST(LoginReplyTest, ReadsTheDeviceIdentityIntoAppDataAndSettings) {
    AppData app;
    const auto outcome = session::ApplyLoginReply(
        app, "Session-ID=5A17C0DE;Firmware-Version=1052;Product-ID=R41T;MAC-Address=0012A5C0FFEE;Host-Name=DVR;",
        {});
    EXPECT_EQ(outcome, session::LoginReplyOutcome::Accepted);
    EXPECT_EQ(app.SessionCookie.Get(), "5A17C0DE");
    EXPECT_EQ(app.str_FWVersion.Get(), "1052");
    EXPECT_EQ(app.str_ProductID.Get(), "R41T");
    EXPECT_EQ(app.sz_MACAddress.Get(), "0012A5C0FFEE");
    EXPECT_EQ(app.CSettingINI.m_wLastMAC1, 0xFF);
    EXPECT_EQ(app.CSettingINI.m_wLastMAC2, 0xEE);
    EXPECT_EQ(app.str_HostName.Get(), "DVR");
}

TEST(LoginReplyTest, AMacThatIsNotTwelveHexDigitsLeavesTheStoredMacAlone) {
    struct Case {
        const char* value;
        const char* text;
    };
    const Case cases[] = {
        {"0012A5C0FFE", "0012A5C0FFE"},
        {"0012A5C0FFEE77", "0012A5C0FFEE"},
        {"0012A5C0FFZZ", "0012A5C0FFZZ"},
        {"", ""},
    };
    for (const auto& c : cases) {
        AppData app;
        app.CSettingINI.m_wLastMAC1 = 0x12;
        app.CSettingINI.m_wLastMAC2 = 0x34;
        session::ApplyLoginReply(app, std::string("Session-ID=1;MAC-Address=") + c.value + ";", {});
        EXPECT_EQ(app.sz_MACAddress.Get(), c.text) << c.value;
        EXPECT_EQ(app.CSettingINI.m_wLastMAC1, 0x12) << c.value;
        EXPECT_EQ(app.CSettingINI.m_wLastMAC2, 0x34) << c.value;
    }
}

TEST(LoginReplyTest, WithoutSessionIdNothingIsTaken) {
    for (const char* reply : {"Firmware-Version=1052;Product-ID=R41T;", "Session-Id=5A17;Product-ID=R41T;",
                              "Firmware-Version=1052;Session-ID=77"}) {
        AppData app;
        app.SessionCookie = "old";
        app.str_FWVersion = "1000";
        EXPECT_EQ(session::ApplyLoginReply(app, reply, {}), session::LoginReplyOutcome::NoSessionId) << reply;
        EXPECT_EQ(app.SessionCookie.Get(), "old") << reply;
        EXPECT_EQ(app.str_FWVersion.Get(), "1000") << reply;
    }
}

TEST(LoginReplyTest, CookieIsCutTo63AndOtherValuesTo255) {
    AppData app;
    session::ApplyLoginReply(app, "Session-ID=" + std::string(100, 'c') + ";Host-Name=" + std::string(300, 'h') + ";",
                             {});
    EXPECT_EQ(app.SessionCookie.Get(), std::string(63, 'c'));
    EXPECT_EQ(app.str_HostName.Get(), std::string(255, 'h'));
}

TEST(LoginReplyTest, ProductCheckAcceptsTheEightKnownCodesAndAnAbsentOne) {
    struct Case {
        const char* reply;
        session::LoginReplyOutcome outcome;
    };
    const Case cases[] = {
        {"Session-ID=1;Product-ID=R41T;Host-Name=H;", session::LoginReplyOutcome::Accepted},
        {"Session-ID=1;Product-ID=G66M;Host-Name=H;", session::LoginReplyOutcome::Accepted},
        {"Session-ID=1;Product-ID=N53H;Host-Name=H;", session::LoginReplyOutcome::Accepted},
        {"Session-ID=1;Host-Name=H;", session::LoginReplyOutcome::Accepted},
        {"Session-ID=1;Product-ID=R41;Host-Name=H;", session::LoginReplyOutcome::UnsupportedProduct},
        {"Session-ID=1;Product-ID=r41t;Host-Name=H;", session::LoginReplyOutcome::UnsupportedProduct},
        {"Session-ID=1;Product-ID=X99X;Host-Name=H;", session::LoginReplyOutcome::UnsupportedProduct},
    };
    for (const auto& c : cases) {
        AppData app;
        EXPECT_EQ(session::ApplyLoginReply(app, c.reply, {.checkProduct = true}), c.outcome) << c.reply;
        // A refused product stops before the host name.
        EXPECT_EQ(app.str_HostName.Get(), c.outcome == session::LoginReplyOutcome::Accepted ? "H" : "") << c.reply;
    }
}

TEST(LoginReplyTest, TheWorkerKeepsTheMacOnlyAsText) {
    AppData app;
    session::ApplyLoginReply(app, "Session-ID=1;MAC-Address=0012A5C0FFEE;", {.storeMacInSettings = false});
    EXPECT_EQ(app.sz_MACAddress.Get(), "0012A5C0FFEE");
    EXPECT_EQ(app.CSettingINI.m_wLastMAC1, 255);
    EXPECT_EQ(app.CSettingINI.m_wLastMAC2, 255);
}

// ---- Device-information reply ----------------------------------------------

TEST(DeviceInfoReplyTest, SessionFactsAndTheirAbsence) {
    AppData app;
    app.dw_LifeTime = 5;
    app.by_MultiChannel = 1;
    session::ApplyDeviceInfoReply(app, "VIDEOMODE=1;USERLEVEL=20;Boot-Version=B1;2041-Version=C2;FPGA-Version=F3;");
    EXPECT_EQ(app.dw_LifeTime, 5) << "an absent LIFETIME keeps the previous value";
    EXPECT_EQ(app.by_MultiChannel, 0) << "an absent MULTICH reads as 0";
    EXPECT_EQ(app.by_VideoMode, 1);
    EXPECT_EQ(app.w_UserLevel, 20);
    EXPECT_EQ(app.str_BootVersion.Get(), "B1");
    EXPECT_EQ(app.str_2041Version.Get(), "C2");
    EXPECT_EQ(app.str_FPGAVersion.Get(), "F3");

    session::ApplyDeviceInfoReply(app, "LIFETIME=-1;MULTICH=1;");
    EXPECT_EQ(app.dw_LifeTime, -1);
    EXPECT_EQ(app.by_MultiChannel, 1);
}

TEST(DeviceInfoReplyTest, CurrentControlDeviceByProductAndChannel) {
    struct Case {
        const char* product;
        std::uint8_t multiChannel;
        std::uint8_t channel;
        int expectedRow;  // row of the list; 0 is a slave, so 0 means nothing was made current
    };
    const Case cases[] = {
        {"R41T", 1, 2, 3}, {"R41T", 0, 2, 1}, {"R42T", 0, 0, 1}, {"N51H", 0, 2, 1}, {"G66M", 0, 5, 1},
        {"R47T", 0, 1, 1}, {"R47T", 0, 2, 2}, {"X99X", 0, 1, 0}, {"R41T", 1, 9, 0},
    };
    for (const auto& c : cases) {
        AppData app;
        app.str_ProductID = c.product;
        app.by_MultiChannel = c.multiChannel;
        app.CSettingINI.m_bySelectedChannel = c.channel;
        app.C_ControlD.AddDevice(2400, 9, 8, mainwindow::kControlDeviceSlave);
        for (std::uint8_t address = 1; address <= 3; ++address)
            app.C_ControlD.AddDevice(2400, address, 8, mainwindow::kControlDeviceMaster);
        session::ChooseCurrentControlDevice(app);
        EXPECT_EQ(app.C_ControlD.Snapshot().m_byCurrent, c.expectedRow)
            << c.product << " multi " << int(c.multiChannel) << " channel " << int(c.channel);
    }
}

// ---- Against the simulated device -------------------------------------------

class DeviceExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Start());
        app.SetUiPort(&ui);
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device.Port();
        options.timing.connectTimeout = std::chrono::milliseconds(2000);
        options.timing.commandTimeout = std::chrono::milliseconds(2000);
        options.timing.sysCfgQueryTimeout = std::chrono::milliseconds(2000);
    }

    void UseDevice(const std::string& product, const std::string& firmware, std::uint32_t capability = 0) {
        device.UpdateProfile([&](devicesim::DeviceProfile& profile) {
            profile = devicesim::DeviceProfile::ForProduct(product);
            profile.firmwareVersion = firmware;
            profile.SetCapability(capability);
        });
    }

    // A fresh application state logged in to the device as it now is.
    void LogIn() {
        app.C_ControlD.Clear();
        app.dw_DeviceCapability = 0;
        ASSERT_EQ(session::RunLoginRequest(app, options), session::kLoginLoggedIn);
        device.ClearRequests();
    }

    fakes::RecordingUiPort ui;
    AppData app;
    devicesim::DeviceSimulator device;
    session::ExchangeOptions options;
};

TEST_F(DeviceExchangeTest, LoginSendsTheAccountAndMarksTheResult) {
    ASSERT_EQ(session::RunLoginRequest(app, options), session::kLoginLoggedIn);
    EXPECT_EQ(app.w_UserLevel, 30);
    EXPECT_EQ(app.SessionCookie.Get(), "5A17C0DE");
    EXPECT_EQ(app.str_ProductID.Get(), "R41T");
    const auto requests = device.RequestsFor("/Login.cgi");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/Login.cgi?Username=tovik&Password=tovik");
}

TEST_F(DeviceExchangeTest, LoginResultForEachKindOfRefusal) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::function<void()> restore;
        std::uint16_t result;
    };
    // In this order: the refusal for too many users must not linger into the
    // next attempt, whose device is not there at all.
    const Case cases[] = {
        {"too many users", [&] { device.UpdateProfile([](auto& p) { p.tooManyUsers = true; }); },
         [&] { device.UpdateProfile([](auto& p) { p.tooManyUsers = false; }); }, session::kLoginTooManyUsers},
        {"device not there", [&] { device.SetRefusing(true); }, [&] { device.SetRefusing(false); },
         session::kLoginNotLoggedIn},
        {"wrong password", [&] { app.CSettingINI.m_strPassword = "wrong"; },
         [&] { app.CSettingINI.m_strPassword = "tovik"; }, session::kLoginNotLoggedIn},
        {"no Session-ID", [&] { device.SetReply("/Login.cgi", devicesim::Reply::Ok("Firmware-Version=1052;")); },
         [] {}, session::kLoginNotLoggedIn},
    };
    for (const auto& c : cases) {
        c.arrange();
        EXPECT_EQ(session::RunLoginRequest(app, options), c.result) << c.name;
        EXPECT_EQ(app.w_LoginResult, c.result) << c.name;
        c.restore();
    }
}

TEST_F(DeviceExchangeTest, GateTableDecidesTheCapabilityQueryAndTheNewHeader) {
    struct Case {
        const char* product;
        const char* firmware;
        bool inf;
        bool newHeader;
    };
    const Case cases[] = {
        {"R41T", "1034", false, false}, {"R41T", "1035", true, false}, {"R41T", "1046", true, true},
        {"R47T", "1005", false, false}, {"R47T", "1006", false, true}, {"G66M", "1000", false, true},
        {"N51H", "1099", false, false}, {"R41T", "10a", true, true},   {"R42T", "1045", true, false},
    };
    for (const auto& c : cases) {
        UseDevice(c.product, c.firmware, 0x01);
        LogIn();
        ASSERT_TRUE(session::RunDeviceInfoExchange(app, options)) << c.product << " " << c.firmware;
        const auto queries = device.RequestsFor("/GetSysCfg.cgi");
        EXPECT_EQ(queries.size(), c.inf ? 1u : 0u) << c.product << " " << c.firmware;
        if (!queries.empty()) {
            EXPECT_EQ(queries[0].target, "/GetSysCfg.cgi?Option=INF&Size=44&Cookie=5A17C0DE");
            EXPECT_EQ(app.dw_DeviceCapability, 0x01u);
        }
        const auto info = device.RequestsFor("/Getdeviceinfo.cgi");
        ASSERT_EQ(info.size(), 1u);
        EXPECT_EQ(info[0].Param("NEWHR").has_value(), c.newHeader) << c.product << " " << c.firmware;
        EXPECT_EQ(device.NewHeaderRequested("5A17C0DE"), c.newHeader);
        EXPECT_EQ(app.dw_NewHeaderFormat, c.newHeader ? 1u : 0u) << c.product << " " << c.firmware;
    }
}

TEST_F(DeviceExchangeTest, DeviceInfoRequestCarriesCookieResolutionQualityAndChannel) {
    app.CSettingINI.m_dwImageResolution = 2;
    app.CSettingINI.m_dwImageQuality = 1;
    app.CSettingINI.m_bySelectedChannel = 3;
    UseDevice("R41T", "1046");
    LogIn();
    ASSERT_TRUE(session::RunDeviceInfoExchange(app, options));
    const auto info = device.RequestsFor("/Getdeviceinfo.cgi");
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info[0].target, "/Getdeviceinfo.cgi?Cookie=5A17C0DE&RES=2&QUA=1&CH=3&NEWHR=1");
}

TEST_F(DeviceExchangeTest, ChannelClampTable) {
    struct Case {
        const char* product;
        std::uint8_t channel;
        std::uint8_t sent;
    };
    const Case cases[] = {
        {"R41T", 16, 16}, {"R41T", 17, 0}, {"R42T", 8, 8}, {"R42T", 9, 0},   {"R43T", 4, 4},
        {"R43T", 5, 0},   {"R47T", 0, 1},  {"R47T", 1, 1}, {"R47T", 2, 2},   {"R47T", 3, 1},
        {"N51H", 17, 17}, {"G66M", 5, 5},
    };
    for (const auto& c : cases) {
        UseDevice(c.product, "1050");
        LogIn();
        app.CSettingINI.m_bySelectedChannel = c.channel;
        ASSERT_TRUE(session::RunDeviceInfoExchange(app, options));
        const auto info = device.RequestsFor("/Getdeviceinfo.cgi");
        ASSERT_EQ(info.size(), 1u);
        EXPECT_EQ(info[0].Param("CH"), std::to_string(c.sent)) << c.product << " " << int(c.channel);
        EXPECT_EQ(app.CSettingINI.m_bySelectedChannel, c.sent) << c.product << " " << int(c.channel);
    }
}

std::string ManySlaves(int count) {
    std::string body = "MULTICH=0;SLAVENUM=" + std::to_string(count) + ";";
    for (int i = 1; i <= count; ++i)
        body += "SID=" + std::to_string(i) + ";STYPE=5;SPROTOCOL=0;";
    return body;
}

TEST_F(DeviceExchangeTest, DeviceInfoBodiesToControlDeviceLists) {
    struct Case {
        const char* name;
        const char* product;
        const char* firmware;
        std::uint32_t capability;
        std::string body;
        std::vector<ControlDeviceEntry> devices;
        std::uint8_t retrState;
    };
    std::vector<ControlDeviceEntry> thirtySlaves;
    for (int i = 1; i <= 30; ++i)
        thirtySlaves.push_back({2400, static_cast<std::uint8_t>(i), 5, kSlave});
    const Case cases[] = {
        {"LINKDEVICE is one master", "R41T", "1052", 0, "LIFETIME=-1;LINKDEVICE=8;", {{0, 0, 8, kMaster}}, 0},
        {"LINKDEVICE wins over MASTERNUM", "R41T", "1052", 0, "LINKDEVICE=5;MASTERNUM=1;MID=3;MTYPE=8;",
         {{0, 0, 5, kMaster}}, 0},
        {"MASTERNUM with MID and MTYPE, type 1 read as 11", "R41T", "1052", 0,
         "MASTERNUM=2;MID=3;MTYPE=1;MID=4;MTYPE=8;", {{2400, 3, 11, kMaster}, {2400, 4, 8, kMaster}}, 0},
        {"a missing MTYPE repeats the previous master's", "R41T", "1052", 0, "MASTERNUM=2;MID=3;MTYPE=8;MID=4;",
         {{2400, 3, 8, kMaster}, {2400, 4, 8, kMaster}}, 0},
        {"SLAVENUM with MULTICH 0 adds slaves, PTZ with protocol 1 is PELCO", "R41T", "1052", 0,
         "MULTICH=0;SLAVENUM=2;SID=1;STYPE=1;SPROTOCOL=1;SID=2;STYPE=5;SPROTOCOL=0;",
         {{2400, 1, 18, kSlave}, {2400, 2, 5, kSlave}}, 0},
        {"SLAVENUM with MULTICH 1 adds masters", "R41T", "1052", 0,
         "MULTICH=1;SLAVENUM=2;SID=1;STYPE=1;SPROTOCOL=0;SID=2;STYPE=5;SPROTOCOL=0;",
         {{2400, 1, 11, kMaster}, {2400, 2, 5, kMaster}}, 0},
        {"31 slaves are cut to 30", "R41T", "1052", 0, ManySlaves(31), thirtySlaves, 0},
        {"RETR from a video server with LINKDEVICE 14", "R47T", "1007", 0, "LINKDEVICE=14;RETR=1;",
         {{0, 0, 19, kMaster}}, 1},
        {"RETR after MTYPE 20 lists type 22", "R47T", "1007", 0, "MASTERNUM=1;MID=2;MTYPE=20;RETR=1;",
         {{0, 0, 22, kMaster}}, 1},
        {"RETR with another master type leaves the list empty", "R47T", "1007", 0, "LINKDEVICE=8;RETR=1;", {}, 1},
        {"RETR on a DVR 1052 with the capability bit", "R41T", "1052", 0x01, "LINKDEVICE=21;RETR=1;",
         {{0, 0, 23, kMaster}}, 1},
        {"RETR on a DVR 1052 without the capability bit is ignored", "R41T", "1052", 0x02,
         "LINKDEVICE=21;RETR=1;", {{0, 0, 21, kMaster}}, 0},
        {"RETR on a DVR 1034 needs no capability bit", "R41T", "1034", 0, "LINKDEVICE=14;RETR=1;",
         {{0, 0, 19, kMaster}}, 1},
        {"an item without its semicolon is absent", "R41T", "1052", 0, "LINKDEVICE=8", {}, 0},
    };
    for (const auto& c : cases) {
        UseDevice(c.product, c.firmware, c.capability);
        LogIn();
        device.SetReply("/Getdeviceinfo.cgi", devicesim::Reply::Ok(c.body));
        ASSERT_TRUE(session::RunDeviceInfoExchange(app, options)) << c.name;
        EXPECT_EQ(ListedDevices(app), c.devices) << c.name;
        EXPECT_EQ(app.C_ControlD.GetRetrState(), c.retrState) << c.name;
        app.C_ControlD.SetRetrState(0);
    }
}

TEST_F(DeviceExchangeTest, AFailedOrEmptyDeviceInfoReplyAppliesNothing) {
    LogIn();
    app.dw_LifeTime = 7;
    device.SetReply("/Getdeviceinfo.cgi", devicesim::Reply::Ok(""));
    EXPECT_FALSE(session::RunDeviceInfoExchange(app, options));
    device.SetReply("/Getdeviceinfo.cgi", devicesim::Reply::WithStatus(500));
    EXPECT_FALSE(session::RunDeviceInfoExchange(app, options));
    EXPECT_EQ(app.dw_LifeTime, 7);
    EXPECT_TRUE(ListedDevices(app).empty());
}

TEST_F(DeviceExchangeTest, AFailedCapabilityQueryLeavesTheWordAndTheExchangeGoesOn) {
    UseDevice("R41T", "1052", 0x01);
    LogIn();
    app.dw_DeviceCapability = 0x80;
    device.AddFault("/GetSysCfg.cgi", devicesim::Fault::Status(500));
    EXPECT_TRUE(session::RunDeviceInfoExchange(app, options));
    EXPECT_EQ(app.dw_DeviceCapability, 0x80u);
}

}  // namespace
