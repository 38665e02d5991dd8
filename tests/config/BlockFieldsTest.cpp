// The block field tables against the simulator's filled blocks: every named
// field reads and writes back byte for byte, writes touch no unnamed byte,
// the gated layouts land where the firmware puts them, and texts that do not
// fit are refused.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "config/blocks/BlockFieldTable.h"
#include "config/blocks/CodeTable.h"
#include "config/blocks/FieldCodec.h"
#include "simulator/DeviceProfile.h"
#include "simulator/FilledBlocks.h"

namespace config {
namespace {

using devicesim::Bytes;

struct Device {
    const char* product;
    const char* firmware;
};

// Every gate both ways: PPPoE layouts, sender continuations, channel names.
const Device kDevices[] = {
    {"R41T", "1052"}, {"R42T", "1051"}, {"R43T", "1026"}, {"R47T", "1010"},
    {"R47T", "1006"}, {"N52H", "1010"}, {"G66M", "1002"},
};

DeviceFacts FactsOf(const Device& d) { return {d.product, d.firmware, 0, 0}; }

devicesim::DeviceProfile ProfileOf(const Device& d) {
    auto profile = devicesim::DeviceProfile::ForProduct(d.product);
    profile.firmwareVersion = d.firmware;
    devicesim::FillBlocks(profile);
    return profile;
}

const std::uint8_t kFieldOptions[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 13, 15, 16};

std::set<std::size_t> NamedBytes(std::uint8_t option, const DeviceFacts& facts) {
    std::set<std::size_t> named;
    for (const BlockField& f : FieldsOf(option))
        if (Applies(f, facts))
            for (std::size_t n = 0; n < f.count; ++n)
                for (std::size_t i = 0; i < f.width; ++i)
                    named.insert(f.Offset(n) + i);
    return named;
}

// A value of the field's kind that differs from element to element.
FieldValue DistinctValue(const BlockField& f, int k) {
    switch (f.codec) {
    case FieldCodec::Text: return std::string(std::min<std::size_t>(f.MaxChars(), 2), char('a' + k % 26));
    case FieldCodec::Area: return std::string(f.width, char(0x20 + k % 90));
    case FieldCodec::S8: return std::int64_t(-(k % 100) - 1);
    case FieldCodec::Minutes: return std::int64_t(-1 - k);
    default: return std::int64_t(k % 250 + 1);
    }
}

// Writes the value `valueOf(field, element)` gives into every element of the
// device's fields of the option, in table order; false at the first refusal.
template <typename ValueOf>
bool WriteEveryElement(Bytes& block, std::uint8_t option, const DeviceFacts& facts, ValueOf valueOf) {
    for (const BlockField& f : FieldsOf(option)) {
        if (!Applies(f, facts))
            continue;
        for (std::size_t n = 0; n < f.count; ++n) {
            if (WriteField(block, f, n, valueOf(f, n)) != FieldStatus::Ok) {
                ADD_FAILURE() << int(option) << " " << f.name << "[" << n << "] refused";
                return false;
            }
        }
    }
    return true;
}

class BlockFields : public ::testing::TestWithParam<Device> {};

TEST_P(BlockFields, ReadingAndWritingBackKeepsEveryByte) {
    const DeviceFacts facts = FactsOf(GetParam());
    const auto profile = ProfileOf(GetParam());
    for (std::uint8_t option : kFieldOptions) {
        const Bytes original = profile.Block(option);
        Bytes block = original;
        ASSERT_TRUE(WriteEveryElement(block, option, facts, [&](const BlockField& f, std::size_t n) {
            return ReadField(original, f, n);
        }));
        EXPECT_EQ(block, original) << "option " << int(option);
    }
}

TEST_P(BlockFields, WritingEveryFieldChangesNoUnnamedByte) {
    const DeviceFacts facts = FactsOf(GetParam());
    const auto profile = ProfileOf(GetParam());
    for (std::uint8_t option : kFieldOptions) {
        const Bytes original = profile.Block(option);
        Bytes block = original;
        int k = 0;
        ASSERT_TRUE(WriteEveryElement(block, option, facts,
                                      [&](const BlockField& f, std::size_t) { return DistinctValue(f, k++); }));
        const auto named = NamedBytes(option, facts);
        for (std::size_t i = 0; i < block.size(); ++i) {
            if (!named.count(i)) {
                ASSERT_EQ(block[i], original[i]) << "option " << int(option) << " byte " << i;
            }
        }
        EXPECT_NE(block, original) << "option " << int(option);
    }
}

INSTANTIATE_TEST_SUITE_P(Devices, BlockFields, ::testing::ValuesIn(kDevices));

TEST(BlockFieldLayouts, PppoeUserAndPasswordFollowTheFirmware) {
    struct Case {
        Device device;
        std::size_t userOffset, passwordOffset, width;
    };
    const Case cases[] = {
        {{"R41T", "1051"}, 36, 52, 16}, {{"R41T", "1052"}, 4, 36, 32},
        {{"R47T", "1006"}, 36, 52, 16}, {{"R47T", "1007"}, 4, 36, 32},
    };
    for (const Case& c : cases) {
        const DeviceFacts facts = FactsOf(c.device);
        const BlockField* user = FindField(6, "sz_PppoeUser", facts);
        const BlockField* password = FindField(6, "sz_PppoePassword", facts);
        ASSERT_TRUE(user && password);
        EXPECT_EQ(user->offset, c.userOffset) << c.device.product << c.device.firmware;
        EXPECT_EQ(password->offset, c.passwordOffset);
        EXPECT_EQ(user->width, c.width);

        Bytes block(68, 0xEE);
        ASSERT_EQ(WriteText(block, *user, 0, "abonent"), FieldStatus::Ok);
        EXPECT_EQ(std::string(block.begin() + c.userOffset, block.begin() + c.userOffset + 8),
                  std::string("abonent\0", 8));
        EXPECT_EQ(block[c.userOffset + c.width - 1], 0);
        EXPECT_EQ(block[c.userOffset + c.width], 0xEE);  // the next field is untouched
        EXPECT_EQ(WriteText(block, *user, 0, std::string(c.width, 'u')), FieldStatus::TooLong);
    }
}

TEST(BlockFieldLayouts, GatedFieldsExistOnlyOnTheirDevices) {
    struct Case {
        Device device;
        std::uint8_t option;
        const char* name;
        bool present;
    };
    const Case cases[] = {
        {{"R47T", "1003"}, 7, "sz_MailSenderExt", true},  {{"R47T", "1002"}, 7, "sz_MailSenderExt", false},
        {{"N51H", "1003"}, 7, "sz_MailSenderExt", true},  {{"G66M", "1003"}, 7, "sz_MailSenderExt", true},
        {{"R41T", "1052"}, 7, "sz_MailSenderExt", false}, {{"R41T", "1027"}, 8, "sz_MailSenderExt", true},
        {{"R41T", "1026"}, 8, "sz_MailSenderExt", false}, {{"R47T", "1010"}, 8, "sz_MailSenderExt", false},
        {{"R47T", "1010"}, 10, "sz_ChannelName", true},   {{"R47T", "1009"}, 10, "sz_ChannelName", false},
        {{"R41T", "1052"}, 10, "sz_ChannelName", false},  {{"R47T", "1010"}, 10, "by_PtzProtocol", false},
        {{"R41T", "1052"}, 10, "by_PtzProtocol", true},   {{"R41T", "1052"}, 11, "by_AlarmInputType", true},
        {{"R41T", "1052"}, 11, "by_VideoSource", false},  {{"R47T", "1010"}, 11, "by_VideoSource", true},
        {{"R47T", "1010"}, 11, "by_AlarmInputType", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindField(c.option, c.name, FactsOf(c.device)) != nullptr, c.present)
            << c.device.product << " " << c.device.firmware << " " << c.name;
}

TEST(BlockFieldTexts, SixCharacterChannelNameFillsItsFieldWithoutTerminator) {
    const BlockField* name = FindField(13, "sz_ChannelName", FactsOf({"R41T", "1052"}));
    ASSERT_NE(name, nullptr);
    Bytes block(772, 0x55);
    ASSERT_EQ(WriteText(block, *name, 3, "KAMERA"), FieldStatus::Ok);
    EXPECT_EQ(std::string(block.begin() + 134, block.begin() + 140), "KAMERA");
    EXPECT_EQ(block[133], 0x55);
    EXPECT_EQ(block[140], 0x55);
    EXPECT_EQ(ReadText(block, *name, 3), "KAMERA");
}

TEST(BlockFieldTexts, TooLongOrForeignTextsAreRefusedAndChangeNothing) {
    const BlockField* sender = FindField(4, "sz_MailSender", FactsOf({"R41T", "1052"}));
    ASSERT_NE(sender, nullptr);
    Bytes block(440, 0x33);
    const Bytes before = block;
    EXPECT_EQ(WriteText(block, *sender, 0, std::string(16, 'x')), FieldStatus::TooLong);
    EXPECT_EQ(WriteText(block, *sender, 0, "adres\xD0\xB6"), FieldStatus::NotWindows1250);  // "ж"
    EXPECT_EQ(WriteText(block, *sender, 0, "\xFF\xFE"), FieldStatus::NotWindows1250);      // not UTF-8
    EXPECT_EQ(block, before);

    // Polish letters are one Windows-1250 byte each, so 15 of them fit.
    std::string polish;
    for (int i = 0; i < 15; ++i)
        polish += "\xC4\x85";  // "ą"
    ASSERT_EQ(WriteText(block, *sender, 0, polish), FieldStatus::Ok);
    EXPECT_EQ(block[72], 0xB9);
    EXPECT_EQ(block[87], 0);
    EXPECT_EQ(ReadText(block, *sender, 0), polish);
}

TEST(BlockFieldNumbers, EncodingsAndRanges) {
    const DeviceFacts dvr = FactsOf({"R41T", "1052"});
    Bytes ip(24, 0);
    const BlockField* address = FindField(1, "by_IpAddress", dvr);
    ASSERT_EQ(WriteNumber(ip, *address, 0, 0xC0A80107), FieldStatus::Ok);  // 192.168.1.7
    EXPECT_EQ(Bytes(ip.begin() + 4, ip.begin() + 8), (Bytes{192, 168, 1, 7}));
    EXPECT_EQ(ReadNumber(ip, *address), 0xC0A80107);
    EXPECT_EQ(Ipv4Text(0xC0A80107), "192.168.1.7");

    Bytes secure(196, 0);
    const BlockField* activity = FindField(2, "dw_UserActivity", dvr);
    ASSERT_EQ(WriteNumber(secure, *activity, 4, -1), FieldStatus::Ok);
    EXPECT_EQ(Bytes(secure.begin() + 192, secure.end()), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ReadNumber(secure, *activity, 4), -1);

    const BlockField* port = FindField(1, "w_WebPort", dvr);
    EXPECT_EQ(WriteNumber(ip, *port, 0, 65536), FieldStatus::OutOfRange);
    EXPECT_EQ(WriteNumber(ip, *port, 0, -1), FieldStatus::OutOfRange);
    EXPECT_EQ(WriteNumber(ip, *port, 1, 80), FieldStatus::OutsideBlock);
    EXPECT_EQ(WriteText(ip, *port, 0, "80"), FieldStatus::WrongKind);
    Bytes cut(10);
    EXPECT_EQ(WriteNumber(cut, *port, 0, 80), FieldStatus::OutsideBlock);
}

TEST(CodeTables, UnknownCodesHaveNoIndexAndNoSelectionHasNoCode) {
    static constexpr std::uint16_t kAlarmSeconds[] = {3, 15, 30, 60, 1800, 65535};
    constexpr CodeTable<std::uint16_t> table{kAlarmSeconds};
    EXPECT_EQ(table.IndexOf(1800), 4);
    EXPECT_EQ(table.IndexOf(12), std::nullopt);
    EXPECT_EQ(table.CodeAt(5), 65535);
    EXPECT_EQ(table.CodeAt(-1), std::nullopt);
    EXPECT_EQ(table.CodeAt(6), std::nullopt);
}

}  // namespace
}  // namespace config
