#pragma once
// The online-users page's list: five 24-byte records at the start of the
// ONLINE block, each a connected user's name, address, level, channel,
// picture size and quality. Records without a name are skipped.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace config {

struct DeviceFacts;

inline constexpr std::size_t kOnlineRecords = 5;
inline constexpr std::size_t kOnlineRecordSize = 24;
inline constexpr std::uint32_t kOnlineBlockSize = 240;

struct OnlineColumn {
    unsigned headingId;
    int width;
};

// The columns for the device: a multi-channel DVR gets narrower ones and the channel.
std::vector<OnlineColumn> OnlineColumns(const DeviceFacts& facts);

// The rows' texts, one per used record, a text per column. An unknown level,
// size or quality code leaves its cell empty.
std::vector<std::vector<std::string>> OnlineRows(std::span<const std::uint8_t> block, const DeviceFacts& facts,
                                                 std::uint8_t videoSizeFamily);

}  // namespace config
