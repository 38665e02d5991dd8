// Framing cost of the live stream: 1,400-byte receives of 30 kB pictures
// through the framer into one slot, as the receive thread does it.
#include <benchmark/benchmark.h>

#include <vector>

#include "session/live/StreamFramer.h"
#include "simulator/FrameEncoder.h"

static void BM_FrameStream(benchmark::State& state) {
    const std::size_t pictureBytes = static_cast<std::size_t>(state.range(0));
    std::vector<std::uint8_t> picture(pictureBytes, 0x55);
    picture[0] = 0xFF, picture[1] = 0xD8, picture[2] = 0xFF, picture[3] = 0xDB;
    picture[pictureBytes - 2] = 0xFF, picture[pictureBytes - 1] = 0xD9;
    devicesim::FrameHeaderValues fields;
    fields.length = static_cast<std::uint32_t>(pictureBytes);
    fields.streamTime = 1;
    fields.motion = 0;
    std::vector<std::uint8_t> frame = devicesim::EncodeFrameHeader(fields, session::HeaderLayout::New);
    frame.insert(frame.end(), picture.begin(), picture.end());

    session::StreamFramer framer({session::HeaderLayout::New, false});
    std::vector<std::uint8_t> slot(102400);
    session::ImageSlotInfo info;
    framer.StartFrame(slot, &info);
    std::size_t frames = 0;
    for (auto _ : state) {
        for (std::size_t pos = 0; pos < frame.size();) {
            pos += framer.Feed({frame.data() + pos, std::min(session::StreamFramer::kChunkBytes, frame.size() - pos)});
            if (framer.Process() == session::StreamFramer::Result::FrameReady) {
                ++frames;
                framer.StartFrame(slot, &info);
            }
        }
    }
    benchmark::DoNotOptimize(frames);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * frame.size()));
}
BENCHMARK(BM_FrameStream)->Arg(30000)->Arg(100000);

BENCHMARK_MAIN();
