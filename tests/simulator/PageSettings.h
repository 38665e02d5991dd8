#pragma once
// Settings a simulated device can be given for the configuration pages'
// tests, on top of its filled blocks: each call changes only its own fields.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "simulator/DeviceProfile.h"

namespace devicesim {

// Clears the field and writes the text's bytes (no terminator when it fills the field).
void PutBlockText(DeviceProfile& profile, int option, std::size_t offset, std::size_t width, std::string_view text);

// Mail: recipients "john <john@x.pl>" in slot 1 and "<x>" in slot 3, slots 0 and 2 free.
void SetMailRecipients(DeviceProfile& profile);
// FTP: a server name of 32 characters, filling its field.
void SetLongFtpServer(DeviceProfile& profile);

// Network: web port, network type (block 1) and the capability word.
void SetNetwork(DeviceProfile& profile, std::uint16_t webPort, std::uint8_t networkType, std::uint32_t capability = 0);
// DDNS: the provider key and host name of block 4 (and DDNS on or off).
void SetDdns(DeviceProfile& profile, std::string_view provider, std::string_view domain, bool enabled = true);

// Time server: time from a server, zone 30 (GMT+01:00), server "ntp.lan".
void SetSntp(DeviceProfile& profile);

// Accounts: slot 0 "admin"/"adm1n" (supervisor, unlimited), slot 2 the login
// account with its name in upper case (main user, 60 minutes); slots 1, 3 and 4
// free; at most 5 users.
void SetAccounts(DeviceProfile& profile);

// One connected user of the ONLINE block.
struct OnlineUser {
    std::string_view name;  // empty: a free record
    std::uint8_t address[4];
    std::uint8_t level, channel, size, quality;
};
// The ONLINE block: the users' 24-byte records in order.
void SetOnlineUsers(DeviceProfile& profile, std::initializer_list<OnlineUser> users);

}  // namespace devicesim
