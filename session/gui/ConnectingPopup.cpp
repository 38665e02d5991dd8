#include "session/gui/ConnectingPopup.h"

#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include "session/gui/ConnectingPopupTemplate.h"
#include "session/gui/LoginDialog.h"
#include "gui/StringText.h"
#include "gui/TemplateBuilder.h"

namespace session {
namespace {

constexpr unsigned kConnectCaption = 8532;  // "connect" and "stop connecting"

// The first blank-separated word of the caption string.
QString FirstWord(unsigned id) {
    return LoadText(id).section(QRegularExpression("\\s+"), 0, 0, QString::SectionSkipEmpty);
}

}  // namespace

ConnectingPopup::ConnectingPopup(QWidget* parent, LoginDialog* loginDialog)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_pLoginDialog(loginDialog),
      m_timer(new QTimer(this)) {
    setObjectName("connectingPopup");
    setStyleSheet("QDialog#connectingPopup { border: 2px outset palette(mid); }");
    m_label = gui::BuildTemplate(*this, kConnectingPopupTemplate).Get<QLabel>(1393);
    m_label->setObjectName("connectingText");
    // The template's text stands until the caller's or the timer's replaces it.
    m_label->clear();
    m_timer->setInterval(loginDialog->Timing().connectingDotPeriod);
    connect(m_timer, &QTimer::timeout, this, &ConnectingPopup::OnTimer);
}

ConnectingPopup::~ConnectingPopup() {
    // Nobody waits for this pop-up's result any more.
    if (g_lpLogin)
        g_lpLogin->StopThread();
}

void ConnectingPopup::SetText(const QString& text) {
    m_strText = text;
    m_label->setText(text);
    emit textShown(text);
}

void ConnectingPopup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        OnInitDialog();
    }
}

void ConnectingPopup::OnInitDialog() {
    CreateLoginObject(m_pLoginDialog->App());
    Login& login = *g_lpLogin;
    const LoginFields fields = m_pLoginDialog->Fields();
    login.m_strUser = fields.user;
    login.m_strPassword = fields.password;
    login.m_strServer = fields.server;
    login.m_strPort = fields.port;
    login.m_timing = m_pLoginDialog->Timing();

    // The worker reports on its own thread; its reports come over here. A
    // pop-up or login dialog that is gone by then drops them.
    QPointer<ConnectingPopup> popup(this);
    QPointer<LoginDialog> dialog(m_pLoginDialog);
    login.m_notify.loginEnd = [popup](int result) {
        QMetaObject::invokeMethod(
            popup, [popup, result] { popup->OnPostLoginEnd(result); }, Qt::QueuedConnection);
    };
    // Messages go to the login dialog, which outlives the pop-up.
    login.m_notify.message = [dialog](unsigned id) {
        QMetaObject::invokeMethod(
            dialog, [dialog, id] { dialog->ShowMessageId(id); }, Qt::QueuedConnection);
    };
    m_timer->start();
    login.CreateThread();
}

void ConnectingPopup::OnTimer() {
    static const char* const kDots[] = {" .", " ..", " ...", " ...."};
    SetText(FirstWord(kConnectCaption) + " " + QString::fromStdString(m_pLoginDialog->Fields().server) +
            kDots[m_nDotCount % 4]);
    ++m_nDotCount;
}

void ConnectingPopup::OnPostLoginEnd(int result) {
    m_timer->stop();
    done(result);
}

void ConnectingPopup::done(int result) {
    m_timer->stop();
    QDialog::done(result);
}

void ConnectingPopup::reject() {
    done(kDismissed);
}

}  // namespace session
