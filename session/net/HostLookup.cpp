#include "session/net/HostLookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace session {

namespace {

std::optional<std::uint32_t> SystemResolver(const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return std::nullopt;
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    ::freeaddrinfo(found);
    return ntohl(address.sin_addr.s_addr);
}

std::mutex g_resolverMutex;
HostResolver g_resolver;  // empty: the system's

HostResolver CurrentResolver() {
    std::lock_guard lock(g_resolverMutex);
    return g_resolver ? g_resolver : HostResolver(SystemResolver);
}

// What the helper hands back; shared, so a caller that left early loses nothing it still needs.
struct PendingLookup {
    std::mutex mutex;
    std::condition_variable_any answered;
    bool done = false;
    std::optional<std::uint32_t> address;
};

}  // namespace

std::optional<std::uint32_t> LookUpHost(const std::string& name, std::stop_token stop) {
    if (name.empty() || stop.stop_requested())
        return std::nullopt;
    auto pending = std::make_shared<PendingLookup>();
    try {
        std::thread([pending, resolver = CurrentResolver(), name] {
            auto address = resolver(name);
            std::lock_guard lock(pending->mutex);
            pending->address = address;
            pending->done = true;
            pending->answered.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    std::unique_lock lock(pending->mutex);
    if (!pending->answered.wait(lock, stop, [&] { return pending->done; }))
        return std::nullopt;  // stopped: the helper's answer, whenever it comes, is dropped
    return pending->address;
}

HostResolver SetHostResolver(HostResolver resolver) {
    std::lock_guard lock(g_resolverMutex);
    std::swap(g_resolver, resolver);
    return resolver;
}

}  // namespace session
