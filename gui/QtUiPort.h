#pragma once
// The core's UiPort for a Qt window: each call is handed to the window's own
// UiPort on the GUI thread, queued when it comes from another thread (direct
// on the GUI thread itself), so no core thread ever waits for the GUI.
// Repaint requests are merged: while one is on its way, further ones are not
// queued again, so a busy GUI drops pictures instead of piling up events. A
// frame's size and channel that would change nothing are not queued at all.

#include <QObject>

#include <atomic>
#include <functional>

#include "session/UiPort.h"

namespace session {

class QtUiPort : public QObject, public UiPort {
    Q_OBJECT

public:
    // target is called on the thread this object lives on (the GUI thread).
    explicit QtUiPort(UiPort& target, QObject* parent = nullptr);

    void SetStatusText(const std::string& text) override;
    void ShowStatus(int code, unsigned value) override;
    void ShowMessageBox(unsigned stringId) override;
    void ShowMessageText(const std::string& text) override;
    void RequestClose() override;
    void FrameReady() override;
    void EnterFullScreen() override;
    void RequestRelayout() override;
    void SetButtonState(std::uint32_t flagMask, int state) override;
    void PostAlarmAudio(int lParam) override;
    void RefreshStatus() override;
    void PostSensorMode(unsigned wParam) override;
    void SetButtonImage(std::uint16_t controlId, int imageState, const std::string& toolTip) override;
    void SyncCurrentChannel(std::uint8_t channel) override;
    void OnFrameSize(std::uint16_t width, std::uint16_t height) override;
    void OnFrame(std::uint16_t width, std::uint16_t height, std::uint8_t channel) override;
    void LowerMainWindow() override;

private:
    void Deliver(std::function<void()> call);

    UiPort& target_;
    std::atomic<bool> framePending_{false};
    std::atomic<int> framesOnTheirWay_{0};  // OnFrame calls queued, not yet handled
};

}  // namespace session
