// A stand-in for the companion player, for the player link's tests. It lives
// in a test's folder as "ravelle" and does what "ravelle.conf" beside it says:
//   hello=normal|hang|exit|other   say hello, never, end first, or name another process
//   ack=<KB>|none                  the acknowledgement's block size, or none
//   ackFrom=main|second            acknowledge on its own connection or a second one
//   stopAfter=<n>                  say it stops following after n data notices
//   exitAfterState=1               end after the end notice
// It logs what it got to "ravelle.log" and appends what it read under the
// backup lock to "ravelle.read".

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>

#include "recording/player/PlayerMessages.h"

namespace fs = std::filesystem;
using namespace recording;

namespace {

fs::path g_folder;
std::map<std::string, std::string> g_conf;

void Log(const std::string& line) {
    std::ofstream(g_folder / "ravelle.log", std::ios::app) << line << '\n';
}

int Connect(const char* address) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, address, sizeof(addr.sun_path) - 1);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0)
        std::exit(3);
    return fd;
}

void Send(int fd, const PlayerFrame& frame) {
    const auto bytes = EncodePlayerFrame(frame);
    (void)!::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

std::string Conf(const std::string& key, const std::string& fallback) {
    const auto it = g_conf.find(key);
    return it == g_conf.end() ? fallback : it->second;
}

// Reads up to `count` bytes (all when count is 0) at `offset` while holding the backup lock.
std::uint64_t ReadUnderLock(const fs::path& lockFile, const std::string& file, std::uint64_t offset,
                            std::uint64_t count) {
    const int lockFd = ::open(lockFile.c_str(), O_RDWR | O_CLOEXEC);
    if (lockFd < 0 || ::flock(lockFd, LOCK_EX) != 0) {
        Log("lock-failed");
        return 0;
    }
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::string bytes;
    if (count != 0) {
        bytes.resize(count);
        in.read(bytes.data(), static_cast<std::streamsize>(count));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    } else {
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    ::flock(lockFd, LOCK_UN);
    ::close(lockFd);
    std::ofstream(g_folder / "ravelle.read", std::ios::app | std::ios::binary) << bytes;
    return bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    g_folder = fs::canonical("/proc/self/exe").parent_path();
    std::ifstream conf(g_folder / "ravelle.conf");
    for (std::string line; std::getline(conf, line);)
        if (const auto eq = line.find('='); eq != std::string::npos)
            g_conf[line.substr(0, eq)] = line.substr(eq + 1);

    std::string args = "args:" + std::to_string(argc - 1);
    for (int i = 1; i < argc; ++i)
        args += std::string(i == 1 ? ":" : "|") + argv[i];
    Log(args);
    const char* address = std::getenv(kPlayerLinkVariable);
    if (!address)
        return 2;
    const std::string hello = Conf("hello", "normal");
    if (hello == "exit")
        return 0;
    if (hello == "hang") {
        std::this_thread::sleep_for(std::chrono::seconds(5));
        return 0;
    }
    const int fd = Connect(address);
    Send(fd, {kPlayerHello, 0, static_cast<std::uint64_t>(hello == "other" ? ::getpid() + 100000 : ::getpid()), {}});

    std::string file = argc > 1 ? argv[1] : "";
    fs::path lockFile;
    std::uint64_t offset = 0;
    int dataNotices = 0;
    const int stopAfter = std::stoi(Conf("stopAfter", "-1"));
    std::vector<std::uint8_t> input;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 30000) <= 0)
            return 4;
        std::uint8_t chunk[4096];
        const ssize_t got = ::recv(fd, chunk, sizeof(chunk), 0);
        if (got <= 0) {
            Log("hangup");
            return 0;
        }
        input.insert(input.end(), chunk, chunk + got);
        bool bad = false;
        while (auto frame = TakePlayerFrame(input, bad)) {
            switch (frame->message) {
                case kPlayerCopyData: {
                    const std::string text(reinterpret_cast<const char*>(frame->data.data()),
                                           strnlen(reinterpret_cast<const char*>(frame->data.data()), frame->data.size()));
                    Log("record:" + std::to_string(frame->wParam) + ":" + text + ":" + std::to_string(frame->data.size()));
                    if (frame->wParam == kRecordLockName)
                        lockFile = fs::path(address).parent_path() / text;
                    else
                        file = text;
                    offset = 0;
                    Send(fd, {kPlayerCopyData, frame->wParam, 0, {}});
                    break;
                }
                case WM_NETBK_ATTACH: {
                    Log("attach:" + std::to_string(frame->lParam));
                    const std::string ack = Conf("ack", "0");
                    if (ack == "none")
                        break;
                    const bool second = Conf("ackFrom", "main") == "second";
                    const int ackFd = second ? Connect(address) : fd;
                    Send(ackFd, {WM_NETBK_ACK, static_cast<std::uint32_t>(std::stoul(ack)), 0, {}});
                    if (second) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(100));
                        ::close(ackFd);
                    }
                    break;
                }
                case WM_NETBK_DATA:
                    Log("data:" + std::to_string(frame->lParam));
                    offset += ReadUnderLock(lockFile, file, offset, frame->lParam);
                    if (++dataNotices == stopAfter)
                        Send(fd, {WM_NETBK_STOP, 0, 0, {}});
                    break;
                case WM_NETBK_STATE:
                    Log("state:" + std::to_string(frame->wParam));
                    offset += ReadUnderLock(lockFile, file, offset, 0);
                    Log("read:" + std::to_string(offset));
                    if (Conf("exitAfterState", "0") == "1")
                        return 0;
                    break;
                case WM_NETBK_STOP:
                    Log("stop:" + std::to_string(frame->lParam));
                    break;
                default:
                    Log("unknown:" + std::to_string(frame->message));
            }
        }
        if (bad)
            return 5;
    }
}
