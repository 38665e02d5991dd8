#include "session/DeviceCommandWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;

TEST(DeviceCommandWorkerTest, RunsJobsInTheOrderPosted) {
    session::DeviceCommandWorker worker;
    std::mutex mutex;
    std::vector<int> order;
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(worker.Post([&, i](std::stop_token) {
            std::lock_guard lock(mutex);
            order.push_back(i);
        }));
    ASSERT_TRUE(testutil::WaitUntil([&] { return worker.Pending() == 0; }));
    std::lock_guard lock(mutex);
    ASSERT_EQ(order.size(), 20u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(order[i], i);
}

TEST(DeviceCommandWorkerTest, StopEndsTheRunningJobDropsTheWaitingOnesAndRefusesNewOnes) {
    session::DeviceCommandWorker worker;
    std::atomic<bool> started{false}, sawStop{false}, laterRan{false};
    worker.Post([&](std::stop_token stop) {
        started = true;
        while (!stop.stop_requested())
            std::this_thread::sleep_for(1ms);
        sawStop = true;
    });
    worker.Post([&](std::stop_token) { laterRan = true; });
    ASSERT_TRUE(testutil::WaitUntil([&] { return started.load(); }));
    worker.Stop();
    EXPECT_TRUE(sawStop);
    EXPECT_FALSE(laterRan);
    EXPECT_EQ(worker.Pending(), 0u);
    EXPECT_FALSE(worker.Post([](std::stop_token) {}));

    worker.Restart();
    std::atomic<bool> ranAfterRestart{false};
    EXPECT_TRUE(worker.Post([&](std::stop_token) { ranAfterRestart = true; }));
    EXPECT_TRUE(testutil::WaitUntil([&] { return ranAfterRestart.load(); }));
}

}  // namespace
