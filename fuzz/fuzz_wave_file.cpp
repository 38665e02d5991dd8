// A sound file as read from disk: any bytes give nothing or a sound whose
// samples lie inside the file, and filling a playback buffer from it repeats
// those samples from wherever the last fill stopped.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "recording/sound/WaveSound.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto sound = recording::ParseWave(std::span(data, size));
    if (!sound)
        return 0;
    const std::vector<std::uint8_t>& samples = sound->data;
    if (samples.empty() || samples.size() > size)
        std::abort();
    std::vector<std::uint8_t> buffer(size % 97 + 1);
    std::size_t position = size % samples.size();
    for (int fill = 0; fill < 3; ++fill) {
        const std::size_t start = position;
        recording::FillBuffer(*sound, position, buffer);
        for (std::size_t i = 0; i < buffer.size(); ++i)
            if (buffer[i] != samples[(start + i) % samples.size()])
                std::abort();
        if (position > samples.size() || position % samples.size() != (start + buffer.size()) % samples.size())
            std::abort();
        position %= samples.size();
    }
    return 0;
}
