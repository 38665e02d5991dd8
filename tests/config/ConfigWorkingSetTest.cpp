// The sheet's working copies: pages edit them, Exit drops them, and only a
// committed block reaches the session's blocks.

#include <gtest/gtest.h>

#include "config/ConfigWorkingSet.h"
#include "config/Tracked.h"
#include "session/AppData.h"
#include "simulator/DeviceProfile.h"

namespace config {
namespace {

using session::SysCfgBlocks;

// The session's blocks as a DVR left them after the setup command's fetch.
void LoadSimulatorBlocks(session::AppData& app, const char* product, const char* firmware) {
    auto profile = devicesim::DeviceProfile::ForProduct(product);
    app.str_ProductID = product;
    app.str_FWVersion = firmware;
    app.SysCfg.Update([&](SysCfgBlocks& blocks) {
        for (std::uint8_t option = 0; option < session::kOptionAll; ++option) {
            const auto block = session::SysCfgBlock(blocks, option);
            const auto bytes = profile.Block(option);
            std::copy_n(bytes.begin(), std::min(bytes.size(), block.size()), block.begin());
        }
    });
}

bool SameBytes(const SysCfgBlocks& a, const SysCfgBlocks& b) {
    for (std::uint8_t option = 0; option < session::kOptionAll; ++option)
        for (bool layout : {false, true}) {
            auto x = session::SysCfgBlock(const_cast<SysCfgBlocks&>(a), option, layout);
            auto y = session::SysCfgBlock(const_cast<SysCfgBlocks&>(b), option, layout);
            if (!std::equal(x.begin(), x.end(), y.begin(), y.end()))
                return false;
        }
    return true;
}

TEST(ConfigWorkingSet, EditsThenDiscardLeaveTheSessionBlocksUntouched) {
    session::AppData app;
    LoadSimulatorBlocks(app, "R41T", "1052");
    const SysCfgBlocks before = app.SysCfg.Get();
    {
        ConfigWorkingSet set(app);
        ASSERT_EQ(set.Write(4, "sz_SmtpServer", 0, std::string("mail.example")), FieldStatus::Ok);
        ASSERT_EQ(set.Write(1, "w_WebPort", 0, std::int64_t(8080)), FieldStatus::Ok);
        ASSERT_EQ(set.Write(13, "by_Brightness", 5, std::int64_t(7)), FieldStatus::Ok);
        EXPECT_TRUE(set.Changed(4));
        EXPECT_TRUE(set.Changed(1));
        EXPECT_FALSE(set.Changed(5));
        EXPECT_EQ(set.Text(4, "sz_SmtpServer"), "mail.example");
    }
    EXPECT_TRUE(SameBytes(app.SysCfg.Get(), before));
}

TEST(ConfigWorkingSet, CommitMovesOnlyItsBlock) {
    session::AppData app;
    LoadSimulatorBlocks(app, "R41T", "1052");
    const SysCfgBlocks before = app.SysCfg.Get();
    ConfigWorkingSet set(app);
    ASSERT_EQ(set.Write(1, "w_WebPort", 0, std::int64_t(8080)), FieldStatus::Ok);
    ASSERT_EQ(set.Write(5, "w_FtpPort", 0, std::int64_t(2121)), FieldStatus::Ok);
    set.Commit(1);

    EXPECT_FALSE(set.Changed(1));
    EXPECT_TRUE(set.Changed(5));
    SysCfgBlocks expected = before;
    expected.by_SysCfgOption1[16] = 8080 & 0xFF;
    expected.by_SysCfgOption1[17] = 8080 >> 8;
    EXPECT_TRUE(SameBytes(app.SysCfg.Get(), expected));
}

TEST(ConfigWorkingSet, PppoeBlockIsTheCopyOfTheDevicesLayout) {
    session::AppData app;
    LoadSimulatorBlocks(app, "R41T", "1051");
    ConfigWorkingSet set(app);
    EXPECT_EQ(set.Working(6).data() == nullptr, false);
    ASSERT_EQ(set.Write(6, "sz_PppoeUser", 0, std::string("abc")), FieldStatus::Ok);
    set.Commit(6);
    const SysCfgBlocks after = app.SysCfg.Get();
    EXPECT_EQ(after.by_SysCfgOption6[36], 'a');   // the old layout's copy
    EXPECT_NE(after.by_SysCfgOption6New[36], 'a');
}

TEST(ConfigWorkingSet, ClearedLoadedBytesAreNoChange) {
    session::AppData app;
    LoadSimulatorBlocks(app, "R47T", "1010");
    app.SysCfg.Update([](SysCfgBlocks& b) { b.by_SysCfgOption4[71] = 'x'; });
    ConfigWorkingSet set(app);
    const std::size_t offsets[] = {71, 87, 407, 439};
    set.ClearLoadedBytes(4, offsets);
    EXPECT_EQ(set.Working(4)[71], 0);
    EXPECT_EQ(set.Loaded(4)[71], 0);
    EXPECT_FALSE(set.Changed(4));
}

TEST(Tracked, OnlyAnEditIsAChange) {
    Tracked<int> value;
    value.Load(10000);
    EXPECT_FALSE(value.Changed());
    value.Edit(9999);
    EXPECT_TRUE(value.Changed());
    value.Edit(10000);
    EXPECT_FALSE(value.Changed());
}

}  // namespace
}  // namespace config
