#pragma once
// What the client and the companion player say to each other over the player
// link: little-endian frames {u32 message, u32 wParam, u64 lParam, u32 length,
// length bytes}. The message numbers are the backup follow protocol's; the
// hello, the copy-data record and its answer stand for finding the player's
// window and the synchronous record send.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace recording {

inline constexpr std::uint32_t kPlayerHello = 0x0001;       // player: lParam = its process id
inline constexpr std::uint32_t kPlayerCopyData = 0x004A;    // client: wParam = record number; player answers it back, empty
inline constexpr std::uint32_t WM_NETBK_ATTACH = 0x1200;    // client: lParam = the download dialog's id
inline constexpr std::uint32_t WM_NETBK_ACK = 0x1201;       // player: wParam = block size in KB, 0 = 100 KB
inline constexpr std::uint32_t WM_NETBK_DATA = 0x1202;      // client: lParam = bytes since the last notice
inline constexpr std::uint32_t WM_NETBK_STATE = 0x1203;     // client: wParam 0 complete, 1 ended early
inline constexpr std::uint32_t WM_NETBK_STOP = 0x1204;      // client: lParam = cause; player: no longer follows

inline constexpr std::uint64_t NETBK_STOP_NETWORK = 0xF0000002;
inline constexpr std::uint64_t NETBK_STOP_FILE = 0xF0000003;

// Copy-data records: the lock name to a new player, a new path to a running one.
inline constexpr std::uint32_t kRecordNewPath = 1;
inline constexpr std::uint32_t kRecordLockName = 2;
inline constexpr std::size_t kRecordNewPathSize = 1024;
inline constexpr std::size_t kRecordLockNameSize = 32;

inline constexpr std::size_t kPlayerFrameHeaderSize = 20;
inline constexpr std::size_t kPlayerFrameMaxData = 4096;

// The environment variable that tells the player where the link listens.
inline constexpr const char* kPlayerLinkVariable = "QUENLO_PLAYER_LINK";

struct PlayerFrame {
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::uint64_t lParam = 0;
    std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> EncodePlayerFrame(const PlayerFrame& frame);

// Takes one whole frame off the front of `buffer`. Nothing while it is still
// incomplete; `bad` set when its length passes the limit (the link is then unusable).
std::optional<PlayerFrame> TakePlayerFrame(std::vector<std::uint8_t>& buffer, bool& bad);

// The text zero-filled to the record size; nothing when it does not fit (with its zero).
std::optional<std::vector<std::uint8_t>> ZeroFilledRecord(const std::string& text, std::size_t size);

}  // namespace recording
