#include "session/login/LoginThread.h"

#include "platform/SyncObjects.h"
#include "session/AppData.h"
#include "session/login/LoginExchange.h"

namespace session {

int RunDialogLogin(AppData& app, const LoginFields& fields, const platform::Timing& timing, std::stop_token stop,
                   std::function<void()> wrongAddress) {
    CSettingINI& settings = app.CSettingINI;
    settings.SetTypedServer(fields.server);
    settings.m_strUserName = fields.user;
    settings.m_strPassword = fields.password;
    settings.m_wWebPort = PortFromText(fields.port);

    ExchangeOptions options{timing, stop, std::move(wrongAddress)};
    // Read as the re-login reads it: a reply the device makes longer than a
    // small area would otherwise fail a login that is fine.
    const LoginReply reply = SendLoginRequest(app, fields.user, fields.password, options, kLoginReplySize);
    if (reply.result != 1)
        return static_cast<int>(reply.status == 202 ? LoginFailure::TooManyUsers : LoginFailure::ProcedureFailed);
    if (reply.body.empty())
        return static_cast<int>(LoginFailure::ProcedureFailed);
    switch (ApplyLoginReply(app, reply.body, LoginReplyRules{.checkProduct = true, .storeMacInSettings = true})) {
    case LoginReplyOutcome::NoSessionId:
        return static_cast<int>(LoginFailure::ProcedureFailed);
    case LoginReplyOutcome::UnsupportedProduct:
        return static_cast<int>(LoginFailure::UnsupportedDevice);
    case LoginReplyOutcome::Accepted:
        break;
    }
    app.w_LoginResult = kLoginLoggedIn;
    return 0;
}

bool LoginThread::Start(const LoginFields& fields, Reports reports) {
    thread_.Stop();
    return thread_.Start([this, fields, reports = std::move(reports)](std::stop_token stop) {
        const int failure = RunDialogLogin(app_, fields, timing_, stop, reports.wrongAddress);
        if (stop.stop_requested())
            return;  // abandoned: a newer attempt or the dialog's end took over
        if (failure == 0) {
            if (reports.succeeded)
                reports.succeeded();
        } else if (reports.failed) {
            reports.failed(failure);
        }
    });
}

bool AnimateThread::Start(platform::Timing::ms period, std::function<void()> tick) {
    thread_.Stop();
    return thread_.Start([period, tick = std::move(tick)](std::stop_token stop) {
        do {
            tick();
        } while (platform::SleepFor(period, stop));
    });
}

}  // namespace session
