#include "session/live/FrameHistory.h"

#include <gtest/gtest.h>

#include <vector>

using recording::FrameHistory;
using recording::FrameHistoryEntry;
using recording::kFrameHistoryCount;

namespace {

std::vector<std::uint8_t> FrameOf(std::size_t size, std::uint8_t fill) {
    return std::vector<std::uint8_t>(size, fill);
}

TEST(FrameHistory, WriteIndexRunsZeroToNineteenAndWraps) {
    FrameHistory history;
    ASSERT_TRUE(history.Allocate());
    for (std::size_t i = 0; i < kFrameHistoryCount; ++i) {
        EXPECT_EQ(history.WriteIndex(), i);
        const auto frame = FrameOf(100 + i, static_cast<std::uint8_t>(i));
        FrameHistoryEntry fields;
        fields.dwStreamTime = static_cast<std::uint32_t>(i);
        ASSERT_TRUE(history.Store(frame, fields));
        EXPECT_EQ(history.NewestIndex(), i);
    }
    EXPECT_EQ(history.WriteIndex(), 0);  // 19 wraps to 0: entry 0 is now the oldest
    EXPECT_EQ(history.NewestIndex(), 19);
    ASSERT_TRUE(history.Store(FrameOf(7, 0xEE), {}));
    EXPECT_EQ(history.WriteIndex(), 1);
    EXPECT_EQ(history.Entry(0).dwLength, 7u);
    EXPECT_EQ(history.Frame(0)[6], 0xEE);
    EXPECT_EQ(history.Entry(19).dwStreamTime, 19u);
    EXPECT_EQ(history.Frame(19).size(), 119u);
}

TEST(FrameHistory, StoreReplacesTheWholeEntry) {
    FrameHistory history;
    ASSERT_TRUE(history.Allocate());
    FrameHistoryEntry first;
    first.dwFrameNumber = 9;
    first.dwVideoLoss = 1;
    first.wWidth = 640;
    for (std::size_t i = 0; i < kFrameHistoryCount; ++i)
        ASSERT_TRUE(history.Store(FrameOf(10, 1), first));
    FrameHistoryEntry second;
    second.dwMarker = recording::kFrameHistoryMarker;
    second.wHeight = 288;
    ASSERT_TRUE(history.Store(FrameOf(3, 2), second));
    FrameHistoryEntry expected = second;
    expected.dwLength = 3;
    EXPECT_EQ(history.Entry(0), expected);  // nothing of the old entry survives
}

TEST(FrameHistory, OversizeFrameAndMissingRingAreRefused) {
    FrameHistory history;
    EXPECT_FALSE(history.Store(FrameOf(10, 1), {}));  // not allocated
    ASSERT_TRUE(history.Allocate());
    ASSERT_TRUE(history.Allocate());  // a second call keeps what it has
    EXPECT_TRUE(history.Store(FrameOf(recording::kFrameHistoryFrameBytes, 3), {}));
    EXPECT_FALSE(history.Store(FrameOf(recording::kFrameHistoryFrameBytes + 1, 4), {}));
    EXPECT_EQ(history.WriteIndex(), 1);
    EXPECT_EQ(history.Frame(0).back(), 3);
    history.Free();
    EXPECT_FALSE(history.Allocated());
    EXPECT_FALSE(history.Store(FrameOf(10, 1), {}));
}

}  // namespace
