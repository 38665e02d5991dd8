#include "mainwindow/gui/TavrinDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QWindow>
#include <QMouseEvent>
#include <QPainterPath>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QVBoxLayout>

#include <cstring>

#include "gui/DeviceCommand.h"
#include "gui/FontStandIns.h"
#include "gui/SkinPicture.h"
#include "gui/StringText.h"
#include "gui/VtxButton.h"
#include "mainwindow/StatusDrawing.h"
#include "mainwindow/UserLevelTable.h"
#include "mainwindow/control/ClickToPosition.h"
#include "mainwindow/control/PanelCommands.h"
#include "mainwindow/gui/PtzSelectDialog.h"
#include "session/devices/PanelButtonTable.h"
#include "res/StringTable.h"
#include "session/AlarmSoundControl.h"
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

using mainwindow::LayoutField;

QRect FieldRect(const mainwindow::WindowLayoutRow& row, std::size_t field) {
    return QRect(QPoint(row[field], row[field + 1]), QPoint(row[field + 2] - 1, row[field + 3] - 1));
}

// Fields given as left, top, width, height.
QRect FieldBox(const mainwindow::WindowLayoutRow& row, std::size_t field) {
    return QRect(row[field], row[field + 1], row[field + 2], row[field + 3]);
}


}  // namespace

// The video area: paints the newest picture at its place, clipped to the area.
class CTavrinDlg::VideoWidget : public QWidget {
public:
    explicit VideoWidget(CTavrinDlg& owner) : QWidget(&owner), owner_(owner) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // The picture's place is in window coordinates; black around it.
        const QImage& image = owner_.m_videoImage;
        const QRect place(owner_.m_videoOrigin - pos(), image.size());
        for (const QRect& part : QRegion(rect()).subtracted(image.isNull() ? QRegion() : QRegion(place)))
            painter.fillRect(part, Qt::black);
        if (!image.isNull())
            painter.drawImage(place.topLeft(), image);
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
    // Skinned: no frame; dragged by its background.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    m_videoArea = new VideoWidget(*this);
    setMouseTracking(true);
    m_videoArea->setMouseTracking(true);
    CreateButtons();

    PlaceItems();
    const auto& row = Row();
    setFixedSize(row[mainwindow::kClosedRect + 2], row[mainwindow::kClosedRect + 3]);

}

void CTavrinDlg::CreateButtons() {
    auto make = [this](std::uint16_t id, const QString& caption, QSize size) {
        auto* button = new CVtxButton(this);
        button->setObjectName(QStringLiteral("button%1").arg(id));
        button->setText(caption);
        button->resize(size);
        return button;
    };
    const QString titleCaptions[] = {QStringLiteral("_"), QStringLiteral("[ ]"), QStringLiteral("X")};
    for (std::size_t i = 0; i < m_btnTitle.size(); ++i) {
        m_btnTitle[i] = make(kTitleButtonIds[i], titleCaptions[i], QSize(13, 13));
        m_btnTitle[i]->setToolTip(LoadText(kTitleButtonIds[i]));
    }
    connect(m_btnTitle[0], &QAbstractButton::clicked, this, [this] { showMinimized(); });
    connect(m_btnTitle[1], &QAbstractButton::clicked, this, [this] { OnFullScreenButton(); });
    connect(m_btnTitle[2], &QAbstractButton::clicked, this, [this] { DestroyWindow(); });
    m_btnPower = make(kPowerButton, QStringLiteral("POWER"), QSize(40, 20));
    m_btnPower->setToolTip(LoadText(kPowerButton));
    m_btnPanelOpen = make(kOpenPanelButton, QStringLiteral("PANEL"), QSize(40, 20));
    m_btnPanelClose = make(kClosePanelButton, QStringLiteral("PANEL"), QSize(40, 20));
    for (CVtxButton* button : {m_btnPower, m_btnPanelOpen, m_btnPanelClose})
        button->hide();
    connect(m_btnPanelOpen, &QAbstractButton::clicked, this, [this] { OnCameraToolButton(); });
    connect(m_btnPanelClose, &QAbstractButton::clicked, this, [this] { OnCameraToolButtonDown(); });
    connect(m_btnPower, &QAbstractButton::clicked, this, [this] { OnPower(); });
}

CVtxButton* CTavrinDlg::Button(std::uint16_t controlId) const {
    return findChild<CVtxButton*>(QStringLiteral("button%1").arg(controlId), Qt::FindDirectChildrenOnly);
}

void CTavrinDlg::CreatePanelButtons(std::uint8_t type) {
    const auto& buttons = mainwindow::LinkedTypeRow(type).Buttons;
    for (std::size_t i = 0; i < m_btnPanel.size(); ++i) {
        auto* button = new CVtxButton(this);
        button->hide();
        m_btnPanel[i] = button;
        connect(button, &QAbstractButton::clicked, this, [this, i] { OnPanelButton(i); });
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
    qApp->removeEventFilter(this);
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
    qApp->installEventFilter(this);
    m_previousPort = &m_app.Ui();
    m_app.SetUiPort(&port_);
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        // Full screen covers the desktop's work area.
        const QRect r = screen->availableGeometry();
        display_.SetFullScreenRect({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    }
    display_.LeaveFullScreen();
    m_resources.SetFrameDisplay([this] { return DisplayFrame(); });
    // A frame header's alarm switch goes through the channel bar, on the switch worker's thread.
    {
        AppData& app = m_app;
        const platform::Timing timing = m_timing;
        m_app.CRTPHeader.ChannelSwitch().SetSwitcher([&app, timing](int channel, std::stop_token stop) {
            app.ChannelButtonBar.SwitchChannel(static_cast<std::uint8_t>(channel), timing, stop);
        });
    }

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
    m_app.VideoSizeSelector.InitLayout();
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        m_rcWorkArea = screen->availableGeometry();
    {
        const auto& row = Row();
        move(row[mainwindow::kClosedRect], row[mainwindow::kClosedRect + 1]);
        SetWindowRegion(row[mainwindow::kClosedRect + 2] - row[mainwindow::kClosedRect],
                        row[mainwindow::kClosedRect + 3] - row[mainwindow::kClosedRect + 1], 20);
    }
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
    const bool noPanel = (mainwindow::LinkedTypeRow(type).dwFlags &
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
    // The picture is already in the layout the window paints: the image only
    // looks at its pixels, which stay ours until the next picture is taken.
    m_videoImage = QImage(m_picture.pixels.data(), m_picture.width, m_picture.height, m_picture.stride,
                          QImage::Format_RGB32);
    m_videoOrigin = QPoint(m_picture.x, m_picture.y);
    // Painted at once: the port already merges picture requests, so an update
    // request would only add one more round through the event loop per picture.
    m_videoArea->repaint();
}

void CTavrinDlg::EnterFullScreen() {
    ShowToolButtons(0);
    for (CVtxButton* button : m_btnChannel)
        button->hide();
    for (CVtxButton* button : m_btnTitle)
        button->hide();
    for (CVtxButton* button : {m_btnPower, m_btnPanelOpen, m_btnPanelClose})
        button->hide();
    for (CVtxButton* button : m_btnPanel)
        if (button)
            button->hide();
    const ScreenRect r = display_.FullScreenRect();
    clearMask();
    setFixedSize(r.Width(), r.Height());
    move(r.left, r.top);
    m_videoArea->setGeometry(0, 0, r.Width(), r.Height());
}

// Esc in full screen: the buttons back by the user's level, the window at
// its rectangle of the panel's state, centred in the work area.
void CTavrinDlg::LeaveFullScreen() {
    display_.LeaveFullScreen();
    for (CVtxButton* button : m_btnTitle)
        button->show();
    LayoutChannelBar();
    ShowToolButtons(1);
    PlaceItems();
    const auto& level = mainwindow::UserLevelRowAt(m_app.by_UserLevelIndex.load());
    const std::uint8_t type = m_app.C_ControlD.GetCurrentType();
    const bool hasPanel = !(mainwindow::LinkedTypeRow(type).dwFlags &
                            mainwindow::kLinkedTypeNoPanel);
    if (m_bPanelOpen) {
        for (std::size_t k = 0; k < 8; ++k)
            if (CVtxButton* button = Button(static_cast<std::uint16_t>(level.dwControlId[k])))
                button->setEnabled(level.dwEnabled[k] != 0);
        if (!hasPanel)
            m_bPanelOpen = false;
    }
    const auto& row = Row();
    const std::size_t field = m_bPanelOpen ? mainwindow::kOpenRect : mainwindow::kClosedRect;
    MoveWindowTo(row[field], row[field + 1], row[field + 2], row[field + 3]);
    move(m_rcWorkArea.center() - QPoint(width() / 2, height() / 2));
    if (m_bPanelOpen) {
        m_btnPanelOpen->hide();
        m_btnPanelClose->setVisible(level.dwEnabled[mainwindow::kOpenPanelEntry + 1] != 0);
        PlacePanelButtons();
    } else {
        m_btnPanelOpen->setVisible(hasPanel && level.dwEnabled[mainwindow::kOpenPanelEntry] != 0);
        m_btnPanelClose->hide();
        HidePanelButtons();
    }
    update();
}

// The status text lives only here, set by queued calls on the GUI thread;
// texts that come in full screen are dropped.
void CTavrinDlg::SetStatusText(const std::string& text) {
    if (display_.m_bFullScreen.load())
        return;
    m_strStatusText = QString::fromStdString(text);
    update(FieldRect(Row(), mainwindow::kStatusRect));
}

void CTavrinDlg::RefreshInfo() {
    if (display_.m_bFullScreen.load())
        return;
    const MousePoint mouse = m_app.pt_MousePos.Get();
    const auto& row = Row();
    m_app.by_StatusHover.store(mainwindow::StatusHoverAt(row, mouse.x, mouse.y));
    update(row[mainwindow::kInfoOrigin], row[mainwindow::kInfoOrigin + 1], mainwindow::kInfoAreaWidth + 1,
           mainwindow::kInfoAreaHeight + 1);
}

mainwindow::StatusFacts CTavrinDlg::StatusFactsNow() const {
    mainwindow::StatusFacts facts;
    facts.statusText = m_strStatusText.toStdString();
    facts.extraStatus = m_app.m_strSensorText.Get();
    facts.alarmText = m_app.m_strAlarmChannel.Get();
    facts.channel = m_app.CRTPHeader.LastHeader().byChannel;
    facts.dvrFamily = IsDvrFamily(m_app.str_ProductID.Get());
    facts.deviceName = m_app.str_DeviceName.Get();
    facts.serverName = m_app.CSettingINI.m_strServerName.Get();
    facts.statusHover = m_app.by_StatusHover.load();
    facts.clock = m_app.st_FrameTime.Get();
    return facts;
}

mainwindow::StatusDrawing CTavrinDlg::StatusDrawn() const { return mainwindow::DrawStatus(Row(), StatusFactsNow()); }

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
        if (!display_.m_bFullScreen.load()) {
            m_app.dw_TooManyUsers.store(1);
            RefreshInfo();
        }
        break;
    default:
        break;
    }
}

// The first tool button whose role shares a bit with the flags takes the state.
void CTavrinDlg::SetButtonState(std::uint32_t flagMask, int state) {
    if (flagMask & kLinkButtonFlag)
        m_linkState = state;
    if (auto k = m_toolPanel.ButtonForRole(flagMask); k && *k < m_btnTool.size())
        m_btnTool[*k]->SetImageState(state & 0xFF);
}

void CTavrinDlg::ShowToolButtons(int mode) {
    if (mode != 0 && mode != 1)
        return;
    for (CVtxButton* button : m_btnTool)
        button->setVisible(mode == 1);
}

void CTavrinDlg::CreateToolButtons() {
    if (!m_toolPanel.Create(m_app.str_ProductID.Get(), m_app.by_MultiChannel.load() != 0))
        return;
    for (std::size_t k = 0; k < m_toolPanel.ButtonCount(); ++k) {
        const mainwindow::ToolButtonRow& row = *m_toolPanel.Buttons()[k];
        auto* button = new CVtxButton(this);
        button->setObjectName(QStringLiteral("button%1").arg(row.wControlId));
        const QString tip = row.dwRoleFlag == mainwindow::kToolRecord ? LoadText(1005).split('$').value(0)
                                                                      : LoadText(row.wTipId);
        button->setToolTip(tip);
        button->setText(tip.isEmpty() ? QString::number(row.wControlId) : tip);
        button->show();
        connect(button, &QAbstractButton::clicked, this, [this, id = row.wControlId] { OnToolCommand(id); });
        m_btnTool.push_back(button);
    }
    RepositionToolButtons();
}

void CTavrinDlg::LoadToolBitmaps() {
    const auto folder = ProgramFolderOf(m_app);
    const std::uint8_t level = m_app.by_UserLevelIndex.load();
    for (std::size_t k = 0; k < m_btnTool.size(); ++k) {
        const mainwindow::ToolButtonRow& row = *m_toolPanel.Buttons()[k];
        const auto pictures = m_toolPanel.PicturesFor(k, level);
        const auto& names = pictures.names;
        if (!pictures.enabled)
            m_btnTool[k]->setEnabled(false);
        if (row.byStyle == CVtxButton::VTX_STATE_CLICK || row.byStyle == CVtxButton::VTX_STATE_HOVER) {
            std::vector<CVtxButton::StatePair> pairs;
            for (std::size_t i = 0; i + 1 < names.size(); i += 2)
                pairs.push_back({names[i], names[i + 1]});
            m_btnTool[k]->LoadButtonBitmap(folder, pairs, row.byStyle);
        } else if (names.size() >= 3) {
            m_btnTool[k]->LoadButtonBitmap(folder, names[0], names[1], names[2], row.byStyle);
        }
    }
}

void CTavrinDlg::RepositionToolButtons() {
    const std::uint16_t layout = m_app.w_VideoLayout.load();
    for (std::size_t k = 0; k < m_btnTool.size(); ++k) {
        const auto place = m_toolPanel.Place(k, layout);
        m_btnTool[k]->setGeometry(place[0], place[1], place[2], place[3]);
    }
}

void CTavrinDlg::SetResolutionAndQualityStates() {
    SetButtonState(mainwindow::kToolResolution, static_cast<int>(m_app.CSettingINI.m_dwImageResolution.load()));
    SetButtonState(mainwindow::kToolQuality, static_cast<int>(m_app.CSettingINI.m_dwImageQuality.load()));
}

// ---- Channel bar ------------------------------------------------------------------

void CTavrinDlg::CreateChannelBar() {
    mainwindow::ChannelButtonBar& bar = m_app.ChannelButtonBar;
    bar.Create();
    const auto folder = ProgramFolderOf(m_app);
    const auto& rows = bar.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const mainwindow::ChannelButtonRow& row = rows[i];
        auto* button = new CVtxButton(this);
        button->setObjectName(QStringLiteral("button%1").arg(row.wControlId));
        const QString tip = LoadText(row.wTipId);
        button->setToolTip(tip);
        button->setText(row.dwKind == mainwindow::kChannelKey
                            ? (row.wControlId == mainwindow::kFirstChannelId
                                   ? QStringLiteral("DVR")
                                   : QString::number(row.wControlId - mainwindow::kFirstChannelId))
                            : (row.dwKind == mainwindow::kLeftArrow ? QStringLiteral("<") : QStringLiteral(">")));
        button->resize(row.wWidth, row.wHeight);
        const CVtxButton::StatePair pairs[2] = {{row.images[0], row.images[1]}, {row.images[2], row.images[3]}};
        button->LoadButtonBitmap(folder, pairs, CVtxButton::VTX_STATE_HOVER);
        button->SetImageState(bar.ButtonState(i));
        button->hide();
        m_btnChannel.push_back(button);
        if (row.dwKind == mainwindow::kLeftArrow || row.dwKind == mainwindow::kRightArrow) {
            const bool left = row.dwKind == mainwindow::kLeftArrow;
            connect(button, &QAbstractButton::clicked, this, [this, left] {
                mainwindow::ChannelButtonBar& channels = m_app.ChannelButtonBar;
                if (left ? channels.OnPageLeft() : channels.OnPageRight())
                    LayoutChannelBar();
            });
            continue;
        }
        const auto channel = static_cast<std::uint8_t>(row.wControlId - mainwindow::kFirstChannelId);
        connect(button, &QAbstractButton::clicked, this, [this, channel] { OnChannelButton(channel); });
    }
    LayoutChannelBar();
}

// A channel button asks the device on the device-command worker; the buttons
// change when pictures of the channel arrive.
void CTavrinDlg::OnChannelButton(std::uint8_t channel) {
    AppData& app = m_app;
    const platform::Timing timing = m_timing;
    // The channel's PTZ devices first; the switch follows whatever that query gave.
    RunPanelRequest([&app, timing, channel](std::stop_token stop) {
        const mainwindow::ControlOutcome query = mainwindow::QueryChannelPtzDevices(app, timing, stop);
        app.ChannelButtonBar.SwitchChannel(channel, timing, stop);
        return query;
    });
}

void CTavrinDlg::LayoutChannelBar() {
    const auto places = m_app.ChannelButtonBar.Layout();
    for (std::size_t i = 0; i < places.size() && i < m_btnChannel.size(); ++i) {
        const mainwindow::ChannelPlace& place = places[i];
        if (place.shown)
            m_btnChannel[i]->setGeometry(place.x, place.y, place.width, place.height);
        m_btnChannel[i]->setVisible(place.shown && !display_.m_bFullScreen.load());
    }
}

bool CTavrinDlg::FrameChangesNothing(std::uint16_t width, std::uint16_t height, std::uint8_t viewChannel) const {
    return m_app.VideoSizeSelector.FrameSizeChangesNothing(width, height) &&
           m_app.ChannelButtonBar.SyncChangesNothing(mainwindow::BarChannelOfView(viewChannel));
}

void CTavrinDlg::SyncCurrentChannel(std::uint8_t viewChannel) {
    mainwindow::ChannelButtonBar& bar = m_app.ChannelButtonBar;
    if (!bar.SyncCurrentChannel(mainwindow::BarChannelOfView(viewChannel)))
        return;
    for (std::size_t i = 0; i < m_btnChannel.size(); ++i)
        if (bar.Rows()[i].dwKind == mainwindow::kChannelKey)
            m_btnChannel[i]->SetImageState(bar.ButtonState(i));
    ChangeItemPositionForDeviceModified();
}

// ---- Painting -------------------------------------------------------------------

void CTavrinDlg::paintEvent(QPaintEvent*) {
    if (isMinimized() || display_.m_bFullScreen.load())
        return;
    QPainter painter(this);
    const auto& row = Row();
    const int layoutClass = static_cast<int>(mainwindow::LayoutClass(m_app.w_VideoLayout.load()));
    const QRect backgroundRect = FieldRect(row, m_bPanelOpen ? mainwindow::kOpenRect : mainwindow::kPaintClosedRect);
    const QPixmap& background = Background(layoutClass, m_bPanelOpen);
    if (!background.isNull()) {
        painter.drawPixmap(backgroundRect, background);
    } else {
        // The row's background drawn in place: a framed face with the black video rectangle.
        painter.fillRect(backgroundRect, kSkinGrey);
        painter.setPen(kSkinBlue);
        painter.drawRect(backgroundRect.adjusted(0, 0, -1, -1));
        painter.fillRect(FieldRect(row, mainwindow::kVideoRect), Qt::black);
    }
    const QRect statusRect = FieldRect(row, mainwindow::kStatusRect);
    const QPixmap& strip = m_hStatusBar[static_cast<std::size_t>(layoutClass)];
    if (!strip.isNull())
        painter.drawPixmap(statusRect, strip);
    else
        painter.fillRect(statusRect, kSkinLightBlue);

    painter.setFont(gui::StandInFontPixels("Arial", 12));
    const mainwindow::StatusDrawing drawing = StatusDrawn();
    for (const mainwindow::DrawnIcon& icon : drawing.icons) {
        const QRect place(icon.left, icon.top, icon.width, icon.height);
        const QPixmap& picture =
            icon.which == mainwindow::DrawnIcon::Which::Alarm ? m_hAlarmIcon : m_hOnlineUserIcon;
        if (!picture.isNull())
            painter.drawPixmap(place, picture);
        else
            painter.fillRect(place, icon.which == mainwindow::DrawnIcon::Which::Alarm ? QColor(Qt::red) : kSkinBlue);
    }
    for (const mainwindow::DrawnText& text : drawing.texts) {
        painter.setPen(QColor::fromRgb(text.rgb));
        painter.drawText(QRect(text.x, text.y, width() - text.x, 16), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromStdString(text.text));
    }
}

void CTavrinDlg::DestroyWindow() {
    if (m_closed)
        return;
    m_closed = true;
    if (m_sensorBar)
        m_sensorBar->hide();
    // The alarm switch reaches the device no more, then the device requests end.
    m_app.CRTPHeader.ChannelSwitch().SetSwitcher({});
    m_app.CRTPHeader.ChannelSwitch().Stop();
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

// ---- Layout and skins ---------------------------------------------------------


const mainwindow::WindowLayoutRow& CTavrinDlg::Row() const { return mainwindow::LayoutRow(m_app.w_VideoLayout.load()); }

// The items the window itself places, by the current row.
void CTavrinDlg::PlaceItems() {
    const auto& row = Row();
    const QRect video = FieldRect(row, mainwindow::kVideoRect);
    m_videoArea->setGeometry(video);
    display_.SetVideoOrigin(video.left(), video.top());
    for (std::size_t i = 0; i < m_btnTitle.size(); ++i)
        m_btnTitle[i]->setGeometry(row[mainwindow::kTitleButtons] +
                                       static_cast<int>(i) * (row[mainwindow::kTitleButtons + 2] +
                                                              row[mainwindow::kTitleButtons + 4]),
                                   row[mainwindow::kTitleButtons + 1], row[mainwindow::kTitleButtons + 2],
                                   row[mainwindow::kTitleButtons + 3]);
    const int powerWidth = row[mainwindow::kPowerButton], powerHeight = row[mainwindow::kPowerButton + 1];
    m_btnPower->setGeometry(row[mainwindow::kPowerButton + 2] - powerWidth, row[mainwindow::kPowerButton + 3],
                            powerWidth, powerHeight);
    m_btnPanelOpen->setGeometry(FieldBox(row, mainwindow::kOpenPanelButton));
    m_btnPanelClose->setGeometry(FieldBox(row, mainwindow::kClosePanelButton));
}

void CTavrinDlg::SetWindowRegion(int width, int height, int corner) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width, height), corner / 2.0, corner / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

// The window takes the rectangle's size where it stands (its size is fixed).
void CTavrinDlg::MoveWindowTo(int left, int top, int right, int bottom) {
    setFixedSize(right - left, bottom - top);
    SetWindowRegion(right - left, bottom - top, 15);
}

std::array<bool, mainwindow::kPanelButtonCount> CTavrinDlg::PanelPictures() const {
    std::array<bool, mainwindow::kPanelButtonCount> holds{};
    for (std::size_t i = 0; i < m_btnPanel.size(); ++i)
        holds[i] = m_btnPanel[i] && m_btnPanel[i]->HasPictures();
    return holds;
}

void CTavrinDlg::ApplyLoads(const std::vector<mainwindow::SkinLoad>& loads) {
    const auto folder = ProgramFolderOf(m_app);
    for (const mainwindow::SkinLoad& load : loads) {
        CVtxButton* button = load.panelIndex >= 0 ? PanelButton(static_cast<std::size_t>(load.panelIndex))
                                                  : Button(load.controlId);
        m_skinFilesAsked.insert(m_skinFilesAsked.end(), load.files.begin(), load.files.end());
        if (!button)
            continue;
        if (load.kind == mainwindow::SkinLoad::Kind::Three) {
            button->LoadButtonBitmap(folder, load.files[0], load.files[1], load.files[2], load.style);
        } else {
            std::vector<CVtxButton::StatePair> pairs;
            for (std::size_t i = 0; i + 1 < load.files.size(); i += 2)
                pairs.push_back({load.files[i], load.files[i + 1]});
            button->LoadButtonBitmap(folder, pairs, load.style);
        }
    }
}

void CTavrinDlg::LoadBackgrounds() {
    const auto folder = ProgramFolderOf(m_app);
    // Each picture on its own: a missing one is drawn in place by the painting.
    constexpr const char* kBackgrounds[kSkinClasses] = {"N_VGA", "N_QVGA", "P_VGA", "P_QVGA", "N_QVGA", "P_QVGA"};
    for (int i = 0; i < kSkinClasses; ++i) {
        const std::string base = std::string("BMP/") + kBackgrounds[i] + "_BG";
        m_hBackground[i] = LoadSkinPicture(folder, base + ".bmp");
        m_hBackgroundPanel[i] = LoadSkinPicture(folder, base + "_EX.bmp");
        m_hStatusBar[i] = LoadSkinPicture(folder, i == 0 || i == 2 ? "BMP/VGA_Status_Bar.bmp" : "BMP/StatusBar.bmp");
    }
    m_hOnlineUserIcon = LoadSkinPicture(folder, "BMP/Online_User_ICON.bmp");
    m_hAlarmIcon = LoadSkinPicture(folder, "BMP/alarm.bmp");
}

const QPixmap& CTavrinDlg::Background(int layoutClass, bool panelOpen) const {
    const int i = layoutClass % kSkinClasses;
    return panelOpen ? m_hBackgroundPanel[i] : m_hBackground[i];
}

void CTavrinDlg::LoadTitleSkin() {
    const auto& buttons = mainwindow::LinkedTypeRow(m_app.C_ControlD.GetCurrentType()).Buttons;
    const auto& level = mainwindow::UserLevelRowAt(m_app.by_UserLevelIndex.load());
    const auto holds = PanelPictures();
    ApplyLoads(mainwindow::TitleSkinLoads(mainwindow::LayoutClass(m_app.w_VideoLayout.load()),
                                          m_app.CSettingINI.m_dwImageResolution.load(),
                                          level.dwEnabled[mainwindow::kPowerEntry] != 0, buttons, holds));
    LoadToolBitmaps();
}

void CTavrinDlg::SwitchTo(mainwindow::SkinFormat format) {
    const auto& buttons = mainwindow::LinkedTypeRow(m_app.C_ControlD.GetCurrentType()).Buttons;
    const auto holds = PanelPictures();
    ApplyLoads(mainwindow::PanelSkinLoads(format, m_app.dw_TurboMode.load() != 0, buttons, holds));
    ApplyLayout();
}

// The panel buttons at their rectangles of the layout class, shown by their
// flags and the user's level, enabled by their flag.
void CTavrinDlg::PlacePanelButtons() {
    const std::uint8_t type = m_app.C_ControlD.GetCurrentType();
    const auto& buttons = mainwindow::LinkedTypeRow(type).Buttons;
    const auto& level = mainwindow::UserLevelRowAt(m_app.by_UserLevelIndex.load());
    const std::size_t format = static_cast<std::size_t>(mainwindow::LayoutClass(m_app.w_VideoLayout.load())) % 4;
    for (std::size_t i = 0; i < m_btnPanel.size(); ++i) {
        CVtxButton* button = m_btnPanel[i];
        if (i >= buttons.size()) {
            button->hide();
            continue;
        }
        std::uint16_t flags = buttons[i].wFlags;
        if (i == 25 && m_app.dw_RecordSearchRemoved.load() && mainwindow::LacksRecordSearch(type))
            flags = 0;
        if (!(flags & mainwindow::kPanelPresent)) {
            button->hide();
            continue;
        }
        const mainwindow::PanelRect& r = buttons[i].rcPos[format];
        button->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
        button->setVisible(mainwindow::PanelButtonShown(flags, m_app.w_UserLevel.load(), level.byRank));
        button->setEnabled((flags & mainwindow::kPanelEnabled) != 0);
    }
    // A multi-channel recorder chooses its PTZ by channel, not by this key.
    if (m_app.by_MultiChannel.load() != 0)
        m_btnPanel[mainwindow::kPanelPtzControl]->hide();
}

void CTavrinDlg::HidePanelButtons() {
    for (CVtxButton* button : m_btnPanel)
        if (button)
            button->hide();
}

void CTavrinDlg::ApplyLayout() {
    PlaceItems();
    RepositionToolButtons();
    const auto& row = Row();
    const std::size_t field = m_bPanelOpen ? mainwindow::kOpenRect : mainwindow::kClosedRect;
    MoveWindowTo(row[field], row[field + 1], row[field + 2], row[field + 3]);
    if (m_bPanelOpen)
        PlacePanelButtons();
    else
        HidePanelButtons();
    update();
}

void CTavrinDlg::ChangeItemPositionForDeviceModified() {
    if (auto format = mainwindow::PanelFormatFor(m_app.by_VideoMode.load(), m_app.CSettingINI.m_dwImageResolution.load())) {
        const auto& buttons = mainwindow::LinkedTypeRow(m_app.C_ControlD.GetCurrentType()).Buttons;
        const auto holds = PanelPictures();
        ApplyLoads(mainwindow::PanelSkinLoads(*format, m_app.dw_TurboMode.load() != 0, buttons, holds));
    }
    const std::uint8_t type = m_app.C_ControlD.GetCurrentType();
    const auto& typeRow = mainwindow::LinkedTypeRow(type);
    for (std::size_t i = 0; i < m_btnPanel.size() && i < typeRow.Buttons.size(); ++i)
        m_btnPanel[i]->setToolTip(LoadText(typeRow.Buttons[i].wTipId));
    auto pairTip = [this](std::uint16_t id, bool first) {
        if (CVtxButton* button = Button(id))
            button->setToolTip(LoadText(id).split('$').value(first ? 0 : 1));
    };
    pairTip(8312, !m_app.C_ControlD.IsCurrentMaster());
    pairTip(8310, m_app.dw_TurboMode.load() != 0);
    pairTip(mainwindow::kRetrButtonId, false);
    pairTip(8356, m_app.dw_PresetMode.load() == 0);

    const auto& level = mainwindow::UserLevelRowAt(m_app.by_UserLevelIndex.load());
    const auto& row = Row();
    if (typeRow.dwFlags & mainwindow::kLinkedTypeNoPanel) {
        if (m_bPanelOpen) {
            m_bPanelOpen = false;
            MoveWindowTo(row[0], row[1], row[2], row[3]);
            move(m_rcWorkArea.center() - QPoint(width() / 2, height() / 2));
            HidePanelButtons();
            m_btnPanelOpen->hide();
            m_btnPanelClose->hide();
        } else {
            PlacePanelButtons();
            m_btnPanelOpen->hide();
            m_btnPanelClose->setVisible(level.dwEnabled[mainwindow::kOpenPanelEntry + 1] != 0);
        }
    } else if (m_bPanelOpen) {
        PlacePanelButtons();
        m_btnPanelOpen->hide();
        m_btnPanelClose->setVisible(level.dwEnabled[mainwindow::kOpenPanelEntry + 1] != 0);
    } else {
        HidePanelButtons();
        m_btnPanelOpen->setVisible(level.dwEnabled[mainwindow::kOpenPanelEntry] != 0);
        m_btnPanelClose->hide();
    }
    const std::string product = m_app.str_ProductID.Get();
    const bool dvrFrom1035 = IsDvrFamily(product) && CompareFirmwareVersion("1035", m_app.str_FWVersion.Get()) != 2;
    m_app.by_MouseMode.store(mainwindow::MouseModeFor(type, dvrFrom1035, (m_app.dw_DeviceCapability.load() & 0x2) != 0));
    if (m_app.by_MultiChannel.load() != 0)
        m_btnPanel[mainwindow::kPanelPtzControl]->hide();
    RepaintPanelStrip();
}

// The strip below the video area of the panel-open rectangle.
void CTavrinDlg::RepaintPanelStrip() {
    const auto& row = Row();
    const int top = row[mainwindow::kOpenRect + 1] + row[mainwindow::kVideoRect + 3];
    update(QRect(QPoint(row[mainwindow::kOpenRect], top),
                 QPoint(row[mainwindow::kOpenRect + 2], row[mainwindow::kOpenRect + 3])));
}

// ---- Control panel ----------------------------------------------------------------

// The window takes the row's panel-open or panel-closed rectangle where it
// stands, with 20 x 20 corners.
void CTavrinDlg::ResizeToPanelRect(bool open) {
    const auto& row = Row();
    const std::size_t field = open ? mainwindow::kOpenRect : mainwindow::kClosedRect;
    const int width = row[field + 2] - row[field], height = row[field + 3] - row[field + 1];
    setFixedSize(width, height);
    SetWindowRegion(width, height, 20);
}

void CTavrinDlg::OnCameraToolButton() {
    m_bPanelOpen = !m_bPanelOpen;
    ResizeToPanelRect(true);
    m_btnPanelClose->show();
    m_btnPanelOpen->hide();
    PlacePanelButtons();
    RepaintPanelStrip();
}

void CTavrinDlg::OnCameraToolButtonDown() {
    m_bPanelOpen = !m_bPanelOpen;
    ResizeToPanelRect(false);
    m_btnPanelClose->hide();
    m_btnPanelOpen->show();
    HidePanelButtons();
    RepaintPanelStrip();
}

void CTavrinDlg::OnFullScreenButton() { display_.EnterFullScreen(); }

void CTavrinDlg::RunPanelRequest(std::function<mainwindow::ControlOutcome(std::stop_token)> job) {
    gui::RunDeviceCommand(this, m_app.h_DeviceCommandWorker, std::move(job), [this](mainwindow::ControlOutcome outcome) {
        if (outcome.messageId != 0)
            ShowMessageBox(outcome.messageId);
    });
}

void CTavrinDlg::OnPanelButton(std::size_t index) {
    AppData& app = m_app;
    const platform::Timing timing = m_timing;
    const auto panelIndex = static_cast<std::uint16_t>(index);
    switch (mainwindow::PanelKeyActionOf(index)) {
    case mainwindow::PanelKeyAction::Menu:
        if (!mainwindow::RecorderKeyAllowed(m_app.by_UserLevelIndex.load(), m_app.str_ProductID.Get()))
            return;
        [[fallthrough]];
    case mainwindow::PanelKeyAction::Send:
    case mainwindow::PanelKeyAction::SendTurbo: {
        const bool turbo = mainwindow::PanelKeyActionOf(index) == mainwindow::PanelKeyAction::SendTurbo &&
                           m_app.dw_TurboMode.load() != 0;
        RunPanelRequest([&app, timing, turbo, panelIndex](std::stop_token stop) {
            return mainwindow::SendPanelCommand(app, turbo, panelIndex, timing, stop);
        });
        return;
    }
    case mainwindow::PanelKeyAction::RecordSearch: OnRecordSearch(); return;
    case mainwindow::PanelKeyAction::Turbo: OnTurbo(); return;
    case mainwindow::PanelKeyAction::PtzControl: OnPtzControl(); return;
    case mainwindow::PanelKeyAction::ActionPreset: OnActionPreset(); return;
    case mainwindow::PanelKeyAction::Retr:
        RunPanelRequest([&app, timing](std::stop_token stop) { return mainwindow::SendRetr(app, timing, stop); });
        return;
    }
}

void CTavrinDlg::OnPower() {
    AppData& app = m_app;
    const platform::Timing timing = m_timing;
    RunPanelRequest([&app, timing](std::stop_token stop) { return mainwindow::SendPower(app, timing, stop); });
}

void CTavrinDlg::OnTurbo() {
    const bool on = (m_app.dw_TurboMode.fetch_xor(1) ^ 1) != 0;
    CVtxButton* turbo = m_btnPanel[mainwindow::kPanelTurbo];
    turbo->SetImageState(on ? 1 : 0);
    turbo->setToolTip(LoadText(mainwindow::kPanelTurboId).split('$').value(on ? 0 : 1));
    ReloadTurboPictures();
    RepaintPanelStrip();
}

// The zoom, focus and joystick direction keys of the layout's format, turbo or plain.
void CTavrinDlg::ReloadTurboPictures() {
    ApplyLoads(mainwindow::TurboToggleLoads(mainwindow::LayoutClass(m_app.w_VideoLayout.load()),
                                            m_app.dw_TurboMode.load() != 0));
}

void CTavrinDlg::OnActionPreset() {
    const bool preset = m_app.dw_PresetMode.load() != 1;
    m_app.dw_PresetMode.store(preset ? 1 : 0);
    CVtxButton* button = m_btnPanel[mainwindow::kPanelActionPreset];
    button->SetImageState(preset ? 1 : 0);
    button->setToolTip(LoadText(mainwindow::kPanelActionPresetId).split('$').value(preset ? 1 : 0));
}

void CTavrinDlg::OnRecordSearch() {
    if (!m_runRecordSearch || !m_runRecordSearch(*this))
        ShowMessageText("Dialog box could not be created!");
}

// ---- PTZ slave selection and click-to-position ------------------------------------

void CTavrinDlg::OnPtzControl() {
    if (!mainwindow::RecorderKeyAllowed(m_app.by_UserLevelIndex.load(), m_app.str_ProductID.Get()))
        return;
    if (!IsDvrFamily(m_app.str_ProductID.Get())) {
        RunPtzSelectDialog();
        return;
    }
    // A recorder tells its slaves first; the dialog opens only when it answered.
    AppData& app = m_app;
    const platform::Timing timing = m_timing;
    gui::RunDeviceCommand(
        this, m_app.h_DeviceCommandWorker,
        [&app, timing](std::stop_token stop) {
            const auto reply = mainwindow::QueryPtzReset(app, timing, stop);
            if (!reply)
                return mainwindow::ControlOutcome{false, stop.stop_requested() ? 0u : mainwindow::kMsgCommandNotSent};
            mainwindow::RefreshSlaves(app, *reply);
            return mainwindow::ControlOutcome{true, 0};
        },
        [this](mainwindow::ControlOutcome outcome) {
            if (outcome.sent)
                RunPtzSelectDialog();
            else if (outcome.messageId != 0)
                ShowMessageBox(outcome.messageId);
        });
}

void CTavrinDlg::RunPtzSelectDialog() {
    mainwindow::ControlDeviceList& list = m_app.C_ControlD;
    const bool master = list.IsCurrentMaster();
    PtzSelectDialog dialog(master, list.GetCurrentOrdinal(), m_app.fl_DpiScale.load(), this);
    const int result = m_runPtzDialog ? m_runPtzDialog(dialog) : dialog.exec();
    AppData& app = m_app;
    const platform::Timing timing = m_timing;
    if (result == mainwindow::kPtzSelectCancel) {
        m_btnPanel[mainwindow::kPanelPtzControl]->SetImageState(list.IsCurrentMaster() ? 0 : 1);
        if (IsDvrFamily(m_app.str_ProductID.Get()))
            RunPanelRequest(
                [&app, timing](std::stop_token stop) { return mainwindow::SendPtzReset(app, timing, stop); });
        return;
    }
    const int number = dialog.m_nPtzNumber;
    gui::RunDeviceCommand(
        this, m_app.h_DeviceCommandWorker,
        [&app, timing, result, number](std::stop_token stop) {
            return mainwindow::SendPtzSelection(app, result, number, timing, stop);
        },
        [this, result](mainwindow::PtzSelectionOutcome selection) { ApplyPtzSelection(result, selection); });
}

// After the device took the selection: the key's tooltip and picture, then
// the panel of the new current device.
void CTavrinDlg::ApplyPtzSelection(int result, const mainwindow::PtzSelectionOutcome& selection) {
    if (!selection.outcome.sent) {
        if (selection.outcome.messageId != 0)
            ShowMessageBox(selection.outcome.messageId);
        return;
    }
    CVtxButton* ptz = m_btnPanel[mainwindow::kPanelPtzControl];
    const QStringList captions = LoadText(mainwindow::kPanelPtzControlId).split('$');
    const bool exit = result == mainwindow::kPtzSelectExit && !selection.wasMaster;
    if (exit) {
        ptz->setToolTip(captions.value(0));
        ptz->SetImageState(0);
    } else {
        if (selection.wasMaster)
            ptz->setToolTip(captions.value(1));
        ptz->SetImageState(1);
    }
    ChangeItemPositionForDeviceModified();
}

void CTavrinDlg::OnPostPtzPosition() {
    AppData& app = m_app;
    const platform::Timing timing = m_timing;
    const QRect area = m_rcWorkArea;
    const mainwindow::ClickRect workArea{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
    const bool fullScreen = display_.m_bFullScreen.load() != 0;
    RunPanelRequest([&app, timing, workArea, fullScreen](std::stop_token stop) {
        return mainwindow::SendClickToPosition(app, workArea, fullScreen, timing, stop);
    });
}

void CTavrinDlg::PostAlarmAudio(int lParam) { session::PostAlarmAudio(m_app, lParam); }

void CTavrinDlg::SetButtonImage(std::uint16_t controlId, int imageState, const std::string& toolTip) {
    CVtxButton* button = Button(controlId);
    if (!button)
        return;
    button->SetImageState(imageState & 0xFF);
    if (!toolTip.empty())
        button->setToolTip(QString::fromStdString(toolTip));
}

void CTavrinDlg::OnFrameSize(std::uint16_t width, std::uint16_t height) {
    const auto change = m_app.VideoSizeSelector.OnFrameSize(width, height);
    if (!change || !m_started)
        return;
    ++m_relayouts;
    if (change->channelBarLayout)
        LayoutChannelBar();
    ChangeItemPositionForDeviceModified();
    if (change->skin)
        SwitchTo(static_cast<mainwindow::SkinFormat>(*change->skin));
    else
        ApplyLayout();
}

void CTavrinDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    DockSensorBar();
}

// Dragged by any point of its background (not in full screen).
// Window coordinates (presses in the video area reach here mapped); the
// click position follows the pointer while click-to-position may use it.
void CTavrinDlg::StorePointer(const QPoint& at, bool click) {
    m_app.pt_MousePos.Set(MousePoint{at.x(), at.y()});
    if (click && m_app.by_MouseMode.load() != 1) {
        m_app.w_ClickPosX.store(static_cast<std::uint16_t>(std::max(at.x(), 0)));
        m_app.w_ClickPosY.store(static_cast<std::uint16_t>(std::max(at.y(), 0)));
    }
}

// Dragged by any point of its background (not in full screen); in
// click-to-position mode a press also points the camera.
void CTavrinDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        StorePointer(event->position().toPoint(), true);
        if (!display_.m_bFullScreen.load()) {
            ++m_systemMoves;
            m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
            m_manualDrag = !(windowHandle() && windowHandle()->startSystemMove());
        }
        if (m_app.by_MouseMode.load() == 2 && m_app.dw_VideoConnected.load() != 0)
            QMetaObject::invokeMethod(this, [this] { OnPostPtzPosition(); }, Qt::QueuedConnection);
    }
    QDialog::mousePressEvent(event);
}

void CTavrinDlg::mouseMoveEvent(QMouseEvent* event) {
    StorePointer(event->position().toPoint(), true);
    // Where the window system cannot move the window, it follows the pointer.
    if (m_manualDrag && (event->buttons() & Qt::LeftButton) && !display_.m_bFullScreen.load())
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

void CTavrinDlg::mouseReleaseEvent(QMouseEvent* event) {
    StorePointer(event->position().toPoint(), false);
    m_manualDrag = false;
    QDialog::mouseReleaseEvent(event);
}

// Over the window and its children: the first left press silences a playing
// alarm sound (a new start waits for the stop), Enter is swallowed, and Esc
// leaves full screen (outside it, nothing).
bool CTavrinDlg::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    // Dialogs of their own (PTZ selection, colours) keep their keys.
    if (!widget || widget->window() != this)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_app.dw_AlarmAudioPlaying.load() != 0) {
        m_app.h_StopAudioWavEvent.Set();
        m_app.dw_AlarmAudioPlaying.store(0);
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
        if (key == Qt::Key_Escape) {
            if (display_.m_bFullScreen.load())
                LeaveFullScreen();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace session
