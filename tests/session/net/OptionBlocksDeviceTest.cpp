#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "session/AppData.h"
#include "session/net/OptionBlocks.h"
#include "simulator/DeviceSimulator.h"

namespace {

using namespace session;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kCookie = "5A17C0DE";

bool Filled(std::span<const std::uint8_t> block, std::uint8_t value) {
    return std::all_of(block.begin(), block.end(), [&](auto b) { return b == value; });
}

// A logged-in client (the simulator knows its cookie) talking to one device.
class OptionBlocksDevice : public ::testing::Test {
protected:
    void SetUp() override { Connect(devicesim::DeviceProfile::ForProduct("R41T")); }

    void Connect(devicesim::DeviceProfile profile) {
        device = std::make_unique<devicesim::DeviceSimulator>(std::move(profile));
        ASSERT_TRUE(device->Start());
        device->Update([](devicesim::DeviceState& s) { s.sessions[kCookie] = {}; });
        app.CSettingINI.m_strServerName = "127.0.0.1";
        app.CSettingINI.m_wWebPort = device->Port();
        app.SessionCookie = kCookie;
        app.LocalHostAddress = "127.0.0.1";
        app.str_ProductID = device->Profile().productId;
        app.str_FWVersion = device->Profile().firmwareVersion;
    }

    // Every fixed block holds its option number + 1; ONLINE the given length.
    void FillDeviceBlocks(std::size_t onlineLength) {
        device->UpdateProfile([&](devicesim::DeviceProfile& p) {
            for (int option = 0; option < kOptionAll; ++option)
                if (option != kOptionOnline)
                    p.blocks[option] = Bytes(kSysCfgOptions[option].size, std::uint8_t(option + 1));
            Bytes online(onlineLength);
            for (std::size_t i = 0; i < onlineLength; ++i)
                online[i] = std::uint8_t(0xA0 + i);
            p.blocks[kOptionOnline] = online;
        });
    }

    int QueryAll() { return QuerySystemConfig(app, timing, kOptionAll, {}, 0); }

    AppData app;
    platform::Timing timing{.connectTimeout = std::chrono::milliseconds(2000)};
    std::unique_ptr<devicesim::DeviceSimulator> device;
};

struct AllCase {
    const char* productId;
    const char* firmware;
    bool newPppoe;
};

class AllReply : public OptionBlocksDevice, public ::testing::WithParamInterface<AllCase> {};

TEST_P(AllReply, LandsEachBlockAtItsOffsetAndPppoeByTheGate) {
    const auto c = GetParam();
    Connect(devicesim::DeviceProfile::ForProduct(c.productId));
    device->UpdateProfile([&](devicesim::DeviceProfile& p) { p.firmwareVersion = c.firmware; });
    app.str_FWVersion = c.firmware;
    FillDeviceBlocks(96);

    ASSERT_EQ(QueryAll(), 1);
    auto blocks = app.SysCfg.Get();
    const auto order = SysCfgOrderFor(c.productId);
    for (auto option : SysCfgOrderOptions(order))
        EXPECT_TRUE(Filled(SysCfgBlock(blocks, option, c.newPppoe), option + 1)) << int(option);
    EXPECT_TRUE(Filled(SysCfgBlock(blocks, kOptionPppoe, !c.newPppoe), 0));  // the other layout
    for (std::size_t i = 0; i < 240; ++i)
        ASSERT_EQ(blocks.by_SysCfgOption12[i], i < 96 ? 0xA0 + i : 0) << i;

    const auto requests = device->RequestsFor("/GetSysCfg.cgi");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/GetSysCfg.cgi?Option=ALL&Size=0&Cookie=5A17C0DE");
}

INSTANTIATE_TEST_SUITE_P(Devices, AllReply,
                         ::testing::Values(AllCase{"R41T", "1051", false},
                                           AllCase{"R41T", "1052", true},
                                           AllCase{"R47T", "1007", true}),
                         [](const auto& info) {
                             return std::string(info.param.productId) + "_" + info.param.firmware;
                         });

TEST_F(OptionBlocksDevice, OnlineRestLongerThanItsBlockLeavesItZero) {
    FillDeviceBlocks(300);
    app.SysCfg.Update([](SysCfgBlocks& b) { b.by_SysCfgOption12.fill(0x99); });
    ASSERT_EQ(QueryAll(), 1);
    EXPECT_TRUE(Filled(app.SysCfg.Get().by_SysCfgOption12, 0));
    EXPECT_TRUE(Filled(app.SysCfg.Get().by_SysCfgOption13, 14));
}

TEST_F(OptionBlocksDevice, SingleOnlineQueryCopiesAtMostItsBlock) {
    FillDeviceBlocks(96);
    std::array<std::uint8_t, 240> online;
    online.fill(0x99);
    ASSERT_EQ(QuerySystemConfig(app, timing, kOptionOnline, online, 240), 1);
    for (std::size_t i = 0; i < online.size(); ++i)
        ASSERT_EQ(online[i], i < 96 ? 0xA0 + i : 0) << i;

    FillDeviceBlocks(300);
    ASSERT_EQ(QuerySystemConfig(app, timing, kOptionOnline, online, 240), 1);
    for (std::size_t i = 0; i < online.size(); ++i)
        ASSERT_EQ(online[i], std::uint8_t(0xA0 + i)) << i;
}

class InfReply : public OptionBlocksDevice, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(InfReply, ShortIsZeroFilledLongIsRefused) {
    const std::size_t length = GetParam();
    device->UpdateProfile([&](devicesim::DeviceProfile& p) { p.blocks[0] = Bytes(length, 0x31); });
    std::array<std::uint8_t, 44> inf;
    inf.fill(0xEE);
    const int result = QuerySystemConfig(app, timing, kOptionInf, inf, 44);
    EXPECT_EQ(result, length <= 44 ? 1 : 0);
    for (std::size_t i = 0; i < inf.size(); ++i)
        ASSERT_EQ(inf[i], length > 44 ? 0xEE : i < length ? 0x31 : 0) << i;
    EXPECT_EQ(device->RequestsFor("/GetSysCfg.cgi").at(0).target,
              "/GetSysCfg.cgi?Option=INF&Size=44&Cookie=5A17C0DE");
}

INSTANTIATE_TEST_SUITE_P(Lengths, InfReply, ::testing::Values(40, 44, 45),
                         [](const auto& info) { return std::to_string(info.param) + "Bytes"; });

TEST_F(OptionBlocksDevice, FailedOrCutRepliesLeaveTheBlocksAsTheyWere) {
    FillDeviceBlocks(96);
    app.SysCfg.Update([](SysCfgBlocks& b) { b.by_SysCfgOption0.fill(0x55); });
    device->AddFault("/GetSysCfg.cgi", devicesim::Fault::CutBody(1000));
    EXPECT_EQ(QueryAll(), 0);
    device->AddFault("/GetSysCfg.cgi", devicesim::Fault::Status(404));
    EXPECT_EQ(QueryAll(), 0);
    // A device that answers "ALL" with less than its fixed blocks.
    device->SetReply("/GetSysCfg.cgi", devicesim::Reply::Ok(std::string(2043, '\x01')));
    EXPECT_EQ(QueryAll(), 0);
    EXPECT_TRUE(Filled(app.SysCfg.Get().by_SysCfgOption0, 0x55));
}

TEST_F(OptionBlocksDevice, QueryIntoTheKeptBlock) {
    FillDeviceBlocks(0);
    app.str_FWVersion = "1051";
    ASSERT_EQ(QuerySystemConfigBlock(app, timing, kOptionPppoe), 1);
    ASSERT_EQ(QuerySystemConfigBlock(app, timing, 11), 1);
    EXPECT_TRUE(Filled(app.SysCfg.Get().by_SysCfgOption6, 7));
    EXPECT_TRUE(Filled(app.SysCfg.Get().by_SysCfgOption11, 12));
    EXPECT_EQ(QuerySystemConfigBlock(app, timing, 9), 0);  // IMG is not kept
}

TEST_F(OptionBlocksDevice, StoreSendsTheBlockWithTheRefreshOnlyForDns) {
    const Bytes dns = {10, 0, 0, 1, 8, 8, 8, 8, 0, 0, 0, 0};
    EXPECT_EQ(StoreSystemConfig(app, timing, 3, dns, 12, false), 1);
    const Bytes ip(24, 0x42);
    EXPECT_EQ(StoreSystemConfig(app, timing, 1, ip, 24, true), 1);
    const auto stores = device->RequestsFor("/SetSysCfg.cgi");
    ASSERT_EQ(stores.size(), 2u);
    EXPECT_EQ(stores[0].target, "/SetSysCfg.cgi?Option=DNS&Refresh=False&Cookie=5A17C0DE");
    EXPECT_EQ(stores[0].body, std::string(dns.begin(), dns.end()));
    EXPECT_EQ(stores[1].target, "/SetSysCfg.cgi?Option=IP&Cookie=5A17C0DE");
    EXPECT_EQ(device->Profile().blocks.at(1), ip);

    device->AddFault("/SetSysCfg.cgi", devicesim::Fault::Status(500));
    EXPECT_EQ(StoreSystemConfig(app, timing, 1, ip, 24, false), 0);
    EXPECT_EQ(StoreSystemConfig(app, timing, 1, ip, 25, false), 0);  // more than the block
    EXPECT_EQ(StoreSystemConfig(app, timing, 1, ip, -1, false), 0);
    EXPECT_EQ(device->RequestsFor("/SetSysCfg.cgi").size(), 3u);    // the refused ones sent nothing
}

TEST_F(OptionBlocksDevice, WithoutACookieNeitherRequestCarriesOne) {
    device->UpdateProfile([](devicesim::DeviceProfile& p) { p.checkCookie = false; });
    app.SessionCookie = "";
    std::array<std::uint8_t, 44> inf{};
    EXPECT_EQ(QuerySystemConfig(app, timing, kOptionInf, inf, 44), 1);
    EXPECT_EQ(StoreSystemConfig(app, timing, 3, std::array<std::uint8_t, 12>{}, 12, true), 1);
    EXPECT_EQ(device->Requests().at(0).target, "/GetSysCfg.cgi?Option=INF&Size=44");
    EXPECT_EQ(device->Requests().at(1).target, "/SetSysCfg.cgi?Option=DNS&Refresh=True");
}

}  // namespace
