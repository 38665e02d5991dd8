#pragma once
// A value shared between threads, read and written whole under its lock.

#include <mutex>
#include <utility>

namespace session {

template <typename T>
class SharedValue {
public:
    SharedValue() = default;
    explicit SharedValue(T value) : value_(std::move(value)) {}
    SharedValue(const SharedValue&) = delete;
    SharedValue& operator=(const SharedValue&) = delete;

    T Get() const {
        std::lock_guard lock(mutex_);
        return value_;
    }
    void Set(T value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
    }
    // Changes the value in place under the lock (read, change, write as one step).
    template <typename F>
    void Update(F&& change) {
        std::lock_guard lock(mutex_);
        change(value_);
    }

private:
    mutable std::mutex mutex_;
    T value_{};
};

}  // namespace session
