#include <gtest/gtest.h>

#include <vector>

#include "session/net/OptionBlocks.h"

namespace {

using namespace session;
using Bytes = std::vector<std::uint8_t>;

// An "ALL" reply whose every fixed block is filled with its option number + 1,
// followed by an ONLINE rest of the given length (bytes 0xA0, 0xA1, ...).
Bytes AllReply(SysCfgOrder order, std::size_t onlineLength) {
    Bytes reply;
    for (auto option : SysCfgOrderOptions(order))
        reply.insert(reply.end(), kSysCfgOptions[option].size, std::uint8_t(option + 1));
    for (std::size_t i = 0; i < onlineLength; ++i)
        reply.push_back(std::uint8_t(0xA0 + i));
    return reply;
}

bool Filled(std::span<const std::uint8_t> block, std::uint8_t value) {
    return std::all_of(block.begin(), block.end(), [&](auto b) { return b == value; });
}

TEST(OptionBlockTable, NamesSizesAndFixedLengths) {
    EXPECT_EQ(kSysCfgOptions[0].name, "INF");
    EXPECT_EQ(kSysCfgOptions[6].name, "PPPOE");
    EXPECT_EQ(kSysCfgOptions[17].name, "ALL");
    SysCfgBlocks blocks;
    for (std::uint8_t option = 0; option < kOptionAll; ++option) {
        const bool kept = option != 9 && option != 14;
        EXPECT_EQ(SysCfgBlock(blocks, option).size(), kept ? kSysCfgOptions[option].size : 0u)
            << int(option);
    }
    EXPECT_TRUE(SysCfgBlock(blocks, kOptionAll).empty());
    EXPECT_EQ(SysCfgBlock(blocks, 6, false).data(), blocks.by_SysCfgOption6.data());
    EXPECT_EQ(SysCfgBlock(blocks, 6, true).data(), blocks.by_SysCfgOption6New.data());
    EXPECT_EQ(SysCfgFixedLength(SysCfgOrder::Short), 1136u);
    EXPECT_EQ(SysCfgFixedLength(SysCfgOrder::Long), 2044u);
}

struct OrderCase {
    const char* productId;
    const char* firmware;
    SysCfgOrder order;
    bool newPppoe;
};

class FamilyOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(FamilyOrder, OrderAndPppoeLayoutFollowTheFamilyAndItsGate) {
    const auto c = GetParam();
    const auto order = SysCfgOrderFor(c.productId);
    EXPECT_EQ(order, c.order);
    EXPECT_EQ(UsesNewPppoeLayout(order, c.firmware), c.newPppoe);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FamilyOrder,
    ::testing::Values(OrderCase{"R41T", "1052", SysCfgOrder::Long, true},
                      OrderCase{"R41T", "1051", SysCfgOrder::Long, false},
                      OrderCase{"R43T", "1100", SysCfgOrder::Long, true},
                      OrderCase{"R47T", "1007", SysCfgOrder::Short, true},
                      OrderCase{"R47T", "1006", SysCfgOrder::Short, false},
                      OrderCase{"N52H", "1010", SysCfgOrder::Short, true},
                      OrderCase{"G66M", "1000", SysCfgOrder::Short, false},
                      OrderCase{"R41T", "", SysCfgOrder::Long, true},  // malformed: passes
                      OrderCase{"XXXX", "1051", SysCfgOrder::Long, false}));

TEST(SplitAllReply, LongOrderPutsEveryBlockAtItsOffset) {
    SysCfgBlocks blocks;
    blocks.by_SysCfgOption6.fill(0x55);
    blocks.by_SysCfgOption16.fill(0x66);
    ASSERT_TRUE(SplitAllReply(AllReply(SysCfgOrder::Long, 96), SysCfgOrder::Long, true, blocks));
    for (auto option : SysCfgOrderOptions(SysCfgOrder::Long))
        EXPECT_TRUE(Filled(SysCfgBlock(blocks, option), option + 1)) << int(option);
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption6, 0x55));   // the other layout untouched
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption16, 0x66));  // not in this order
    for (std::size_t i = 0; i < 240; ++i)
        EXPECT_EQ(blocks.by_SysCfgOption12[i], i < 96 ? 0xA0 + i : 0) << i;
}

TEST(SplitAllReply, ShortOrderEndsWithPeriAndOldFirmwareUsesTheOldPppoeLayout) {
    SysCfgBlocks blocks;
    blocks.by_SysCfgOption13.fill(0x77);
    ASSERT_TRUE(SplitAllReply(AllReply(SysCfgOrder::Short, 0), SysCfgOrder::Short, false, blocks));
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption16, 17));
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption11, 12));
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption6, 7));
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption6New, 0));
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption13, 0x77));
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption12, 0));
}

TEST(SplitAllReply, OnlineRestLongerThanItsBlockLeavesItZero) {
    SysCfgBlocks blocks;
    blocks.by_SysCfgOption12.fill(0x99);
    ASSERT_TRUE(SplitAllReply(AllReply(SysCfgOrder::Long, 300), SysCfgOrder::Long, true, blocks));
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption12, 0));
    ASSERT_TRUE(SplitAllReply(AllReply(SysCfgOrder::Long, 240), SysCfgOrder::Long, true, blocks));
    EXPECT_EQ(blocks.by_SysCfgOption12[239], std::uint8_t(0xA0 + 239));
}

TEST(SplitAllReply, IncompleteReplyLeavesEveryBlockAsItWas) {
    SysCfgBlocks blocks;
    blocks.by_SysCfgOption0.fill(0x11);
    blocks.by_SysCfgOption12.fill(0x22);
    Bytes reply = AllReply(SysCfgOrder::Long, 0);
    reply.pop_back();
    EXPECT_FALSE(SplitAllReply(reply, SysCfgOrder::Long, true, blocks));
    EXPECT_FALSE(SplitAllReply({}, SysCfgOrder::Short, true, blocks));
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption0, 0x11));
    EXPECT_TRUE(Filled(blocks.by_SysCfgOption12, 0x22));
}

struct CopyCase {
    std::size_t replyLength;
    bool copied;
};

class SingleReply : public ::testing::TestWithParam<CopyCase> {};

TEST_P(SingleReply, ShortRepliesAreZeroFilledAndLongOnesRefused) {
    const auto c = GetParam();
    std::array<std::uint8_t, 44> block;
    block.fill(0xEE);
    const Bytes reply(c.replyLength, 0x31);
    EXPECT_EQ(CopyOptionReply(reply, block), c.copied);
    for (std::size_t i = 0; i < block.size(); ++i) {
        const std::uint8_t expected = !c.copied ? 0xEE : i < c.replyLength ? 0x31 : 0;
        ASSERT_EQ(block[i], expected) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(InfReplies, SingleReply,
                         ::testing::Values(CopyCase{40, true}, CopyCase{44, true},
                                           CopyCase{45, false}, CopyCase{0, true}),
                         [](const auto& info) {
                             return std::to_string(info.param.replyLength) + "Bytes";
                         });

}  // namespace
