#include "session/ApplicationStartup.h"

#include "session/devices/ControlFile.h"
#include "session/AppData.h"
#include "session/net/BlockingSocket.h"

namespace session {

std::unique_ptr<AppData> InitKernelObject(UiPort* ui) {
    auto app = std::make_unique<AppData>();
    app->SetUiPort(ui);
    const auto result = mainwindow::LoadControlFile(mainwindow::ControlFilePath(), app->ControlFile);
    for (const auto& problem : result.problems)
        app->Ui().ShowMessageBox(problem.messageId);
    mainwindow::BindControlProtocols(app->ControlFile);
    app->SessionCookie.Set("");
    if (!result.ok)
        return nullptr;
    return app;
}

int GetLocalHostAddress(AppData& app) {
    app.LocalHostAddress.Set(FormatLocalHostAddress());
    return 1;
}

int AllocateSystemBuffer(AppData& app) {
    bool ok = app.lp_SocketBuffer.Allocate(AppData::w_SocketBufferCount * kSocketSlotSize);
    ok = app.lp_ComposeBuffer.Allocate(kPictureBufferSize) && ok;
    ok = app.lp_ImageBuffer.Allocate(AppData::w_ImageBufferCount * kPictureBufferSize) && ok;
    app.lp_SlotInfo = {};
    ok = app.FrameHistory.Allocate() && ok;
    ok = app.CAlarmRecord().AllocateBuffer() && ok;
    ok = app.CUserRecord().AllocateBuffer() && ok;
    ok = app.CSchRecord().AllocateBuffer() && ok;
    // The display grows these two to a doubled picture when it meets one.
    ok = app.lp_ResizeBuffer.Allocate(kPictureBufferSize) && ok;
    ok = app.lp_FrameCopyBuffer.Allocate(kPictureBufferSize) && ok;
    if (!ok)
        return 0;
    app.w_SocketBufferWriteIndex.store(0);
    app.w_SocketBufferReadIndex.store(0);
    app.w_SorelMp4DecodeIndex.store(0);
    app.w_ImageWriteIndex.store(0);
    return 1;
}

int FreeSystemBuffer(AppData& app) {
    app.lp_ComposeBuffer.Free();
    app.lp_ImageBuffer.Free();
    app.lp_DisplayBits.Free();
    app.lp_SocketBuffer.Free();
    app.lp_FrameCopyBuffer.Free();
    app.FrameHistory.Free();
    app.CAlarmRecord().FreeBuffer();
    app.CUserRecord().FreeBuffer();
    app.CSchRecord().FreeBuffer();
    app.lp_ResizeBuffer.Free();
    return 1;
}

}  // namespace session
