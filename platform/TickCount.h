#pragma once
// Milliseconds since an arbitrary start, wrapping at 2^32 like the device-era
// tick counters the rate figures are computed from (differences stay right
// across the wrap).

#include <chrono>
#include <cstdint>

namespace platform {

inline std::uint32_t TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace platform
