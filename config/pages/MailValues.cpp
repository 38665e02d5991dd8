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
    for (std::size_t slot = 0; slot < kMailRecipientSlots; ++slot) {
        const auto block = set.Working(4);
        const BlockField* field = set.Field(4, "sz_MailRecipient");
        if (field && block[field->Offset(slot)] != 0)
            values.recipients.push_back(FormatMailAddress(set.Text(4, "sz_MailRecipient", slot), 1));
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
    if (values.recipientsChanged) {
        const BlockField* field = set.Field(4, "sz_MailRecipient");
        for (std::size_t slot = 0; field && slot < kMailRecipientSlots; ++slot) {
            const std::string stored =
                slot < values.recipients.size() ? FormatMailAddress(values.recipients[slot], 0) : std::string();
            // The dialog lets no address through whose stored form misses its slot.
            if (set.Write(4, "sz_MailRecipient", slot, stored) != FieldStatus::Ok)
                set.Write(4, "sz_MailRecipient", slot, std::string());
        }
    }
}

int SendMailConfig(const MailValues& values, ConfigWorkingSet& set, const StoreBlock& store) {
    WriteMailChanges(values, set);
    StoreBlocks(kMailStoreOrder, store);
    return 0;
}

}  // namespace config
