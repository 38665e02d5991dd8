// The live picture end to end: the client (offscreen) logged in to the device
// simulator on 127.0.0.1, streaming 25 frames a second.
//
// BM_FrameToPixelLatency: from the simulator having sent a frame to the main
// window having painted it (goal: median under 10 ms, p99 under 40 ms).
// BM_ResidentMemoryWhileStreaming: the process's resident memory over a few
// minutes of streaming (goal: under 80 MB and flat). These two stream 704 ×
// 240 grey pictures from a simulator in the same process; its share is small.
//
// BM_ClientCpuPerShownFrame: the whole process's CPU time for each picture the
// window painted, beside a bare TurboJPEG decode of the same pictures in the
// same run (goal: the client costs at most 2 times the bare decode). Camera-like
// pictures of a video server's PAL fields (704 × 288, shown doubled to 704 ×
// 576) and of a G66M camera's full frames (720 × 576, shown as they are). The
// simulator runs in a child process (this program started with
// --serve-stream=CASE), so the CPU counted is the client's alone.
//
// BM_DisplayPixels: the display stage alone (the decoded picture into the
// window's layout) for the same two cases and each instruction set's code, in
// ms per picture and as a ratio to a memcpy of the same output bytes.
//
// QUENLO_BENCH_LATENCY_SECONDS, QUENLO_BENCH_MEMORY_SECONDS and
// QUENLO_BENCH_CPU_SECONDS change the run lengths (defaults 20, 180 and 10).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "fakes/TestPictures.h"
#include "platform/JpegCodec.h"
#include "session/AppData.h"
#include "session/live/DisplayPixels.h"
#include "session/live/FrameDisplay.h"
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

// The account a run logs in with.
struct DeviceLogin {
    std::uint16_t port = 0;
    std::string userName;
    std::string password;
};

// A simulator in this process streaming the grey pictures.
struct InProcessDevice {
    devicesim::DeviceSimulator device{devicesim::DeviceProfile::ForProduct("R47T")};
    devicesim::VideoStream stream{device};

    InProcessDevice() {
        stream.SetPictures(GreyPictures());
        stream.SetFrameRate(25);
    }
    ~InProcessDevice() { device.Stop(); }

    // Port 0 when the simulator cannot listen.
    DeviceLogin Start() {
        if (!device.Start())
            return {};
        return {device.Port(), device.Profile().userName, device.Profile().password};
    }
};

// One run of the program against a simulator; `during` runs inside the main
// window's loop while the stream flows.
class StreamingRun {
public:
    StreamingRun() {
        folder_ = std::filesystem::temp_directory_path() / ("quenlo-bench-display-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / "CtrlFile.ini") << "[DEVICE NUMBER]\n0\n[EOF]\nEND\n";
        ::setenv("QUENLO_HOME", folder_.c_str(), 1);
    }
    ~StreamingRun() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    bool Run(const DeviceLogin& device, const std::function<void(session::CTavrinDlg&)>& during) {
        if (device.port == 0)
            return false;
        session::TavrinAppOptions options;
        options.startupUi = &quiet_;
        options.runLoginDialog = [&device](session::AppData& app) {
            app.CSettingINI.m_strServerName.Set("127.0.0.1");
            app.CSettingINI.m_wWebPort.store(device.port);
            app.CSettingINI.m_strUserName.Set(device.userName);
            app.CSettingINI.m_strPassword.Set(device.password);
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
    session::UiPort quiet_;
};

void BM_FrameToPixelLatency(benchmark::State& state) {
    const int seconds = SecondsFromEnvironment("QUENLO_BENCH_LATENCY_SECONDS", 20);
    for (auto _ : state) {
        InProcessDevice simulator;
        const DeviceLogin login = simulator.Start();
        StreamingRun run;
        std::mutex mutex;
        std::map<std::size_t, Clock::time_point> sentAt;  // frame number (from 1) -> sent
        std::atomic<bool> watching{true};
        std::thread watcher([&] {
            for (std::size_t frame = 1; watching; ++frame) {
                while (watching && !simulator.stream.WaitForFrames(frame, devicesim::Millis(200))) {
                }
                std::lock_guard lock(mutex);
                sentAt[frame] = Clock::now();
            }
        });
        std::vector<double> latencies;
        const bool ran = run.Run(login, [&](session::CTavrinDlg& window) {
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
        state.counters["frames_sent"] = static_cast<double>(simulator.stream.FramesSent());
    }
}
BENCHMARK(BM_FrameToPixelLatency)->Iterations(1)->Unit(benchmark::kSecond);

void BM_ResidentMemoryWhileStreaming(benchmark::State& state) {
    const int seconds = SecondsFromEnvironment("QUENLO_BENCH_MEMORY_SECONDS", 180);
    for (auto _ : state) {
        InProcessDevice simulator;
        const DeviceLogin login = simulator.Start();
        StreamingRun run;
        std::vector<long> samples;  // kB, once a second
        const bool ran = run.Run(login, [&](session::CTavrinDlg&) {
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
        state.counters["frames_sent"] = static_cast<double>(simulator.stream.FramesSent());
    }
}
BENCHMARK(BM_ResidentMemoryWhileStreaming)->Iterations(1)->Unit(benchmark::kSecond);

// ---- CPU per shown frame

struct StreamCase {
    const char* name;
    const char* product;
    int videoMode;
    int width;
    int height;
};

constexpr StreamCase kStreamCases[] = {
    {"704x288 doubled", "R47T", 1, 704, 288},
    {"720x576", "G66M", 1, 720, 576},
};
constexpr int kScenePictureCount = 25;  // one second of the stream, all different

devicesim::DeviceProfile ProfileOf(const StreamCase& c) {
    auto profile = devicesim::DeviceProfile::ForProduct(c.product);
    profile.videoMode = c.videoMode;
    return profile;
}

// The pictures as the simulator sends them (and so as the client decodes them).
std::vector<devicesim::Bytes> ScenePictures(const StreamCase& c) {
    std::vector<devicesim::Bytes> jpegs;
    platform::JpegCodec codec;
    for (int i = 0; i < kScenePictureCount; ++i) {
        const auto pixels = testpictures::ScenePicture(c.width, c.height, i);
        devicesim::Bytes jpeg;
        codec.Encode(pixels.data(), c.width, c.height, jpeg);
        jpegs.push_back(devicesim::DevicePicture(jpeg));
    }
    return jpegs;
}

// The child's side: streams the case's pictures, prints its port, and ends
// when its input closes.
int ServeStream(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kStreamCases)))
        return 2;
    const StreamCase& c = kStreamCases[index];
    devicesim::DeviceSimulator device(ProfileOf(c));
    devicesim::VideoStream stream(device);
    stream.SetPictures(ScenePictures(c));
    stream.SetFrameRate(25);
    if (!device.Start())
        return 1;
    std::printf("%u\n", static_cast<unsigned>(device.Port()));
    std::fflush(stdout);
    char byte;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    device.Stop();
    return 0;
}

// This program as the simulator of one case, in a process of its own.
class SimulatorProcess {
public:
    explicit SimulatorProcess(int index) {
        int toChild[2], fromChild[2];
        if (::pipe2(toChild, O_CLOEXEC) != 0)
            return;
        if (::pipe2(fromChild, O_CLOEXEC) != 0) {
            ::close(toChild[0]);
            ::close(toChild[1]);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
        std::string option = "--serve-stream=" + std::to_string(index);
        char name[] = "bench_display";
        char* argv[] = {name, option.data(), nullptr};
        const bool spawned = ::posix_spawn(&pid_, "/proc/self/exe", &actions, nullptr, argv, environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        ::close(toChild[0]);
        ::close(fromChild[1]);
        toChild_ = toChild[1];
        if (!spawned) {
            pid_ = 0;
            ::close(fromChild[0]);
            return;
        }
        if (FILE* in = ::fdopen(fromChild[0], "r")) {
            unsigned port = 0;
            if (std::fscanf(in, "%u", &port) == 1)
                port_ = static_cast<std::uint16_t>(port);
            std::fclose(in);
        } else {
            ::close(fromChild[0]);
        }
    }
    ~SimulatorProcess() {
        if (toChild_ >= 0)
            ::close(toChild_);  // the child's cue to end
        if (pid_ > 0) {
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    std::uint16_t Port() const { return port_; }

private:
    pid_t pid_ = 0;
    int toChild_ = -1;
    std::uint16_t port_ = 0;
};

double ProcessCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU seconds per picture of a bare TurboJPEG decode (blue-green-red, rows
// bottom-up: the client's picture layout), over at least half a second.
double BareDecodeSecondsPerPicture(const std::vector<devicesim::Bytes>& jpegs, const StreamCase& c) {
    std::vector<std::uint8_t> picture(platform::BgrPictureBytes(c.width, c.height));
    tjhandle tj = tjInitDecompress();
    long pictures = 0;
    const double start = ProcessCpuSeconds();
    double spent = 0;
    do {
        for (const auto& jpeg : jpegs) {
            const int rc = tjDecompress2(tj, jpeg.data(), jpeg.size(), picture.data(), c.width, c.width * 3,
                                         c.height, TJPF_BGR, TJFLAG_BOTTOMUP);
            benchmark::DoNotOptimize(rc);
            ++pictures;
        }
        spent = ProcessCpuSeconds() - start;
    } while (spent < 0.5);
    tjDestroy(tj);
    return spent / static_cast<double>(pictures);
}

void BM_ClientCpuPerShownFrame(benchmark::State& state) {
    const StreamCase& c = kStreamCases[state.range(0)];
    state.SetLabel(c.name);
    const int seconds = SecondsFromEnvironment("QUENLO_BENCH_CPU_SECONDS", 10);
    for (auto _ : state) {
        SimulatorProcess simulator(static_cast<int>(state.range(0)));
        const auto profile = ProfileOf(c);
        StreamingRun run;
        double cpu = 0;
        std::uint64_t shown = 0;     // pictures the window painted
        std::uint32_t handedOn = 0;  // pictures the show thread handed to the display
        const bool ran = run.Run({simulator.Port(), profile.userName, profile.password}, [&](session::CTavrinDlg& window) {
            std::uint64_t painted = 0;
            QObject::connect(&window, &session::CTavrinDlg::pictureShown, &window, [&] { ++painted; });
            QElapsedTimer waited;
            waited.start();
            while (painted == 0 && waited.elapsed() < 10000)
                Pause(10);
            if (painted == 0)
                return;
            Pause(2000);  // the stream's and the window's start-up
            const std::uint64_t paintedBefore = painted;
            const std::uint32_t handedBefore = session::g_lpApp->dw_FramesShown.load();
            const double cpuBefore = ProcessCpuSeconds();
            Pause(seconds * 1000);
            cpu = ProcessCpuSeconds() - cpuBefore;
            shown = painted - paintedBefore;
            handedOn = session::g_lpApp->dw_FramesShown.load() - handedBefore;
        });
        if (!ran || shown < 10) {
            state.SkipWithError("no live pictures from the simulator");
            return;
        }
        const double bare = BareDecodeSecondsPerPicture(ScenePictures(c), c);
        const double client = cpu / static_cast<double>(shown);
        state.counters["bare_decode_ms"] = bare * 1e3;
        state.counters["client_ms_per_frame"] = client * 1e3;
        state.counters["ratio"] = client / bare;
        state.counters["client_cpu_percent"] = cpu * 100 / seconds;
        state.counters["pictures_shown"] = static_cast<double>(shown);
        state.counters["pictures_handed_on"] = static_cast<double>(handedOn);
    }
}
BENCHMARK(BM_ClientCpuPerShownFrame)->DenseRange(0, 1)->Iterations(1)->Unit(benchmark::kSecond);

// ---- The display stage alone

// Seconds per call of f, over at least a quarter of a second of wall time.
template <class F>
double SecondsPerCall(F&& f) {
    long calls = 0;
    const auto start = Clock::now();
    std::chrono::duration<double> spent{};
    do {
        for (int i = 0; i < 16; ++i)
            f();
        calls += 16;
        spent = Clock::now() - start;
    } while (spent.count() < 0.25);
    return spent.count() / static_cast<double>(calls);
}

// The decoded picture into the window's layout, as DisplayFrame does it for
// each stream case (the field doubling, or the plain conversion), in each code
// the machine runs (DisplayFrame takes the best). Beside it a memcpy of the
// same output bytes in the same run, the floor of any copy.
void BM_DisplayPixels(benchmark::State& state) {
    const StreamCase& c = kStreamCases[state.range(0)];
    const auto code = static_cast<session::PixelCode>(state.range(1));
    constexpr const char* kCodeNames[] = {"scalar", "SSSE3", "AVX2"};
    state.SetLabel(std::string(c.name) + ", " + kCodeNames[state.range(1)] +
                   (code == session::BestPixelCode() ? " (in use)" : ""));
    if (!session::MachineRuns(code)) {
        state.SkipWithError("the machine lacks the instructions");
        return;
    }
    const bool doubled = session::IsFieldPicture(c.width, c.product);
    const int shownHeight = doubled ? 2 * c.height : c.height;
    const std::size_t stride = static_cast<std::size_t>(c.width) * session::kDisplayPixelBytes;
    const auto source = testpictures::ScenePicture(c.width, c.height, 0);
    std::vector<std::uint8_t> shown(stride * shownHeight);
    std::vector<std::uint8_t> copyFrom(shown.size(), 0x5A);
    session::BlendedRowTable rows;  // the field doubling's
    if (doubled && !rows.Make(c.width, c.height, shownHeight)) {
        state.SkipWithError("the doubling refuses the picture");
        return;
    }
    const auto draw = [&] {
        if (doubled)
            session::BlendedToDisplayPixels(code, source.data(), c.width, rows, shown.data(), stride);
        else
            session::ToDisplayPixels(code, source.data(), static_cast<std::size_t>(c.width) * 3, c.width, c.height,
                                     shown.data(), stride);
        benchmark::ClobberMemory();
    };
    const auto copy = [&] {
        std::memcpy(shown.data(), copyFrom.data(), shown.size());
        benchmark::ClobberMemory();
    };
    const auto start = Clock::now();
    for (auto _ : state)
        draw();
    const double drawSeconds =
        std::chrono::duration<double>(Clock::now() - start).count() / static_cast<double>(state.iterations());
    const double copySeconds = SecondsPerCall(copy);
    state.counters["ms_per_picture"] = drawSeconds * 1e3;
    state.counters["memcpy_ms"] = copySeconds * 1e3;
    state.counters["ratio_to_memcpy"] = drawSeconds / copySeconds;
}
BENCHMARK(BM_DisplayPixels)->ArgsProduct({{0, 1}, {2, 1, 0}})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    constexpr std::string_view kServe = "--serve-stream=";
    if (argc == 2 && std::string_view(argv[1]).starts_with(kServe))
        return ServeStream(std::atoi(argv[1] + kServe.size()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
