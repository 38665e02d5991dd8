#pragma once
// A UiPort that records every call as a line of text, in order, for tests.

#include <string>

#include "fakes/CallLog.h"
#include "session/UiPort.h"

namespace fakes {

class RecordingUiPort : public session::UiPort, public CallLog {
public:
    void SetStatusText(const std::string& text) override { Add("status:" + text); }
    void ShowStatus(int code, unsigned value) override {
        Add("showstatus:" + std::to_string(code) + "," + std::to_string(value));
    }
    void ShowMessageBox(unsigned id) override { Add("msgbox:" + std::to_string(id)); }
    void ShowMessageText(const std::string& text) override { Add("msgtext:" + text); }
    void RequestClose() override { Add("close"); }
    void FrameReady() override { Add("frame"); }
    void EnterFullScreen() override { Add("fullscreen"); }
    void RequestRelayout() override { Add("relayout"); }
    void SetButtonState(std::uint32_t flag, int state) override {
        Add("button:" + std::to_string(flag) + "," + std::to_string(state));
    }
    void PostAlarmAudio(int lParam) override { Add("alarmaudio:" + std::to_string(lParam)); }
    void RefreshStatus() override { Add("refresh"); }
    void PostSensorMode(unsigned wParam) override { Add("sensormode:" + std::to_string(wParam)); }
    void SetButtonImage(std::uint16_t id, int state, const std::string& tip) override {
        Add("buttonimage:" + std::to_string(id) + "," + std::to_string(state) + "," + tip);
    }
    void SyncCurrentChannel(std::uint8_t channel) override {
        Add("syncchannel:" + std::to_string(channel));
    }
    void OnFrameSize(std::uint16_t width, std::uint16_t height) override {
        Add("framesize:" + std::to_string(width) + "x" + std::to_string(height));
    }
    void LowerMainWindow() override { Add("lowermain"); }
};

}  // namespace fakes
