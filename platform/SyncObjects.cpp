#include "platform/SyncObjects.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

namespace {

struct SharedState {
    std::mutex mutex;
};

SharedState& Shared() {
    static SharedState state;
    return state;
}

}  // namespace

// A relative time-out as a deadline that cannot overflow.
std::chrono::steady_clock::time_point DeadlineFor(Millis timeout) {
    const auto now = std::chrono::steady_clock::now();
    if (timeout == kInfinite || timeout > std::chrono::hours(24 * 365))
        return std::chrono::steady_clock::time_point::max();
    return now + std::max(timeout, Millis(0));
}

// One waiting thread's wake-up. A signalling object finds its waiters under
// the shared lock but wakes them only after letting the lock go, so a woken
// thread does not run straight into the lock its waker still holds (one more
// sleep and switch per hand-over). A waiter counts the wakes under way and
// stays until they are done, so no wake reaches a waiter that is gone.
struct Waiter {
    std::mutex mutex;
    std::condition_variable woken;
    bool signalled = false;
    std::atomic<int> wakesUnderWay{0};  // raised under the shared lock

    void Wake() {
        {
            std::lock_guard lock(mutex);
            signalled = true;
        }
        woken.notify_one();
    }
    // Until woken or the deadline; false on the deadline. Clears the wake-up.
    bool Sleep(std::chrono::steady_clock::time_point deadline) {
        std::unique_lock lock(mutex);
        bool woke = true;
        if (deadline == std::chrono::steady_clock::time_point::max())
            woken.wait(lock, [this] { return signalled; });
        else
            woke = woken.wait_until(lock, deadline, [this] { return signalled; });
        signalled = false;
        return woke;
    }
    // Once off every list: a waker that found this waiter before is at most
    // a few instructions from done.
    void AwaitWakesUnderWay() const {
        while (wakesUnderWay.load(std::memory_order_acquire) != 0)
            std::this_thread::yield();
    }
};

// The waiters one Set or Release wakes once the shared lock is let go; the
// list's memory stays with the thread, so signalling allocates nothing.
class PendingWakes {
public:
    PendingWakes() : list_(Buffer()) {}
    PendingWakes(const PendingWakes&) = delete;
    PendingWakes& operator=(const PendingWakes&) = delete;
    ~PendingWakes() {
        for (Waiter* waiter : list_) {
            waiter->Wake();
            waiter->wakesUnderWay.fetch_sub(1, std::memory_order_release);  // the waiter may go now
        }
        list_.clear();
    }
    // With the shared lock held.
    void Add(Waiter* waiter) {
        waiter->wakesUnderWay.fetch_add(1, std::memory_order_relaxed);
        list_.push_back(waiter);
    }

private:
    static std::vector<Waiter*>& Buffer() {
        thread_local std::vector<Waiter*> buffer;
        return buffer;
    }
    std::vector<Waiter*>& list_;
};

struct SyncAccess {
    static bool TryTake(Waitable& w) { return w.TryTakeLocked(); }
    // With the shared lock held; they are woken when `wakes` goes.
    static void WakeWaiters(Waitable& w, PendingWakes& wakes) {
        for (Waiter* waiter : w.waiters_)
            wakes.Add(waiter);
    }
    static void Register(Waitable& w, Waiter* waiter) { w.waiters_.push_back(waiter); }
    static void Unregister(Waitable& w, Waiter* waiter) {
        auto& list = w.waiters_;
        for (auto it = list.begin(); it != list.end(); ++it)
            if (*it == waiter) {
                list.erase(it);
                return;
            }
    }
};

Event::Event(ResetMode mode, bool initiallySet) : mode_(mode), set_(initiallySet) {}

void Event::Set() {
    PendingWakes wakes;  // declared first: wakes after the lock is let go
    std::lock_guard lock(Shared().mutex);
    set_ = true;
    SyncAccess::WakeWaiters(*this, wakes);
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
    PendingWakes wakes;  // declared first: wakes after the lock is let go
    std::lock_guard lock(Shared().mutex);
    if (count <= 0 || count > maximum_ - count_)
        return false;
    count_ += count;
    SyncAccess::WakeWaiters(*this, wakes);
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

    Waiter self;
    for (Waitable* object : objects)
        if (object)
            SyncAccess::Register(*object, &self);
    {
        // Runs at once when the stop is already requested.
        std::stop_callback onStop(stop, [&self] { self.Wake(); });
        for (;;) {
            lock.unlock();
            const bool woke = self.Sleep(deadline);
            lock.lock();
            if (takeFirst())
                break;
            if (stop.stop_requested()) {
                result = {WaitResult::Kind::Stopped, 0};
                break;
            }
            if (!woke || std::chrono::steady_clock::now() >= deadline) {
                result = {WaitResult::Kind::Timeout, 0};
                break;
            }
        }
    }
    for (Waitable* object : objects)
        if (object)
            SyncAccess::Unregister(*object, &self);
    lock.unlock();
    self.AwaitWakesUnderWay();
    return result;
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
