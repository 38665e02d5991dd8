#pragma once
// The mail page's values: sender, server, authentication with user and
// password, and the recipients. Loaded from block 4 (the sender joined with
// its continuation in block 8 or 7); only what the person changed is written
// back into the working copies.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/Tracked.h"
#include "config/pages/BlockStore.h"

namespace config {

class ConfigWorkingSet;
struct DeviceFacts;

inline constexpr std::size_t kMailSenderFirstChars = 15;
inline constexpr std::size_t kMailRecipientSlots = 4;
// Blocks the mail routine stores, in order, each only when it changed.
inline constexpr std::array<std::uint8_t, 3> kMailStoreOrder{4, 8, 7};

// 42 where the device keeps a continuation (DVR from "1027"; video server,
// N5H and G66M from "1003"), else 15.
std::size_t MailSenderLimit(const DeviceFacts& facts);

// One row of the recipient list: the bare address it shows and, while the
// person has not edited it, the slot's bytes as loaded, which go back as they
// are (its stored form, rebuilt, might no longer fit the slot).
struct MailRecipient {
    std::string address;
    std::string storedSlot;  // empty once edited or for a new row
};

struct MailValues {
    Tracked<std::string> sender, server, user, password;
    Tracked<int> auth;  // 0 none, 2 user and password; others as the device gave them
    // The list's rows, in order; sent only once changed.
    std::vector<MailRecipient> recipients;
    bool recipientsChanged = false;

    std::vector<std::string> Addresses() const;
    // The list's operations; each answers with the message id of its refusal,
    // or 0. An address whose stored form does not fit its slot is refused
    // (4002 when adding, 4022 when editing); an empty one changes nothing.
    unsigned AddRecipient(const std::string& address);
    unsigned EditRecipient(std::size_t row, const std::string& address);
    void DeleteRecipient(std::size_t row);
};

MailValues LoadMailValues(const ConfigWorkingSet& set);
// Writes the changed values into the working copies of blocks 4, 8 and 7.
void WriteMailChanges(const MailValues& values, ConfigWorkingSet& set);
// The mail page's Apply: writes the changes, then stores 4, 8 and 7 (each
// when changed, none after a failure). Returns 0, as the sheet ignores it.
int SendMailConfig(const MailValues& values, ConfigWorkingSet& set, const StoreBlock& store);

}  // namespace config
