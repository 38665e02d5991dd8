#pragma once
// The login dialog's two threads. LoginThread runs one /Login.cgi attempt
// with the dialog's fields and reports how it ended; AnimateThread only ticks
// the dialog's progress bar. Neither touches a window: they report through
// the functions they are given, on their own thread, and the dialog carries
// each report over to its own thread. Both stop cooperatively: a stop
// request ends a blocked request or wait at once, and Stop() joins.

#include <functional>
#include <stop_token>

#include "platform/Timing.h"
#include "platform/WorkerThread.h"
#include "session/login/LoginForm.h"

namespace session {

class AppData;

// One attempt, on the calling thread: copies the fields into the settings
// (server, user, password, port), sends the login and reads its reply with
// the product check. Success sets w_LoginResult to 30; a failure leaves it
// alone. Returns 0 after success, else the LoginFailure number.
// `wrongAddress` tells the user that the server's address cannot be found.
int RunDialogLogin(AppData& app, const LoginFields& fields, const platform::Timing& timing,
                   std::stop_token stop = {}, std::function<void()> wrongAddress = {});

class LoginThread {
public:
    struct Reports {
        std::function<void()> succeeded;
        std::function<void(int failure)> failed;  // a LoginFailure number
        std::function<void()> wrongAddress;       // the server's address cannot be found
    };

    explicit LoginThread(AppData& app, platform::Timing timing = {}) : app_(app), timing_(timing) {}
    ~LoginThread() { Stop(); }
    LoginThread(const LoginThread&) = delete;
    LoginThread& operator=(const LoginThread&) = delete;

    // Stops an attempt that still runs (it then reports nothing) and starts a
    // new one. False when no thread could be started.
    bool Start(const LoginFields& fields, Reports reports);
    void Stop() { thread_.Stop(); }
    bool Running() const { return thread_.Running(); }

private:
    AppData& app_;
    const platform::Timing timing_;
    platform::WorkerThread thread_;
};

class AnimateThread {
public:
    ~AnimateThread() { Stop(); }

    // Calls tick at once and then once every period until stopped.
    bool Start(platform::Timing::ms period, std::function<void()> tick);
    void Stop() { thread_.Stop(); }
    bool Running() const { return thread_.Running(); }

private:
    platform::WorkerThread thread_;
};

}  // namespace session
