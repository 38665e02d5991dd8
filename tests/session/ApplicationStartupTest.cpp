#include "session/ApplicationStartup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "fakes/RecordingUiPort.h"
#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "support/TempFolder.h"

namespace {

// Start-up in a program folder of the test's own.
class ApplicationStartupTest : public ::testing::Test {
protected:
    // The program folder alone: no shipped files beside the test program.
    void SetUp() override {
        ::setenv("QUENLO_HOME", folder.path().c_str(), 1);
        platform::SetShippedFolders(std::vector<std::filesystem::path>{});
    }
    void TearDown() override {
        ::unsetenv("QUENLO_HOME");
        platform::SetShippedFolders(std::nullopt);
    }

    testutil::TempFolder folder;
    fakes::RecordingUiPort ui;
};

TEST_F(ApplicationStartupTest, MissingControlFileShows4094AndGivesNoDataObject) {
    EXPECT_EQ(session::InitKernelObject(&ui), nullptr);
    EXPECT_EQ(ui.Calls(), std::vector<std::string>{"msgbox:4094"});
}

TEST_F(ApplicationStartupTest, ReadableControlFileGivesTheDataObjectQuietly) {
    folder.Write("CtrlFile.ini", "[DEVICE NUMBER]\n0\n[EOF]\nEND\n");
    auto app = session::InitKernelObject(&ui);
    ASSERT_NE(app, nullptr);
    EXPECT_TRUE(ui.Calls().empty());
    EXPECT_TRUE(app->SessionCookie.Empty());
}

TEST(SystemBufferTest, BuffersHoldTheirPicturesAndFreeingTwiceIsHarmless) {
    session::AppData app;
    app.w_SocketBufferReadIndex.store(1);
    ASSERT_EQ(session::AllocateSystemBuffer(app), 1);
    EXPECT_EQ(app.lp_SocketBuffer.size(), 2u * 102400);
    for (const auto* buffer : {&app.lp_ComposeBuffer, &app.lp_ImageBuffer, &app.lp_ResizeBuffer,
                               &app.lp_FrameCopyBuffer})
        EXPECT_EQ(buffer->size(), 1572864u);
    EXPECT_TRUE(app.FrameHistory.Allocated());
    EXPECT_EQ(app.w_SocketBufferReadIndex.load(), 0);

    EXPECT_EQ(session::FreeSystemBuffer(app), 1);
    EXPECT_EQ(session::FreeSystemBuffer(app), 1);
    EXPECT_FALSE(app.lp_ImageBuffer);
    EXPECT_FALSE(app.lp_ResizeBuffer);
    EXPECT_FALSE(app.FrameHistory.Allocated());
}

}  // namespace
