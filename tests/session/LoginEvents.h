#pragma once
// Reports of a login worker, collected from its thread for a test to wait on.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace testutil {

class LoginEvents {
public:
    void Add(std::string event) {
        {
            std::lock_guard lock(mutex_);
            events_.push_back(std::move(event));
        }
        changed_.notify_all();
    }
    // Waits until at least count events came; false on time-out.
    bool WaitFor(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return events_.size() >= count; });
    }
    std::vector<std::string> Events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> events_;
};

}  // namespace testutil
