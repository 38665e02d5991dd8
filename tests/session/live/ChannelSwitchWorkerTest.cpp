#include "session/live/ChannelSwitchWorker.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

using namespace std::chrono_literals;

TEST(ChannelSwitchWorker, WhileASwitchRunsTheNewestRequestReplacesTheWaitingOne) {
    session::ChannelSwitchWorker worker;
    std::mutex mutex;
    std::vector<int> channels;
    platform::Event firstStarted, releaseFirst, lastDone;
    worker.SetSwitcher([&](int channel, std::stop_token stop) {
        {
            std::lock_guard lock(mutex);
            channels.push_back(channel);
        }
        if (channel == 1) {
            firstStarted.Set();
            releaseFirst.Wait(platform::kInfinite, stop);
        }
        if (channel == 5)
            lastDone.Set();
    });
    worker.Request(1);
    ASSERT_TRUE(firstStarted.Wait(10000ms));
    worker.Request(3);
    worker.Request(4);
    worker.Request(5);
    releaseFirst.Set();
    ASSERT_TRUE(lastDone.Wait(10000ms));
    worker.Stop();
    EXPECT_EQ(channels, (std::vector<int>{1, 5}));
}

TEST(ChannelSwitchWorker, StopEndsASwitchInFlightAndWithoutASwitcherNothingRuns) {
    session::ChannelSwitchWorker worker;
    worker.Request(2);  // no switcher yet: dropped, no thread
    platform::Event started;
    worker.SetSwitcher([&](int, std::stop_token stop) {
        started.Set();
        platform::SleepFor(platform::kInfinite, stop);  // a device command that never answers
    });
    worker.Request(7);
    ASSERT_TRUE(started.Wait(10000ms));
    worker.Stop();  // returns only because the switch saw its stop
    SUCCEED();
}
