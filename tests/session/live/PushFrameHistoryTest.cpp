#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "fakes/RecordingRecorderPort.h"
#include "platform/WorkerThread.h"
#include "session/live/FrameHistory.h"
#include "support/WaitUntil.h"

using recording::FrameHistory;
using recording::FrameHistoryEntry;

namespace {

class PushFrameHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(history.Allocate()); }
    bool Push(std::uint8_t fill, std::stop_token stop = {}) {
        const std::vector<std::uint8_t> frame(50, fill);
        FrameHistoryEntry fields;
        fields.dwMarker = recording::kFrameHistoryMarker;
        return recording::PushFrameHistory(history, recorders, frame, fields, stop);
    }
    FrameHistory history;
    fakes::RecordingRecorderPort alarm, user, schedule;
    std::array<recording::RecorderPort*, 3> recorders{&alarm, &user, &schedule};
};

TEST_F(PushFrameHistoryTest, WithNoRecorderWritingEveryHistorySemaphoreIsFreeAgain) {
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Push(static_cast<std::uint8_t>(i)));
    for (auto* r : {&alarm, &user, &schedule}) {
        EXPECT_EQ(r->historySem.Count(), 1);
        EXPECT_EQ(r->frameReadySem.Count(), 0);
        EXPECT_EQ(r->Calls(), (std::vector<std::string>{"framestored:0", "framestored:1", "framestored:2"}));
    }
    EXPECT_EQ(history.Frame(2)[0], 2);
}

TEST_F(PushFrameHistoryTest, AWritingRecorderPacesThePushes) {
    alarm.writing = true;
    ASSERT_TRUE(Push(1));
    EXPECT_EQ(alarm.frameReadySem.Count(), 1);  // handed to the record thread
    EXPECT_EQ(alarm.historySem.Count(), 0);     // held until it has written the frame
    EXPECT_EQ(user.historySem.Count(), 1);

    std::atomic<bool> secondDone{false};
    platform::WorkerThread pusher;
    ASSERT_TRUE(pusher.Start([&](std::stop_token) { secondDone = Push(2); }));
    platform::SleepFor(platform::Millis(50));
    EXPECT_FALSE(secondDone.load());
    EXPECT_EQ(history.WriteIndex(), 1);  // the ring stands still while the recorder reads it
    EXPECT_EQ(history.Frame(history.NewestIndex())[0], 1);

    // The record thread takes the frame, writes it and frees the history.
    ASSERT_TRUE(alarm.frameReadySem.Wait(platform::Millis(10000)));
    ASSERT_TRUE(alarm.historySem.Release());
    pusher.Join();
    EXPECT_TRUE(secondDone.load());
    EXPECT_EQ(history.WriteIndex(), 2);
}

TEST_F(PushFrameHistoryTest, StopWhileWaitingGivesBackWhatItTookAndStoresNothing) {
    user.writing = true;
    ASSERT_TRUE(Push(1));  // the manual recorder now holds its history semaphore
    std::atomic<bool> result{true};
    platform::WorkerThread pusher;
    ASSERT_TRUE(pusher.Start([&](std::stop_token stop) { result = Push(2, stop); }));
    // Taken, waiting for the manual one.
    ASSERT_TRUE(testutil::WaitUntil([&] { return alarm.historySem.Count() == 0; }));
    pusher.Stop();
    EXPECT_FALSE(result.load());
    EXPECT_EQ(alarm.historySem.Count(), 1);  // given back
    EXPECT_EQ(schedule.historySem.Count(), 1);
    EXPECT_EQ(history.WriteIndex(), 1);
}

TEST_F(PushFrameHistoryTest, RefusedFrameReleasesEverything) {
    const std::vector<std::uint8_t> tooLong(recording::kFrameHistoryFrameBytes + 1, 7);
    EXPECT_FALSE(recording::PushFrameHistory(history, recorders, tooLong, {}));
    for (auto* r : {&alarm, &user, &schedule}) {
        EXPECT_EQ(r->historySem.Count(), 1);
        EXPECT_TRUE(r->Calls().empty());
    }
    EXPECT_EQ(history.WriteIndex(), 0);
}

}  // namespace
