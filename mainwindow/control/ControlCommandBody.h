#pragma once
// The binary body of an RS-485 command: a CtrlFile.ini template filled for the
// current control device. Byte 0 is the number n of command bytes, then the n
// bytes, then the repeat count and the repeat interval 50 (n + 3 bytes). A
// template whose first byte is %A, %7 or %3 has a shape of its own (see
// BuildCommandBody). The fill never reads past the template nor writes past
// the 64-byte area; a template it cannot fill within them is refused.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "session/devices/ControlFile.h"

namespace mainwindow {

inline constexpr std::size_t kCommandBodyArea = 64;
inline constexpr std::uint8_t kRepeatInterval = 50;

// What the placeholders stand for at the moment of sending.
struct CommandBodyContext {
    std::uint8_t masterAddress = 0;  // %D: the last master made current
    std::uint8_t busAddress = 0;     // %B: by the device family's rule (BusAddress)
    std::uint8_t rank = 0;           // %1: the user's rank (60, 40, 4 or 20)
    bool presetMode = false;         // %7 templates: the second variant
    std::uint8_t repeat = 1;
    std::array<std::uint8_t, kControlParamCount> params{};  // other codes: the record's parameters
};

// nullopt for an empty template and for one that cannot be filled within the
// template and the area (a count over 61, %A without a later 0x0A, %7 without
// its second %7, %3 without its end mark).
std::optional<std::vector<std::uint8_t>> BuildCommandBody(const ControlCommandTemplate& command,
                                                          const CommandBodyContext& context);

// %B: on a multi-channel DVR the last master's address, on another DVR the
// last slave's, on the other families the last master's.
std::uint8_t BusAddress(bool dvr, bool multiChannel, std::uint8_t lastMaster, std::uint8_t lastSlave);

}  // namespace mainwindow
