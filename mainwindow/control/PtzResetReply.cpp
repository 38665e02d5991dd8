#include "mainwindow/control/PtzResetReply.h"

#include <algorithm>

#include "session/devices/ControlDeviceList.h"

namespace mainwindow {

namespace {

// The value after "key=" up to the next ";" (or the end), searched from
// `pos`; `pos` moves past the item. False, and nothing moved, without the key.
bool ReadItem(std::string_view reply, std::string_view key, std::size_t& pos, unsigned& value) {
    const std::size_t at = reply.find(key, pos);
    if (at == std::string_view::npos)
        return false;
    std::size_t p = at + key.size();
    if (p < reply.size() && reply[p] == '=')
        ++p;
    const std::size_t end = std::min(reply.find(';', p), reply.size());
    unsigned number = 0;
    for (std::size_t i = p; i < end && reply[i] >= '0' && reply[i] <= '9'; ++i)
        number = (number * 10 + static_cast<unsigned>(reply[i] - '0')) & 0xFFFF;
    value = number;
    pos = end;
    return true;
}

}  // namespace

std::vector<LinkedPtz> ParsePtzResetReply(std::string_view reply) {
    std::vector<LinkedPtz> devices;
    std::size_t pos = 0;
    unsigned count = 0;
    if (!ReadItem(reply, "SLAVENUM", pos, count))
        return devices;
    unsigned address = 0, type = 0, protocol = 0;
    for (unsigned i = 0; i < (count & 0xFF); ++i) {
        ReadItem(reply, "SID", pos, address);
        ReadItem(reply, "STYPE", pos, type);
        ReadItem(reply, "SPROTOCOL", pos, protocol);
        std::uint8_t stored = static_cast<std::uint8_t>(type);
        if (stored == 1)
            stored = kTypePtzSlave;
        if (stored == kTypePtzSlave && (protocol & 0xFF) == 1)
            stored = kTypePtzPelco;
        if (stored >= kLinkedDeviceTypeCount)
            stored = kTypeCamera;  // a type this program does not know: no panel
        devices.push_back({static_cast<std::uint8_t>(address), stored});
    }
    return devices;
}

}  // namespace mainwindow
