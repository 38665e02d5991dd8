#include "platform/SyncObjects.h"

#include <gtest/gtest.h>

#include "support/ThreadSleeping.h"
#include "support/WaitUntil.h"

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using platform::Event;
using platform::Millis;
using platform::Semaphore;
using platform::WaitForAny;
using platform::WaitResult;

namespace {

// Starts n (at most 4) threads that each wait once on the event and count
// their wake-ups. The wait is long, so that only a signal ends it on a loaded
// machine.
struct Waiters {
    std::atomic<int> woken{0};
    std::array<testutil::ThreadId, 4> ids;
    std::vector<std::jthread> threads;
    Waiters(Event& e, int n) {
        for (int i = 0; i < n; ++i)
            threads.emplace_back([&, i] {
                ids[i].Publish();
                if (e.Wait(Millis(30000)))
                    ++woken;
            });
    }
    // Every thread sleeps in its wait.
    bool AllWaiting() const {
        for (std::size_t i = 0; i < threads.size(); ++i)
            if (!testutil::WaitUntilSleeping(ids[i]))
                return false;
        return true;
    }
};

}  // namespace

TEST(Event, AutoResetWakesExactlyOneWaiter) {
    Event e(Event::ResetMode::Auto);
    {
        Waiters w(e, 3);
        ASSERT_TRUE(w.AllWaiting());
        e.Set();
        ASSERT_TRUE(testutil::WaitUntil([&] { return w.woken.load() >= 1; }));
        // The signal went to that one: none is left for the others.
        EXPECT_FALSE(e.IsSet());
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(w.woken.load(), 1);
        // Each further signal wakes one more.
        e.Set();
        ASSERT_TRUE(testutil::WaitUntil([&] { return w.woken.load() >= 2; }));
        e.Set();
        ASSERT_TRUE(testutil::WaitUntil([&] { return w.woken.load() >= 3; }));
    }
    EXPECT_FALSE(e.IsSet());
}

TEST(Event, AutoResetHoldsOneSignalNotACount) {
    Event e(Event::ResetMode::Auto);
    e.Set();
    e.Set();
    EXPECT_TRUE(e.Wait(Millis(0)));
    EXPECT_FALSE(e.Wait(Millis(0)));
}

TEST(Event, ManualResetWakesAllWaitersAndStaysSet) {
    Event e(Event::ResetMode::Manual);
    {
        Waiters w(e, 4);
        ASSERT_TRUE(w.AllWaiting());
        e.Set();
        w.threads.clear();
        EXPECT_EQ(w.woken.load(), 4);
    }
    EXPECT_TRUE(e.IsSet());
    EXPECT_TRUE(e.Wait(Millis(0)));
    e.Reset();
    EXPECT_FALSE(e.Wait(Millis(0)));
}

TEST(Event, InitialStateIsHonoured) {
    Event set(Event::ResetMode::Auto, true);
    EXPECT_TRUE(set.Wait(Millis(0)));
    EXPECT_FALSE(set.Wait(Millis(0)));
}

TEST(Semaphore, ReleasePastMaximumFailsAndKeepsCount) {
    Semaphore s(1, 1);
    EXPECT_FALSE(s.Release());
    EXPECT_EQ(s.Count(), 1);
    EXPECT_TRUE(s.Wait(Millis(0)));
    EXPECT_FALSE(s.Wait(Millis(0)));
    EXPECT_TRUE(s.Release());
    Semaphore many(0, 3);
    EXPECT_FALSE(many.Release(4));
    EXPECT_TRUE(many.Release(3));
    EXPECT_EQ(many.Count(), 3);
}

TEST(WaitForAny, FirstInListOrderWinsAndOnlyItIsTaken) {
    Event stop(Event::ResetMode::Manual);
    Semaphore data(0, 1);
    stop.Set();
    data.Release();
    auto r = WaitForAny({&stop, &data}, Millis(0));
    ASSERT_TRUE(r.signalled());
    EXPECT_EQ(r.index, 0u);
    EXPECT_EQ(data.Count(), 1);  // the second was left alone

    Semaphore a(1, 1), b(1, 1);
    r = WaitForAny({&b, &a}, Millis(0));
    EXPECT_EQ(r.index, 0u);
    EXPECT_EQ(b.Count(), 0);
    EXPECT_EQ(a.Count(), 1);
}

TEST(WaitForAny, TimesOutWhenNothingIsSignalled) {
    Event e;
    const auto start = std::chrono::steady_clock::now();
    auto r = WaitForAny({&e}, Millis(30));
    EXPECT_EQ(r.kind, WaitResult::Kind::Timeout);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
}

// A stop request must end every kind of wait promptly: far sooner than the
// waits' own minute or forever, with room for a loaded sanitizer run.
TEST(StopRequest, EndsEveryKindOfWaitPromptly) {
    Event e;
    Semaphore s(0, 1);
    const std::vector<std::function<bool(std::stop_token)>> waits = {
        [&](std::stop_token t) { return e.Wait(platform::kInfinite, t); },
        [&](std::stop_token t) { return s.Wait(Millis(60000), t); },
        [&](std::stop_token t) { return WaitForAny({&e, &s}, platform::kInfinite, t).signalled(); },
        [&](std::stop_token t) { return platform::SleepFor(Millis(60000), t); },
        [&](std::stop_token t) { return platform::SleepFor(platform::kInfinite, t); },
    };
    for (std::size_t i = 0; i < waits.size(); ++i) {
        std::stop_source source;
        std::atomic<bool> result{true};
        std::atomic<bool> returned{false};
        testutil::ThreadId waiter;
        std::thread t([&] {
            waiter.Publish();
            result = waits[i](source.get_token());
            returned = true;
        });
        EXPECT_TRUE(testutil::WaitUntilSleeping(waiter)) << "wait " << i;
        EXPECT_FALSE(returned.load()) << "wait " << i << " still waits: nothing signalled it";
        const auto requested = std::chrono::steady_clock::now();
        source.request_stop();
        t.join();
        EXPECT_FALSE(result) << "wait " << i;
        EXPECT_LT(std::chrono::steady_clock::now() - requested, 2000ms) << "wait " << i;
    }
}

TEST(StopRequest, AlreadyStoppedWaitReturnsAtOnceButStillTakesASignal) {
    std::stop_source source;
    source.request_stop();
    Semaphore s(1, 1);
    EXPECT_TRUE(s.Wait(platform::kInfinite, source.get_token()));
    EXPECT_EQ(WaitForAny({&s}, platform::kInfinite, source.get_token()).kind, WaitResult::Kind::Stopped);
}

// Waiters are woken after the signalling thread lets the shared lock go, so a
// waiter taken by one object can be leaving while another object's wake for
// it is still under way. Every signal must reach exactly one taker, and no
// wake may touch a waiter that has gone (the sanitizer runs catch that).
TEST(WaitForAny, WaitersLeaveSafelyWhileOtherObjectsStillWakeThem) {
    Event a(Event::ResetMode::Auto);
    Semaphore b(0, 1000000);
    constexpr int kSignals = 4000;
    std::atomic<int> taken{0};
    std::atomic<bool> signalling{true};
    std::vector<std::jthread> waiters;
    for (int i = 0; i < 4; ++i)
        waiters.emplace_back([&] {
            while (signalling.load() || b.Count() > 0)
                if (WaitForAny({&a, &b}, Millis(1)).signalled())
                    ++taken;
        });
    int released = 0;
    {
        std::jthread setter([&] {
            for (int i = 0; i < kSignals; ++i)
                a.Set();
        });
        for (; released < kSignals; ++released)
            b.Release();
    }
    signalling = false;
    waiters.clear();
    // Every release was taken; Sets that found the event already set merged.
    EXPECT_GE(taken.load(), released);
    EXPECT_LE(taken.load(), released + kSignals);
    EXPECT_EQ(b.Count(), 0);
}
