#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "session/tools/DeviceSearch.h"

using namespace session;

namespace {

using Bytes = std::array<std::uint8_t, kSearchRecordSize>;

void Put(Bytes& b, std::size_t at, std::initializer_list<std::uint8_t> values) {
    std::copy(values.begin(), values.end(), b.begin() + static_cast<long>(at));
}

void PutText(Bytes& b, std::size_t at, const char* text) {
    std::memcpy(b.data() + at, text, std::strlen(text));
}

DeviceNetworkFields SampleFields() {
    DeviceNetworkFields f;
    f.ipAddress = "192.168.7.50";
    f.macAddress = "00:1a:2B:3c:4D:5e";
    f.subnetMask = "255.255.0.0";
    f.gateway = "192.168.7.1";
    f.dnsServer = "8.8.4.4";
    f.webPort = 8080;
    return f;
}

// The reply of a device, laid out by hand.
Bytes SampleReply(std::uint8_t type) {
    Bytes b{};
    PutText(b, 0, "AV_SEARCH");
    b[16] = 1;
    b[17] = type;
    Put(b, 18, {0x00, 0x0e, 0xa6, 0x12, 0xff, 0xff});
    Put(b, 56, {10, 0, 0, 42});
    Put(b, 60, {255, 255, 255, 0});
    Put(b, 64, {10, 0, 0, 1});
    Put(b, 68, {10, 0, 0, 2});
    Put(b, 72, {0x90, 0x1f});  // 8080
    return b;
}

}  // namespace

TEST(SearchRecordTest, SearchRequestCarriesOnlyCommandOperationAddressAndPort) {
    Bytes expected{};
    PutText(expected, 0, "AV_SEARCH");
    expected[16] = 1;
    Put(expected, 56, {0x0A, 0x01, 0x02, 0x03});
    Put(expected, 72, {0x05, 0x0D});
    EXPECT_EQ(MakeSearchRequest("10.1.2.3").Encode(), expected);
}

TEST(SearchRecordTest, ChangeAndResetRequestsCarryTheFieldsAndCredentials) {
    struct Case {
        NetworkChange kind;
        const char* command;
        std::uint8_t operation;
    };
    for (const Case c : {Case{NetworkChange::SetIp, "AV_SET_IP", 2}, Case{NetworkChange::Reset, "AV_RESET", 3}}) {
        Bytes expected{};
        PutText(expected, 0, c.command);
        expected[16] = c.operation;
        Put(expected, 18, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E});
        PutText(expected, 24, "admin");
        PutText(expected, 40, "s3cret");
        Put(expected, 56, {192, 168, 7, 50});
        Put(expected, 60, {255, 255, 0, 0});
        Put(expected, 64, {192, 168, 7, 1});
        Put(expected, 68, {8, 8, 4, 4});
        Put(expected, 72, {0x90, 0x1F});
        EXPECT_EQ(MakeNetworkChangeRequest(c.kind, SampleFields(), "admin", "s3cret").Encode(), expected)
            << c.command;
    }
}

TEST(SearchRecordTest, CredentialsKeepTheirTerminatingZero) {
    const auto bytes =
        MakeNetworkChangeRequest(NetworkChange::SetIp, SampleFields(), std::string(20, 'u'),
                                 std::string(16, 'p'))
            .Encode();
    EXPECT_EQ(std::string(bytes.begin() + 24, bytes.begin() + 40), std::string(15, 'u') + '\0');
    EXPECT_EQ(std::string(bytes.begin() + 40, bytes.begin() + 56), std::string(15, 'p') + '\0');
}

TEST(SearchRecordTest, ReplyIsReadFieldByField) {
    const Bytes raw = SampleReply(87);
    const auto r = SearchRecord::Decode(raw);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->command, "AV_SEARCH");
    EXPECT_EQ(r->typeOrStatus, 87);
    EXPECT_EQ(r->mac, (MacBytes{0x00, 0x0e, 0xa6, 0x12, 0xff, 0xff}));
    EXPECT_EQ(r->ipAddress, (Ipv4Bytes{10, 0, 0, 42}));
    EXPECT_EQ(r->subnetMask, (Ipv4Bytes{255, 255, 255, 0}));
    EXPECT_EQ(r->gateway, (Ipv4Bytes{10, 0, 0, 1}));
    EXPECT_EQ(r->dnsServer, (Ipv4Bytes{10, 0, 0, 2}));
    EXPECT_EQ(r->webPort, 8080);
}

TEST(SearchRecordTest, DatagramsShorterThanARecordAreNoRecord) {
    const Bytes raw = SampleReply(50);
    std::vector<std::uint8_t> longer(raw.begin(), raw.end());
    longer.resize(120, 0xEE);
    for (std::size_t size : {0u, 18u, 75u})
        EXPECT_FALSE(SearchRecord::Decode(std::span(raw).first(size))) << size;
    EXPECT_TRUE(SearchRecord::Decode(raw));
    ASSERT_TRUE(SearchRecord::Decode(longer));
    EXPECT_EQ(SearchRecord::Decode(longer)->webPort, 8080);
}

TEST(DeviceTypeTest, TableGivesTextStoredCodeAndWhetherChangesAreTaken) {
    struct Row {
        std::uint8_t reply;
        const char* text;
        std::uint8_t stored;
        bool takesChange;
    };
    const Row rows[] = {
        {50, "Video Server", 50, true},           {83, "4CH MPEG4 DVR", 83, true},
        {85, "8CH MPEG4 DVR", 85, true},          {87, "16CH MPEG4 DVR", 87, true},
        {113, "4CH NETWORK DVR", 113, false},     {114, "4CH NETWORK DVR", 114, false},
        {115, "4CH NETWORK DVR", 115, false},     {118, "9CH NETWORK DMR", 118, false},
        {119, "16CH NETWORK DMR", 119, false},    {128, "4CH NETWORK MPEG2 DVR", 128, false},
        {132, "4CH NETWORK MPEG2 DVR", 132, false}, {138, "4CH NETWORK MPEG2 DVR", 138, false},
        {100, "Video Server", 50, true},          {0, "Video Server", 50, true},
        {255, "Video Server", 50, true},
    };
    for (const Row& row : rows) {
        const std::uint8_t stored = StoredDeviceType(row.reply);
        EXPECT_EQ(stored, row.stored) << int(row.reply);
        EXPECT_EQ(DeviceTypeText(stored), row.text) << int(row.reply);
        EXPECT_EQ(AcceptsNetworkChange(stored), row.takesChange) << int(row.reply);
    }
}

TEST(SearchResultListTest, NewestReplyIsRowZeroAndNodesKeepArrivalOrder) {
    SearchResultList list;
    Bytes first = SampleReply(50);
    Bytes second = SampleReply(113);
    second[59] = 43;
    list.Append(*SearchRecord::Decode(first), 255, 255);
    list.Append(*SearchRecord::Decode(second), 255, 255);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.IndexOfRow(0), 1);
    EXPECT_EQ(list.IndexOfRow(1), 0);
    EXPECT_EQ(list.Find(1)->ipAddress, "10.0.0.43");
    EXPECT_EQ(list.Find(0)->index, 0);
    EXPECT_EQ(list.Find(2), nullptr);
    EXPECT_EQ(list.Find(-1), nullptr);
}

TEST(SearchResultListTest, NodeHoldsTheReplyAsTextsAndTheRowShowsThem) {
    SearchResultList list;
    const auto& node = list.Append(*SearchRecord::Decode(SampleReply(100)), 255, 255);
    EXPECT_EQ(node.macAddress, "00:0e:a6:12:ff:ff");
    EXPECT_EQ(node.ipAddress, "10.0.0.42");
    EXPECT_EQ(node.subnetMask, "255.255.255.0");
    EXPECT_EQ(node.gateway, "10.0.0.1");
    EXPECT_EQ(node.dnsServer, "10.0.0.2");
    EXPECT_EQ(node.webPort, 8080u);
    EXPECT_EQ(node.deviceType, 50);
    EXPECT_EQ(SearchRowTexts(node),
              (std::array<std::string, 5>{"10.0.0.42", "00:0e:a6:12:ff:ff", "8080", "Video Server",
                                          "PREVIOUS"}));
}

TEST(SearchResultListTest, PreviousMarksTheDeviceWhoseLastTwoMacBytesMatch) {
    struct Case {
        unsigned lastMac1, lastMac2;
        bool previous;
    };
    for (const Case c : {Case{255, 255, true}, Case{0xff, 0xfe, false}, Case{0x12, 0xff, false}}) {
        SearchResultList list;
        EXPECT_EQ(list.Append(*SearchRecord::Decode(SampleReply(50)), c.lastMac1, c.lastMac2).previouslyUsed,
                  c.previous);
    }
}
