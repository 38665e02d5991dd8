#include "session/AppData.h"

#include <gtest/gtest.h>

#include "fakes/RecordingUiPort.h"

namespace {

TEST(AppDataTest, StartValuesBeforeTheFirstLogin) {
    session::AppData app;
    EXPECT_EQ(app.dw_LifeTime, -1);
    EXPECT_EQ(app.by_MouseMode, 1);
    EXPECT_EQ(app.w_MarkerX, 50);
    EXPECT_EQ(app.w_MarkerY, 50);
    EXPECT_EQ(app.w_MarkerWidth, 50);
    EXPECT_EQ(app.w_MarkerHeight, 50);
    EXPECT_EQ(app.w_MarkerCountdown, 0);
    EXPECT_EQ(app.str_APVersion.Get(), "1.0.5.3");
    EXPECT_EQ(app.by_TurboRepeatStep, 5);
    EXPECT_EQ(app.by_RecordChannel, 4);
    EXPECT_EQ(app.dw_PresetMode, 0u);
    EXPECT_EQ(app.dw_TurboMode, 0u);
    EXPECT_EQ(app.dw_VideoConnected, 0u);
    EXPECT_EQ(app.dw_GetImageThreadRunning, 0u);
    EXPECT_EQ(app.dw_SystemDialogActive, 0u);
    EXPECT_EQ(app.ControlFile.RecordCount(), 0u);
    EXPECT_TRUE(app.SessionCookie.Empty());
    EXPECT_EQ(app.C_ControlD.Snapshot(), mainwindow::ControlDeviceState{});
    EXPECT_FALSE(app.h_Process_KernelMessageThread.Attached());
    EXPECT_FALSE(app.lp_ComposeBuffer);
}

TEST(AppDataTest, StreamSemaphoresStartWithOneFreeSlotAndNothingReady) {
    session::AppData app;
    EXPECT_EQ(app.h_SocketBufferFreeSem.Count(), 1);
    EXPECT_EQ(app.h_SocketBufferRelSem.Count(), 0);
    EXPECT_EQ(app.h_JPEGImageBufferFreeSem.Count(), 1);
    EXPECT_EQ(app.h_JPEGImageBufferRelSem.Count(), 0);
    EXPECT_EQ(app.h_FrameCopyDoneSem.Count(), 0);
    EXPECT_FALSE(app.h_SocketBufferFreeSem.Release()) << "maximum is one slot";
}

TEST(AppDataTest, ResetStreamSemaphoresRestoresTheStartCounts) {
    session::AppData app;
    ASSERT_TRUE(app.h_SocketBufferFreeSem.Wait(platform::Millis(0)));
    ASSERT_TRUE(app.h_SocketBufferRelSem.Release());
    ASSERT_TRUE(app.h_JPEGImageBufferRelSem.Release());
    ASSERT_TRUE(app.h_FrameCopyDoneSem.Release());
    app.ResetStreamSemaphores();
    EXPECT_EQ(app.h_SocketBufferFreeSem.Count(), 1);
    EXPECT_EQ(app.h_SocketBufferRelSem.Count(), 0);
    EXPECT_EQ(app.h_JPEGImageBufferFreeSem.Count(), 1);
    EXPECT_EQ(app.h_JPEGImageBufferRelSem.Count(), 0);
    EXPECT_EQ(app.h_FrameCopyDoneSem.Count(), 0);
}

TEST(AppDataTest, OnlyTheEndOfReceiveEventIsManualReset) {
    session::AppData app;
    app.h_EndofGetJpegImageEvent.Set();
    EXPECT_TRUE(app.h_EndofGetJpegImageEvent.Wait(platform::Millis(0)));
    EXPECT_TRUE(app.h_EndofGetJpegImageEvent.IsSet());
    app.h_EndofShowImageEvent.Set();
    EXPECT_TRUE(app.h_EndofShowImageEvent.Wait(platform::Millis(0)));
    EXPECT_FALSE(app.h_EndofShowImageEvent.IsSet());
}

TEST(AppDataTest, PortsDoNothingUntilAttached) {
    session::AppData app;
    app.Ui().ShowMessageBox(4094);
    app.CAlarmRecord().TerminateRecord();
    EXPECT_FALSE(app.CUserRecord().ResumeRecord());
    EXPECT_EQ(app.CSchRecord().HistorySem(), nullptr);

    fakes::RecordingUiPort ui;
    app.SetUiPort(&ui);
    app.Ui().ShowMessageBox(4094);
    EXPECT_EQ(ui.Calls(), std::vector<std::string>{"msgbox:4094"});
}

TEST(AppDataTest, PictureBuffersAllocateTheirSizes) {
    session::AppData app;
    ASSERT_TRUE(app.lp_SocketBuffer.Allocate(app.w_SocketBufferCount * session::kSocketSlotSize));
    ASSERT_TRUE(app.lp_ComposeBuffer.Allocate(session::kPictureBufferSize));
    EXPECT_EQ(app.lp_SocketBuffer.size(), 204800u);
    EXPECT_EQ(app.lp_ComposeBuffer.size(), 1572864u);
    app.lp_ComposeBuffer.Free();
    EXPECT_FALSE(app.lp_ComposeBuffer);
    EXPECT_EQ(app.lp_ComposeBuffer.size(), 0u);
}

}  // namespace
