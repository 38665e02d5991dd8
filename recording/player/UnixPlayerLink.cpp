#include "recording/player/UnixPlayerLink.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "session/tools/CompanionPlayer.h"

namespace recording {

namespace {

constexpr std::size_t kMaxConnections = 16;
// How often a send that cannot go on looks at its time limit.
constexpr int kPollSliceMs = 50;

std::atomic<unsigned> g_linkCounter{0};

}  // namespace

struct UnixPlayerLink::Connection {
    explicit Connection(int f) : fd(f) {}
    ~Connection() { ::close(fd); }
    const int fd;
    pid_t hello = 0;                     // under the link's mutex
    std::vector<std::uint32_t> answered;  // under the link's mutex
    std::vector<std::uint8_t> input;      // the link's thread only
    std::mutex writeMutex;
};

std::filesystem::path UnixPlayerLink::DefaultFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return runtime;
    return std::filesystem::temp_directory_path();
}

UnixPlayerLink::UnixPlayerLink(platform::Millis answerWait, std::filesystem::path folder)
    : answerWait_(answerWait), folder_(std::move(folder)) {
    address_ = folder_ / ("quenlo-player-" + std::to_string(::getpid()) + "-" +
                          std::to_string(g_linkCounter.fetch_add(1)) + ".sock");
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string path = address_.string();
    if (path.size() >= sizeof(addr.sun_path))
        return;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return;
    }
    listenFd_ = fd;
    if (!stopWake_.Valid() || !thread_.Start([this](std::stop_token stop) { Run(stop); })) {
        ::close(listenFd_);
        listenFd_ = -1;
        ::unlink(path.c_str());
    }
}

UnixPlayerLink::~UnixPlayerLink() {
    thread_.Stop();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(address_.c_str());
    }
}

void UnixPlayerLink::Run(std::stop_token stop) {
    // The thread sleeps until a player calls or writes, or the stop request
    // rings the stop descriptor; a forgotten connection wakes it by its hang-up.
    const std::stop_callback ring(stop, [this] { stopWake_.Ring(); });
    while (!stop.stop_requested()) {
        std::vector<std::pair<PlayerConnection, std::shared_ptr<Connection>>> open;
        {
            std::lock_guard lock(mutex_);
            open.assign(connections_.begin(), connections_.end());
        }
        std::vector<pollfd> fds{{listenFd_, POLLIN, 0}, {stopWake_.Fd(), POLLIN, 0}};
        for (auto& [id, c] : open)
            fds.push_back({c->fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd >= 0) {
                std::lock_guard lock(mutex_);
                if (connections_.size() < kMaxConnections)
                    connections_.emplace(nextId_++, std::make_shared<Connection>(fd));
                else
                    ::close(fd);
            }
        }
        for (std::size_t i = 0; i < open.size(); ++i)
            if (fds[i + 2].revents)
                Read(open[i].first, open[i].second);
    }
}

void UnixPlayerLink::Read(PlayerConnection id, const std::shared_ptr<Connection>& connection) {
    std::uint8_t chunk[4096];
    const ssize_t got = ::recv(connection->fd, chunk, sizeof(chunk), 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (got <= 0) {
        Close(id, connection);
        return;
    }
    connection->input.insert(connection->input.end(), chunk, chunk + got);
    for (;;) {
        bool bad = false;
        auto frame = TakePlayerFrame(connection->input, bad);
        if (bad) {
            Close(id, connection);
            return;
        }
        if (!frame)
            return;
        NoticeHandler handler;
        {
            std::lock_guard lock(mutex_);
            if (frame->message == kPlayerHello) {
                connection->hello = static_cast<pid_t>(frame->lParam);
                helloConnection_ = id;
                helloPid_ = connection->hello;
            } else if (frame->message == kPlayerCopyData) {
                connection->answered.push_back(frame->wParam);
            } else {
                handler = handler_;
            }
        }
        changed_.notify_all();
        if (handler)
            handler(id, *frame);
    }
}

void UnixPlayerLink::Close(PlayerConnection id, const std::shared_ptr<Connection>& connection) {
    {
        std::lock_guard lock(mutex_);
        if (connections_.erase(id) && connection->hello == 0)
            ++silentHangUps_;
    }
    ::shutdown(connection->fd, SHUT_RDWR);
    changed_.notify_all();
}

std::shared_ptr<UnixPlayerLink::Connection> UnixPlayerLink::Find(PlayerConnection id) {
    std::lock_guard lock(mutex_);
    const auto it = connections_.find(id);
    return it == connections_.end() ? nullptr : it->second;
}

pid_t UnixPlayerLink::StartPlayer(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    if (!Listening())
        return 0;
    {
        std::lock_guard lock(mutex_);
        silentHangUps_ = 0;
        helloConnection_ = 0;
        helloPid_ = 0;
    }
    return session::SpawnProgram(program, arguments, {std::string(kPlayerLinkVariable) + "=" + address_.string()});
}

PlayerHello UnixPlayerLink::WaitForHello(pid_t pid, platform::Millis timeout, std::stop_token stop) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (helloConnection_ != 0)
            return {helloPid_ == pid ? PlayerHello::Kind::Hello : PlayerHello::Kind::OtherProcess, helloConnection_};
        if (silentHangUps_ != 0)
            return {PlayerHello::Kind::Gone, 0};
        lock.unlock();
        const bool running = session::ProgramRunning(pid);
        lock.lock();
        // A hello may have come in just before the process ended.
        if (!running && helloConnection_ == 0)
            return {PlayerHello::Kind::Gone, 0};
        if (stop.stop_requested())
            return {PlayerHello::Kind::Stopped, 0};
        if (std::chrono::steady_clock::now() >= end)
            return {PlayerHello::Kind::Timeout, 0};
        changed_.wait_for(lock, std::chrono::milliseconds(20));
    }
}

bool UnixPlayerLink::IsAlive(PlayerConnection connection, pid_t pid) {
    return connection != 0 && Find(connection) != nullptr && session::ProgramRunning(pid);
}

bool UnixPlayerLink::Send(Connection& connection, const PlayerFrame& frame) {
    const auto bytes = EncodePlayerFrame(frame);
    const auto end = std::chrono::steady_clock::now() + answerWait_;
    std::lock_guard lock(connection.writeMutex);
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(connection.fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd p{connection.fd, POLLOUT, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), kPollSliceMs))) < 0)
            return false;
    }
    return true;
}

bool UnixPlayerLink::SendRecord(PlayerConnection id, std::uint32_t record, std::span<const std::uint8_t> data) {
    const auto connection = Find(id);
    if (!connection)
        return false;
    {
        std::lock_guard lock(mutex_);
        std::erase(connection->answered, record);
    }
    if (!Send(*connection, {kPlayerCopyData, record, 0, {data.begin(), data.end()}}))
        return false;
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, answerWait_, [&] {
        return std::ranges::find(connection->answered, record) != connection->answered.end() ||
               !connections_.contains(id);
    }) && connections_.contains(id);
}

bool UnixPlayerLink::Post(PlayerConnection id, std::uint32_t message, std::uint32_t wParam, std::uint64_t lParam) {
    const auto connection = Find(id);
    return connection && Send(*connection, {message, wParam, lParam, {}});
}

void UnixPlayerLink::Forget(PlayerConnection id) {
    std::shared_ptr<Connection> connection;
    {
        std::lock_guard lock(mutex_);
        const auto it = connections_.find(id);
        if (it == connections_.end())
            return;
        connection = it->second;
        connections_.erase(it);
    }
    ::shutdown(connection->fd, SHUT_RDWR);
    changed_.notify_all();
}

void UnixPlayerLink::SetNoticeHandler(NoticeHandler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

}  // namespace recording
