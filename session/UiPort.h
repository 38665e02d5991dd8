#pragma once
// How the core reaches the main window and the other windows: every call may
// come from any thread; the Qt implementation queues it to the GUI thread, so
// none of them waits for the GUI. Every method has a do-nothing default, so a
// window (or a test fake) implements only what it shows.

#include <cstdint>
#include <string>

namespace session {

class UiPort {
public:
    virtual ~UiPort() = default;

    // Status line text (CTavrinDlg::SetStatusText).
    virtual void SetStatusText(const std::string& text) {}
    // Re-login progress (WM_POSTSHOWSTATUS: code and value).
    virtual void ShowStatus(int code, unsigned value) {}
    // Message box with the string-table text of the id (WM_POSTMESSAGEBOX).
    virtual void ShowMessageBox(unsigned stringId) {}
    // Message box with a literal text (a few messages are not in the string table).
    virtual void ShowMessageText(const std::string& text) {}
    // Orderly close of the application (WM_POSTCLOSEAPP).
    virtual void RequestClose() {}
    // A new picture waits in the latest-frame slot; repaint the video area.
    virtual void FrameReady() {}
    // Full-screen mode's first picture: switch the main window to the
    // full-screen rectangle once and hide its buttons.
    virtual void EnterFullScreen() {}
    // Re-lay the main window's controls (layout or device changed).
    virtual void RequestRelayout() {}
    // Tool button picture state by descriptor flag (0x01 link, 0x20 record).
    virtual void SetButtonState(std::uint32_t flagMask, int state) {}
    // Alarm sound request (WM_POSTALARMAUDIO; 2 stops the sound).
    virtual void PostAlarmAudio(int lParam) {}
    // Repaint the information area (WM_POSTREFRESHSTATUS).
    virtual void RefreshStatus() {}
    // G66M sensor mode bits (WM_POSTSENSORMODE).
    virtual void PostSensorMode(unsigned wParam) {}
    // Picture state of a main-window button by control id (R.E.T.R. 8331,
    // PTZ control 8312), and its tool tip when the text is not empty.
    virtual void SetButtonImage(std::uint16_t controlId, int imageState, const std::string& toolTip) {}
    // The channel bar: the pictures now come from this channel or view (16 = multi-channel view).
    virtual void SyncCurrentChannel(std::uint8_t channel) {}
    // The video-size selector: the size of the picture just decoded.
    virtual void OnFrameSize(std::uint16_t width, std::uint16_t height) {}
    // Both of the above for one decoded frame, size first: a port that hands
    // calls to another thread hands these two over as one.
    virtual void OnFrame(std::uint16_t width, std::uint16_t height, std::uint8_t channel) {
        OnFrameSize(width, height);
        SyncCurrentChannel(channel);
    }
    // True when OnFrame with these values would leave the window as it is.
    // Asked on the decoding thread, so it may read only what any thread may.
    virtual bool FrameChangesNothing(std::uint16_t width, std::uint16_t height, std::uint8_t channel) const {
        return false;
    }
    // Put the main window below the others without moving, sizing or activating
    // it, so a newly started companion player is seen on top.
    virtual void LowerMainWindow() {}
};

}  // namespace session
