#include "recording/player/PlayerMessages.h"

#include "platform/ByteOrder.h"

namespace recording {

std::vector<std::uint8_t> EncodePlayerFrame(const PlayerFrame& frame) {
    std::vector<std::uint8_t> bytes(kPlayerFrameHeaderSize + frame.data.size());
    platform::StoreLe32(bytes.data(), frame.message);
    platform::StoreLe32(bytes.data() + 4, frame.wParam);
    platform::StoreLe32(bytes.data() + 8, static_cast<std::uint32_t>(frame.lParam));
    platform::StoreLe32(bytes.data() + 12, static_cast<std::uint32_t>(frame.lParam >> 32));
    platform::StoreLe32(bytes.data() + 16, static_cast<std::uint32_t>(frame.data.size()));
    std::copy(frame.data.begin(), frame.data.end(), bytes.begin() + kPlayerFrameHeaderSize);
    return bytes;
}

std::optional<PlayerFrame> TakePlayerFrame(std::vector<std::uint8_t>& buffer, bool& bad) {
    bad = false;
    if (buffer.size() < kPlayerFrameHeaderSize)
        return std::nullopt;
    const std::uint32_t length = platform::LoadLe32(buffer.data() + 16);
    if (length > kPlayerFrameMaxData) {
        bad = true;
        return std::nullopt;
    }
    if (buffer.size() < kPlayerFrameHeaderSize + length)
        return std::nullopt;
    PlayerFrame frame;
    frame.message = platform::LoadLe32(buffer.data());
    frame.wParam = platform::LoadLe32(buffer.data() + 4);
    frame.lParam = platform::LoadLe32(buffer.data() + 8) |
                   static_cast<std::uint64_t>(platform::LoadLe32(buffer.data() + 12)) << 32;
    frame.data.assign(buffer.begin() + kPlayerFrameHeaderSize, buffer.begin() + kPlayerFrameHeaderSize + length);
    buffer.erase(buffer.begin(), buffer.begin() + kPlayerFrameHeaderSize + length);
    return frame;
}

std::optional<std::vector<std::uint8_t>> ZeroFilledRecord(const std::string& text, std::size_t size) {
    if (text.size() >= size)
        return std::nullopt;
    std::vector<std::uint8_t> record(size, 0);
    std::copy(text.begin(), text.end(), record.begin());
    return record;
}

}  // namespace recording
