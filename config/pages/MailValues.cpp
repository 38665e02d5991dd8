#include "config/pages/MailValues.h"

#include <algorithm>
#include <cstring>

#include "config/ConfigWorkingSet.h"
#include "config/pages/MailAddress.h"
#include "config/pages/PageText.h"

namespace config {

namespace {

// The continuation in block 7 starts at byte 4 and may reach into the device
// name at 20; it is written as its text and one zero, nothing else cleared.
constexpr std::size_t kSystemContinuationOffset = 4;
constexpr std::size_t kContinuationChars = 27;

void WriteSystemContinuation(ConfigWorkingSet& set, const std::string& utf8) {
    std::string bytes;
    if (EncodeBlockText(utf8, kContinuationChars, bytes) != FieldStatus::Ok)
        return;
    auto block = set.Working(7);
    if (block.size() < kSystemContinuationOffset + bytes.size() + 1)
        return;
    std::memcpy(block.data() + kSystemContinuationOffset, bytes.data(), bytes.size());
    block[kSystemContinuationOffset + bytes.size()] = 0;
}

}  // namespace

std::vector<std::string> MailValues::Addresses() const {
    std::vector<std::string> addresses;
    for (const MailRecipient& recipient : recipients)
        addresses.push_back(recipient.address);
    return addresses;
}

unsigned MailValues::AddRecipient(const std::string& address) {
    if (recipients.size() >= kMailRecipientSlots)
        return 4041;
    if (address.empty())
        return 0;
    if (!RecipientFitsSlot(address))
        return 4002;
    recipients.push_back({address, {}});
    recipientsChanged = true;
    return 0;
}

unsigned MailValues::EditRecipient(std::size_t row, const std::string& address) {
    if (row >= recipients.size())
        return 4089;
    if (address.empty())
        return 0;
    if (!RecipientFitsSlot(address))
        return 4022;
    recipients[row] = {address, {}};
    recipientsChanged = true;
    return 0;
}

void MailValues::DeleteRecipient(std::size_t row) {
    if (row >= recipients.size())
        return;
    recipients.erase(recipients.begin() + static_cast<std::ptrdiff_t>(row));
    recipientsChanged = true;
}

std::size_t MailSenderLimit(const DeviceFacts& facts) {
    return facts.SenderContinuesInSntpBlock() || facts.SenderContinuesInSystemBlock() ? 42 : kMailSenderFirstChars;
}

MailValues LoadMailValues(const ConfigWorkingSet& set) {
    MailValues values;
    std::string sender = set.Text(4, "sz_MailSender");
    if (BlockCharCount(sender) == kMailSenderFirstChars) {
        const std::uint8_t continuation = set.Facts().SenderContinuesInSntpBlock()     ? 8
                                          : set.Facts().SenderContinuesInSystemBlock() ? 7
                                                                                       : 0;
        if (continuation)
            sender += BlockHead(set.Text(continuation, "sz_MailSenderExt"), kContinuationChars);
    }
    values.sender.Load(sender);
    values.server.Load(set.Text(4, "sz_SmtpServer"));
    values.user.Load(set.Text(4, "sz_SmtpUser"));
    values.password.Load(set.Text(4, "sz_SmtpPassword"));
    values.auth.Load(static_cast<int>(set.Number(4, "by_SmtpAuth")));
    const auto block = set.Working(4);
    const BlockField* field = set.Field(4, "sz_MailRecipient");
    for (std::size_t slot = 0; field && slot < kMailRecipientSlots && field->End() <= block.size(); ++slot) {
        const auto bytes = block.subspan(field->Offset(slot), field->width);
        if (bytes[0] != 0)
            values.recipients.push_back({FormatMailAddress(set.Text(4, "sz_MailRecipient", slot), 1),
                                         std::string(bytes.begin(), bytes.end())});
    }
    return values;
}

void WriteMailChanges(const MailValues& values, ConfigWorkingSet& set) {
    if (values.sender.Changed()) {
        std::string rest;
        const std::string first = BlockHead(values.sender.Current(), kMailSenderFirstChars, &rest);
        set.Write(4, "sz_MailSender", 0, first);
        if (set.Facts().SenderContinuesInSntpBlock())
            set.Write(8, "sz_MailSenderExt", 0, rest);
        else if (set.Facts().SenderContinuesInSystemBlock())
            WriteSystemContinuation(set, rest);
    }
    if (values.server.Changed())
        set.Write(4, "sz_SmtpServer", 0, values.server.Current());
    if (values.password.Changed())
        set.Write(4, "sz_SmtpPassword", 0, values.password.Current());
    if (values.user.Changed())
        set.Write(4, "sz_SmtpUser", 0, values.user.Current());
    if (values.auth.Changed())
        set.Write(4, "by_SmtpAuth", 0, std::int64_t(values.auth.Current()));
    const BlockField* field = set.Field(4, "sz_MailRecipient");
    const auto block = set.Working(4);
    if (values.recipientsChanged && field && field->End() <= block.size()) {
        for (std::size_t slot = 0; slot < kMailRecipientSlots; ++slot) {
            const MailRecipient* recipient = slot < values.recipients.size() ? &values.recipients[slot] : nullptr;
            if (recipient && recipient->storedSlot.size() == field->width) {
                // Untouched: its bytes as the device gave them, in whichever slot it now sits.
                std::memcpy(block.data() + field->Offset(slot), recipient->storedSlot.data(), field->width);
                continue;
            }
            // The list's operations take no address whose stored form misses its slot.
            set.Write(4, "sz_MailRecipient", slot, recipient ? FormatMailAddress(recipient->address, 0) : std::string());
        }
    }
}

int SendMailConfig(const MailValues& values, ConfigWorkingSet& set, const StoreBlock& store) {
    WriteMailChanges(values, set);
    StoreBlocks(kMailStoreOrder, store);
    return 0;
}

}  // namespace config
