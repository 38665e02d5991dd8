#include "gui/QtUiPort.h"

#include <QMetaObject>
#include <QThread>

namespace session {

QtUiPort::QtUiPort(UiPort& target, QObject* parent) : QObject(parent), target_(target) {}

void QtUiPort::Deliver(std::function<void()> call) {
    if (QThread::currentThread() == thread())
        call();
    else
        QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void QtUiPort::SetStatusText(const std::string& text) {
    Deliver([this, text] { target_.SetStatusText(text); });
}

void QtUiPort::ShowStatus(int code, unsigned value) {
    Deliver([this, code, value] { target_.ShowStatus(code, value); });
}

void QtUiPort::ShowMessageBox(unsigned stringId) {
    Deliver([this, stringId] { target_.ShowMessageBox(stringId); });
}

void QtUiPort::ShowMessageText(const std::string& text) {
    Deliver([this, text] { target_.ShowMessageText(text); });
}

void QtUiPort::RequestClose() {
    Deliver([this] { target_.RequestClose(); });
}

void QtUiPort::FrameReady() {
    if (framePending_.exchange(true))
        return;
    Deliver([this] {
        framePending_.store(false);
        target_.FrameReady();
    });
}

void QtUiPort::EnterFullScreen() {
    Deliver([this] { target_.EnterFullScreen(); });
}

void QtUiPort::RequestRelayout() {
    Deliver([this] { target_.RequestRelayout(); });
}

void QtUiPort::SetButtonState(std::uint32_t flagMask, int state) {
    Deliver([this, flagMask, state] { target_.SetButtonState(flagMask, state); });
}

void QtUiPort::PostAlarmAudio(int lParam) {
    Deliver([this, lParam] { target_.PostAlarmAudio(lParam); });
}

void QtUiPort::RefreshStatus() {
    Deliver([this] { target_.RefreshStatus(); });
}

void QtUiPort::PostSensorMode(unsigned wParam) {
    Deliver([this, wParam] { target_.PostSensorMode(wParam); });
}

void QtUiPort::SetButtonImage(std::uint16_t controlId, int imageState, const std::string& toolTip) {
    Deliver([this, controlId, imageState, toolTip] { target_.SetButtonImage(controlId, imageState, toolTip); });
}


void QtUiPort::SyncCurrentChannel(std::uint8_t channel) {
    Deliver([this, channel] { target_.SyncCurrentChannel(channel); });
}

void QtUiPort::OnFrameSize(std::uint16_t width, std::uint16_t height) {
    Deliver([this, width, height] { target_.OnFrameSize(width, height); });
}

void QtUiPort::OnFrame(std::uint16_t width, std::uint16_t height, std::uint8_t channel) {
    if (QThread::currentThread() == thread()) {
        target_.OnFrame(width, height, channel);
        return;
    }
    // Every frame restates its size and channel; one that changes nothing
    // costs the GUI no wake-up. The window's state answers that only once
    // every earlier frame's call has been handled.
    if (framesOnTheirWay_.load() == 0 && target_.FrameChangesNothing(width, height, channel))
        return;
    framesOnTheirWay_.fetch_add(1);
    Deliver([this, width, height, channel] {
        target_.OnFrame(width, height, channel);
        framesOnTheirWay_.fetch_sub(1);
    });
}

void QtUiPort::LowerMainWindow() {
    Deliver([this] { target_.LowerMainWindow(); });
}

}  // namespace session
