#pragma once
// The "/PTZReset.cgi" reply: the PTZ devices linked to the recorder's
// channels, "SLAVENUM=n;" then per device "SID=address;", "STYPE=type;" and
// "SPROTOCOL=protocol;", each item searched onward from where the previous
// one ended. An item missing from the reply keeps the previous device's
// value (0 before any was read). The reader never looks past the text.

#include <cstdint>
#include <string_view>
#include <vector>

namespace mainwindow {

inline constexpr std::size_t kPtzResetReplyMax = 1024;

struct LinkedPtz {
    std::uint8_t address = 0;
    // 1 is stored as 11 (PTZ slave), 11 with protocol 1 as 18 (Pelco), an
    // unknown type as 0 (no panel).
    std::uint8_t type = 0;
    friend bool operator==(const LinkedPtz&, const LinkedPtz&) = default;
};

// The devices in reply order; none without "SLAVENUM".
std::vector<LinkedPtz> ParsePtzResetReply(std::string_view reply);

}  // namespace mainwindow
