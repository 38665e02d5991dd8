// The main window's tool commands: connect and disconnect, snapshot, manual
// recording, the configuration sheet, live resolution and quality, and the
// colour dialog. What waits for the device or for a thread runs on the
// device-command worker; the window stays responsive and shows it is busy.

#include <QStringList>

#include "gui/ConfigSheetPort.h"
#include "gui/DeviceCommand.h"
#include "gui/StringText.h"
#include "gui/VtxButton.h"
#include "mainwindow/ColourSettings.h"
#include "mainwindow/ToolCommands.h"
#include "mainwindow/gui/ColourAdjustDialog.h"
#include "mainwindow/gui/TavrinDlg.h"
#include "session/AppData.h"
#include "session/SessionResources.h"

namespace session {

namespace {

constexpr std::uint16_t kColourCommand = 999;
constexpr std::uint16_t kSnapshotCommand = 1004;
constexpr std::uint16_t kRecordCommand = 1005;
constexpr std::uint16_t kSetupCommand = 1006;
constexpr std::uint16_t kResolutionCommand = 1007;
constexpr std::uint16_t kQualityCommand = 1008;

// The record button's tool tips: not recording, recording.
QString RecordTip(bool recording) { return LoadText(kRecordCommand).split('$').value(recording ? 1 : 0); }

}  // namespace

// The recorder switch (1001) and ids without a row do nothing.
void CTavrinDlg::OnToolCommand(std::uint16_t controlId) {
    using Handler = void (CTavrinDlg::*)();
    static constexpr std::pair<std::uint16_t, Handler> kCommands[] = {
        {kColourCommand, &CTavrinDlg::OnColorAdjust}, {kLoginCommand, &CTavrinDlg::OnLogin},
        {kSnapshotCommand, &CTavrinDlg::OnSnapshoot}, {kRecordCommand, &CTavrinDlg::OnRecordButton},
        {kSetupCommand, &CTavrinDlg::OnSystemSetup},  {kResolutionCommand, &CTavrinDlg::OnResol},
        {kQualityCommand, &CTavrinDlg::OnQuility},
    };
    for (const auto& [id, handler] : kCommands)
        if (id == controlId)
            (this->*handler)();
}

bool CTavrinDlg::RefuseWithoutStream() {
    if (m_app.dw_VideoConnected.load() != 0)
        return false;
    ShowMessageBox(mainwindow::kNotConnectedMessage);
    return true;
}

void CTavrinDlg::OnLogin() {
    AppData& app = m_app;
    SessionResources& resources = m_resources;
    const unsigned press = ++m_loginPresses;
    if (m_app.dw_GetImageThreadRunning.load() == 0) {
        // Connect: an old re-login is asked to stop and joined, a new one brings the session back.
        gui::RunDeviceCommand(
            this, m_app.h_DeviceCommandWorker,
            [&resources](std::stop_token) { return resources.StartReLoginThread(); },
            [this, press](bool started) {
                if (!started || press != m_loginPresses)
                    return;
                SetStatusText("CONNECT!!");
                SetButtonState(kLinkButtonFlag, 0);
            });
        return;
    }
    // Disconnect: the sheet closes, then the session is torn down on the worker
    // while the window goes on painting.
    if (gui::ConfigSheetPort* sheet = gui::GetConfigSheetPort())
        sheet->CloseSheet();
    m_app.dw_SystemDialogActive.exchange(0);
    SetButtonState(kLinkButtonFlag, 1);
    SetStatusText("DISCONNECT!!");
    const platform::Timing timing = m_timing;
    gui::RunDeviceCommand(
        this, m_app.h_DeviceCommandWorker,
        [&app, &resources, timing](std::stop_token stop) {
            resources.BeginDisconnect();
            if (app.dw_StreamReceiving.load()) {
                app.h_NotifyGetJPEGImageThreadResetEvent.Set();
                app.h_FeedBackForNotifyResetEvent.Wait(timing.disconnectFeedbackWait, stop);
                app.h_Process_Notify_TerminateEvent.Set();
                app.h_Process_Reply_TerminateEvent.Wait(timing.sessionTeardownTimeout, stop);
            }
            app.dw_GetImageThreadRunning.store(0);
            app.m_strSensorText.Set("");
            app.m_strAlarmChannel.Set("");
            return 1;
        },
        [this, press](int) {
            // The re-login's last posts came before this answer: the window shows the disconnect again.
            if (press == m_loginPresses) {
                SetButtonState(kLinkButtonFlag, 1);
                SetStatusText("DISCONNECT!!");
            }
            RefreshInfo();
        });
}

void CTavrinDlg::OnSnapshoot() {
    if (RefuseWithoutStream())
        return;
    m_app.dw_SnapshotRequest.store(1);
}

void CTavrinDlg::OnRecordButton() {
    if (RefuseWithoutStream() || m_recordPending)
        return;
    const auto k = m_toolPanel.ButtonForRole(mainwindow::kToolRecord);
    CVtxButton* button = k && *k < m_btnTool.size() ? m_btnTool[*k] : nullptr;
    AppData& app = m_app;
    if (m_app.CUserRecord().IsRecording()) {
        if (button)
            button->setToolTip(RecordTip(false));
        SetButtonState(mainwindow::kToolRecord, 0);
        gui::RunDeviceCommand(
            this, m_app.h_DeviceCommandWorker,
            [&app](std::stop_token) {
                app.CUserRecord().StopRecord();
                return 1;
            },
            [](int) {});
        return;
    }
    const std::string folder = m_app.CSettingINI.m_strRecordPath.Get();
    const std::uint8_t channel = m_app.by_RecordChannel.load();
    QPointer<CVtxButton> guard(button);
    m_recordPending = gui::RunDeviceCommand(
        this, m_app.h_DeviceCommandWorker,
        [&app, folder, channel](std::stop_token) { return app.CUserRecord().StartRecord(folder, channel); },
        [this, guard](bool started) {
            m_recordPending = false;
            if (!started) {
                ShowMessageBox(mainwindow::kRecordFileFailedMessage);
                return;
            }
            if (guard)
                guard->setToolTip(RecordTip(true));
            SetButtonState(mainwindow::kToolRecord, 1);
        });
}

void CTavrinDlg::OnSystemSetup() {
    gui::ConfigSheetPort* sheet = gui::GetConfigSheetPort();
    if (m_app.dw_SystemDialogActive.load() != 0 || (sheet && sheet->IsSheetOpen())) {
        // The button toggles the sheet: an open one closes without sending anything.
        if (sheet)
            sheet->CloseSheet();
        m_app.dw_SystemDialogActive.exchange(0);
        return;
    }
    if (m_setupPending || RefuseWithoutStream())
        return;
    AppData& app = m_app;
    const platform::Timing timing = m_timing;
    m_setupPending = gui::RunDeviceCommand(
        this, m_app.h_DeviceCommandWorker,
        [&app, timing](std::stop_token stop) { return mainwindow::LoadSystemConfig(app, timing, stop); },
        [this](int loaded) {
            m_setupPending = false;
            if (loaded != 1) {
                ShowMessageBox(mainwindow::kConfigReadFailedMessage);
                return;
            }
            if (gui::ConfigSheetPort* port = gui::GetConfigSheetPort())
                port->OpenSheet(this);
            else
                m_app.dw_SystemDialogActive.exchange(1);
        });
}

// The setting and its button change at the press; a failed request puts both back.
void CTavrinDlg::StepLiveSetting(std::atomic<std::uint32_t>& setting, std::uint32_t role,
                                 std::optional<std::uint32_t> next, SettingRequest send, unsigned failureMessage) {
    const std::uint32_t old = setting.load();
    if (!next) {
        SetButtonState(role, static_cast<int>(old));
        return;
    }
    setting.store(*next);
    SetButtonState(role, static_cast<int>(*next));
    AppData& app = m_app;
    const platform::Timing timing = m_timing;
    const std::uint32_t value = *next;
    auto failed = [this, &setting, role, old, failureMessage] {
        setting.store(old);
        SetButtonState(role, static_cast<int>(old));
        ShowMessageBox(failureMessage);
    };
    const bool posted = gui::RunDeviceCommand(
        this, m_app.h_DeviceCommandWorker,
        [&app, timing, value, send](std::stop_token stop) { return send(app, timing, value, stop); },
        [failed](int sent) {
            if (sent != 1)
                failed();
        });
    if (!posted)
        failed();
}

void CTavrinDlg::OnResol() {
    std::atomic<std::uint32_t>& setting = m_app.CSettingINI.m_dwImageResolution;
    StepLiveSetting(setting, mainwindow::kToolResolution, mainwindow::NextResolution(setting.load()),
                    &mainwindow::SendResolution, mainwindow::kResolutionFailedMessage);
}

void CTavrinDlg::OnQuility() {
    std::atomic<std::uint32_t>& setting = m_app.CSettingINI.m_dwImageQuality;
    StepLiveSetting(setting, mainwindow::kToolQuality, mainwindow::NextQuality(setting.load()),
                    &mainwindow::SendQuality, mainwindow::kQualityFailedMessage);
}

void CTavrinDlg::OnColorAdjust() {
    if (RefuseWithoutStream() || m_colourDialog)
        return;
    AppData& app = m_app;
    const platform::Timing timing = m_timing;
    gui::RunDeviceCommand(
        this, m_app.h_DeviceCommandWorker,
        [&app, timing](std::stop_token stop) { return mainwindow::QueryColour(app, timing, stop); },
        [this](std::optional<mainwindow::ColourValues> values) {
            if (!values) {
                ShowMessageBox(mainwindow::kColourCommandFailedMessage);
                return;
            }
            if (m_colourDialog)
                return;
            auto* dialog = new mainwindow::ColourAdjustDialog(m_app, m_timing, *values, this);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            if (m_showMessage)
                dialog->SetMessageSink(m_showMessage);
            m_colourDialog = dialog;
            dialog->show();
        });
}

}  // namespace session
