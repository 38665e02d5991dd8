#pragma once
// The main window in its plain form: the live picture in the video area, the
// status line under it (status text, alarm channel, sensor text, channel),
// the link button (connect or disconnect) and the close button.
//
// The core reaches it through Port(), whose calls arrive queued on the GUI
// thread. The kernel thread draws each picture with DisplayFrame into the
// frame display's latest-frame slot; the window takes the newest picture when
// it gets round to it. Every way of closing it (close button, window manager,
// the lifetime limit) takes the orderly path: recordings stopped,
// session and process threads stopped, settings saved.

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "mainwindow/MainWindowStart.h"
#include "mainwindow/gui/ColourAdjustDialog.h"
#include "mainwindow/gui/SensorModeToolBar.h"
#include "mainwindow/WindowLayoutTable.h"
#include "mainwindow/StatusDrawing.h"
#include "mainwindow/ToolButtonPanel.h"
#include "mainwindow/WindowSkin.h"
#include "mainwindow/control/ControlCommandSender.h"
#include "mainwindow/control/PtzSelection.h"
#include "platform/Timing.h"
#include "session/devices/ControlDeviceList.h"
#include "session/live/FrameDisplay.h"
#include "session/UiPort.h"
#include "gui/QtUiPort.h"

class QLabel;
class QPushButton;

namespace session {

class AppData;
class CVtxButton;
class PtzSelectDialog;
class SessionResources;

class CTavrinDlg : public QDialog, private UiPort {
    Q_OBJECT

public:
    // The connect or disconnect command.
    static constexpr int kLoginCommand = 1002;
    // Title buttons: minimise, full screen, close.
    static constexpr std::array<std::uint16_t, 3> kTitleButtonIds{8200, 8201, 8202};
    static constexpr std::uint16_t kOpenPanelButton = 8192;
    static constexpr std::uint16_t kClosePanelButton = 8193;
    static constexpr std::uint16_t kPowerButton = 8311;
    static constexpr std::uint16_t kSlowPlayButton = 8231;
    // Tool button flag of the link button.
    static constexpr std::uint32_t kLinkButtonFlag = 0x01;

    CTavrinDlg(AppData& app, SessionResources& resources, platform::Timing timing = {},
               QWidget* parent = nullptr);
    ~CTavrinDlg() override;

    // The window as the core's threads see it.
    UiPort& Port() { return port_; }
    FrameDisplay& Display() { return display_; }

    // Kernel thread: draws the current picture (mailbox code 2).
    int DisplayFrame();

    // GUI thread.
    void OnShowStatus(int code, unsigned value);

    // The tool buttons' commands (TavrinDlgTools.cpp); device work runs on
    // the device-command worker.
    void OnToolCommand(std::uint16_t controlId);
    void OnLogin();
    void OnSnapshoot();
    void OnRecordButton();
    void OnSystemSetup();
    void OnResol();
    void OnQuility();
    void OnColorAdjust();
    // The colour dialog while it is open.
    mainwindow::ColourAdjustDialog* ColourDialog() const { return m_colourDialog.data(); }
    // The sensor-mode tool bar of a G66M (null for other devices).
    mainwindow::SensorModeToolBar* SensorBar() const { return m_sensorBar.data(); }
    // The close button's path; the window ends once it has run.
    void DestroyWindow();

    // The control panel's commands (GUI thread): a panel key by panel index,
    // open (8192) and close (8193), power, full screen (8201).
    void OnPanelButton(std::size_t index);
    void OnCameraToolButton();
    void OnCameraToolButtonDown();
    void OnPower();
    void OnFullScreenButton();
    // The record-search key runs the playback search dialog through this hook;
    // false (or no hook) says the dialog could not be created.
    void SetRecordSearchDialog(std::function<bool(CTavrinDlg&)> run) { m_runRecordSearch = std::move(run); }
    // The PTZ control key (8312): the slave selection around PtzSelectDialog.
    void OnPtzControl();
    // How the selection dialog runs (modally by default); tests answer it.
    void SetPtzDialogRunner(std::function<int(PtzSelectDialog&)> run) { m_runPtzDialog = std::move(run); }
    // Click-to-position: the click stored in w_ClickPosX and w_ClickPosY goes to the current PTZ.
    void OnPostPtzPosition();
    // Esc in full screen.
    void LeaveFullScreen();
    // Presses that asked the window system to move the window.
    int SystemMovesStarted() const { return m_systemMoves; }

    QString StatusText() const { return m_strStatusText; }
    // What the status area paints now (texts, icons and their places).
    mainwindow::StatusDrawing StatusDrawn() const;
    // The picture the video area shows (top-down), and its position there.
    const QImage& VideoImage() const { return m_videoImage; }
    QWidget* VideoArea() const;
    // Link button picture: 0 connected, 1 not connected.
    int LinkButtonState() const { return m_linkState; }

    // How message boxes reach the operator (a message box by default).
    void SetMessageSink(std::function<void(const QString&)> sink) { m_showMessage = std::move(sink); }

    // The device side of the start, run on the device-command worker (tests
    // stand in for the device); set before the window is first shown.
    using StartJob = std::function<mainwindow::StartOutcome(std::stop_token)>;
    void SetStartJob(StartJob job) { m_startJob = std::move(job); }
    // The start has finished on the GUI thread (the stream and watchdog released).
    bool Started() const { return m_started; }

    // The window's buttons by control id (null for none).
    CVtxButton* Button(std::uint16_t controlId) const;
    CVtxButton* PanelButton(std::size_t index) const { return index < m_btnPanel.size() ? m_btnPanel[index] : nullptr; }

    // Layout and skins (GUI thread).
    void ApplyLayout();
    void ChangeItemPositionForDeviceModified();
    void SwitchTo(mainwindow::SkinFormat format);
    bool PanelOpen() const { return m_bPanelOpen; }
    // 1 shows every tool button, 0 hides them; other values do nothing.
    void ShowToolButtons(int mode);
    CVtxButton* ToolButton(std::size_t k) const { return k < m_btnTool.size() ? m_btnTool[k] : nullptr; }
    std::size_t ToolButtonCount() const { return m_btnTool.size(); }
    // Pictures of a new format that re-laid the window out.
    int Relayouts() const { return m_relayouts; }
    void SetPanelOpen(bool open) { m_bPanelOpen = open; }
    // Every skin file a load asked for, in order (tests read it).
    const std::vector<std::string>& SkinFilesAsked() const { return m_skinFilesAsked; }
    // The background of a layout class (null when its file is missing).
    const QPixmap& Background(int layoutClass, bool panelOpen) const;

signals:
    // The video area has painted the picture of that sequence number.
    void pictureShown(quint64 sequence);
    // The start finished (true) or ended the window (false).
    void startFinished(bool started);

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class VideoWidget;

    void OnInitDialog();
    // The GUI thread's part of the start, after the device job.
    void FinishInitDialog(const mainwindow::StartOutcome& outcome);
    void CreateButtons();
    void CreatePanelButtons(std::uint8_t type);
    void ApplyUserLevelToPanelButtons();
    const mainwindow::WindowLayoutRow& Row() const;
    void PlaceItems();
    void SetWindowRegion(int width, int height, int corner);
    void MoveWindowTo(int left, int top, int right, int bottom);
    void ApplyLoads(const std::vector<mainwindow::SkinLoad>& loads);
    std::array<bool, mainwindow::kPanelButtonCount> PanelPictures() const;
    // Rank 30 and level 30 pick the same rows as the no-panel case's 40 and 60.
    void PlacePanelButtons();
    void HidePanelButtons();
    void LoadBackgrounds();
    void LoadTitleSkin();
    // Filled by the channel bar, tool button and sensor bar work.
    void CreateChannelBar();
    void LayoutChannelBar();
    void OnChannelButton(std::uint8_t channel);
    void CreateToolButtons();
    void RepositionToolButtons();
    void SetResolutionAndQualityStates();
    // The panel's own keys.
    void OnTurbo();
    void OnActionPreset();
    void OnRecordSearch();
    void RunPtzSelectDialog();
    void ApplyPtzSelection(int result, const mainwindow::PtzSelectionOutcome& selection);
    // A panel request on the device-command worker; its message is shown.
    void RunPanelRequest(std::function<mainwindow::ControlOutcome(std::stop_token)> job);
    void ReloadTurboPictures();
    void ResizeToPanelRect(bool open);
    void StorePointer(const QPoint& at, bool click);
    void RepaintPanelStrip();
    // The G66M sensor-mode tool bar (TavrinDlgSensorBar.cpp).
    void CreateSensorBar();
    void DockSensorBar();
    // Tool command helpers (TavrinDlgTools.cpp).
    bool RefuseWithoutStream();
    using SettingRequest = int (*)(AppData&, const platform::Timing&, std::uint32_t, std::stop_token);
    void StepLiveSetting(std::atomic<std::uint32_t>& setting, std::uint32_t role, std::optional<std::uint32_t> next,
                         SettingRequest send, unsigned failureMessage);
    void TakeNewestPicture();
    void RefreshInfo();
    mainwindow::StatusFacts StatusFactsNow() const;
    void LoadToolBitmaps();

    // UiPort, called on the GUI thread through port_.
    void SetStatusText(const std::string& text) override;
    void ShowStatus(int code, unsigned value) override { OnShowStatus(code, value); }
    void ShowMessageBox(unsigned stringId) override;
    void ShowMessageText(const std::string& text) override;
    void RequestClose() override { DestroyWindow(); }
    void FrameReady() override { TakeNewestPicture(); }
    void EnterFullScreen() override;
    void SetButtonState(std::uint32_t flagMask, int state) override;
    void RefreshStatus() override { RefreshInfo(); }
    void OnFrameSize(std::uint16_t width, std::uint16_t height) override;
    void LowerMainWindow() override { lower(); }
    void PostAlarmAudio(int lParam) override;
    void SyncCurrentChannel(std::uint8_t viewChannel) override;
    // Any thread: asks only the selector's and the bar's atomics.
    bool FrameChangesNothing(std::uint16_t width, std::uint16_t height, std::uint8_t viewChannel) const override;
    void SetButtonImage(std::uint16_t controlId, int imageState, const std::string& toolTip) override;
    void PostSensorMode(unsigned wParam) override;

    AppData& m_app;
    SessionResources& m_resources;
    const platform::Timing m_timing;
    FrameDisplay display_;
    QtUiPort port_;
    UiPort* m_previousPort = nullptr;

    StartJob m_startJob;
    bool m_initialised = false;
    bool m_started = false;
    bool m_closed = false;
    QRect m_rcWorkArea;
    bool m_bPanelOpen = false;
    static constexpr int kSkinClasses = 6;
    std::array<QPixmap, kSkinClasses> m_hBackground, m_hBackgroundPanel, m_hStatusBar;
    QPixmap m_hOnlineUserIcon, m_hAlarmIcon;
    std::vector<std::string> m_skinFilesAsked;
    QPoint m_dragOffset;
    bool m_manualDrag = false;
    int m_systemMoves = 0;
    int m_relayouts = 0;

    DisplayPicture m_picture;  // the newest picture taken from the slot
    QImage m_videoImage;
    QPoint m_videoOrigin;

    QString m_strStatusText;
    int m_linkState = 0;
    VideoWidget* m_videoArea = nullptr;
    mainwindow::ToolButtonPanel m_toolPanel;
    std::vector<CVtxButton*> m_btnTool;
    std::vector<CVtxButton*> m_btnChannel;
    std::array<CVtxButton*, 3> m_btnTitle{};
    std::array<CVtxButton*, mainwindow::kPanelButtonCount> m_btnPanel{};
    CVtxButton* m_btnPanelOpen = nullptr;
    CVtxButton* m_btnPanelClose = nullptr;
    CVtxButton* m_btnPower = nullptr;
    std::function<void(const QString&)> m_showMessage;
    // Tool commands waiting for the worker: a second press is not taken meanwhile.
    bool m_setupPending = false;
    bool m_recordPending = false;
    // Presses of the link button: a connect or disconnect whose answer comes
    // after a later press shows nothing.
    unsigned m_loginPresses = 0;
    QPointer<mainwindow::ColourAdjustDialog> m_colourDialog;
    std::function<bool(CTavrinDlg&)> m_runRecordSearch;
    std::function<int(PtzSelectDialog&)> m_runPtzDialog;
    QPointer<mainwindow::SensorModeToolBar> m_sensorBar;
};

}  // namespace session
