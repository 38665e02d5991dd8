// The mail and FTP pages' values: the sender split over two blocks and joined
// back, the recipients' stored form, and FTP texts too long for the page.

#include <gtest/gtest.h>

#include <string>

#include "config/DeviceFacts.h"
#include "config/PageDevice.h"
#include "config/pages/FtpValues.h"
#include "config/pages/MailAddress.h"
#include "config/pages/MailValues.h"
#include "simulator/PageSettings.h"

namespace config {
namespace {

using devicesim::Bytes;

std::string Text(const Bytes& block, std::size_t from, std::size_t to) {
    return std::string(block.begin() + static_cast<std::ptrdiff_t>(from), block.begin() + static_cast<std::ptrdiff_t>(to));
}

// Bytes outside [from, to) of the two blocks are equal.
void ExpectSameOutside(const Bytes& a, const Bytes& b, std::size_t from, std::size_t to) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        if (i < from || i >= to) {
            EXPECT_EQ(a[i], b[i]) << "byte " << i;
        }
}

TEST(FormatMailAddress, ConvertsBetweenListAndStoredForms) {
    struct Case {
        const char* text;
        int mode;
        const char* result;
    };
    const Case cases[] = {
        {"a@b.pl", 0, "a <a@b.pl>"},
        {"x", 0, "<x>"},
        {"@b.pl", 0, "<@b.pl>"},
        {"john <john@x.pl>", 1, "john@x.pl"},
        {"<x>", 1, "x"},
        {"a <b> <c>", 1, "b> <c"},
        {"no brackets", 1, "no brackets"},
        {"half <open", 1, "half <open"},
        {"a@b.pl", 2, "a@b.pl"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatMailAddress(c.text, c.mode), c.result) << c.text << " mode " << c.mode;
}

TEST(FormatMailAddress, StoredFormMustEndInsideItsSlot) {
    EXPECT_TRUE(RecipientFitsSlot("a@b.pl"));
    const std::string address = std::string(10, 'l').append("@").append(29, 'd');  // 40 characters
    EXPECT_FALSE(RecipientFitsSlot(address));
    EXPECT_TRUE(RecipientFitsSlot(std::string(45, 'x')));   // "<" 45 ">" = 47
    EXPECT_FALSE(RecipientFitsSlot(std::string(46, 'x')));  // 48: no zero left in the slot
}

TEST(MailSenderLimit, FollowsTheContinuationGates) {
    struct Case {
        const char* product;
        const char* firmware;
        std::size_t limit;
    };
    const Case cases[] = {{"R41T", "1026", 15}, {"R41T", "1027", 42}, {"R47T", "1002", 15},
                          {"R47T", "1003", 42}, {"N51H", "1003", 42}, {"G66M", "1003", 42}};
    for (const Case& c : cases)
        EXPECT_EQ(MailSenderLimit(DeviceFacts{c.product, c.firmware}), c.limit) << c.product << c.firmware;
}

const std::string kSender42 = "abcdefghijklmno" "PQRSTUVWXYZ0123456789-_.@xy";

TEST(MailValues, LongSenderOfADvrGoesOnInTheTimeServerBlockAndComesBackWhole) {
    testutil::PageDevice device("R41T", "1027");
    ASSERT_EQ(kSender42.size(), 42u);
    const Bytes smtpBefore = device.DeviceBlock(4);
    const Bytes sntpBefore = device.DeviceBlock(8);
    auto set = device.OpenSet();
    MailValues values = LoadMailValues(*set);
    values.sender.Edit(kSender42);
    SendMailConfig(values, *set, device.Store(*set));

    const auto stores = device.Stores();
    ASSERT_EQ(stores.size(), 2u);
    EXPECT_EQ(stores[0].Param("Option"), "SMTP");
    EXPECT_EQ(stores[1].Param("Option"), "SNTP");
    const Bytes smtp = device.DeviceBlock(4);
    EXPECT_EQ(Text(smtp, 72, 87), kSender42.substr(0, 15));
    EXPECT_EQ(smtp[87], 0);
    ExpectSameOutside(smtp, smtpBefore, 72, 88);
    const Bytes sntp = device.DeviceBlock(8);
    EXPECT_EQ(Text(sntp, 8, 35), kSender42.substr(15));
    EXPECT_EQ(sntp[35], 0);
    ExpectSameOutside(sntp, sntpBefore, 8, 36);

    device.Fetch();
    EXPECT_EQ(LoadMailValues(*device.OpenSet()).sender.Loaded(), kSender42);
}

TEST(MailValues, ContinuationInTheSystemBlockLeavesTheDeviceNameAlone) {
    testutil::PageDevice device("R47T", "1003");
    const Bytes systemBefore = device.DeviceBlock(7);
    auto set = device.OpenSet();
    MailValues values = LoadMailValues(*set);
    const std::string sender = "abcdefghijklmno" "PQRST";
    values.sender.Edit(sender);
    SendMailConfig(values, *set, device.Store(*set));

    const auto stores = device.Stores();
    ASSERT_EQ(stores.size(), 2u);
    EXPECT_EQ(stores[0].Param("Option"), "SMTP");
    EXPECT_EQ(stores[1].Param("Option"), "SYSTEM");
    const Bytes system = device.DeviceBlock(7);
    EXPECT_EQ(Text(system, 4, 9), "PQRST");
    EXPECT_EQ(system[9], 0);
    ExpectSameOutside(system, systemBefore, 4, 10);

    device.Fetch();
    EXPECT_EQ(LoadMailValues(*device.OpenSet()).sender.Loaded(), sender);
}

TEST(MailValues, RecipientsLoadPackedAndGoBackInTheirStoredForm) {
    testutil::PageDevice device("R41T", "1052", devicesim::SetMailRecipients);
    auto set = device.OpenSet();
    MailValues values = LoadMailValues(*set);
    EXPECT_EQ(values.Addresses(), (std::vector<std::string>{"john@x.pl", "x"}));

    EXPECT_EQ(values.AddRecipient("a@b.pl"), 0u);
    SendMailConfig(values, *set, device.Store(*set));
    const Bytes smtp = device.DeviceBlock(4);
    const auto slot = [&](std::size_t n) { return std::string(Text(smtp, 136 + 48 * n, 184 + 48 * n).c_str()); };
    EXPECT_EQ(slot(0), "john <john@x.pl>");
    EXPECT_EQ(slot(1), "<x>");
    EXPECT_EQ(slot(2), "a <a@b.pl>");
    EXPECT_EQ(Text(smtp, 136 + 48 * 3, 184 + 48 * 3), std::string(48, '\0'));
}

TEST(MailValues, AnUntouchedRecipientKeepsItsStoredBytesWhenAnotherChanges) {
    // Slot 0 holds a local part and address whose stored form, rebuilt from the
    // address the list shows, would not fit the 48-byte slot; slot 1 lacks its brackets.
    const std::string address = std::string(10, 'l') + "@" + std::string(29, 'd');
    const std::string slot0 = "x <" + address + ">";
    testutil::PageDevice device("R41T", "1052", [&](devicesim::DeviceProfile& p) {
        devicesim::PutBlockText(p, 4, 136, 48, slot0);
        devicesim::PutBlockText(p, 4, 184, 48, "plain text");
        devicesim::PutBlockText(p, 4, 232, 96, "");
    });
    const Bytes before = device.DeviceBlock(4);
    auto set = device.OpenSet();
    MailValues values = LoadMailValues(*set);
    ASSERT_EQ(values.Addresses(), (std::vector<std::string>{address, "plain text"}));
    EXPECT_EQ(values.AddRecipient("a@b.pl"), 0u);
    EXPECT_EQ(values.EditRecipient(0, address + "x"), 4022u);  // refused: the row stays untouched
    SendMailConfig(values, *set, device.Store(*set));
    const Bytes after = device.DeviceBlock(4);
    EXPECT_EQ(Text(after, 136, 232), Text(before, 136, 232));
    EXPECT_EQ(std::string(Text(after, 232, 280).c_str()), "a <a@b.pl>");

    // Deleting the first moves the second up with its bytes as they were.
    device.Fetch();
    set = device.OpenSet();
    values = LoadMailValues(*set);
    values.DeleteRecipient(0);
    SendMailConfig(values, *set, device.Store(*set));
    EXPECT_EQ(Text(device.DeviceBlock(4), 136, 184), Text(before, 184, 232));
}

TEST(MailValues, RefusedStoreEndsTheRoutine) {
    testutil::PageDevice device("R41T", "1027");
    device.device->AddFault("/SetSysCfg.cgi", devicesim::Fault::Status(500));
    auto set = device.OpenSet();
    MailValues values = LoadMailValues(*set);
    values.sender.Edit(kSender42);
    SendMailConfig(values, *set, device.Store(*set));
    EXPECT_EQ(device.failedStores, 1);
    EXPECT_EQ(device.Stores().size(), 1u);  // SNTP not tried after the refused SMTP
    EXPECT_TRUE(set->Changed(4));
    EXPECT_TRUE(set->Changed(8));
}

TEST(MailValues, UntouchedValuesWriteNothing) {
    testutil::PageDevice device("G66M", "1010", devicesim::SetMailRecipients);
    auto set = device.OpenSet();
    MailValues values = LoadMailValues(*set);
    values.auth.Edit(values.auth.Loaded());
    WriteMailChanges(values, *set);
    for (std::uint8_t option : kMailStoreOrder)
        EXPECT_FALSE(set->Changed(option));
}

TEST(FtpValues, TextTooLongForThePageLoadsEmptyAndStaysOnTheDevice) {
    testutil::PageDevice device("R47T", "1007", devicesim::SetLongFtpServer);
    const Bytes before = device.DeviceBlock(5);
    auto set = device.OpenSet();
    FtpValues values = LoadFtpValues(*set);
    EXPECT_EQ(values.server.Loaded(), "");
    WriteFtpChanges(values, *set);
    EXPECT_FALSE(set->Changed(5));

    values.user.Edit("newuser");
    SendFtpConfig(values, *set, device.Store(*set));
    ASSERT_EQ(device.Stores().size(), 1u);
    const Bytes after = device.DeviceBlock(5);
    EXPECT_EQ(std::string(Text(after, 36, 52).c_str()), "newuser");
    ExpectSameOutside(after, before, 36, 52);
}

TEST(FtpValues, PortIsWrittenLittleEndian) {
    testutil::PageDevice device("R41T");
    auto set = device.OpenSet();
    FtpValues values = LoadFtpValues(*set);
    values.port.Edit(65535);
    WriteFtpChanges(values, *set);
    EXPECT_EQ(set->Working(5)[100], 0xFF);
    EXPECT_EQ(set->Working(5)[101], 0xFF);
}

}  // namespace
}  // namespace config
