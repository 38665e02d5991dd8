#pragma once
// Events, semaphores and the ordered wait on several of them.
//
// All objects share one process-wide lock: a wait on a list must take the
// first signalled object atomically, and one lock makes that trivially
// correct. Each waiting thread has its own wake-up, which only the objects it
// waits on trigger: a signal wakes the threads that wait for it and no others
// (the live stream signals several objects per frame while a dozen threads wait),
// and wakes them once the signalling thread has let the shared lock go.

#include <chrono>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <stop_token>
#include <vector>

namespace platform {

using Millis = std::chrono::milliseconds;
inline constexpr Millis kInfinite = Millis::max();

// The moment a wait of `timeout` from now ends; never for kInfinite.
std::chrono::steady_clock::time_point DeadlineFor(Millis timeout);

class Waitable {
public:
    Waitable() = default;
    Waitable(const Waitable&) = delete;
    Waitable& operator=(const Waitable&) = delete;
    virtual ~Waitable() = default;

private:
    friend struct SyncAccess;
    // Called with the shared lock held: take the signal if there is one.
    virtual bool TryTakeLocked() = 0;
    // The threads waiting on this object (under the shared lock).
    std::vector<struct Waiter*> waiters_;
};

class Event final : public Waitable {
public:
    enum class ResetMode { Auto, Manual };
    explicit Event(ResetMode mode = ResetMode::Auto, bool initiallySet = false);

    void Set();
    void Reset();
    bool IsSet() const;
    // True when the event was taken; false on time-out or stop request.
    bool Wait(Millis timeout = kInfinite, std::stop_token stop = {});

private:
    bool TryTakeLocked() override;
    const ResetMode mode_;
    bool set_;
};

class Semaphore final : public Waitable {
public:
    Semaphore(long initial, long maximum);

    // Fails, leaving the count as it was, when the release would pass the maximum.
    bool Release(long count = 1);
    long Count() const;
    bool Wait(Millis timeout = kInfinite, std::stop_token stop = {});

private:
    bool TryTakeLocked() override;
    long count_;
    const long maximum_;
};

struct WaitResult {
    enum class Kind { Signalled, Timeout, Stopped };
    Kind kind = Kind::Timeout;
    std::size_t index = 0;  // the object taken, when Signalled

    bool signalled() const { return kind == Kind::Signalled; }
};

// Waits until one of the objects is signalled and takes it; when several are,
// the first in list order wins. A stop request ends the wait at once.
WaitResult WaitForAny(std::span<Waitable* const> objects, Millis timeout = kInfinite,
                      std::stop_token stop = {});
WaitResult WaitForAny(std::initializer_list<Waitable*> objects, Millis timeout = kInfinite,
                      std::stop_token stop = {});

// Sleeps for the duration; false when a stop request cut it short.
bool SleepFor(Millis duration, std::stop_token stop = {});

}  // namespace platform
