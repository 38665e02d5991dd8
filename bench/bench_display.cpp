// The live picture end to end: the client (offscreen) logged in to the device
// simulator on 127.0.0.1, streaming 704 × 240 field pictures at 25 frames a
// second.
//
// BM_FrameToPixelLatency: from the simulator having sent a frame to the main
// window having painted it (goal: median under 10 ms, p99 under 40 ms).
// BM_ResidentMemoryWhileStreaming: the process's resident memory over a few
// minutes of streaming (goal: under 80 MB and flat). The simulator runs in the
// same process; its share is small.
//
// QUENLO_BENCH_LATENCY_SECONDS and QUENLO_BENCH_MEMORY_SECONDS change the run
// lengths (defaults 20 and 180).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/JpegCodec.h"
#include "session/AppData.h"
#include "session/login/LoginExchange.h"
#include "app/TavrinApp.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/VideoStream.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPictureCount = 8;
constexpr int kWidth = 704;
constexpr int kHeight = 240;

int SecondsFromEnvironment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    const int value = text ? std::atoi(text) : 0;
    return value > 0 ? value : fallback;
}

// Grey level of picture i: far enough apart to tell them apart after JPEG.
int GreyOf(int index) { return 20 + index * 30; }

std::vector<devicesim::Bytes> GreyPictures() {
    std::vector<devicesim::Bytes> jpegs;
    platform::JpegCodec codec;
    for (int i = 0; i < kPictureCount; ++i) {
        std::vector<std::uint8_t> pixels(platform::BgrPictureBytes(kWidth, kHeight),
                                         static_cast<std::uint8_t>(GreyOf(i)));
        std::vector<std::uint8_t> jpeg;
        codec.Encode(pixels.data(), kWidth, kHeight, jpeg);
        jpegs.push_back(std::move(jpeg));
    }
    return jpegs;
}

int PictureIndexOf(int grey) {
    int best = 0;
    for (int i = 1; i < kPictureCount; ++i)
        if (std::abs(GreyOf(i) - grey) < std::abs(GreyOf(best) - grey))
            best = i;
    return best;
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

void Pause(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// One run of the program against a simulator; `during` runs inside the main
// window's loop while the stream flows.
class StreamingRun {
public:
    StreamingRun() {
        folder_ = std::filesystem::temp_directory_path() / ("quenlo-bench-display-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / "CtrlFile.ini") << "[DEVICE NUMBER]\n0\n[EOF]\nEND\n";
        ::setenv("QUENLO_HOME", folder_.c_str(), 1);
        stream_.SetPictures(GreyPictures());
        stream_.SetFrameRate(25);
    }
    ~StreamingRun() {
        device_.Stop();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    devicesim::VideoStream& Stream() { return stream_; }

    bool Run(const std::function<void(session::CTavrinDlg&)>& during) {
        if (!device_.Start())
            return false;
        session::TavrinAppOptions options;
        options.startupUi = &quiet_;
        options.runLoginDialog = [this](session::AppData& app) {
            app.CSettingINI.m_strServerName.Set("127.0.0.1");
            app.CSettingINI.m_wWebPort.store(device_.Port());
            app.CSettingINI.m_strUserName.Set(device_.Profile().userName);
            app.CSettingINI.m_strPassword.Set(device_.Profile().password);
            return session::RunLoginRequest(app, {}) == session::kLoginLoggedIn ? 1 : 2;
        };
        bool ran = false;
        options.mainWindowCreated = [&](session::CTavrinDlg& window) {
            QTimer::singleShot(0, &window, [&] {
                during(window);
                ran = true;
                window.DestroyWindow();
            });
        };
        session::CTavrinApp app(options);
        app.Run();
        return ran;
    }

private:
    std::filesystem::path folder_;
    devicesim::DeviceSimulator device_{devicesim::DeviceProfile::ForProduct("R47T")};
    devicesim::VideoStream stream_{device_};
    session::UiPort quiet_;
};

void BM_FrameToPixelLatency(benchmark::State& state) {
    const int seconds = SecondsFromEnvironment("QUENLO_BENCH_LATENCY_SECONDS", 20);
    for (auto _ : state) {
        StreamingRun run;
        std::mutex mutex;
        std::map<std::size_t, Clock::time_point> sentAt;  // frame number (from 1) -> sent
        std::atomic<bool> watching{true};
        std::thread watcher([&] {
            for (std::size_t frame = 1; watching; ++frame) {
                while (watching && !run.Stream().WaitForFrames(frame, devicesim::Millis(200))) {
                }
                std::lock_guard lock(mutex);
                sentAt[frame] = Clock::now();
            }
        });
        std::vector<double> latencies;
        const bool ran = run.Run([&](session::CTavrinDlg& window) {
            QObject::connect(&window, &session::CTavrinDlg::pictureShown, &window, [&](quint64) {
                const auto shown = Clock::now();
                const QImage& image = window.VideoImage();
                if (image.isNull())
                    return;
                const int index = PictureIndexOf(qRed(image.pixel(image.width() / 2, image.height() / 2)));
                std::lock_guard lock(mutex);
                // The newest frame sent that carried this picture.
                for (auto it = sentAt.rbegin(); it != sentAt.rend(); ++it) {
                    if (static_cast<int>((it->first - 1) % kPictureCount) == index) {
                        latencies.push_back(std::chrono::duration<double, std::milli>(shown - it->second).count());
                        break;
                    }
                }
            });
            Pause(seconds * 1000);
        });
        watching = false;
        watcher.join();
        if (!ran || latencies.size() < 10) {
            state.SkipWithError("no live pictures from the simulator");
            return;
        }
        std::sort(latencies.begin(), latencies.end());
        // The first pictures include the stream's start-up; leave them out.
        latencies.erase(latencies.begin(), latencies.begin() + static_cast<long>(latencies.size() / 50));
        state.counters["median_ms"] = latencies[latencies.size() / 2];
        state.counters["p99_ms"] = latencies[latencies.size() * 99 / 100];
        state.counters["max_ms"] = latencies.back();
        state.counters["pictures_shown"] = static_cast<double>(latencies.size());
        state.counters["frames_sent"] = static_cast<double>(run.Stream().FramesSent());
    }
}
BENCHMARK(BM_FrameToPixelLatency)->Iterations(1)->Unit(benchmark::kSecond);

void BM_ResidentMemoryWhileStreaming(benchmark::State& state) {
    const int seconds = SecondsFromEnvironment("QUENLO_BENCH_MEMORY_SECONDS", 180);
    for (auto _ : state) {
        StreamingRun run;
        std::vector<long> samples;  // kB, once a second
        const bool ran = run.Run([&](session::CTavrinDlg&) {
            for (int s = 0; s < seconds; ++s) {
                Pause(1000);
                samples.push_back(ResidentKilobytes());
            }
        });
        if (!ran || samples.size() < 4) {
            state.SkipWithError("the run did not stream");
            return;
        }
        // Flat: the last quarter's mean against the second quarter's.
        const auto mean = [&](std::size_t from, std::size_t to) {
            double sum = 0;
            for (std::size_t i = from; i < to; ++i)
                sum += static_cast<double>(samples[i]);
            return sum / static_cast<double>(to - from);
        };
        const std::size_t q = samples.size() / 4;
        state.counters["rss_max_mb"] = static_cast<double>(*std::max_element(samples.begin(), samples.end())) / 1024;
        state.counters["rss_early_mb"] = mean(q, 2 * q) / 1024;
        state.counters["rss_late_mb"] = mean(3 * q, samples.size()) / 1024;
        state.counters["frames_sent"] = static_cast<double>(run.Stream().FramesSent());
    }
}
BENCHMARK(BM_ResidentMemoryWhileStreaming)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
