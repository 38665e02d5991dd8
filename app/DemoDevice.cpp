#include "app/DemoDevice.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <vector>

namespace quenlo {

namespace {

// How long the simulator may take to say which port it listens on.
constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr std::string_view kListeningOn = "listening on 127.0.0.1:";

}  // namespace

bool DemoDevice::Start(const std::filesystem::path& program) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        error_ = "no pipe for the simulator's output";
        return false;
    }
    // Quiet: after its port line it prints nothing more into the pipe.
    std::vector<std::string> args{program.string(), "--demo", "--quiet", "--user", kUser, "--password", kPassword};
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        // The simulator ends with the client, however the client ends.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(1);
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    if (pid_ < 0) {
        pid_ = -1;
        ::close(pipeEnds[0]);
        error_ = "cannot start " + program.string();
        return false;
    }

    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (port_ == 0 && std::chrono::steady_clock::now() < deadline) {
        pollfd readable{pipeEnds[0], POLLIN, 0};
        if (::poll(&readable, 1, 100) <= 0)
            continue;
        char buffer[256];
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;  // the simulator ended (a missing program ends with 127)
        output.append(buffer, static_cast<std::size_t>(got));
        const auto at = output.find(kListeningOn);
        const auto end = at == std::string::npos ? at : output.find('\n', at);
        if (end != std::string::npos)
            port_ = static_cast<std::uint16_t>(std::atoi(output.c_str() + at + kListeningOn.size()));
    }
    // The read end stays open while the simulator runs: a late line of its
    // must not meet a closed pipe.
    output_ = pipeEnds[0];
    if (port_ == 0) {
        error_ = "the simulator did not say its port";
        Stop();
        return false;
    }
    return true;
}

void DemoDevice::Stop() {
    if (output_ >= 0) {
        ::close(output_);
        output_ = -1;
    }
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

}  // namespace quenlo
