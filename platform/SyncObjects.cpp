#include "platform/SyncObjects.h"

#include <condition_variable>
#include <mutex>
#include <vector>

namespace platform {

namespace {

struct SharedState {
    std::mutex mutex;
    std::condition_variable_any changed;
};

SharedState& Shared() {
    static SharedState state;
    return state;
}

// Converts a relative time-out into a deadline that cannot overflow.
std::chrono::steady_clock::time_point DeadlineFor(Millis timeout) {
    const auto now = std::chrono::steady_clock::now();
    if (timeout == kInfinite || timeout > std::chrono::hours(24 * 365))
        return std::chrono::steady_clock::time_point::max();
    return now + std::max(timeout, Millis(0));
}

}  // namespace

struct SyncAccess {
    static bool TryTake(Waitable& w) { return w.TryTakeLocked(); }
};

Event::Event(ResetMode mode, bool initiallySet) : mode_(mode), set_(initiallySet) {}

void Event::Set() {
    auto& s = Shared();
    {
        std::lock_guard lock(s.mutex);
        set_ = true;
    }
    s.changed.notify_all();
}

void Event::Reset() {
    std::lock_guard lock(Shared().mutex);
    set_ = false;
}

bool Event::IsSet() const {
    std::lock_guard lock(Shared().mutex);
    return set_;
}

bool Event::TryTakeLocked() {
    if (!set_)
        return false;
    if (mode_ == ResetMode::Auto)
        set_ = false;
    return true;
}

bool Event::Wait(Millis timeout, std::stop_token stop) {
    return WaitForAny({this}, timeout, std::move(stop)).signalled();
}

Semaphore::Semaphore(long initial, long maximum) : count_(initial), maximum_(maximum) {}

bool Semaphore::Release(long count) {
    auto& s = Shared();
    {
        std::lock_guard lock(s.mutex);
        if (count <= 0 || count > maximum_ - count_)
            return false;
        count_ += count;
    }
    s.changed.notify_all();
    return true;
}

long Semaphore::Count() const {
    std::lock_guard lock(Shared().mutex);
    return count_;
}

bool Semaphore::TryTakeLocked() {
    if (count_ <= 0)
        return false;
    --count_;
    return true;
}

bool Semaphore::Wait(Millis timeout, std::stop_token stop) {
    return WaitForAny({this}, timeout, std::move(stop)).signalled();
}

WaitResult WaitForAny(std::span<Waitable* const> objects, Millis timeout, std::stop_token stop) {
    auto& s = Shared();
    const auto deadline = DeadlineFor(timeout);
    std::unique_lock lock(s.mutex);
    WaitResult result;
    auto takeFirst = [&] {
        for (std::size_t i = 0; i < objects.size(); ++i) {
            if (objects[i] && SyncAccess::TryTake(*objects[i])) {
                result = {WaitResult::Kind::Signalled, i};
                return true;
            }
        }
        return false;
    };
    if (takeFirst())
        return result;
    if (stop.stop_requested())
        return {WaitResult::Kind::Stopped, 0};
    bool taken;
    if (deadline == std::chrono::steady_clock::time_point::max())
        taken = s.changed.wait(lock, stop, takeFirst);
    else
        taken = s.changed.wait_until(lock, stop, deadline, takeFirst);
    if (taken)
        return result;
    if (stop.stop_requested())
        return {WaitResult::Kind::Stopped, 0};
    return {WaitResult::Kind::Timeout, 0};
}

WaitResult WaitForAny(std::initializer_list<Waitable*> objects, Millis timeout, std::stop_token stop) {
    return WaitForAny(std::span<Waitable* const>(objects.begin(), objects.size()), timeout,
                      std::move(stop));
}

bool SleepFor(Millis duration, std::stop_token stop) {
    std::mutex m;
    std::condition_variable_any cv;
    std::unique_lock lock(m);
    const auto deadline = DeadlineFor(duration);
    if (deadline == std::chrono::steady_clock::time_point::max())
        cv.wait(lock, stop, [] { return false; });
    else
        cv.wait_until(lock, stop, deadline, [] { return false; });
    return !stop.stop_requested();
}

}  // namespace platform
