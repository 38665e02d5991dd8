#include "recording/search/DiskMap.h"

#include <algorithm>
#include <cstdio>

namespace recording {

std::vector<std::uint8_t> DiskMap::Disks() const {
    std::vector<std::uint8_t> disks;
    for (unsigned disk = 0; disk < 8 * kDiskBitmapBytes; ++disk)
        if (Present(disk))
            disks.push_back(static_cast<std::uint8_t>(disk));
    return disks;
}

std::optional<DiskMap> ParseDiskReply(std::span<const std::uint8_t> body) {
    if (body.size() > kDiskReplyBytes)
        return std::nullopt;
    DiskMap map;
    std::copy_n(body.begin(), std::min(body.size(), map.m_byDiskMap.size()), map.m_byDiskMap.begin());
    return map;
}

std::string DiskName(unsigned disk) {
    static constexpr const char* kFixed[] = {"MASTER1", "SLAVE1", "MASTER2", "SLAVE2"};
    if (disk < 4)
        return kFixed[disk];
    char text[16];
    std::snprintf(text, sizeof text, "EXT-%.2u", disk - 3);
    return text;
}

}  // namespace recording
