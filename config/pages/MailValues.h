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

struct MailValues {
    Tracked<std::string> sender, server, user, password;
    Tracked<int> auth;  // 0 none, 2 user and password; others as the device gave them
    // The list's rows (bare addresses), in order; sent only once changed.
    std::vector<std::string> recipients;
    bool recipientsChanged = false;
};

MailValues LoadMailValues(const ConfigWorkingSet& set);
// Writes the changed values into the working copies of blocks 4, 8 and 7.
void WriteMailChanges(const MailValues& values, ConfigWorkingSet& set);
// The mail page's Apply: writes the changes, then stores 4, 8 and 7 (each
// when changed, none after a failure). Returns 0, as the sheet ignores it.
int SendMailConfig(const MailValues& values, ConfigWorkingSet& set, const StoreBlock& store);

}  // namespace config
