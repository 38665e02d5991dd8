#include <gtest/gtest.h>

#include <string>

#include "session/tools/DeviceSearch.h"

using namespace session;
using Stage = ExchangeOutcome::Stage;

namespace {

SearchRecord Reply(std::uint8_t type, std::uint8_t lastIpByte) {
    SearchRecord r;
    r.command = "AV_SEARCH";
    r.operation = 1;
    r.typeOrStatus = type;
    r.mac = {0x00, 0x0e, 0xa6, 0x00, 0x00, lastIpByte};
    r.ipAddress = {192, 168, 1, lastIpByte};
    r.subnetMask = {255, 255, 255, 0};
    r.gateway = {192, 168, 1, 1};
    r.dnsServer = {192, 168, 1, 1};
    r.webPort = 80;
    return r;
}

// Two devices: the video server answered first (row 1), the network DVR last (row 0).
DeviceSearchForm TwoDevices() {
    DeviceSearchForm form;
    form.AddReply(Reply(50, 10));
    form.AddReply(Reply(113, 20));
    return form;
}

}  // namespace

TEST(DeviceSearchFormTest, SelectingARowFillsTheFieldsFromItsNode) {
    DeviceSearchForm form = TwoDevices();
    EXPECT_EQ(form.SelectRow(0), 0u);
    EXPECT_EQ(form.SelectedResult(), 1);
    EXPECT_EQ(form.Fields().ipAddress, "192.168.1.20");
    EXPECT_EQ(form.SelectRow(1), 0u);
    EXPECT_EQ(form.SelectedResult(), 0);
    const DeviceNetworkFields& f = form.Fields();
    EXPECT_EQ(f.ipAddress, "192.168.1.10");
    EXPECT_EQ(f.macAddress, "00:0e:a6:00:00:0a");
    EXPECT_EQ(f.subnetMask, "255.255.255.0");
    EXPECT_EQ(f.gateway, "192.168.1.1");
    EXPECT_EQ(f.dnsServer, "192.168.1.1");
    EXPECT_EQ(f.webPort, 80);
    EXPECT_EQ(form.SelectRow(2), 4031u);
}

TEST(DeviceSearchFormTest, ChangeNeedsASelectedDeviceOfATypeThatTakesIt) {
    DeviceSearchForm form = TwoDevices();
    EXPECT_EQ(form.CheckSelection(), 4044u);
    form.SelectRow(0);  // 4CH NETWORK DVR
    EXPECT_EQ(form.CheckSelection(), 0u);
    EXPECT_EQ(form.CheckTarget(), 4036u);
    form.SelectRow(1);  // Video Server
    EXPECT_EQ(form.CheckTarget(), 0u);
}

TEST(DeviceSearchFormTest, SearchingAgainNeedsANewSelection) {
    DeviceSearchForm form = TwoDevices();
    form.SelectRow(1);
    form.ClearResults();
    EXPECT_EQ(form.CheckSelection(), 4044u);
    form.AddReply(Reply(50, 30));
    EXPECT_EQ(form.CheckSelection(), 4044u);
    form.SelectRow(0);
    EXPECT_EQ(form.CheckSelection(), 0u);
}

TEST(DeviceSearchFormTest, CredentialsAreCheckedBeforeAnythingGoesOut) {
    struct Case {
        std::string user, password;
        unsigned message;
    };
    const Case cases[] = {
        {"", "pw", 4080},
        {std::string(16, 'u'), "pw", 4080},
        {"admin", "", 4049},
        {"admin", std::string(16, 'p'), 4049},
        {std::string(15, 'u'), std::string(15, 'p'), 0},
    };
    for (const Case& c : cases) {
        DeviceSearchForm form = TwoDevices();
        form.SelectRow(1);
        form.Fields().ipAddress = "192.168.1.11";
        EXPECT_EQ(form.AcceptCredentials(NetworkChange::SetIp, c.user, c.password), c.message)
            << c.user << "/" << c.password;
        EXPECT_EQ(form.Choice().chosen, c.message == 0);
    }
}

TEST(DeviceSearchFormTest, ChangeWithNothingChangedSendsNothingAndChoosesNothing) {
    DeviceSearchForm form = TwoDevices();
    form.SelectRow(1);
    EXPECT_EQ(form.AcceptCredentials(NetworkChange::SetIp, "admin", "admin"), 4067u);
    EXPECT_FALSE(form.Choice().chosen);
    // A reset has no such test.
    EXPECT_EQ(form.AcceptCredentials(NetworkChange::Reset, "admin", "admin"), 0u);
    EXPECT_TRUE(form.Choice().chosen);
}

TEST(DeviceSearchFormTest, AnyChangedFieldCountsAsAChange) {
    for (auto edit : {+[](DeviceNetworkFields& f) { f.ipAddress = "192.168.1.99"; },
                      +[](DeviceNetworkFields& f) { f.subnetMask = "255.255.0.0"; },
                      +[](DeviceNetworkFields& f) { f.gateway = "192.168.1.254"; },
                      +[](DeviceNetworkFields& f) { f.dnsServer = "1.1.1.1"; },
                      +[](DeviceNetworkFields& f) { f.webPort = 81; }}) {
        DeviceSearchForm form = TwoDevices();
        form.SelectRow(1);
        edit(form.Fields());
        EXPECT_EQ(form.AcceptCredentials(NetworkChange::SetIp, "admin", "admin"), 0u);
    }
}

TEST(DeviceSearchFormTest, ChangeRequestUsesTheFieldsAndTheAcceptedCredentials) {
    DeviceSearchForm form = TwoDevices();
    form.SelectRow(1);
    form.Fields().ipAddress = "192.168.1.77";
    form.Fields().webPort = 8000;
    ASSERT_EQ(form.AcceptCredentials(NetworkChange::SetIp, "admin", "pw"), 0u);
    const SearchRecord r = form.ChangeRequest(NetworkChange::SetIp);
    EXPECT_EQ(r.command, "AV_SET_IP");
    EXPECT_EQ(r.mac, (MacBytes{0x00, 0x0e, 0xa6, 0x00, 0x00, 0x0a}));
    EXPECT_EQ(r.ipAddress, (Ipv4Bytes{192, 168, 1, 77}));
    EXPECT_EQ(r.webPort, 8000);
    EXPECT_EQ(r.userName, "admin");
    EXPECT_EQ(r.password, "pw");
}

TEST(DeviceSearchFormTest, AnswerStatusGivesTheMessage) {
    struct Case {
        NetworkChange kind;
        Stage stage;
        std::uint8_t status;
        unsigned message;
    };
    const auto set = NetworkChange::SetIp;
    const auto reset = NetworkChange::Reset;
    const Case cases[] = {
        {set, Stage::Answered, 1, 4005},    {set, Stage::Answered, 0, 4081},
        {set, Stage::Answered, 2, 4102},    {set, Stage::Answered, 3, 4004},
        {set, Stage::Answered, 255, 4004},  {reset, Stage::Answered, 1, 4062},
        {reset, Stage::Answered, 0, 4081},  {reset, Stage::Answered, 2, 4102},
        {reset, Stage::Answered, 9, 4061},  {set, Stage::NoSocket, 0, 4014},
        {set, Stage::NoBind, 0, 4014},      {reset, Stage::WaitFailed, 0, 4014},
        {set, Stage::NoAnswer, 0, 4064},    {reset, Stage::NoAnswer, 0, 4064},
        {set, Stage::ReceiveFailed, 0, 4059},
    };
    for (const Case& c : cases) {
        ExchangeOutcome outcome{c.kind, c.stage, c.status};
        EXPECT_EQ(ExchangeMessage(outcome), c.message)
            << int(c.kind) << "/" << int(c.stage) << "/" << int(c.status);
    }
}

TEST(DeviceSearchFormTest, OutcomeDecidesWhetherTheAddressFieldIsOffered) {
    struct Case {
        NetworkChange kind;
        Stage stage;
        bool offered;
    };
    const auto set = NetworkChange::SetIp;
    const auto reset = NetworkChange::Reset;
    const Case cases[] = {
        {set, Stage::NoSocket, false},      {set, Stage::NoBind, true},
        {set, Stage::WaitFailed, true},     {set, Stage::NoAnswer, true},
        {set, Stage::ReceiveFailed, true},  {set, Stage::Answered, true},
        {reset, Stage::NoSocket, false},    {reset, Stage::NoBind, true},
        {reset, Stage::WaitFailed, true},   {reset, Stage::NoAnswer, true},
        {reset, Stage::ReceiveFailed, true}, {reset, Stage::Answered, false},
    };
    for (const Case& c : cases) {
        DeviceSearchForm form = TwoDevices();
        form.SelectRow(1);
        form.Fields().ipAddress = "192.168.1.55";
        form.Fields().webPort = 8080;
        ASSERT_EQ(form.AcceptCredentials(c.kind, "admin", "admin"), 0u);
        form.ApplyOutcome({c.kind, c.stage, 1});
        const DeviceSearchChoice choice = form.Choice();
        EXPECT_TRUE(choice.chosen);
        EXPECT_EQ(choice.address, c.offered ? "192.168.1.55" : "") << int(c.kind) << "/" << int(c.stage);
        EXPECT_EQ(choice.webPort, 8080);
    }
}

TEST(DeviceSearchFormTest, OnlyAChangeTheDeviceConfirmedBecomesItsListedSettings) {
    for (const std::uint8_t status : {std::uint8_t{1}, std::uint8_t{0}}) {
        DeviceSearchForm form = TwoDevices();
        form.SelectRow(1);
        const SearchResultNode before = *form.Results().Find(form.SelectedResult());
        form.Fields().ipAddress = "192.168.1.55";
        form.Fields().webPort = 8080;
        ASSERT_EQ(form.AcceptCredentials(NetworkChange::SetIp, "admin", "admin"), 0u);
        const bool changed = form.ApplyOutcome({NetworkChange::SetIp, Stage::Answered, status});
        const SearchResultNode& node = *form.Results().Find(form.SelectedResult());
        EXPECT_EQ(changed, status == 1);
        EXPECT_EQ(node.ipAddress, status == 1 ? "192.168.1.55" : before.ipAddress);
        EXPECT_EQ(node.webPort, status == 1 ? 8080u : before.webPort);
    }
}

TEST(DeviceSearchFormTest, OkChoosesTheSelectedDeviceOnly) {
    DeviceSearchForm none = TwoDevices();
    none.ChooseSelected();
    EXPECT_FALSE(none.Choice().chosen);

    DeviceSearchForm form = TwoDevices();
    form.SelectRow(0);
    form.ChooseSelected();
    EXPECT_TRUE(form.Choice().chosen);
    EXPECT_EQ(form.Choice().address, "192.168.1.20");
    EXPECT_EQ(form.Choice().webPort, 80);
}
