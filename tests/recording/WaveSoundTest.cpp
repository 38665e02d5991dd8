// The alarm sound's loading and the filling of its playback buffers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording/sound/WaveSound.h"

namespace recording {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Chunk(Bytes& b, const std::string& id, const Bytes& body, std::uint32_t size) {
    b.insert(b.end(), id.begin(), id.end());
    Put(b, size, 4);
    b.insert(b.end(), body.begin(), body.end());
}
Bytes Format(std::size_t size) {
    Bytes f;
    Put(f, 1, 2), Put(f, 1, 2), Put(f, 8000, 4), Put(f, 8000, 4), Put(f, 1, 2), Put(f, 8, 2);
    f.resize(size, 0);
    return f;
}
Bytes Samples(std::size_t n) {
    Bytes s(n);
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<std::uint8_t>(i * 13 + 1);
    return s;
}
Bytes Riff() { return {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}; }

TEST(WaveSoundTest, ChunksAreFoundByTheirIds) {
    struct Case {
        std::string what;
        Bytes file;
        std::size_t dataBytes;  // 0: not loaded
    };
    auto with = [](std::size_t fmtSize, bool listFirst, const std::string& dataId, std::uint32_t declared,
                   std::size_t present) {
        Bytes b = Riff();
        if (listFirst)
            Chunk(b, "LIST", Bytes(10, 'x'), 10);
        Chunk(b, "fmt ", Format(fmtSize), static_cast<std::uint32_t>(fmtSize));
        Chunk(b, dataId, Samples(present), declared);
        return b;
    };
    Bytes noData = Riff();
    Chunk(noData, "fmt ", Format(16), 16);
    const Case cases[] = {
        {"fmt 16", with(16, false, "data", 100, 100), 100},
        {"fmt 18", with(18, false, "data", 100, 100), 100},
        {"fmt 40", with(40, false, "data", 100, 100), 100},
        {"LIST first", with(16, true, "data", 100, 100), 100},
        {"DATA in capitals", with(16, false, "DATA", 100, 100), 100},
        {"data past the end", with(16, false, "data", 5000, 300), 300},
        {"empty data", with(16, false, "data", 0, 0), 0},
        {"no data", noData, 0},
        {"short file", Bytes{'R', 'I', 'F'}, 0},
    };
    for (const auto& c : cases) {
        const auto sound = ParseWave(c.file);
        EXPECT_EQ(sound ? sound->data.size() : 0u, c.dataBytes) << c.what;
        if (sound) {
            EXPECT_EQ(sound->format.samplesPerSecond, 8000u) << c.what;
        }
    }
}

TEST(WaveSoundTest, AShortSoundRepeatsInsideABufferAndGoesOnInTheNext) {
    const WaveSound sound{{}, Samples(3000)};
    std::size_t position = 0;
    Bytes out;
    for (int buffer = 0; buffer < 3; ++buffer) {
        Bytes b(kWaveBufferBytes);
        FillBuffer(sound, position, b);
        if (buffer == 0) {
            EXPECT_EQ(position, 2000u);  // two whole repetitions and two thirds of one
        }
        out.insert(out.end(), b.begin(), b.end());
    }
    for (std::size_t i = 0; i < out.size(); ++i)
        ASSERT_EQ(out[i], sound.data[i % 3000]) << i;
}

TEST(WaveSoundTest, ASoundOfWholeBuffersWrapsOnlyAtBufferEnds) {
    const WaveSound sound{{}, Samples(2 * kWaveBufferBytes)};
    std::size_t position = 0;
    Bytes b(kWaveBufferBytes);
    FillBuffer(sound, position, b);
    EXPECT_EQ(position, kWaveBufferBytes);
    FillBuffer(sound, position, b);
    EXPECT_EQ(position, 2 * kWaveBufferBytes);
    FillBuffer(sound, position, b);
    EXPECT_EQ(position, kWaveBufferBytes);
    EXPECT_EQ(Bytes(b.begin(), b.end()), Bytes(sound.data.begin(), sound.data.begin() + kWaveBufferBytes));
}

}  // namespace
}  // namespace recording
