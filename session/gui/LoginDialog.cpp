#include "session/gui/LoginDialog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

#include <algorithm>
#include <system_error>

#include "platform/ProgramFolder.h"
#include "session/AppData.h"
#include "session/net/CommandSender.h"
#include "session/tools/CompanionPlayer.h"
#include "session/DeviceFamily.h"
#include "session/login/LoginExchange.h"
#include "session/login/LoginWorker.h"
#include "session/gui/AddressBookDialog.h"
#include "session/gui/ConnectingPopup.h"
#include "session/gui/CopyProgramDialog.h"
#include "session/gui/DeviceSearchDialog.h"
#include "gui/DlgGetPath.h"
#include "gui/SkinPicture.h"
#include "gui/StringText.h"
#include "gui/VtxButton.h"

namespace session {
namespace {

// A rectangle as left, top, right, bottom.
struct Edges {
    int left, top, right, bottom;
    QRect Rect() const { return QRect(left, top, right - left, bottom - top); }
};

}  // namespace

// The command buttons: the id is also the string id of the tool tip (and of
// the caption drawn when the pictures are missing).
struct LoginButtonTable {
    struct Row {
        unsigned id;
        Edges edges;
        const char* normal;
        const char* hover;
        const char* pressed;
        void (LoginDialog::*handler)();
    };
    static constexpr std::size_t kCount = 7;
    static const Row kRows[kCount];
};

const LoginButtonTable::Row LoginButtonTable::kRows[kCount] = {
    {8440, {30, 50, 64, 84}, "BMP/LOGIN/address.bmp", "BMP/LOGIN/address_over.bmp", "BMP/LOGIN/address_down.bmp",
     &LoginDialog::OnAddressBookButton},
    {8441, {80, 50, 114, 84}, "BMP/LOGIN/search.bmp", "BMP/LOGIN/search_over.bmp", "BMP/LOGIN/search_down.bmp",
     &LoginDialog::OnSearchButton},
    {8442, {130, 50, 164, 84}, "BMP/LOGIN/player.bmp", "BMP/LOGIN/player_over.bmp", "BMP/LOGIN/player_down.bmp",
     &LoginDialog::OnPlaybackButton},
    {8527, {230, 50, 264, 84}, "BMP/LOGIN/download.BMP", "BMP/LOGIN/download_over.bmp",
     "BMP/LOGIN/download_down.bmp", &LoginDialog::OnUpgradeButton},
    {8443, {180, 50, 214, 84}, "BMP/LOGIN/copy.bmp", "BMP/LOGIN/copy_over.bmp", "BMP/LOGIN/copy_down.bmp",
     &LoginDialog::OnCopyProgramButton},
    {8444, {50, 275, 82, 307}, "BMP/LOGIN/enter.bmp", "BMP/LOGIN/enter_over.bmp", "BMP/LOGIN/enter_down.bmp",
     &LoginDialog::OnConnectButton},
    {8445, {215, 275, 247, 307}, "BMP/LOGIN/cancel.bmp", "BMP/LOGIN/cancel_over.bmp", "BMP/LOGIN/cancel_down.bmp",
     &LoginDialog::OnCancelButton},
};

namespace {

constexpr int kWindowWidth = 304;
constexpr int kWindowHeight = 341;
constexpr int kCornerEllipse = 15;

constexpr unsigned kPlayerFailedMessage = 4098;
constexpr std::uint16_t kTopUserLevel = 30;
constexpr int kAnimateSteps = 18;


// The frame pictures, in the order of LoginDialog::m_Skin, and where each is
// stretched to (x, y, width, height). What a missing one leaves is filled
// with the colour beside it: the background grey, the top and bottom bands
// light blue.
enum SkinPiece { kSpacer, kLeftTop, kRightTop, kTopMiddle1, kTopMiddle2, kLeftMiddle, kRightMiddle,
                 kLeftDown, kRightDown, kDownMiddle, kRunning };
struct SkinRow {
    const char* file;
    QRect target;
    bool band;  // part of the top or bottom band
};
const SkinRow kSkinRows[] = {
    {"BMP/LOGIN/spacer.bmp", {0, 0, 304, 341}, false},
    {"BMP/LOGIN/left_top.bmp", {0, 0, 21, 34}, true},
    {"BMP/LOGIN/right_top.bmp", {278, 0, 26, 34}, true},
    {"BMP/LOGIN/top_middle1.bmp", {21, 0, 257, 12}, true},
    {"BMP/LOGIN/top_middle2.bmp", {21, 12, 257, 22}, true},
    {"BMP/LOGIN/left_middle.bmp", {0, 34, 21, 285}, false},
    {"BMP/LOGIN/right_middle.bmp", {278, 34, 26, 285}, false},
    {"BMP/LOGIN/left_down.bmp", {0, 319, 25, 22}, true},
    {"BMP/LOGIN/right_down.bmp", {280, 319, 24, 22}, true},
    {"BMP/LOGIN/down_middle.bmp", {25, 319, 255, 22}, true},
    {"BMP/LOGIN/running.bmp", {}, false},
};
const char* const kDigitFiles[] = {
    "BMP/LOGIN/login_0.bmp", "BMP/LOGIN/login_1.bmp", "BMP/LOGIN/login_2.bmp", "BMP/LOGIN/login_3.bmp",
    "BMP/LOGIN/login_4.bmp", "BMP/LOGIN/login_5.bmp", "BMP/LOGIN/login_6.bmp", "BMP/LOGIN/login_7.bmp",
    "BMP/LOGIN/login_8.bmp", "BMP/LOGIN/login_9.bmp", "BMP/LOGIN/login_point.bmp",
};
constexpr int kPointPicture = 10;

// The program version drawn as pictures in the top band.
constexpr int kVersionX = 182;
constexpr int kVersionY = 13;
constexpr int kVersionCellWidth = 10;
constexpr int kVersionCellHeight = 20;
constexpr std::size_t kVersionMax = 10;

// The progress bar, and the size of its running picture when the skin has none.
constexpr QPoint kProgressOrigin{74, 245};
constexpr QSize kRunningFallback{20, 12};

struct LabelRow {
    unsigned id;
    Edges edges;
    const char* picture;
};
const LabelRow kLoginLabelTable[] = {
    {8528, {30, 100, 58, 128}, "BMP/LOGIN/name.BMP"},
    {8529, {30, 136, 58, 164}, "BMP/LOGIN/password.BMP"},
    {8530, {30, 172, 58, 200}, "BMP/LOGIN/ip.BMP"},
    {8531, {30, 208, 58, 236}, "BMP/LOGIN/port.BMP"},
};

std::string ToStd(const QString& text) {
    return text.toStdString();
}

}  // namespace

LoginDialog::LoginDialog(AppData& app, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_app(app),
      m_loginThread(std::make_unique<LoginThread>(app, m_timing)),
      m_animateThread(std::make_unique<AnimateThread>()) {
    setObjectName("loginDialog");
    setFixedSize(kWindowWidth, kWindowHeight);
    move(0, 0);  // the dialog opens at the screen's origin
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, kWindowWidth, kWindowHeight), kCornerEllipse / 2.0, kCornerEllipse / 2.0);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
    setToolTip("LOGIN");

    auto makeEdit = [this](const char* name, QRect geometry) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setGeometry(geometry);
        return edit;
    };
    m_editUser = makeEdit("userEdit", {93, 100, 180, 28});
    m_editPassword = makeEdit("passwordEdit", {93, 136, 180, 28});
    m_editPassword->setEchoMode(QLineEdit::Password);
    m_editServer = makeEdit("serverEdit", {93, 172, 180, 28});
    m_editPort = makeEdit("portEdit", {93, 208, 100, 28});
    setTabOrder(m_editUser, m_editPassword);
    setTabOrder(m_editPassword, m_editServer);
    setTabOrder(m_editServer, m_editPort);
    connect(m_editPort, &QLineEdit::textChanged, this, &LoginDialog::OnChangePort);

    LoadSkin();
    CreateButtons();
}

LoginDialog::~LoginDialog() {
    StopThreads();
}

std::filesystem::path LoginDialog::ProgramFolder() const {
    return ProgramFolderOf(m_app);
}

void LoginDialog::LoadSkin() {
    const auto folder = ProgramFolder();
    for (std::size_t i = 0; i < m_Skin.size(); ++i)
        m_Skin[i] = LoadSkinPicture(folder, kSkinRows[i].file);
    for (std::size_t i = 0; i < m_hDigit.size(); ++i)
        m_hDigit[i] = LoadSkinPicture(folder, kDigitFiles[i]);
}

bool LoginDialog::SkinComplete() const {
    const auto loaded = [](const QPixmap& picture) { return !picture.isNull(); };
    return std::all_of(m_Skin.begin(), m_Skin.end(), loaded) && std::all_of(m_hDigit.begin(), m_hDigit.end(), loaded);
}

void LoginDialog::CreateButtons() {
    const auto folder = ProgramFolder();
    // Tab order follows the table, after the fields.
    QWidget* previous = m_editPort;
    for (std::size_t i = 0; i < LoginButtonTable::kCount; ++i) {
        const LoginButtonTable::Row& row = LoginButtonTable::kRows[i];
        auto* button = new CVtxButton(this);
        button->setObjectName(QStringLiteral("button%1").arg(row.id));
        button->setGeometry(row.edges.Rect());
        button->setText(LoadText(row.id));
        button->setToolTip(LoadText(row.id));
        button->LoadButtonBitmap(folder, row.normal, row.hover, row.pressed, CVtxButton::VTX_PUSH_HOVER);
        connect(button, &QAbstractButton::clicked, this, row.handler);
        setTabOrder(previous, button);
        previous = button;
        m_btnCommand[i] = button;
    }
    for (std::size_t i = 0; i < std::size(kLoginLabelTable); ++i) {
        const LabelRow& row = kLoginLabelTable[i];
        auto* label = new CVtxButton(this);
        label->setObjectName(QStringLiteral("label%1").arg(row.id));
        label->setGeometry(row.edges.Rect());
        label->setText(LoadText(row.id));
        label->setToolTip(LoadText(row.id));
        label->setFocusPolicy(Qt::NoFocus);
        label->LoadButtonBitmap(folder, row.picture, CVtxButton::VTX_SINGLE);
        m_btnLabel[i] = label;
    }
}

void LoginDialog::SetTiming(const platform::Timing& timing) {
    StopThreads();
    m_timing = timing;
    m_loginThread = std::make_unique<LoginThread>(m_app, m_timing);
}

void LoginDialog::PrefillFromSettings() {
    const CSettingINI& settings = m_app.CSettingINI;
    m_editServer->setText(QString::fromStdString(settings.m_strServerName.Get()));
    m_editUser->setText(QString::fromStdString(settings.m_strUserName.Get()));
    m_editPassword->clear();
    m_nPort = settings.m_wWebPort.load();
    const QSignalBlocker quiet(m_editPort);  // the stored port is taken as it stands
    m_editPort->setText(QString::number(m_nPort));
    // The password is the one field never stored: with a known user it is all there is to type.
    (m_editUser->text().isEmpty() ? m_editUser : m_editPassword)->setFocus();
}

LoginFields LoginDialog::Fields() const {
    return {ToStd(m_editServer->text()), ToStd(m_editUser->text()), ToStd(m_editPassword->text()),
            ToStd(m_editPort->text())};
}

void LoginDialog::ShowMessageId(unsigned id) {
    ShowMessageText(LoadText(id));
}

void LoginDialog::ShowMessageText(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, this);
    box.exec();
}

void LoginDialog::StopThreads() {
    ++m_attempt;  // whatever the stopped threads queued is now stale
    m_attemptRunning = false;
    if (m_loginThread)
        m_loginThread->Stop();
    if (m_animateThread)
        m_animateThread->Stop();
}

void LoginDialog::done(int result) {
    StopThreads();
    QDialog::done(result);
}

void LoginDialog::reject() {
    done(kCancelled);
}

bool LoginDialog::CredentialsGiven() {
    if (!m_editUser->text().isEmpty() && !m_editPassword->text().isEmpty())
        return true;
    ShowMessageId(kEmptyCredentialsMessage);
    return false;
}

// ---- Connect and the two threads ---------------------------------------------

void LoginDialog::OnConnectButton() {
    if (!CredentialsGiven())
        return;
    m_bShowFailure = false;
    m_bAnimating = false;
    m_byAnimateStep = 0;
    StopThreads();  // a second press abandons the attempt still running

    const unsigned attempt = m_attempt;
    // Reports come on the worker's thread; each is carried to this thread and
    // dropped there when its attempt is no longer the current one.
    auto onThisThread = [this, attempt](auto call) {
        QMetaObject::invokeMethod(
            this,
            [this, attempt, call] {
                if (attempt == m_attempt && m_attemptRunning)
                    call();
            },
            Qt::QueuedConnection);
    };
    LoginThread::Reports reports;
    reports.succeeded = [onThisThread, this] { onThisThread([this] { OnLoginSuccess(); }); };
    reports.failed = [onThisThread, this](int failure) { onThisThread([this, failure] { OnLoginFailed(failure); }); };
    reports.wrongAddress = [this] {
        QMetaObject::invokeMethod(
            this, [this] { ShowMessageText(QString::fromUtf8(kWrongAddressText.data(), kWrongAddressText.size())); },
            Qt::QueuedConnection);
    };
    if (!m_loginThread->Start(Fields(), std::move(reports)))
        return;
    m_attemptRunning = true;
    if (m_animateThread->Start(m_timing.loginAnimatePeriod,
                               [onThisThread, this] { onThisThread([this] { OnAnimateStep(); }); }))
        update();
}

QRect LoginDialog::ProgressRect() const {
    const QPixmap& running = m_Skin[kRunning];
    const QSize size = running.isNull() ? kRunningFallback : running.size();
    const int half = size.width() / 2;
    return QRect(kProgressOrigin, QSize(kAnimateSteps * half, size.height()));
}

void LoginDialog::OnAnimateStep() {
    m_bAnimating = true;
    m_byAnimateStep = m_byAnimateStep >= kAnimateSteps - 1 ? 0 : m_byAnimateStep + 1;
    update(ProgressRect());
    emit animateStepShown(m_byAnimateStep);
}

void LoginDialog::OnLoginFailed(int failure) {
    m_attemptRunning = false;
    m_bAnimating = false;
    m_animateThread->Stop();
    if (const std::string_view text = LoginFailureText(failure); !text.empty()) {
        m_strFailure = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        m_bShowFailure = true;
    }
    update();
}

void LoginDialog::OnLoginSuccess() {
    done(kLoggedIn);
}

void LoginDialog::OnCancelButton() {
    done(kCancelled);
}

// ---- Keys, dragging, painting ---------------------------------------------------

void LoginDialog::keyPressEvent(QKeyEvent* event) {
    // Enter in any field connects; it is carried over like the device's
    // reports, so the key's own handling ends first.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QMetaObject::invokeMethod(this, [this] { OnConnectButton(); }, Qt::QueuedConnection);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);  // Escape cancels
}

void LoginDialog::mousePressEvent(QMouseEvent* event) {
    // No caption to drag: the whole surface moves the window.
    if (event->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove();
    QDialog::mousePressEvent(event);
}

void LoginDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    bool frameMissing = false;
    for (std::size_t i = 0; i < kRunning; ++i) {
        const SkinRow& row = kSkinRows[i];
        if (!m_Skin[i].isNull()) {
            painter.drawPixmap(row.target, m_Skin[i]);
            continue;
        }
        frameMissing = true;
        painter.fillRect(row.target, row.band ? kSkinLightBlue : kSkinGrey);
    }
    if (frameMissing) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kSkinBlue, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(0.5, 0.5, kWindowWidth - 1, kWindowHeight - 1), kCornerEllipse / 2.0,
                                kCornerEllipse / 2.0);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }

    // The program version, a picture per character.
    const std::string version = m_app.str_APVersion.Get().substr(0, kVersionMax);
    QFont digitFont = painter.font();
    digitFont.setPixelSize(kVersionCellHeight - 4);
    digitFont.setBold(true);
    painter.setFont(digitFont);
    painter.setPen(kSkinBlue);
    for (std::size_t i = 0; i < version.size(); ++i) {
        const char c = version[i];
        const QRect cell(kVersionX + kVersionCellWidth * static_cast<int>(i), kVersionY, kVersionCellWidth,
                         kVersionCellHeight);
        const QPixmap& picture = m_hDigit[c >= '0' && c <= '9' ? c - '0' : kPointPicture];
        if (!picture.isNull())
            painter.drawPixmap(cell, picture);
        else
            painter.drawText(cell, Qt::AlignCenter, QString(QChar(c >= '0' && c <= '9' ? c : '.')));
    }

    if (m_bAnimating) {
        const QRect bar = ProgressRect();
        const int half = bar.width() / kAnimateSteps;
        painter.fillRect(bar, kSkinLightBlue);
        const QPoint at(bar.left() + m_byAnimateStep * half, bar.top());
        if (!m_Skin[kRunning].isNull())
            painter.drawPixmap(at, m_Skin[kRunning]);
        else
            painter.fillRect(QRect(at, QSize(2 * half, bar.height())), kSkinBlue);
    }

    if (m_bShowFailure) {
        painter.setFont(font());
        painter.setPen(kSkinBlue);
        painter.drawText(QRect(kProgressOrigin, QSize(kWindowWidth - kProgressOrigin.x(), 24)),
                         Qt::AlignLeft | Qt::AlignTop, m_strFailure);
    }
}

// ---- The port field --------------------------------------------------------------

void LoginDialog::OnChangePort() {
    SetPortText(m_nPort = FilterPortText(ToStd(m_editPort->text()), m_nPort));
}

void LoginDialog::SetPortText(int port) {
    const QString text = QString::number(port);
    if (m_editPort->text() != text) {
        const QSignalBlocker quiet(m_editPort);
        m_editPort->setText(text);
    }
    m_editPort->setCursorPosition(static_cast<int>(text.size()));
}

// ---- The tools -------------------------------------------------------------------

std::optional<IPRecord> LoginDialog::RunAddressBook() {
    CAddressBookDialog dialog(AddressBook::DefaultPath(), this);
    if (dialog.exec() != CAddressBookDialog::kChosen)
        return std::nullopt;
    return dialog.Chosen();
}

void LoginDialog::OnAddressBookButton() {
    const auto chosen = RunAddressBook();
    if (!chosen)
        return;  // the password is never touched
    m_editUser->setText(QString::fromStdString(chosen->user));
    m_editServer->setText(QString::fromStdString(chosen->address));
    m_editPort->setText(QString::number(chosen->webPort));
}

DeviceSearchChoice LoginDialog::RunDeviceSearch() {
    DeviceSearchOptions options;
    options.timing = m_timing;
    options.lastMac1 = m_app.CSettingINI.m_wLastMAC1.load();
    options.lastMac2 = m_app.CSettingINI.m_wLastMAC2.load();
    return session::RunDeviceSearch(this, options);
}

void LoginDialog::OnSearchButton() {
    const DeviceSearchChoice choice = RunDeviceSearch();
    if (!choice.chosen)
        return;
    m_app.CSettingINI.m_wWebPort = static_cast<std::uint16_t>(choice.webPort & 0xFFFF);
    m_app.CSettingINI.SetTypedServer(choice.address);
    m_editServer->setText(QString::fromStdString(choice.address));
    m_editPort->setText(QString::number(choice.webPort));
}

void LoginDialog::OnPlaybackButton() {
    const std::string newest = FindNewestRecordFile(m_app.CSettingINI.m_strRecordPath.Get());
    std::vector<std::string> arguments;
    if (!newest.empty())
        arguments.push_back(newest);
    if (!StartCompanionPlayer(ProgramFolder(), arguments))
        ShowMessageId(kPlayerFailedMessage);
}

std::optional<std::filesystem::path> LoginDialog::ChooseCopyDestination() {
    CDlgGetPath dialog(this);
    dialog.SetPath(platform::HomeFolder().string() + "/");
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::filesystem::path(dialog.GetPath());
}

void LoginDialog::RunCopyProgram(const std::filesystem::path& source, const std::filesystem::path& destination) {
    CopyProgramDialog dialog(this, source, destination, m_app.CSettingINI, m_timing);
    dialog.exec();
}

void LoginDialog::OnCopyProgramButton() {
    const auto destination = ChooseCopyDestination();
    if (!destination)
        return;
    std::error_code ignored;  // a folder that cannot be made shows in the copy's report
    std::filesystem::create_directories(*destination / "BMP", ignored);
    RunCopyProgram(ProgramFolder(), *destination);
}

int LoginDialog::RunConnectingPopup() {
    ConnectingPopup popup(nullptr, this);
    popup.SetText("Connect " + m_editServer->text());
    return popup.exec();
}

void LoginDialog::RunUpgradeDialog() {
    if (m_runUpgradeDialog)
        m_runUpgradeDialog(*this);
    else
        ShowMessageText("The firmware upgrade is not available in this version of the program.");
}

void LoginDialog::OnUpgradeButton() {
    if (!CredentialsGiven())
        return;
    if (RunConnectingPopup() != kLoginWorkerSucceeded)
        return;
    const std::string product = m_app.str_ProductID.Get();
    const bool knownFamily =
        IsDvrFamily(product) || IsVideoServerFamily(product) || IsN5HFamily(product) || IsG66MFamily(product);
    if (m_app.w_UserLevel.load() != kTopUserLevel)
        ShowMessageText("Only administrator could use upgrade firmware function");
    else if (!knownFamily || (IsDvrFamily(product) && CompareFirmwareVersion("1031", m_app.str_FWVersion.Get()) == 2))
        ShowMessageText("Device doesn't support network upgrade FW");
    else
        RunUpgradeDialog();
}

int RunLoginDialog(AppData& app) {
    int result = LoginDialog::kCancelled;
    do {
        LoginDialog dialog(app);
        dialog.PrefillFromSettings();
        result = dialog.exec();
    } while (result == LoginDialog::kLoggedIn && app.w_LoginResult.load() == kLoginNotLoggedIn);
    return result;
}

}  // namespace session
