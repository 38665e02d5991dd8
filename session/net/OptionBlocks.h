#pragma once
// The device's system-configuration option blocks: fixed-size binary blocks,
// one per option, read with /GetSysCfg.cgi and written with /SetSysCfg.cgi.
// Option 17 "ALL" reads every block of the device's family in one reply.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>

#include "platform/Timing.h"

namespace session {

class AppData;

inline constexpr std::uint8_t kOptionInf = 0;
inline constexpr std::uint8_t kOptionDns = 3;
inline constexpr std::uint8_t kOptionPppoe = 6;
inline constexpr std::uint8_t kOptionOnline = 12;
inline constexpr std::uint8_t kOptionAll = 17;
inline constexpr std::uint8_t kOptionCount = 18;

struct SysCfgOptionInfo {
    std::string_view name;  // what goes on the wire
    std::size_t size;       // block bytes; ONLINE at most this; 0 for ALL
};
inline constexpr std::array<SysCfgOptionInfo, kOptionCount> kSysCfgOptions{{
    {"INF", 44},     {"IP", 24},       {"SECURE", 196}, {"DNS", 12},     {"SMTP", 440},
    {"FTP", 104},    {"PPPOE", 68},    {"SYSTEM", 36},  {"SNTP", 36},    {"IMG", 12},
    {"RS485", 124},  {"ALARM", 24},    {"ONLINE", 240}, {"DVRLIVE", 772}, {"DVROSD", 20},
    {"DVRREC", 132}, {"PERI", 16},     {"ALL", 0},
}};

// The blocks the application keeps (IMG and DVROSD are read past, not kept).
// PPPOE has two layouts: by_SysCfgOption6New for firmware at or above the
// family's gate, by_SysCfgOption6 for older firmware.
struct SysCfgBlocks {
    std::array<std::uint8_t, 44> by_SysCfgOption0{};
    std::array<std::uint8_t, 24> by_SysCfgOption1{};
    std::array<std::uint8_t, 196> by_SysCfgOption2{};
    std::array<std::uint8_t, 12> by_SysCfgOption3{};
    std::array<std::uint8_t, 440> by_SysCfgOption4{};
    std::array<std::uint8_t, 104> by_SysCfgOption5{};
    std::array<std::uint8_t, 68> by_SysCfgOption6{};
    std::array<std::uint8_t, 68> by_SysCfgOption6New{};
    std::array<std::uint8_t, 36> by_SysCfgOption7{};
    std::array<std::uint8_t, 36> by_SysCfgOption8{};
    std::array<std::uint8_t, 124> by_SysCfgOption10{};
    std::array<std::uint8_t, 24> by_SysCfgOption11{};
    std::array<std::uint8_t, 240> by_SysCfgOption12{};
    std::array<std::uint8_t, 772> by_SysCfgOption13{};
    std::array<std::uint8_t, 132> by_SysCfgOption15{};
    std::array<std::uint8_t, 16> by_SysCfgOption16{};
};

// The kept block of an option (PPPOE in the layout asked for); empty for the
// options that are not kept and for ALL.
std::span<std::uint8_t> SysCfgBlock(SysCfgBlocks& blocks, std::uint8_t option,
                                    bool newPppoeLayout = true);

// The two block orders of an "ALL" reply: video servers, N5H and G66M devices
// end with PERI; the DVR family with DVRLIVE, DVROSD and DVRREC.
enum class SysCfgOrder { Short, Long };
SysCfgOrder SysCfgOrderFor(std::string_view productId);
// The options of the fixed blocks, in reply order.
std::span<const std::uint8_t> SysCfgOrderOptions(SysCfgOrder order);
// Bytes of the fixed blocks; ONLINE follows them.
std::size_t SysCfgFixedLength(SysCfgOrder order);
// The lowest firmware with the new PPPOE layout: "1007" (short order), "1052" (long).
std::string_view PppoeVersionGate(SysCfgOrder order);
// True unless the firmware is older than the gate (a malformed version passes).
bool UsesNewPppoeLayout(SysCfgOrder order, std::string_view firmwareVersion);

// Splits an "ALL" reply into the blocks. A reply shorter than the fixed blocks
// is incomplete: false, and the blocks stay as they were. An ONLINE rest
// longer than its block leaves that block zero-filled.
bool SplitAllReply(std::span<const std::uint8_t> reply, SysCfgOrder order, bool newPppoeLayout,
                   SysCfgBlocks& blocks);

// Copies a single option's reply into its block and zero-fills what the
// reply did not cover. A reply longer than the block: false, nothing copied.
bool CopyOptionReply(std::span<const std::uint8_t> reply, std::span<std::uint8_t> block);

// ---- Transfers with the device (through SorelSendCommand) -----------------
// Both requests carry the session cookie when there is one.

// Reads option `option` into `destination` (at most `size` bytes; the part
// the reply does not cover is zero-filled). "ALL" ignores the destination and
// splits the reply into app.SysCfg in the device family's order. 1 on
// success; 0 when the exchange fails, the reply is longer than the block (or,
// for "ALL", shorter than the fixed blocks); nothing is changed then.
int QuerySystemConfig(AppData& app, const platform::Timing& timing, std::uint8_t option,
                      std::span<std::uint8_t> destination, std::uint32_t size,
                      std::stop_token stop = {});
// The same on g_lpApp with the usual time-outs.
int QuerySystemConfig(std::uint8_t option, std::span<std::uint8_t> destination, std::uint32_t size);

// Reads one option into its kept block in app.SysCfg (PPPOE in the layout of
// the device's firmware), or every block for "ALL".
int QuerySystemConfigBlock(AppData& app, const platform::Timing& timing, std::uint8_t option,
                           std::stop_token stop = {});
int QuerySystemConfigBlock(std::uint8_t option);

// Writes the first `size` bytes of `block` as option `option` (DNS also says
// whether the device refreshes). 1 when the device answered 200; 0 otherwise,
// and for a size outside the block, with nothing sent.
int StoreSystemConfig(AppData& app, const platform::Timing& timing, std::uint8_t option,
                      std::span<const std::uint8_t> block, std::int32_t size, bool refresh,
                      std::stop_token stop = {});
int StoreSystemConfig(std::uint8_t option, std::span<const std::uint8_t> block, std::int32_t size,
                      bool refresh);

// The request targets, without and with a cookie.
std::string SysCfgQueryRequest(std::uint8_t option, std::uint32_t size, std::string_view cookie);
std::string SysCfgStoreRequest(std::uint8_t option, bool refresh, std::string_view cookie);

}  // namespace session
