// The account page's copy of the accounts with its rules and its store, and
// the online users' rows.

#include <gtest/gtest.h>

#include "config/DeviceFacts.h"
#include "config/PageDevice.h"
#include "config/pages/AccountValues.h"
#include "config/pages/OnlineUsers.h"
#include "res/StringTable.h"
#include "simulator/PageSettings.h"

namespace config {
namespace {

using devicesim::Bytes;

std::string Field(const Bytes& block, std::size_t offset, std::size_t width) {
    return std::string(reinterpret_cast<const char*>(block.data() + offset), width).c_str();
}

TEST(AccountValues, AddingPacksTheSlotsAndStoresBlockTwoOnce) {
    testutil::PageDevice device("R47T", "1007", devicesim::SetAccounts);
    const Bytes before = device.DeviceBlock(2);
    auto set = device.OpenSet();
    AccountValues values = LoadAccountValues(*set, "tovik");
    ASSERT_EQ(values.accounts.size(), 2u);
    EXPECT_EQ(values.accounts[1].name, "TOVIK");
    EXPECT_EQ(values.LoginRow(), 1u);

    ASSERT_EQ(values.Add("Ola", "x1", 2, 2), 0u);
    SendAccountConfig(values, *set, device.Store(*set), device.app);
    const auto stores = device.Stores();
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Param("Option"), "SECURE");

    const Bytes after = device.DeviceBlock(2);
    EXPECT_EQ(Field(after, 24, 16), "TOVIK");
    EXPECT_EQ(Field(after, 104, 16), "tovik");
    EXPECT_EQ(after[169], 20);
    EXPECT_EQ(Field(after, 40, 16), "Ola");
    EXPECT_EQ(Field(after, 120, 16), "x1");
    EXPECT_EQ(after[170], 0x0A);
    EXPECT_EQ(Bytes(after.begin() + 184, after.begin() + 188), (Bytes{0x0A, 0, 0, 0}));
    EXPECT_EQ(Bytes(after.begin() + 180, after.begin() + 184), (Bytes{60, 0, 0, 0}));
    const auto moved = [](std::size_t i) {
        return (i >= 24 && i < 56) || (i >= 104 && i < 136) || i == 169 || i == 170 || (i >= 180 && i < 188);
    };
    for (std::size_t i = 0; i < after.size(); ++i)
        if (!moved(i)) {
            EXPECT_EQ(after[i], before[i]) << "byte " << i;
        }
    EXPECT_EQ(device.app.UserAccountList[2].strName, "Ola");
    EXPECT_EQ(device.app.UserAccountList[2].dwInUse, 1);
}

TEST(AccountValues, LoginFollowsARenameOnlyOnceTheDeviceTookIt) {
    for (const bool refused : {false, true}) {
        testutil::PageDevice device("R41T", "1052", devicesim::SetAccounts);
        device.app.CSettingINI.m_strUserName = "tovik";
        device.app.CSettingINI.m_strPassword = "tovik";
        if (refused)
            device.device->AddFault("/SetSysCfg.cgi", devicesim::Fault::Status(500));
        auto set = device.OpenSet();
        AccountValues values = LoadAccountValues(*set, "tovik");
        ASSERT_EQ(values.Edit(1, "boss", "pw2", 3, 5), 0u);
        EXPECT_EQ(values.accounts[1].level, 20);  // the login account keeps its level
        EXPECT_EQ(AccountRowTexts(values.accounts[1]), (std::pair<std::string, std::string>{"SUPERVISOR", "ZAWSZE"}));
        EXPECT_EQ(values.LoginRow(), 1u);          // and is still known as the login
        EXPECT_EQ(device.app.CSettingINI.m_strUserName.Get(), "tovik");

        SendAccountConfig(values, *set, device.Store(*set), device.app);
        EXPECT_EQ(device.failedStores, refused ? 1 : 0);
        EXPECT_EQ(device.app.CSettingINI.m_strUserName.Get(), refused ? "tovik" : "boss");
        EXPECT_EQ(device.app.CSettingINI.m_strPassword.Get(), refused ? "tovik" : "pw2");
        EXPECT_EQ(device.app.UserAccountList[1].strName, refused ? "" : "boss");
    }
}

TEST(AccountValues, RulesAnswerWithTheirMessages) {
    testutil::PageDevice device("G66M", "1010", devicesim::SetAccounts);
    auto set = device.OpenSet();
    AccountValues values = LoadAccountValues(*set, "tovik");
    EXPECT_EQ(values.Add("", "x", 0, 0), 4002u);
    EXPECT_EQ(values.Add("a", "x", -1, 0), 4002u);
    EXPECT_EQ(values.Add("Ola", "x", 0, 0), 0u);
    EXPECT_EQ(values.Add("Ola", "y", 0, 0), 4118u);
    EXPECT_EQ(values.Add("OLA", "y", 3, 9), 0u);
    EXPECT_EQ(values.accounts.back().level, 0);
    EXPECT_EQ(values.accounts.back().activity, 1);
    values.maxUsers.Edit(4);
    EXPECT_EQ(values.CanAdd(), 4002u);
    EXPECT_EQ(values.Add("Eva", "z", 0, 0), 4002u);
    EXPECT_EQ(values.Edit(2, "OLA", "x", 0, 0), 4118u);
    EXPECT_EQ(values.Edit(2, "", "x", 0, 0), 4022u);
    EXPECT_EQ(values.Add(std::string(16, 'n'), "x", 0, 0), 4002u);
    EXPECT_EQ(values.Delete(1), 4069u);  // "TOVIK" is the login "tovik"
    EXPECT_EQ(values.Delete(0), 0u);
    EXPECT_EQ(values.accounts.size(), 3u);
}

TEST(AccountValues, UnchangedPageAndStoredMaximumOfZeroWriteNothing) {
    testutil::PageDevice device("R41T", "1052", [](auto& p) {
        devicesim::SetAccounts(p);
        p.blocks[2][2] = 0;
    });
    auto set = device.OpenSet();
    AccountValues values = LoadAccountValues(*set, "tovik");
    EXPECT_EQ(values.maxUsers.Loaded(), 0);
    WriteAccountChanges(values, *set);
    EXPECT_FALSE(set->Changed(2));
}

TEST(AccountTexts, LevelsAndActivities) {
    EXPECT_EQ(LevelText(20), res::LoadString(8332));
    EXPECT_EQ(LevelText(7), "SUPERVISOR");
    EXPECT_EQ(ActivityText(-1), "ZAWSZE");
    EXPECT_EQ(ActivityText(10), "10 MIN");
    EXPECT_EQ(ActivityText(1), "1 MIN");
    // A row saved on the page reads the activity list's own texts.
    const char* saved[] = {"1  MIN", "5  MIN", "10 MIN", "1 GODZ", "1 DZIEŃ", "ZAWSZE"};
    for (int index = 0; index < 6; ++index)
        EXPECT_EQ(ActivityIndexText(index), saved[index]) << index;
    EXPECT_EQ(LevelIndexText(3), res::LoadString(3013));
    EXPECT_EQ(LevelIndexOf(99), 3);
    EXPECT_EQ(ActivityIndexOf(-1), 5);
    EXPECT_EQ(ActivityIndexOf(7), 5);
}

std::vector<std::uint8_t> OnlineBlock(std::initializer_list<devicesim::OnlineUser> users) {
    devicesim::DeviceProfile profile;
    devicesim::SetOnlineUsers(profile, users);
    auto block = profile.Block(devicesim::kOptionOnline);
    block.resize(240);
    return block;
}

TEST(OnlineUsers, RowsSkipFreeRecordsAndTextsFollowTheFamily) {
    const auto block = OnlineBlock({{"ala", {10, 0, 0, 7}, 30, 3, 0, 1}, {"", {}, 0, 0, 0, 0},
                                    {"ola", {192, 168, 1, 2}, 99, 0, 5, 7}});
    struct Case {
        const char* product;
        std::uint8_t multi;
        std::uint8_t sizeFamily;
        std::vector<std::string> first;
    };
    const Case cases[] = {
        {"R47T", 0, 1, {"ala", "10.0.0.7", "SUPERVISOR", "704*576", res::LoadString(2108).data()}},
        {"R47T", 0, 0, {"ala", "10.0.0.7", "SUPERVISOR", "704*480", res::LoadString(2108).data()}},
        {"G66M", 0, 0, {"ala", "10.0.0.7", "SUPERVISOR", "640*480", res::LoadString(2108).data()}},
        {"R41T", 1, 0, {"ala", "10.0.0.7", "SUPERVISOR", "640*456", res::LoadString(2108).data(), " 3"}},
    };
    for (const Case& c : cases) {
        DeviceFacts facts{c.product, "1010"};
        facts.multiChannel = c.multi;
        const auto rows = OnlineRows(block, facts, c.sizeFamily);
        ASSERT_EQ(rows.size(), 2u) << c.product;
        EXPECT_EQ(rows[0], c.first) << c.product;
        EXPECT_EQ(rows[1][2], "");  // unknown level, size and quality: empty
        EXPECT_EQ(rows[1][3], "");
        EXPECT_EQ(rows[1][4], "");
        if (c.multi) {
            EXPECT_EQ(rows[1][5], "DVR");
        }
        EXPECT_EQ(OnlineColumns(facts).size(), c.multi ? 6u : 5u);
    }
    EXPECT_EQ(OnlineColumns(DeviceFacts{"R41T", "1052"})[2].width, 80);
}

}  // namespace
}  // namespace config
