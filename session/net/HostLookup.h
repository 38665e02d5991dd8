#pragma once
// Host-name look-up that a stop request can abandon.
//
// The system's resolver cannot be interrupted and takes many seconds against a
// name server that does not answer, so each look-up runs on a helper thread of
// its own. The caller waits for the answer or its stop request, whichever
// comes first: a stopped caller returns at once and the helper's late answer
// is dropped. So a thread that must end within 500 ms of its stop, and the GUI
// thread that joins it, never wait for the name server.

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>

namespace session {

// The first IPv4 address of a name (host byte order: 1.2.3.4 is 0x01020304);
// nullopt when the name is unknown. May block for as long as it likes.
using HostResolver = std::function<std::optional<std::uint32_t>(const std::string& name)>;

// The name's first IPv4 address; nullopt when it is unknown, the helper
// thread cannot start, or the stop request came first.
std::optional<std::uint32_t> LookUpHost(const std::string& name, std::stop_token stop = {});

// Replaces the resolver of every later look-up (an empty one means the
// system's) and returns the one used before. Tests stand in for a silent or a
// scripted name server with it.
HostResolver SetHostResolver(HostResolver resolver);

}  // namespace session
