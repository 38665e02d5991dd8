// The recorders' hand-over: 100 KB frames pushed into the history with the
// alarm and the manual recorder both writing to a temporary folder, as the
// compose thread pushes them.
//
// BM_RecordAt25Fps: one push every 40 ms; hand-over p99 (goal under 40 ms).
// BM_RecordFlatOut: pushes back to back; the sustained rate (goal far above 25 fps).
// Both check that every pushed frame is in the files (the run fails otherwise).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/ByteOrder.h"
#include "recording/Recorders.h"
#include "session/AppData.h"
#include "session/live/DecodeThreads.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kFrameBytes = 100 * 1024;

// Frames counted in a closed recording's header.
std::uint32_t FramesIn(const std::filesystem::path& folder, const char* prefix) {
    std::uint32_t frames = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        if (!e.path().filename().string().starts_with(prefix))
            continue;
        std::string bytes;
        if (platform::ReadWholeFile(e.path(), bytes) && bytes.size() >= 52)
            frames += platform::LoadLe32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 48);
    }
    return frames;
}

void RunRecording(benchmark::State& state, Clock::duration interval) {
    const auto folder = std::filesystem::temp_directory_path() / ("quenlo-bench-rec-" + std::to_string(::getpid()));
    std::vector<double> handOverMs;
    std::uint32_t pushed = 0;
    double seconds = 0;
    bool allRecorded = true;
    for (auto _ : state) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        session::AppData app;
        app.FrameHistory.Allocate();
        app.CSettingINI.m_strServerName.Set("127.0.0.1");
        app.SessionCookie.Set("bench");
        app.w_ImageWidth = 704;
        app.w_ImageHeight = 480;
        std::uint32_t runPushed = 0;
        {
            recording::Recorders recorders(app, folder);
            for (auto* r : {&app.CAlarmRecord(), &app.CUserRecord(), &app.CSchRecord()})
                r->CreateResource();
            app.CAlarmRecord().CreateThread(0);
            app.CUserRecord().CreateThread(0);
            app.CAlarmRecord().StartRecord(folder.string(), 0);
            app.CUserRecord().StartRecord(folder.string(), 0);
            while (!app.CAlarmRecord().IsWriting() || !app.CUserRecord().IsWriting())
                std::this_thread::yield();

            std::vector<std::uint8_t> frame(kFrameBytes, 0x5A);
            const auto start = Clock::now();
            auto next = start;
            const int frames = static_cast<int>(state.range(0));
            for (int n = 1; n <= frames; ++n) {
                std::this_thread::sleep_until(next);
                next += interval;
                frame[0] = static_cast<std::uint8_t>(n);
                const auto t0 = Clock::now();
                session::PushFrameHistory(app, frame, static_cast<std::uint32_t>(n), 0, {});
                handOverMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
                ++runPushed;
            }
            // The last frame is written before the stops are served.
            while (recorders.AlarmRecorder().FrameNumber() != runPushed ||
                   recorders.UserRecorder().FrameNumber() != runPushed)
                std::this_thread::yield();
            seconds += std::chrono::duration<double>(Clock::now() - start).count();
            app.CAlarmRecord().StopRecord();
            app.CUserRecord().StopRecord();
        }
        pushed += runPushed;
        allRecorded = allRecorded && FramesIn(folder, "ALARM_MJPEG_") == runPushed &&
                      FramesIn(folder, "USER_MJPEG_") == runPushed;
    }
    std::filesystem::remove_all(folder);
    if (!allRecorded)
        state.SkipWithError("a pushed frame is missing from the files");
    std::sort(handOverMs.begin(), handOverMs.end());
    state.counters["handover_p50_ms"] = handOverMs[handOverMs.size() / 2];
    state.counters["handover_p99_ms"] = handOverMs[handOverMs.size() * 99 / 100];
    state.counters["fps"] = pushed / seconds;
}

void BM_RecordAt25Fps(benchmark::State& state) { RunRecording(state, std::chrono::milliseconds(40)); }
void BM_RecordFlatOut(benchmark::State& state) { RunRecording(state, Clock::duration::zero()); }

BENCHMARK(BM_RecordAt25Fps)->Arg(250)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RecordFlatOut)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
