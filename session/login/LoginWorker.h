#pragma once
// The login worker behind the connecting pop-up: logs in with the login
// dialog's fields and reads the device information, so the firmware upgrade
// knows the user's level, the product and the versions without a session.
// One Login object serves every pop-up of the run (g_lpLogin); each pop-up
// fills its texts and its notify functions and starts a fresh worker.

#include <functional>
#include <stop_token>
#include <string>

#include "platform/Timing.h"
#include "platform/WorkerThread.h"

namespace session {

class AppData;

// The worker's ends, as the pop-up reads them.
inline constexpr int kLoginWorkerSucceeded = 1;
inline constexpr int kLoginWorkerFailed = -1;

class Login {
public:
    // Called on the worker's thread; whoever receives them carries them over
    // to its own thread.
    struct Notify {
        std::function<void(int result)> loginEnd;  // kLoginWorkerSucceeded or kLoginWorkerFailed
        std::function<void(unsigned stringId)> message;  // a message box for the user
    };

    explicit Login(AppData& app) : app_(app) {}
    ~Login() { m_hThread.Stop(); }
    Login(const Login&) = delete;
    Login& operator=(const Login&) = delete;

    // Stops a worker that still runs (its result is no longer wanted) and
    // starts a new one with a copy of the fields below. 1 when it started, else 0.
    int CreateThread();
    // Ends the worker: a request in flight ends at once, and it reports nothing more.
    void StopThread() { m_hThread.Stop(); }
    bool Running() const { return m_hThread.Running(); }

    AppData& App() const { return app_; }

    Notify m_notify;  // stands for the notify window
    std::string m_strServer;
    std::string m_strUser;
    std::string m_strPassword;
    std::string m_strPort;
    platform::Timing m_timing;

private:
    AppData& app_;
    platform::WorkerThread m_hThread;
};

// The one Login object, created by the first pop-up.
extern Login* g_lpLogin;
// Creates g_lpLogin on `app` when none exists yet; returns 1.
int CreateLoginObject(AppData& app);
// Stops its worker and releases it (the program's end, a test's).
void DestroyLoginObject();

struct LoginWorkerJob {
    std::string server, user, password, port;
    platform::Timing timing;
    Login::Notify notify;
};

// The worker's body: the login and the device-information request, once.
// Returns 1 after success, 0 otherwise; a stop request ends it without a result.
int LoginWorkerThread(AppData& app, const LoginWorkerJob& job, std::stop_token stop = {});

}  // namespace session
