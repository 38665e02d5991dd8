#pragma once
// Polls a condition that another thread will make true.

#include <chrono>
#include <functional>
#include <thread>

namespace testutil {

// True once done() holds; false when it still does not after the limit.
inline bool WaitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace testutil
