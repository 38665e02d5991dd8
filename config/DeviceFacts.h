#pragma once
// What the configuration sheet needs to know about the logged-in device: its
// product, firmware, capability word and multi-channel flag. Block layouts,
// page sets and field gates are decided from these alone.

#include <cstdint>
#include <string>

namespace session {
class AppData;
}

namespace config {

struct DeviceFacts {
    std::string productId;
    std::string firmware;  // four characters; any other length passes every gate
    std::uint32_t capability = 0;
    std::uint8_t multiChannel = 0;

    static DeviceFacts From(const session::AppData& app);

    bool IsDvr() const;
    bool IsVideoServer() const;
    bool IsG66M() const;
    bool IsN5H() const;
    // Video servers, N5H and G66M devices: the short "ALL" order and the "1003"/"1007" gates.
    bool IsShortOrderFamily() const;
    // Firmware at least the reference (a malformed version passes).
    bool FirmwareAtLeast(const char* reference) const;
    bool HasCapability(std::uint32_t mask) const { return (capability & mask) != 0; }

    // Block 6 in its new layout (user at 4, 32 bytes) rather than the old one.
    bool UsesNewPppoeLayout() const;
    // The mail sender's characters 16-42 live in block 7 (short families from
    // "1003") or in block 8's time-server field (DVR from "1027").
    bool SenderContinuesInSystemBlock() const;
    bool SenderContinuesInSntpBlock() const;
    // Video servers from "1010" keep two channel names in block 10.
    bool HasChannelNames() const;
    // The DVR's camera channels as the channel bar counts them: 16, 8, 4 for
    // "R41T", "R42T", "R43T"; 0 for any other product.
    int ChannelCount() const;
};

}  // namespace config
