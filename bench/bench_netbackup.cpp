// The network backup download: 500 MB from the simulated DVR on loopback into
// a temporary folder, in 2,048- and 65,536-byte blocks, with and without the
// backup lock, against a plain loopback read of the same bytes.
//
// Goals: 64 KB blocks within a factor 2 of the plain read; 2 KB blocks at
// least 50 MB/s. Each run checks the file's size (the run fails otherwise).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "platform/FileLock.h"
#include "recording/netbackup/DownloadFileThread.h"
#include "session/net/BlockingSocket.h"
#include "session/net/CommandSender.h"
#include "simulator/DeviceSimulator.h"
#include "simulator/NetworkBackup.h"

namespace {

namespace fs = std::filesystem;
constexpr std::int32_t kSizeMb = 500;
constexpr std::uint64_t kBytes = std::uint64_t{kSizeMb} << 20;

struct NoStatus : recording::BackupStatusPort {
    void PostBackupStatus(unsigned, std::uint32_t) override {}
};

struct Device {
    Device(std::size_t block) {
        simulator.Start();
        simulator.Update([](devicesim::DeviceState& s) { s.sessions["5A17C0DE"] = {}; });
        devicesim::BackupScript script;
        script.blockSizes = {block};
        backup.SetScript(script);
    }
    devicesim::DeviceSimulator simulator;
    devicesim::NetworkBackupService backup{simulator};
};

recording::NetworkBackupRequest Request(const fs::path& file) {
    recording::NetworkBackupRequest r;
    r.sizeMb = kSizeMb;
    r.filePath = file.string();
    return r;
}

void BM_Download(benchmark::State& state) {
    const std::size_t block = static_cast<std::size_t>(state.range(0));
    const bool locked = state.range(1) != 0;
    Device device(block);
    const fs::path folder = fs::temp_directory_path() / ("quenlo-bench-netbackup-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    session::AppData app;
    app.CSettingINI.m_strServerName = "127.0.0.1";
    app.CSettingINI.m_wWebPort = device.simulator.Port();
    app.SessionCookie = "5A17C0DE";
    if (locked)
        app.h_NetworkBackupMutex.Set(platform::FileLock::Create(folder / "NETWORKBK_1"));
    NoStatus status;
    const fs::path file = folder / "CH01_0001.dvr";
    for (auto _ : state) {
        recording::DownloadFileThread thread(app, Request(file), status, nullptr, platform::Timing{});
        thread.Create();
        thread.Begin();
        while (thread.Running())
            ::usleep(1000);
        thread.Join();
        if (!thread.Finished() || fs::file_size(file) != kBytes)
            state.SkipWithError("incomplete backup");
        fs::remove(file);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
    fs::remove_all(folder);
}

// The same reply read and dropped (what the loopback and the simulator give),
// or, with the second argument, written as it comes to one open file (what
// the file system adds).
void BM_PlainRead(benchmark::State& state) {
    Device device(static_cast<std::size_t>(state.range(0)));
    const fs::path file = fs::temp_directory_path() / ("quenlo-bench-plain-" + std::to_string(::getpid()));
    for (auto _ : state) {
        const int fd = state.range(1) ? ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
        session::CBlockingSocket socket;
        socket.Create();
        socket.Connect(session::SocketAddress("127.0.0.1", device.simulator.Port()), std::chrono::seconds(5));
        const std::string request = session::FormatRequestHeader(
            recording::NetworkBackupTarget("5A17C0DE", Request("x")), std::nullopt, "127.0.0.1");
        socket.SendAll(request.data(), static_cast<int>(request.size()), std::chrono::seconds(5));
        std::vector<char> area(65536);
        std::uint64_t got = 0;
        const std::uint64_t expected = kBytes + 8 * (kBytes / static_cast<std::uint64_t>(state.range(0)) + 1);
        while (got < expected) {
            const int n = socket.Receive(area.data(), static_cast<int>(area.size()), std::chrono::seconds(5));
            if (n <= 0)
                break;
            if (fd >= 0 && ::write(fd, area.data(), static_cast<std::size_t>(n)) != n)
                state.SkipWithError("write failed");
            got += static_cast<std::uint64_t>(n);
        }
        if (got != expected)
            state.SkipWithError("short read");
        socket.CloseQuietly();
        if (fd >= 0)
            ::close(fd);
        fs::remove(file);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}

}  // namespace

BENCHMARK(BM_Download)->ArgsProduct({{2048, 65536}, {0, 1}})->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainRead)->ArgsProduct({{2048, 65536}, {0, 1}})->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
