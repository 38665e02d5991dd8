// Speed of the resize entry in every build of the engine: the display's two calls (height
// doubling with linear interpolation, full-screen fitting with nearest), cubic height doubling,
// and each method enlarging and reducing a 720x576 picture. With OpenCV installed, cv::resize on one thread runs
// the same calls for comparison. Names: build/call, e.g. "sse/DisplayHeightDoublingLinear".
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "resize/ImageResize.h"
#include "resize/ResizeBuilds.h"

#ifdef QUENLO_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

struct Picture {
    std::int32_t width;
    std::int32_t height;
    std::vector<std::uint8_t> pixels;

    Picture(std::int32_t w, std::int32_t h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 3) {
        std::mt19937 random(1);
        for (auto& p : pixels) {
            p = static_cast<std::uint8_t>(random());
        }
    }
};

struct BenchCall {
    const char* name;
    resize::ResizeSize from;
    resize::ResizeSize to;
    std::int32_t code;
};

// A 720x576 picture enlarged to 1440x1152 and reduced to 352x288 by every method (super-sampling
// reduces only: exactly 2:1, whole steps and integer sums, and to 352x288, fractional steps and
// float sums), beside the display's own calls.
constexpr BenchCall Calls[] = {
    {"DisplayHeightDoublingLinear", {720, 288}, {720, 576}, resize::InterpLinear},
    {"DisplayFullScreenNearest", {704, 480}, {1920, 1080}, resize::InterpNearest},
    {"HeightDoublingCubic", {720, 288}, {720, 576}, resize::InterpCubic},
    {"NearestEnlarge", {720, 576}, {1440, 1152}, resize::InterpNearest},
    {"NearestReduce", {720, 576}, {352, 288}, resize::InterpNearest},
    {"LinearEnlarge", {720, 576}, {1440, 1152}, resize::InterpLinear},
    {"LinearReduce", {720, 576}, {352, 288}, resize::InterpLinear},
    {"CubicEnlarge", {720, 576}, {1440, 1152}, resize::InterpCubic},
    {"CubicReduce", {720, 576}, {352, 288}, resize::InterpCubic},
    {"LanczosEnlarge", {720, 576}, {1440, 1152}, resize::InterpLanczos},
    {"LanczosReduce", {720, 576}, {352, 288}, resize::InterpLanczos},
    {"SuperSampleHalf", {720, 576}, {360, 288}, resize::InterpSuperSample},
    {"SuperSampleFractional", {720, 576}, {352, 288}, resize::InterpSuperSample},
};

void RunBuild(benchmark::State& state, resize::ResizeRoutine entry, const BenchCall& call) {
    const Picture source(call.from.width, call.from.height);
    Picture destination(call.to.width, call.to.height);
    const double scaleX = static_cast<double>(call.to.width) / call.from.width;
    const double scaleY = static_cast<double>(call.to.height) / call.from.height;
    for (auto _ : state) {
        const resize::ResizeStatus status =
            entry(source.pixels.data(), call.from, 3 * call.from.width,
                  {0, 0, call.from.width, call.from.height}, destination.pixels.data(),
                  3 * call.to.width, call.to, scaleX, scaleY, call.code);
        if (status != resize::StatusOk) {
            state.SkipWithError("resize failed");
        }
        benchmark::DoNotOptimize(destination.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * call.to.width * call.to.height);
}

#ifdef QUENLO_HAVE_OPENCV
int OpenCvInterpolation(std::int32_t code) {
    switch (code) {
    case resize::InterpNearest:
        return cv::INTER_NEAREST;
    case resize::InterpLinear:
        return cv::INTER_LINEAR;
    case resize::InterpCubic:
        return cv::INTER_CUBIC;
    case resize::InterpLanczos:
        return cv::INTER_LANCZOS4;
    default:
        return cv::INTER_AREA;
    }
}

void RunOpenCv(benchmark::State& state, const BenchCall& call) {
    cv::setNumThreads(1);
    const Picture source(call.from.width, call.from.height);
    const cv::Mat in(cv::Size(call.from.width, call.from.height), CV_8UC3,
                     const_cast<std::uint8_t*>(source.pixels.data()));
    const cv::Size to(call.to.width, call.to.height);
    cv::Mat out(to, CV_8UC3);
    for (auto _ : state) {
        cv::resize(in, out, to, 0, 0, OpenCvInterpolation(call.code));
        benchmark::DoNotOptimize(out.data);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * call.to.width * call.to.height);
}
#endif

void RegisterAll() {
    for (const BenchCall& call : Calls) {
        for (const resize::ResizeBuild& build : resize::ResizeBuilds()) {
            benchmark::RegisterBenchmark((std::string(build.name) + "/" + call.name).c_str(),
                                         [entry = build.entry, &call](benchmark::State& state) {
                                             RunBuild(state, entry, call);
                                         });
        }
#ifdef QUENLO_HAVE_OPENCV
        benchmark::RegisterBenchmark((std::string("opencv/") + call.name).c_str(),
                                     [&call](benchmark::State& state) { RunOpenCv(state, call); });
#endif
    }
}

}  // namespace

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
