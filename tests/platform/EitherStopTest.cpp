// The joined stop token: either source stops it, also one stopped before it was made.
#include <gtest/gtest.h>

#include "platform/EitherStop.h"

namespace {

TEST(EitherStop, EitherSourceStopsTheTokenAndNeitherLeavesItRunning) {
    for (int which = 0; which < 3; ++which) {
        std::stop_source a, b;
        platform::EitherStop either(a.get_token(), b.get_token());
        const std::stop_token token = either.Token();
        EXPECT_FALSE(token.stop_requested());
        if (which == 1)
            a.request_stop();
        if (which == 2)
            b.request_stop();
        EXPECT_EQ(token.stop_requested(), which != 0) << which;
    }
}

TEST(EitherStop, ASourceStoppedBeforehandStopsTheTokenAtOnce) {
    std::stop_source a, b;
    b.request_stop();
    platform::EitherStop either(a.get_token(), b.get_token());
    EXPECT_TRUE(either.Token().stop_requested());
}

}  // namespace
