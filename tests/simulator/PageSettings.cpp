#include "simulator/PageSettings.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace devicesim {

void PutBlockText(DeviceProfile& profile, int option, std::size_t offset, std::size_t width, std::string_view text) {
    Bytes block = profile.Block(option);
    if (block.size() < offset + width)
        block.resize(offset + width);
    std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(offset), width, std::uint8_t(0));
    std::copy_n(text.begin(), std::min(text.size(), width), block.begin() + static_cast<std::ptrdiff_t>(offset));
    profile.blocks[option] = std::move(block);
}

void SetMailRecipients(DeviceProfile& profile) {
    constexpr std::string_view kSlots[] = {"", "john <john@x.pl>", "", "<x>"};
    for (std::size_t slot = 0; slot < 4; ++slot)
        PutBlockText(profile, 4, 136 + 48 * slot, 48, kSlots[slot]);
}

void SetLongFtpServer(DeviceProfile& profile) {
    PutBlockText(profile, 5, 4, 32, "ftp.long-server-name.example.org");
}

void SetNetwork(DeviceProfile& profile, std::uint16_t webPort, std::uint8_t networkType, std::uint32_t capability) {
    Bytes block = profile.Block(1);
    block[16] = static_cast<std::uint8_t>(webPort);
    block[17] = static_cast<std::uint8_t>(webPort >> 8);
    block[22] = networkType;
    profile.blocks[1] = std::move(block);
    profile.SetCapability(capability);
}

void SetDdns(DeviceProfile& profile, std::string_view provider, std::string_view domain, bool enabled) {
    PutBlockText(profile, 4, 88, 16, provider);
    PutBlockText(profile, 4, 328, 48, domain);
    profile.blocks[4][5] = enabled ? 1 : 0;
}

void SetSntp(DeviceProfile& profile) {
    PutBlockText(profile, 8, 8, 28, "ntp.lan");
    Bytes& block = profile.blocks[8];
    block[2] = 1;
    block[3] = 0;
    block[5] = 30;
    block[6] = 1;
}

void SetAccounts(DeviceProfile& profile) {
    std::string upper = profile.userName;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const struct {
        std::string name, password;
        std::uint8_t level;
        std::int32_t activity;
    } slots[5] = {{"admin", "adm1n", 30, -1}, {}, {upper, profile.password, 20, 60}, {}, {}};
    Bytes block = profile.Block(2);
    block[2] = 5;
    for (std::size_t slot = 0; slot < 5; ++slot) {
        std::fill_n(block.begin() + 8 + 16 * slot, 16, 0);
        std::fill_n(block.begin() + 88 + 16 * slot, 16, 0);
        std::copy(slots[slot].name.begin(), slots[slot].name.end(), block.begin() + 8 + 16 * slot);
        std::copy(slots[slot].password.begin(), slots[slot].password.end(), block.begin() + 88 + 16 * slot);
        if (!slots[slot].name.empty()) {
            block[168 + slot] = slots[slot].level;
            for (int i = 0; i < 4; ++i)
                block[176 + 4 * slot + i] = static_cast<std::uint8_t>(std::uint32_t(slots[slot].activity) >> (8 * i));
        }
    }
    profile.blocks[2] = std::move(block);
}

void SetOnlineUsers(DeviceProfile& profile, std::initializer_list<OnlineUser> users) {
    Bytes block;
    for (const OnlineUser& user : users) {
        Bytes record(24, 0);
        std::copy_n(user.name.begin(), std::min<std::size_t>(user.name.size(), 16), record.begin());
        std::copy_n(user.address, 4, record.begin() + 16);
        record[20] = user.level;
        record[21] = user.channel;
        record[22] = user.size;
        record[23] = user.quality;
        block.insert(block.end(), record.begin(), record.end());
    }
    profile.blocks[kOptionOnline] = std::move(block);
}

}  // namespace devicesim
