#include "simulator/PageSettings.h"

#include <algorithm>

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

}  // namespace devicesim
