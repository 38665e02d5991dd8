#pragma once
// The small window the firmware upgrade shows while it logs in: "Connect"
// and the device address, then the first word of its caption string, the
// address and one to four moving dots, until the login worker reports.
// exec() returns the worker's end (kLoginWorkerSucceeded 1 or
// kLoginWorkerFailed -1), or kDismissed when the operator presses Escape.

#include <QDialog>

#include "session/login/LoginWorker.h"

class QLabel;
class QTimer;

namespace session {

class LoginDialog;

class ConnectingPopup : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDismissed = 2;

    // The login dialog's fields are what the worker logs in with.
    ConnectingPopup(QWidget* parent, LoginDialog* loginDialog);
    ~ConnectingPopup() override;

    void SetText(const QString& text);
    QString Text() const { return m_strText; }

    void done(int result) override;
    void reject() override;

signals:
    // The text shown changed (the first text, then every dot step).
    void textShown(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();
    void OnTimer();
    void OnPostLoginEnd(int result);

    QString m_strText;
    int m_nDotCount = 0;
    LoginDialog* m_pLoginDialog;
    bool m_started = false;
    QLabel* m_label = nullptr;
    QTimer* m_timer;
};

}  // namespace session
