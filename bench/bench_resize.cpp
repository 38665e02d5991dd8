// Speed of the resize entry: the display's two calls (height doubling with linear
// interpolation, full-screen fitting with nearest) and each method on one size. With OpenCV
// installed, cv::resize on one thread runs the same calls for comparison.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "resize/ImageResize.h"

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

void RunEntry(benchmark::State& state, resize::ResizeSize from, resize::ResizeSize to, std::int32_t code) {
    const Picture source(from.width, from.height);
    Picture destination(to.width, to.height);
    const double scaleX = static_cast<double>(to.width) / from.width;
    const double scaleY = static_cast<double>(to.height) / from.height;
    for (auto _ : state) {
        const resize::ResizeStatus status = resize::ImageResize_8u_C3R(
            source.pixels.data(), from, 3 * from.width, {0, 0, from.width, from.height},
            destination.pixels.data(), 3 * to.width, to, scaleX, scaleY, code);
        if (status != resize::StatusOk) {
            state.SkipWithError("resize failed");
        }
        benchmark::DoNotOptimize(destination.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * to.width * to.height);
}

void BM_DisplayHeightDoublingLinear(benchmark::State& state) {
    RunEntry(state, {720, 288}, {720, 576}, resize::InterpLinear);
}
BENCHMARK(BM_DisplayHeightDoublingLinear);

void BM_DisplayFullScreenNearest(benchmark::State& state) {
    RunEntry(state, {704, 480}, {1920, 1080}, resize::InterpNearest);
}
BENCHMARK(BM_DisplayFullScreenNearest);

// Each method, enlarging and reducing (arg 0: 704x480 -> 1280x720, arg 1: 1280x720 -> 704x480).
void BM_Method(benchmark::State& state, std::int32_t code) {
    if (state.range(0) == 0) {
        RunEntry(state, {704, 480}, {1280, 720}, code);
    } else {
        RunEntry(state, {1280, 720}, {704, 480}, code);
    }
}
BENCHMARK_CAPTURE(BM_Method, Nearest, resize::InterpNearest)->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_Method, Linear, resize::InterpLinear)->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_Method, Cubic, resize::InterpCubic)->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_Method, Lanczos, resize::InterpLanczos)->Arg(0)->Arg(1);

// Super-sampling reduces only: arg 0 halves 1280x720 (whole steps, integer sums), arg 1 takes it
// to 704x480 (fractional steps, float sums).
void BM_SuperSample(benchmark::State& state) {
    RunEntry(state, {1280, 720}, state.range(0) == 0 ? resize::ResizeSize{640, 360} : resize::ResizeSize{704, 480},
             resize::InterpSuperSample);
}
BENCHMARK(BM_SuperSample)->Arg(0)->Arg(1);

#ifdef QUENLO_HAVE_OPENCV
void RunOpenCv(benchmark::State& state, cv::Size from, cv::Size to, int interpolation) {
    cv::setNumThreads(1);
    const Picture source(from.width, from.height);
    const cv::Mat in(from, CV_8UC3, const_cast<std::uint8_t*>(source.pixels.data()));
    cv::Mat out(to, CV_8UC3);
    for (auto _ : state) {
        cv::resize(in, out, to, 0, 0, interpolation);
        benchmark::DoNotOptimize(out.data);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * to.width * to.height);
}

void BM_OpenCvDisplayHeightDoublingLinear(benchmark::State& state) {
    RunOpenCv(state, {720, 288}, {720, 576}, cv::INTER_LINEAR);
}
BENCHMARK(BM_OpenCvDisplayHeightDoublingLinear);

void BM_OpenCvDisplayFullScreenNearest(benchmark::State& state) {
    RunOpenCv(state, {704, 480}, {1920, 1080}, cv::INTER_NEAREST);
}
BENCHMARK(BM_OpenCvDisplayFullScreenNearest);

void BM_OpenCvSuperSample(benchmark::State& state) {
    RunOpenCv(state, {1280, 720}, state.range(0) == 0 ? cv::Size{640, 360} : cv::Size{704, 480}, cv::INTER_AREA);
}
BENCHMARK(BM_OpenCvSuperSample)->Arg(0)->Arg(1);
#endif

}  // namespace

BENCHMARK_MAIN();
