// Per-frame cost of the live path (framing, header parse, decode into the
// picture buffer) beside a bare TurboJPEG decode of the same frames.
// Goal: the live path costs no more than 1.3 times the bare decode.
#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <cstdint>
#include <vector>

#include "fakes/TestPictures.h"
#include "platform/JpegCodec.h"
#include "session/AppData.h"
#include "session/live/DecodeThreads.h"
#include "session/live/StreamFramer.h"
#include "simulator/FrameEncoder.h"
#include "simulator/VideoStream.h"

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 576;
constexpr int kFrames = 25;  // one second of a PAL stream

struct RecordedStream {
    std::vector<std::vector<std::uint8_t>> jpegs;
    std::vector<std::uint8_t> bytes;  // header + picture per frame, as the device sends them

    RecordedStream() {
        platform::JpegCodec codec;
        for (int i = 0; i < kFrames; ++i) {
            std::vector<std::uint8_t> jpeg;
            const auto pixels = testpictures::ScenePicture(kWidth, kHeight, i);
            codec.Encode(pixels.data(), kWidth, kHeight, jpeg);
            jpegs.push_back(devicesim::DevicePicture(jpeg));
            devicesim::FrameHeaderValues fields;
            fields.length = static_cast<std::uint32_t>(jpegs.back().size());
            fields.streamTime = 1000u + i;
            fields.dateTime = devicesim::PackDeviceDateTime(2024, 5, 6, 7, 8, i % 60);
            fields.text = "CAM1";
            const auto header = devicesim::EncodeFrameHeader(fields, session::HeaderLayout::New);
            bytes.insert(bytes.end(), header.begin(), header.end());
            bytes.insert(bytes.end(), jpegs.back().begin(), jpegs.back().end());
        }
    }
};

const RecordedStream& Stream() {
    static const RecordedStream stream;
    return stream;
}

void BM_BareTurboJpegDecode(benchmark::State& state) {
    const auto& stream = Stream();
    std::vector<std::uint8_t> picture(session::kPictureBufferSize);
    tjhandle tj = tjInitDecompress();
    for (auto _ : state) {
        for (const auto& jpeg : stream.jpegs) {
            const int rc = tjDecompress2(tj, jpeg.data(), jpeg.size(), picture.data(), kWidth, kWidth * 3,
                                         kHeight, TJPF_BGR, TJFLAG_BOTTOMUP);
            benchmark::DoNotOptimize(rc);
        }
    }
    tjDestroy(tj);
    state.SetItemsProcessed(state.iterations() * kFrames);
    state.counters["frame_us"] = benchmark::Counter(static_cast<double>(state.iterations() * kFrames),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                    benchmark::Counter::kIs1000);
}
BENCHMARK(BM_BareTurboJpegDecode)->Unit(benchmark::kMillisecond);

void BM_FrameParseAndDecode(benchmark::State& state) {
    const auto& stream = Stream();
    std::vector<std::uint8_t> slot(session::kSocketSlotSize);
    std::vector<std::uint8_t> picture(session::kPictureBufferSize);
    platform::JpegCodec codec;
    std::int64_t decoded = 0;
    for (auto _ : state) {
        session::StreamFramer framer({session::HeaderLayout::New});
        session::ImageSlotInfo info;
        framer.StartFrame(slot, &info);
        std::size_t offset = 0;
        while (offset < stream.bytes.size()) {
            // Receives of at most one chunk, as from the socket.
            const auto area = framer.ReceiveArea();
            const std::size_t n = std::min(area.size(), stream.bytes.size() - offset);
            std::copy_n(stream.bytes.begin() + offset, n, area.begin());
            framer.Commit(n);
            offset += n;
            while (framer.Process() == session::StreamFramer::Result::FrameReady) {
                std::uint16_t width = 0, height = 0;
                decoded += session::DecodeJpegFrame(codec, std::span(slot).first(info.dwLength), picture, width,
                                                    height);
                framer.StartFrame(slot, &info);
            }
        }
    }
    if (decoded != state.iterations() * kFrames)
        state.SkipWithError("frames were lost on the way");
    state.SetItemsProcessed(state.iterations() * kFrames);
    state.counters["frame_us"] = benchmark::Counter(static_cast<double>(state.iterations() * kFrames),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                    benchmark::Counter::kIs1000);
}
BENCHMARK(BM_FrameParseAndDecode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
