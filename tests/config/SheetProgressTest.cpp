// The progress channel: commands keep their order across writers, never reach
// a closed sheet, and the bar's arithmetic.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "config/sheet/SheetProgress.h"

namespace config {
namespace {

struct Recorded : SheetProgressSink {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> commands;
    void Deliver(std::uint32_t command, std::uint32_t value) override { commands.emplace_back(command, value); }
};

TEST(SheetProgress, WritersKeepTheirOrderAndNothingReachesAClosedSheet) {
    SheetProgress progress;
    Recorded sink;
    progress.Attach(&sink);
    constexpr std::uint32_t kSteps = 2000;
    std::vector<std::thread> writers;
    for (std::uint32_t w = 0; w < 3; ++w)
        writers.emplace_back([&, w] {
            for (std::uint32_t i = 0; i < kSteps; ++i)
                progress.SetPos(w * kSteps + i);
        });
    for (auto& writer : writers)
        writer.join();
    progress.Command(0);
    progress.Command(9);
    ASSERT_EQ(sink.commands.size(), 3 * kSteps);  // 0 and 9 do nothing
    std::uint32_t last[3] = {0, 0, 0};
    bool first[3] = {true, true, true};
    for (auto [command, value] : sink.commands) {
        ASSERT_EQ(command, Progress_SetPos);
        const std::uint32_t w = value / kSteps;
        ASSERT_TRUE(first[w] || value > last[w]) << "writer " << w << " out of order";
        first[w] = false;
        last[w] = value;
    }

    progress.Detach(&sink);
    progress.End();
    EXPECT_EQ(sink.commands.size(), 3 * kSteps);
    EXPECT_FALSE(progress.Attached());
    g_lpSheetProgress().Begin();  // no sheet: nothing happens
}

TEST(SheetProgress, StateFollowsTheCommands) {
    SheetProgressState state;
    EXPECT_EQ(state.range, 1u);
    EXPECT_FALSE(state.Apply(Progress_SetPos, 5));  // not begun: nothing to draw
    EXPECT_TRUE(state.Apply(Progress_Begin, 0));
    EXPECT_FALSE(state.Apply(Progress_SetRange, 200));
    EXPECT_TRUE(state.Apply(Progress_SetPos, 50));
    EXPECT_FALSE(state.Apply(Progress_End, 0));
    EXPECT_FALSE(state.active);
    EXPECT_EQ(state.position, 0u);
    EXPECT_FALSE(state.Apply(7, 0));
}

TEST(SheetProgress, DrawingFillsAndPlacesThePercentage) {
    const int width = 404;  // an inner width of 400
    SheetProgressState state{200, 50, true};
    ProgressDrawing d = DrawProgress(width, state, false);
    EXPECT_EQ(d.fillWidth, 100);
    EXPECT_EQ(d.percent, " 25 %");
    EXPECT_FALSE(d.textInside);
    EXPECT_EQ(d.textX, 104);

    state.position = 120;
    d = DrawProgress(width, state, false);
    EXPECT_EQ(d.percent, " 60 %");
    EXPECT_TRUE(d.textInside);
    EXPECT_EQ(d.textX, 240 - 43);

    state.range = 0;
    d = DrawProgress(width, state, false);
    EXPECT_FALSE(d.fill || d.text);

    // 64-bit arithmetic; a position past the range fills the bar and no more.
    state = {0xFFFFFFFFu, 0xFFFFFFFFu, true};
    EXPECT_EQ(DrawProgress(width, state, false).percent, "100 %");
    state = {10, 30, true};
    EXPECT_EQ(DrawProgress(width, state, false).fillWidth, 400);

    d = DrawProgress(width, state, true);
    EXPECT_EQ(d.percent, "  0 %");
    EXPECT_FALSE(d.fill);
    EXPECT_EQ(d.textX, 4);
}

}  // namespace
}  // namespace config
