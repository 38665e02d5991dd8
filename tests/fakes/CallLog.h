#pragma once
// Lines of text that any thread may add, kept in the order they came: the
// calls a fake received, or what a test's stand-ins did.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace fakes {

class CallLog {
public:
    void Add(std::string call) {
        {
            std::lock_guard lock(mutex_);
            calls_.push_back(std::move(call));
        }
        changed_.notify_all();
    }
    std::vector<std::string> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    bool Contains(const std::string& call) const { return Count(call) > 0; }
    int Count(const std::string& call) const {
        std::lock_guard lock(mutex_);
        return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }
    // Waits until at least `count` lines have come; false on time-out.
    bool WaitForCount(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return calls_.size() >= count; });
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> calls_;
};

}  // namespace fakes
