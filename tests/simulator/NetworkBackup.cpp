#include "simulator/NetworkBackup.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>

namespace devicesim {

namespace {

// A period that no block size divides, so a block out of place shows.
constexpr std::size_t kPatternPeriod = 4093;

std::uint32_t QueryHash(std::string_view query) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : query)
        h = (h ^ c) * 16777619u;
    return h;
}

struct Pattern {
    std::string query;
    std::array<char, kPatternPeriod> bytes{};
};

const Pattern& PatternOf(std::string_view query) {
    thread_local Pattern pattern{std::string(1, '\0'), {}};
    if (pattern.query != query) {
        pattern.query = query;
        const std::uint32_t h = QueryHash(query);
        for (std::size_t i = 0; i < kPatternPeriod; ++i)
            pattern.bytes[i] = static_cast<char>((h >> (8 * (i % 4))) ^ (i * 31) ^ (i >> 3));
    }
    return pattern;
}

std::string Header(std::uint32_t length, std::uint32_t type) {
    std::string h(8, '\0');
    for (int i = 0; i < 4; ++i) {
        h[i] = static_cast<char>(length >> (8 * i));
        h[4 + i] = static_cast<char>(type >> (8 * i));
    }
    return h;
}

std::string QueryOf(const Request& request) {
    const auto mark = request.target.find('?');
    return mark == std::string::npos ? std::string() : request.target.substr(mark + 1);
}

}  // namespace

std::uint8_t BackupPayloadByte(std::string_view query, std::uint64_t offset) {
    return static_cast<std::uint8_t>(PatternOf(query).bytes[offset % kPatternPeriod]);
}

std::string BackupPayload(std::string_view query, std::uint64_t offset, std::size_t count) {
    const Pattern& pattern = PatternOf(query);
    std::string out;
    out.reserve(count);
    std::size_t at = static_cast<std::size_t>(offset % kPatternPeriod);
    while (out.size() < count) {
        const std::size_t take = std::min(count - out.size(), kPatternPeriod - at);
        out.append(pattern.bytes.data() + at, take);
        at = 0;
    }
    return out;
}

struct NetworkBackupService::Shared {
    mutable std::mutex mutex;
    BackupScript script;
    std::map<std::string, std::size_t> cancels;  // by cookie
    std::size_t started = 0, cancelled = 0, running = 0;

    void Serve(const Request& request, Connection& connection);
    bool CancelledSince(const std::string& cookie, std::size_t mark) {
        std::lock_guard lock(mutex);
        return cancels[cookie] != mark;
    }
};

namespace {

// The reply's bytes as they leave: counted for the cut and the stall, paced for the rate.
class Outgoing {
public:
    Outgoing(Connection& connection, const BackupScript& script)
        : connection_(connection), script_(script), begun_(std::chrono::steady_clock::now()) {}

    // False once the connection is to end (client gone, cut, stall over, simulator stopping).
    bool Send(std::string_view bytes, std::size_t segment = 0) {
        if (script_.cutAfter && sent_ + bytes.size() >= *script_.cutAfter) {
            bytes = bytes.substr(0, static_cast<std::size_t>(*script_.cutAfter - sent_));
            Write(bytes, segment);
            return false;
        }
        if (script_.stallAfter && sent_ + bytes.size() >= *script_.stallAfter) {
            Write(bytes.substr(0, static_cast<std::size_t>(*script_.stallAfter - sent_)), segment);
            connection_.WaitUntilClientLeaves();
            return false;
        }
        if (!Write(bytes, segment))
            return false;
        if (script_.bytesPerSecond != 0) {
            const auto due = begun_ + std::chrono::microseconds(sent_ * 1000000 / script_.bytesPerSecond);
            const auto wait = std::chrono::ceil<Millis>(due - std::chrono::steady_clock::now());
            if (wait.count() > 0 && !connection_.Pause(wait))
                return false;
        }
        return true;
    }

private:
    bool Write(std::string_view bytes, std::size_t segment) {
        sent_ += bytes.size();
        if (segment == 0 || bytes.size() <= segment)
            return connection_.Send(bytes);
        int on = 1;  // small writes leave as segments of their own
        ::setsockopt(connection_.Handle(), SOL_TCP, TCP_NODELAY, &on, sizeof on);
        for (std::size_t at = 0; at < bytes.size(); at += segment)
            if (!connection_.Send(bytes.substr(at, segment)) || !connection_.Pause(Millis(1)))
                return false;
        return true;
    }

    Connection& connection_;
    const BackupScript& script_;
    const std::chrono::steady_clock::time_point begun_;
    std::uint64_t sent_ = 0;
};

}  // namespace

void NetworkBackupService::Shared::Serve(const Request& request, Connection& connection) {
    const std::string cookie = request.Param("Cookie").value_or("");
    BackupScript script;
    std::size_t mark = 0;
    {
        std::lock_guard lock(mutex);
        script = this->script;
        mark = cancels[cookie];
        ++started;
        ++running;
    }
    const std::string query = QueryOf(request);
    const std::uint64_t total =
        script.totalBytes.value_or(std::uint64_t(std::max(0, std::atoi(request.Param("Size").value_or("0").c_str()))) << 20);
    Outgoing out(connection, script);
    bool wasCancelled = false;
    bool open = true;
    if (script.busyFirst) {
        open = out.Send(Header(0, 6), script.headerSegment);
    } else {
        std::uint64_t offset = script.endFirst ? total : 0;
        std::size_t blocks = 0;
        std::string block;
        while (open && offset < total) {
            if (CancelledSince(cookie, mark)) {
                wasCancelled = true;
                break;
            }
            if (script.otherTypeEvery != 0 && blocks % script.otherTypeEvery == script.otherTypeEvery - 1)
                open = out.Send(Header(script.otherLength, script.otherType), script.headerSegment);
            const std::size_t size = static_cast<std::size_t>(
                std::min<std::uint64_t>(script.blockSizes[blocks % script.blockSizes.size()], total - offset));
            ++blocks;
            if (script.headerSegment != 0) {
                open = open && out.Send(Header(static_cast<std::uint32_t>(size), 3), script.headerSegment) &&
                       out.Send(BackupPayload(query, offset, size));
            } else {
                block = Header(static_cast<std::uint32_t>(size), 3);
                block += BackupPayload(query, offset, size);
                open = open && out.Send(block);
            }
            offset += size;
        }
        if (open && !wasCancelled)
            open = out.Send(Header(0, 1), script.headerSegment);
    }
    if (open && !wasCancelled)
        connection.WaitUntilClientLeaves();
    std::lock_guard lock(mutex);
    --running;
    if (wasCancelled)
        ++cancelled;
}

NetworkBackupService::NetworkBackupService(DeviceSimulator& device) : shared_(std::make_shared<Shared>()) {
    device.SetConnectionHandler("/NetworkBk.cgi", [shared = shared_](DeviceSimulator& d, const Request& r, Connection& c) {
        if (!Authorised(d.State(), r)) {
            c.SendReply(Reply::WithStatus(401));
            return;
        }
        shared->Serve(r, c);
    });
    device.SetHandler("/CancelNB.cgi", [shared = shared_](DeviceSimulator&, const Request& r) {
        std::lock_guard lock(shared->mutex);
        ++shared->cancels[r.Param("Cookie").value_or("")];
        return Reply::Ok();
    });
}

void NetworkBackupService::SetScript(BackupScript script) {
    if (script.blockSizes.empty())
        script.blockSizes = {2048};
    std::lock_guard lock(shared_->mutex);
    shared_->script = std::move(script);
}

std::size_t NetworkBackupService::Started() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->started;
}

std::size_t NetworkBackupService::Cancelled() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->cancelled;
}

std::size_t NetworkBackupService::Running() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->running;
}

}  // namespace devicesim
