#include "platform/WorkerThread.h"

#include <gtest/gtest.h>

#include "platform/SyncObjects.h"

TEST(WorkerThread, StopsCooperativelyAndReportsRunning) {
    platform::WorkerThread t;
    platform::Event started;
    ASSERT_TRUE(t.Start([&](std::stop_token stop) {
        started.Set();
        platform::SleepFor(platform::kInfinite, stop);
    }));
    ASSERT_TRUE(started.Wait(platform::Millis(10000)));
    EXPECT_TRUE(t.Running());
    EXPECT_FALSE(t.Start([](std::stop_token) {}));  // one body at a time
    t.Stop();
    EXPECT_FALSE(t.Running());
    EXPECT_FALSE(t.Attached());
    // After a join the object can run a new body.
    EXPECT_TRUE(t.Start([](std::stop_token) {}));
    t.Join();
}

TEST(WorkerThread, JoinFromItsOwnBodyDoesNotDeadlock) {
    platform::WorkerThread t;
    platform::Event done;
    ASSERT_TRUE(t.Start([&](std::stop_token) {
        t.Join();
        done.Set();
    }));
    EXPECT_TRUE(done.Wait(platform::Millis(10000)));
}
