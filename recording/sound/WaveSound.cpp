#include "recording/sound/WaveSound.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/AtomicFile.h"
#include "platform/ByteOrder.h"

namespace recording {

namespace {

constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kFormatBytes = 16;

bool IdIs(const std::uint8_t* id, const char* name, bool anyCase) {
    for (int i = 0; i < 4; ++i) {
        const auto a = static_cast<unsigned char>(id[i]);
        const auto b = static_cast<unsigned char>(name[i]);
        if (anyCase ? std::tolower(a) != std::tolower(b) : a != b)
            return false;
    }
    return true;
}

}  // namespace

std::optional<WaveSound> ParseWave(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kRiffHeaderBytes)
        return std::nullopt;
    std::optional<WaveFormat> format;
    std::size_t at = kRiffHeaderBytes;
    while (bytes.size() - at >= kChunkHeaderBytes) {
        const std::uint8_t* id = bytes.data() + at;
        const std::size_t size = platform::LoadLe32(id + 4);
        const std::size_t body = at + kChunkHeaderBytes;
        const std::size_t available = std::min(size, bytes.size() - body);
        if (IdIs(id, "fmt ", false) && available >= kFormatBytes) {
            const std::uint8_t* f = bytes.data() + body;
            format = WaveFormat{platform::LoadLe16(f),      platform::LoadLe16(f + 2), platform::LoadLe32(f + 4),
                                platform::LoadLe32(f + 8),  platform::LoadLe16(f + 12), platform::LoadLe16(f + 14)};
        } else if (IdIs(id, "data", true)) {
            if (!format || available == 0)
                return std::nullopt;
            WaveSound sound{*format, {bytes.begin() + body, bytes.begin() + body + available}};
            return sound;
        }
        if (size > bytes.size() - body)
            break;
        at = body + size + (size & 1);  // chunks are padded to an even size
        if (at > bytes.size())
            break;
    }
    return std::nullopt;
}

std::optional<WaveSound> LoadWave(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    std::string content;
    if (ec || size > kWaveFileMaxBytes || !platform::ReadWholeFile(path, content))
        return std::nullopt;
    return ParseWave({reinterpret_cast<const std::uint8_t*>(content.data()), content.size()});
}

void FillBuffer(const WaveSound& sound, std::size_t& position, std::span<std::uint8_t> buffer) {
    if (sound.data.empty())
        return;
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        if (position >= sound.data.size())
            position = 0;
        const std::size_t n = std::min(buffer.size() - filled, sound.data.size() - position);
        std::memcpy(buffer.data() + filled, sound.data.data() + position, n);
        filled += n;
        position += n;
    }
}

}  // namespace recording
