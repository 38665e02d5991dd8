#pragma once
// The alarm sound as loaded from a PCM WAV file, and the filling of one
// playback buffer from it, wrapping to its start so that a short sound
// repeats inside a buffer.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace recording {

inline constexpr std::size_t kWaveBufferBytes = 8000;
inline constexpr std::size_t kWaveBufferCount = 8;
// A sound file larger than this is not loaded.
inline constexpr std::uintmax_t kWaveFileMaxBytes = 64u * 1024 * 1024;

struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t averageBytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
};

struct WaveSound {
    WaveFormat format;
    std::vector<std::uint8_t> data;  // never empty
};

// Walks the chunks by id within the file's size: "fmt " gives the format,
// "data" (in any letter case) the samples; a data chunk running past the end
// keeps what is there. Nothing without a format or with no or empty data.
std::optional<WaveSound> ParseWave(std::span<const std::uint8_t> bytes);
std::optional<WaveSound> LoadWave(const std::filesystem::path& path);

// Fills the buffer from the sound at position, wrapping at the sound's end;
// position ends after the last byte copied.
void FillBuffer(const WaveSound& sound, std::size_t& position, std::span<std::uint8_t> buffer);

}  // namespace recording
