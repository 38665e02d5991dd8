#include "simulator/DeviceSimulator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <random>

namespace devicesim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kRequestHeaderLimit = 64 * 1024;
constexpr std::size_t kRequestBodyLimit = 16 * 1024 * 1024;
constexpr Millis kIdleLimit{10000};  // a client that sends nothing for this long is dropped
constexpr std::uint16_t kLowestPort = 1024;
constexpr std::uint16_t kHighestPort = 9999;

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Waits for the handle to be ready or the stop event; false on stop or time-out.
bool WaitReady(int handle, short events, int stopEvent, Millis timeout) {
    pollfd fds[2] = {{handle, events, 0}, {stopEvent, POLLIN, 0}};
    for (;;) {
        int result = ::poll(fds, 2, static_cast<int>(timeout.count()));
        if (result < 0 && errno == EINTR)
            continue;
        return result > 0 && fds[1].revents == 0;
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

// --- Request -----------------------------------------------------------------------

std::string DecodePercent(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::optional<std::string> Request::Param(std::string_view key) const {
    for (const auto& [name, value] : query)
        if (name == key)
            return value;
    return std::nullopt;
}

Request ParseRequest(std::string raw, bool complete) {
    Request request;
    request.raw = std::move(raw);
    request.complete = complete;
    const std::string& text = request.raw;
    std::size_t headerEnd = text.find("\r\n\r\n");
    std::size_t lineStart = 0;
    bool first = true;
    const std::size_t headerLimit = headerEnd == std::string::npos ? text.size() : headerEnd;
    while (lineStart < headerLimit) {
        std::size_t lineEnd = text.find("\r\n", lineStart);
        if (lineEnd == std::string::npos || lineEnd > headerLimit)
            lineEnd = headerLimit;
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        if (first)
            request.requestLine = std::move(line);
        else
            request.headerLines.push_back(std::move(line));
        first = false;
        lineStart = lineEnd + 2;
    }
    if (headerEnd != std::string::npos)
        request.body = text.substr(headerEnd + 4);

    std::string_view line = request.requestLine;
    std::size_t space = line.find(' ');
    request.method = std::string(line.substr(0, space));
    if (space != std::string_view::npos) {
        std::string_view rest = line.substr(space + 1);
        request.target = std::string(rest.substr(0, rest.find(' ')));
    }
    std::string_view target = request.target;
    std::size_t question = target.find('?');
    request.path = std::string(target.substr(0, question));
    if (question != std::string_view::npos) {
        std::string_view params = target.substr(question + 1);
        while (!params.empty()) {
            std::string_view piece = params.substr(0, params.find('&'));
            params.remove_prefix(std::min(params.size(), piece.size() + 1));
            std::size_t equals = piece.find('=');
            request.query.emplace_back(std::string(piece.substr(0, equals)),
                                       equals == std::string_view::npos ? std::string()
                                                                        : DecodePercent(piece.substr(equals + 1)));
        }
    }
    return request;
}

// --- Connection ----------------------------------------------------------------------

bool Connection::Pause(Millis duration) {
    pollfd fd{stopEvent_, POLLIN, 0};
    const auto until = Clock::now() + duration;
    for (;;) {
        auto left = std::chrono::ceil<Millis>(until - Clock::now()).count();
        if (left <= 0)
            return true;
        int result = ::poll(&fd, 1, static_cast<int>(left));
        if (result > 0)
            return false;
        if (result == 0)
            return true;
    }
}

bool Connection::Send(std::string_view bytes) {
    writes_.push_back(bytes.size());
    while (!bytes.empty()) {
        if (!WaitReady(handle_, POLLOUT, stopEvent_, kIdleLimit))
            return false;
        ssize_t sent = ::send(handle_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void Connection::WaitUntilClientLeaves() {
    char scratch[4096];
    while (WaitReady(handle_, POLLIN, stopEvent_, Millis(60000))) {
        ssize_t got = ::recv(handle_, scratch, sizeof scratch, MSG_DONTWAIT);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN))
            return;
    }
}

std::string Connection::Receive(std::size_t count, Millis idle) {
    std::string bytes;
    char scratch[4096];
    while (bytes.size() < count && WaitReady(handle_, POLLIN, stopEvent_, idle)) {
        ssize_t got = ::recv(handle_, scratch, std::min(sizeof scratch, count - bytes.size()), MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            break;
        bytes.append(scratch, static_cast<std::size_t>(got));
    }
    return bytes;
}

bool Connection::SendReply(const Reply& reply) {
    if (reply.closeWithoutReply)
        return true;
    if (reply.silent) {
        WaitUntilClientLeaves();
        return true;
    }
    if (reply.delay.count() > 0 && !Pause(reply.delay))
        return false;
    const std::string bytes = reply.WireBytes();
    std::string_view rest = bytes;
    if (!reply.pieces.empty()) {
        // Small writes must leave as separate segments.
        int on = 1;
        ::setsockopt(handle_, SOL_TCP, TCP_NODELAY, &on, sizeof on);
    }
    for (std::size_t piece : reply.pieces) {
        if (rest.empty())
            break;
        piece = std::min(piece, rest.size());
        if (!Send(rest.substr(0, piece)) || !Pause(reply.piecePause))
            return false;
        rest.remove_prefix(piece);
    }
    return Send(rest);
}

// --- DeviceSimulator ------------------------------------------------------------------

DeviceSimulator::DeviceSimulator(DeviceProfile profile) {
    state_.profile = std::move(profile);
    stopEvent_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    acceptWake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    InstallDeviceHandlers(*this);
}

DeviceSimulator::~DeviceSimulator() {
    Stop();
    ::close(stopEvent_);
    ::close(acceptWake_);
}

bool DeviceSimulator::OpenListener(std::uint16_t port) {
    int handle = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (handle < 0)
        return false;
    int on = 1;
    ::setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(handle, 64) != 0) {
        ::close(handle);
        return false;
    }
    listeners_.emplace_back(handle, port);
    return true;
}

bool DeviceSimulator::Start(int portCount) {
    std::vector<std::uint16_t> chosen;
    StopAcceptLoop();
    std::mt19937 random{std::random_device{}()};
    const int span = kHighestPort - kLowestPort + 1;
    int candidate = static_cast<int>(random() % span);
    for (int tried = 0; tried < span && static_cast<int>(chosen.size()) < portCount; ++tried) {
        auto port = static_cast<std::uint16_t>(kLowestPort + (candidate + tried) % span);
        if (std::find(ports_.begin(), ports_.end(), port) == ports_.end() && OpenListener(port)) {
            chosen.push_back(port);
            ports_.push_back(port);
        }
    }
    StartAcceptLoop();
    return static_cast<int>(chosen.size()) == portCount;
}

bool DeviceSimulator::Start(const std::vector<std::uint16_t>& ports) {
    StopAcceptLoop();
    bool all = true;
    for (std::uint16_t port : ports) {
        if (OpenListener(port))
            ports_.push_back(port);
        else
            all = false;
    }
    StartAcceptLoop();
    return all;
}

void DeviceSimulator::Stop() {
    StopAcceptLoop();
    for (auto& [handle, port] : listeners_)
        ::close(handle);
    listeners_.clear();
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t ignored = ::write(stopEvent_, &one, sizeof one);
    ReapConnections(true);
    // A stopped simulator can start again.
    std::uint64_t count;
    ignored = ::read(stopEvent_, &count, sizeof count);
}

std::uint16_t DeviceSimulator::Port(std::size_t index) const {
    return index < ports_.size() ? ports_[index] : 0;
}

std::vector<std::uint16_t> DeviceSimulator::Ports() const {
    return ports_;
}

void DeviceSimulator::SetRefusing(bool refuse) {
    StopAcceptLoop();
    for (auto& [handle, port] : listeners_)
        ::close(handle);
    listeners_.clear();
    if (!refuse)
        for (std::uint16_t port : ports_)
            OpenListener(port);
    StartAcceptLoop();
}

void DeviceSimulator::StartAcceptLoop() {
    if (!listeners_.empty())
        acceptThread_ = std::thread([this] { AcceptLoop(); });
}

void DeviceSimulator::StopAcceptLoop() {
    if (!acceptThread_.joinable())
        return;
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t ignored = ::write(acceptWake_, &one, sizeof one);
    acceptThread_.join();
    std::uint64_t count;
    ignored = ::read(acceptWake_, &count, sizeof count);
}

void DeviceSimulator::AcceptLoop() {
    std::vector<pollfd> fds;
    for (auto& [handle, port] : listeners_)
        fds.push_back({handle, POLLIN, 0});
    fds.push_back({acceptWake_, POLLIN, 0});
    for (;;) {
        int result = ::poll(fds.data(), fds.size(), 500);
        if (result < 0 && errno != EINTR)
            return;
        if (fds.back().revents != 0)
            return;
        ReapConnections(false);
        for (std::size_t i = 0; i + 1 < fds.size(); ++i) {
            if ((fds[i].revents & POLLIN) == 0)
                continue;
            int handle = ::accept4(fds[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (handle < 0)
                continue;
            std::uint16_t port = listeners_[i].second;
            std::lock_guard lock(connectionsMutex_);
            auto& entry = connections_.emplace_back();
            entry.thread = std::thread([this, handle, port, &entry] {
                Serve(handle, port);
                entry.done = true;
            });
        }
    }
}

void DeviceSimulator::ReapConnections(bool all) {
    std::list<ConnectionThread> finished;
    {
        std::lock_guard lock(connectionsMutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            auto next = std::next(it);
            if (all || it->done)
                finished.splice(finished.end(), connections_, it);
            it = next;
        }
    }
    for (auto& entry : finished)
        entry.thread.join();
}

std::optional<Request> DeviceSimulator::ReadRequest(int handle, std::uint16_t port) {
    std::string raw;
    char buffer[4096];
    std::size_t wanted = std::string::npos;  // total bytes, once the header is known
    bool complete = false;
    while (!complete) {
        if (!WaitReady(handle, POLLIN, stopEvent_, kIdleLimit))
            break;
        ssize_t got = ::recv(handle, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            break;
        raw.append(buffer, static_cast<std::size_t>(got));
        if (wanted == std::string::npos) {
            std::size_t headerEnd = raw.find("\r\n\r\n");
            if (headerEnd == std::string::npos) {
                if (raw.size() > kRequestHeaderLimit)
                    break;
                continue;
            }
            std::size_t bodyLength = 0;
            Request header = ParseRequest(raw.substr(0, headerEnd + 4), false);
            for (const auto& line : header.headerLines) {
                std::size_t colon = line.find(':');
                if (colon != std::string::npos && EqualsNoCase(Trim(line.substr(0, colon)), "Content-Length"))
                    bodyLength = std::strtoull(std::string(Trim(line.substr(colon + 1))).c_str(), nullptr, 10);
            }
            if (bodyLength > kRequestBodyLimit)
                break;
            wanted = headerEnd + 4 + bodyLength;
        }
        complete = raw.size() >= wanted;
    }
    if (raw.empty())
        return std::nullopt;
    Request request = ParseRequest(std::move(raw), complete);
    request.port = port;
    return request;
}

void DeviceSimulator::Serve(int handle, std::uint16_t port) {
    std::optional<Request> request = ReadRequest(handle, port);
    if (request) {
        Log(*request);
        if (request->complete) {
            Connection connection(handle, stopEvent_);
            ConnectionHandler takeOver;
            ReplyHandler handler;
            {
                std::lock_guard lock(mutex_);
                if (auto found = connectionHandlers_.find(request->path); found != connectionHandlers_.end())
                    takeOver = found->second;
                else if (auto plain = handlers_.find(request->path); plain != handlers_.end())
                    handler = plain->second;
            }
            if (takeOver) {
                takeOver(*this, *request, connection);
            } else {
                Reply reply = handler ? handler(*this, *request) : Reply::WithStatus(404);
                std::optional<Fault> fault;
                if (auto option = request->Param("Option"))
                    fault = TakeFault(request->path + "?Option=" + *option);
                if (!fault)
                    fault = TakeFault(request->path);
                if (fault)
                    fault->apply(reply);
                connection.SendReply(reply);
                std::lock_guard lock(mutex_);
                lastReplyWrites_ = connection.Writes();
            }
        }
    }
    ::shutdown(handle, SHUT_WR);
    ::close(handle);
}

std::vector<std::size_t> DeviceSimulator::LastReplyWrites() const {
    std::lock_guard lock(mutex_);
    return lastReplyWrites_;
}

void DeviceSimulator::Log(const Request& request) {
    std::function<void(const Request&)> observer;
    {
        std::lock_guard lock(mutex_);
        log_.push_back(request);
        observer = observer_;
    }
    logChanged_.notify_all();
    if (observer)
        observer(request);
}

DeviceState DeviceSimulator::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void DeviceSimulator::Update(const std::function<void(DeviceState&)>& change) {
    std::lock_guard lock(mutex_);
    change(state_);
}

void DeviceSimulator::UpdateProfile(const std::function<void(DeviceProfile&)>& change) {
    std::lock_guard lock(mutex_);
    change(state_.profile);
}

void DeviceSimulator::SetHandler(const std::string& path, ReplyHandler handler) {
    std::lock_guard lock(mutex_);
    connectionHandlers_.erase(path);
    handlers_[path] = std::move(handler);
}

void DeviceSimulator::SetConnectionHandler(const std::string& path, ConnectionHandler handler) {
    std::lock_guard lock(mutex_);
    connectionHandlers_[path] = std::move(handler);
}

ConnectionHandler DeviceSimulator::ConnectionHandlerFor(const std::string& path) const {
    std::lock_guard lock(mutex_);
    auto found = connectionHandlers_.find(path);
    return found == connectionHandlers_.end() ? ConnectionHandler() : found->second;
}

void DeviceSimulator::SetReply(const std::string& path, Reply reply) {
    SetHandler(path, [reply](DeviceSimulator&, const Request&) { return reply; });
}

void DeviceSimulator::AddFault(const std::string& path, Fault fault, int times) {
    std::lock_guard lock(mutex_);
    faults_[path].push_back({std::move(fault), times});
}

void DeviceSimulator::AddFaultOnRequest(const std::string& path, int k, Fault fault) {
    if (k > 1)
        AddFault(path, Fault{"none", [](Reply&) {}}, k - 1);
    AddFault(path, std::move(fault));
}

void DeviceSimulator::ClearFaults() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

std::optional<Fault> DeviceSimulator::TakeFault(const std::string& path) {
    std::lock_guard lock(mutex_);
    for (const std::string& key : {path, std::string("*")}) {
        auto found = faults_.find(key);
        if (found == faults_.end() || found->second.empty())
            continue;
        ScriptedFault& next = found->second.front();
        Fault fault = next.fault;
        if (next.times > 0 && --next.times == 0)
            found->second.pop_front();
        return fault;
    }
    return std::nullopt;
}

std::vector<Request> DeviceSimulator::Requests() const {
    std::lock_guard lock(mutex_);
    return log_;
}

std::vector<Request> DeviceSimulator::RequestsFor(std::string_view path) const {
    std::vector<Request> matching;
    std::lock_guard lock(mutex_);
    for (const auto& request : log_)
        if (request.path == path)
            matching.push_back(request);
    return matching;
}

bool DeviceSimulator::WaitForRequests(std::size_t count, Millis timeout) const {
    std::unique_lock lock(mutex_);
    return logChanged_.wait_for(lock, timeout, [&] { return log_.size() >= count; });
}

void DeviceSimulator::ClearRequests() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

void DeviceSimulator::SetRequestObserver(std::function<void(const Request&)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

bool DeviceSimulator::IsSession(const std::string& cookie) const {
    std::lock_guard lock(mutex_);
    return state_.sessions.count(cookie) != 0;
}

bool DeviceSimulator::NewHeaderRequested(const std::string& cookie) const {
    std::lock_guard lock(mutex_);
    auto found = state_.sessions.find(cookie);
    return found != state_.sessions.end() && found->second.newHeader;
}

}  // namespace devicesim
