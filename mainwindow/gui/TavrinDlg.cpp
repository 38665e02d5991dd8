#include "mainwindow/gui/TavrinDlg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cstring>

#include "gui/DeviceCommand.h"
#include "gui/StringText.h"
#include "gui/VtxButton.h"
#include "mainwindow/UserLevelTable.h"
#include "res/StringTable.h"
#include "session/AppData.h"
#include "session/DeviceFamily.h"
#include "session/login/LoginExchange.h"
#include "session/login/ReLoginThread.h"
#include "session/SessionResources.h"
#include "session/TextHelpers.h"

namespace session {

namespace {

// The status codes no re-login posts (the others: ReLoginThread.h).
constexpr int kStatusServerBusy = 2;
constexpr int kStatusRepaint = 8;

}  // namespace

// The video area: paints the newest picture at its place, clipped to the area.
class CTavrinDlg::VideoWidget : public QWidget {
public:
    explicit VideoWidget(CTavrinDlg& owner) : QWidget(&owner), owner_(owner) {
        setFixedSize(kVideoAreaWidth, kVideoAreaHeight);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (!owner_.m_videoImage.isNull())
            painter.drawImage(owner_.m_videoOrigin, owner_.m_videoImage);
        painter.end();
        if (owner_.m_picture.sequence != painted_) {
            painted_ = owner_.m_picture.sequence;
            emit owner_.pictureShown(painted_);
        }
    }

private:
    CTavrinDlg& owner_;
    std::uint64_t painted_ = 0;
};

CTavrinDlg::CTavrinDlg(AppData& app, SessionResources& resources, platform::Timing timing, QWidget* parent)
    : QDialog(parent), m_app(app), m_resources(resources), m_timing(timing), display_(app), port_(*this) {
    setWindowTitle(QStringLiteral("quenlo"));
    m_videoArea = new VideoWidget(*this);
    m_statusLine = new QLabel(this);
    m_infoLine = new QLabel(this);
    m_linkButton = new QPushButton(QStringLiteral("LINK"), this);
    m_linkButton->setCheckable(true);
    m_linkButton->setChecked(true);
    m_linkButton->setAutoDefault(false);
    CreateButtons();

    auto* title = new QHBoxLayout;
    title->addStretch(1);
    for (CVtxButton* button : m_btnTitle)
        title->addWidget(button);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_statusLine, 1);
    bottom->addWidget(m_infoLine);
    bottom->addWidget(m_linkButton);
    bottom->addWidget(m_btnPanelOpen);
    bottom->addWidget(m_btnPanelClose);
    bottom->addWidget(m_btnPower);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(title);
    layout->addWidget(m_videoArea);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_linkButton, &QPushButton::clicked, this, [this] {
        OnLogin();
        m_linkButton->setChecked(m_linkState == 0);
    });
}

void CTavrinDlg::CreateButtons() {
    auto make = [this](std::uint16_t id, const QString& caption, QSize size) {
        auto* button = new CVtxButton(this);
        button->setObjectName(QStringLiteral("button%1").arg(id));
        button->setText(caption);
        button->setFixedSize(size);
        return button;
    };
    const QString titleCaptions[] = {QStringLiteral("_"), QStringLiteral("[ ]"), QStringLiteral("X")};
    for (std::size_t i = 0; i < m_btnTitle.size(); ++i) {
        m_btnTitle[i] = make(kTitleButtonIds[i], titleCaptions[i], QSize(13, 13));
        m_btnTitle[i]->setToolTip(LoadText(kTitleButtonIds[i]));
    }
    connect(m_btnTitle[0], &QAbstractButton::clicked, this, [this] { showMinimized(); });
    // The panel's close command comes with the control panel; until then 8202 closes the window.
    connect(m_btnTitle[2], &QAbstractButton::clicked, this, [this] { DestroyWindow(); });
    m_btnPower = make(kPowerButton, QStringLiteral("POWER"), QSize(40, 20));
    m_btnPower->setToolTip(LoadText(kPowerButton));
    m_btnPanelOpen = make(kOpenPanelButton, QStringLiteral("PANEL"), QSize(40, 20));
    m_btnPanelClose = make(kClosePanelButton, QStringLiteral("PANEL"), QSize(40, 20));
    for (CVtxButton* button : {m_btnPower, m_btnPanelOpen, m_btnPanelClose})
        button->hide();
}

CVtxButton* CTavrinDlg::Button(std::uint16_t controlId) const {
    return findChild<CVtxButton*>(QStringLiteral("button%1").arg(controlId), Qt::FindDirectChildrenOnly);
}

void CTavrinDlg::CreatePanelButtons(std::uint8_t type) {
    const auto& buttons = mainwindow::kLinkedDeviceTypes[type < mainwindow::kLinkedDeviceTypeCount ? type : 0].Buttons;
    for (std::size_t i = 0; i < m_btnPanel.size(); ++i) {
        auto* button = new CVtxButton(this);
        button->hide();
        m_btnPanel[i] = button;
        if (i >= buttons.size())
            continue;
        const mainwindow::PanelButtonDescriptor& row = buttons[i];
        button->setObjectName(QStringLiteral("button%1").arg(row.wControlId));
        button->setEnabled((row.wFlags & mainwindow::kPanelEnabled) != 0);
        QString tip = LoadText(row.wTipId);
        if (row.wFlags & (mainwindow::kPanelTipFirst | mainwindow::kPanelTipSecond)) {
            const QStringList parts = LoadText(row.wControlId).split('$');
            tip = parts.value((row.wFlags & mainwindow::kPanelTipFirst) ? 0 : 1);
        }
        button->setToolTip(tip);
    }
}

// Entries 6 and 7 of the user's row: the open- and close-panel buttons,
// enabled by the row and hidden when it disables them.
void CTavrinDlg::ApplyUserLevelToPanelButtons() {
    const mainwindow::UserLevelRow& row = mainwindow::UserLevelRowAt(m_app.by_UserLevelIndex.load());
    for (std::size_t entry = mainwindow::kOpenPanelEntry; entry < row.dwCount; ++entry) {
        CVtxButton* button = Button(static_cast<std::uint16_t>(row.dwControlId[entry]));
        if (!button)
            continue;
        const bool enabled = row.dwEnabled[entry] != 0;
        button->setEnabled(enabled);
        if (!enabled)
            button->hide();
    }
}

CTavrinDlg::~CTavrinDlg() {
    // Destroyed without the close path (start-up ended early): nothing may
    // draw into this window or call it any more.
    m_resources.SetFrameDisplay({});
    if (m_initialised && !m_closed)
        m_app.SetUiPort(m_previousPort);
}

QWidget* CTavrinDlg::VideoArea() const { return m_videoArea; }

void CTavrinDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
}

void CTavrinDlg::OnInitDialog() {
    m_app.h_DeviceCommandWorker.Restart();  // a window of an earlier login stopped it
    m_previousPort = &m_app.Ui();
    m_app.SetUiPort(&port_);
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        display_.SetFullScreenRect({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    }
    display_.LeaveFullScreen();
    m_resources.SetFrameDisplay([this] { return DisplayFrame(); });

    // The device side (device information, control devices, blocks, user
    // level) runs on the device-command worker; the window goes on from its
    // result on the GUI thread.
    StartJob job = m_startJob;
    if (!job) {
        AppData& app = m_app;
        const platform::Timing timing = m_timing;
        job = [&app, timing](std::stop_token stop) { return mainwindow::RunMainWindowStart(app, timing, stop); };
    }
    const bool posted = gui::RunDeviceCommand(this, m_app.h_DeviceCommandWorker, std::move(job),
                                              [this](mainwindow::StartOutcome outcome) { FinishInitDialog(outcome); });
    if (!posted)
        FinishInitDialog({mainwindow::kDeviceInfoFailedMessage, std::nullopt});
}

void CTavrinDlg::FinishInitDialog(const mainwindow::StartOutcome& outcome) {
    if (m_closed)
        return;
    if (outcome.failureMessage != 0) {
        // Without the device's facts the window cannot run: the orderly close.
        ShowMessageBox(outcome.failureMessage);
        emit startFinished(false);
        DestroyWindow();
        return;
    }
    const std::uint8_t type = m_app.C_ControlD.GetCurrentType();
    m_app.by_VideoSizeFamily.store(m_app.by_VideoMode.load());
    InitLayout();
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        m_rcWorkArea = screen->availableGeometry();
    LoadBackgrounds();
    setWindowTitle(QStringLiteral("Quenlo : ") + QString::fromStdString(m_app.CSettingINI.m_strServerName.Get()));
    setToolTip(QStringLiteral("Quenlo : ") + QString::fromStdString(m_app.str_APVersion.Get()));
    CreateChannelBar();
    CreatePanelButtons(type);
    CreateToolButtons();
    LoadTitleSkin();
    m_btnPower->hide();
    if (outcome.retrState && m_app.C_ControlD.HasLinkedDvr())
        m_app.C_ControlD.SetRetrState(*outcome.retrState);
    const bool noPanel = (mainwindow::kLinkedDeviceTypes[type < mainwindow::kLinkedDeviceTypeCount ? type : 0].dwFlags &
                          mainwindow::kLinkedTypeNoPanel) != 0;
    m_btnPanelClose->setVisible(noPanel);
    m_btnPanelOpen->setVisible(!noPanel);
    ApplyUserLevelToPanelButtons();
    ChangeItemPositionForDeviceModified();
    ApplyLayout();
    SetResolutionAndQualityStates();
    SetStatusText("Start to get image!!");
    if (IsN5HFamily(m_app.str_ProductID.Get()))
        if (CVtxButton* slowPlay = Button(kSlowPlayButton))
            slowPlay->setToolTip(QStringLiteral("slow play"));
    CreateSensorBar();
    m_started = true;
    emit startFinished(true);
    m_app.h_StartToGetJpegImageEvent.Set();
    m_app.h_StartConnectionThreadEvent.Set();
}

int CTavrinDlg::DisplayFrame() {
    const ImageSlotInfo header = m_app.CRTPHeader.LastHeader();
    FrameOverlay overlay;
    overlay.alarmData = m_app.CRTPHeader.m_wAlarmData.load();
    overlay.headerText.assign(header.szText, strnlen(header.szText, sizeof header.szText));
    return display_.DisplayFrame(overlay);
}

void CTavrinDlg::TakeNewestPicture() {
    if (!display_.TakePicture(m_picture))
        return;
    const int width = m_picture.width, height = m_picture.height;
    if (m_videoImage.width() != width || m_videoImage.height() != height)
        m_videoImage = QImage(width, height, QImage::Format_BGR888);
    // The picture's rows are bottom-up; the image's top-down.
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int row = 0; row < height; ++row)
        std::memcpy(m_videoImage.scanLine(row),
                    m_picture.pixels.data() + static_cast<std::size_t>(height - 1 - row) * m_picture.stride,
                    rowBytes);
    m_videoOrigin = QPoint(m_picture.x, m_picture.y);
    m_videoArea->update();
}

void CTavrinDlg::EnterFullScreen() {
    m_statusLine->hide();
    m_infoLine->hide();
    m_linkButton->hide();
    for (CVtxButton* button : m_btnTitle)
        button->hide();
    for (CVtxButton* button : {m_btnPower, m_btnPanelOpen, m_btnPanelClose})
        button->hide();
    for (CVtxButton* button : m_btnPanel)
        if (button)
            button->hide();
    const ScreenRect r = display_.FullScreenRect();
    m_videoArea->setFixedSize(r.Width(), r.Height());
    layout()->setContentsMargins(0, 0, 0, 0);
    showFullScreen();
}

void CTavrinDlg::SetStatusText(const std::string& text) {
    if (display_.m_bFullScreen.load())
        return;
    m_strStatusText = QString::fromStdString(text);
    m_statusLine->setText(m_strStatusText);
    RefreshInfo();
}

QString CTavrinDlg::InfoText() const {
    const ImageSlotInfo header = m_app.CRTPHeader.LastHeader();
    QStringList parts;
    parts << QString::number(header.byChannel);
    const std::string alarm = m_app.m_strAlarmChannel.Get();
    if (!alarm.empty())
        parts << QString::fromStdString(alarm);
    const std::string sensor = m_app.m_strSensorText.Get();
    if (!sensor.empty())
        parts << QString::fromStdString(sensor);
    return parts.join(QStringLiteral("  "));
}

void CTavrinDlg::RefreshInfo() { m_infoLine->setText(InfoText()); }

void CTavrinDlg::OnShowStatus(int code, unsigned value) {
    switch (code) {
    case kStatusElapsed:
        SetStatusText("ESCAPED TIME:  " + TwoDigitText(static_cast<int>(value / 60)) + ":" +
                      TwoDigitText(static_cast<int>(value % 60)));
        break;
    case kStatusStartLogin:
        SetStatusText("Start login");
        break;
    case kStatusServerBusy:
        SetStatusText("Server is too busy!! Try later !!");
        break;
    case kStatusLoginFailed:
        SetStatusText("Login process is failed,wait a moment !!");
        break;
    case kStatusConnected:
        SetButtonState(kLinkButtonFlag, 0);
        break;
    case kStatusDisconnected:
        SetButtonState(kLinkButtonFlag, 1);
        break;
    case kStatusTooManyUsers:
        SetStatusText("System relogin too many user.Wait for 40 sec!!\nApplication will try again.");
        break;
    case kStatusRepaint:
        if (!display_.m_bFullScreen.load())
            RefreshInfo();
        break;
    default:
        break;
    }
}

void CTavrinDlg::SetButtonState(std::uint32_t flagMask, int state) {
    if ((flagMask & kLinkButtonFlag) == 0)
        return;
    m_linkState = state;
    m_linkButton->setChecked(state == 0);
}

void CTavrinDlg::OnLogin() {
    if (m_app.dw_GetImageThreadRunning.load() == 0) {
        // Connect: a new re-login brings the session back.
        m_resources.StartReLoginThread();
        SetStatusText("CONNECT!!");
        SetButtonState(kLinkButtonFlag, 0);
        return;
    }
    // Disconnect.
    m_app.dw_SystemDialogActive.exchange(0);
    SetButtonState(kLinkButtonFlag, 1);
    SetStatusText("DISCONNECT!!");
    m_resources.BeginDisconnect();
    if (m_app.dw_StreamReceiving.load()) {
        m_app.h_NotifyGetJPEGImageThreadResetEvent.Set();
        m_app.h_FeedBackForNotifyResetEvent.Wait(m_timing.disconnectFeedbackWait);
        m_app.h_Process_Notify_TerminateEvent.Set();
        m_app.h_Process_Reply_TerminateEvent.Wait(m_timing.sessionTeardownTimeout);
    }
    m_app.dw_GetImageThreadRunning.store(0);
    m_app.m_strSensorText.Set("");
    m_app.m_strAlarmChannel.Set("");
}

void CTavrinDlg::DestroyWindow() {
    if (m_closed)
        return;
    m_closed = true;
    m_app.h_DeviceCommandWorker.Stop();
    m_resources.BeginClose();
    m_app.CAlarmRecord().TerminateRecord();
    m_app.CUserRecord().StopRecord();
    m_app.CSchRecord().StopRecord();
    m_resources.ExitLoginResource();
    m_resources.ExitProcessResource();
    // The kernel thread has ended: nothing draws into this window any more.
    m_resources.SetFrameDisplay({});
    std::uint8_t turboRepeatStep = m_app.by_TurboRepeatStep.load();
    m_app.CSettingINI.SaveSetting(turboRepeatStep);
    m_app.h_EndofShowImageEvent.Set();
    m_app.SetUiPort(m_previousPort);
    QDialog::done(QDialog::Accepted);
}

void CTavrinDlg::reject() { DestroyWindow(); }

void CTavrinDlg::closeEvent(QCloseEvent* event) {
    DestroyWindow();
    event->accept();
}

void CTavrinDlg::ShowMessageBox(unsigned stringId) { ShowMessageText(std::string(res::LoadString(stringId))); }

void CTavrinDlg::ShowMessageText(const std::string& text) {
    const QString message = QString::fromStdString(text);
    if (m_showMessage)
        m_showMessage(message);
    else
        QMessageBox::warning(this, windowTitle(), message);
}

}  // namespace session
