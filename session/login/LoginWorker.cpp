#include "session/login/LoginWorker.h"

#include <memory>
#include <vector>

#include "session/AppData.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CgiRequest.h"
#include "session/net/CommandSender.h"
#include "session/login/LoginExchange.h"
#include "session/login/LoginForm.h"

namespace session {

Login* g_lpLogin = nullptr;

namespace {

constexpr unsigned kLoginFailedMessage = 4040;

std::unique_ptr<Login>& LoginObject() {
    static std::unique_ptr<Login> object;
    return object;
}

// /Getdeviceinfo.cgi with only the cookie, resolution and quality: no channel
// and no header-format request, as nothing here receives the stream.
std::optional<std::string> RequestUpgradeDeviceInfo(AppData& app, const platform::Timing& timing,
                                                    std::stop_token stop) {
    CgiRequest request(CMD_GET_DEVICE_INFO);
    if (const std::string cookie = app.SessionCookie.Get(); !cookie.empty())
        request.AddParam("Cookie", cookie);
    request.AddIntParam("RES", static_cast<std::int32_t>(app.CSettingINI.m_dwImageResolution.load()));
    request.AddIntParam("QUA", static_cast<std::int32_t>(app.CSettingINI.m_dwImageQuality.load()));

    CommandOptions options;
    options.connectTimeout = timing.connectTimeout;
    options.sendTimeout = timing.commandTimeout;
    options.receiveTimeout = timing.commandTimeout;
    options.stop = stop;
    std::vector<std::uint8_t> reply(kDeviceInfoReplySize, 0);
    std::uint32_t length = 0;
    if (SorelSendCommand(app, options, CMD_GET_DEVICE_INFO, request.Text(), nullptr, 0, nullptr, reply, &length) !=
            1 ||
        length == 0)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(reply.data()), std::min<std::size_t>(length, reply.size()));
}

}  // namespace

int CreateLoginObject(AppData& app) {
    if (!LoginObject()) {
        LoginObject() = std::make_unique<Login>(app);
        g_lpLogin = LoginObject().get();
    }
    return 1;
}

void DestroyLoginObject() {
    g_lpLogin = nullptr;
    LoginObject().reset();
}

int Login::CreateThread() {
    m_hThread.Stop();
    LoginWorkerJob job{m_strServer, m_strUser, m_strPassword, m_strPort, m_timing, m_notify};
    return m_hThread.Start([&app = app_, job = std::move(job)](std::stop_token stop) {
        LoginWorkerThread(app, job, stop);
    })
               ? 1
               : 0;
}

int LoginWorkerThread(AppData& app, const LoginWorkerJob& job, std::stop_token stop) {
    auto message = [&](unsigned id) {
        if (job.notify.message)
            job.notify.message(id);
    };
    auto end = [&](int result) {
        if (!stop.stop_requested() && job.notify.loginEnd)
            job.notify.loginEnd(result);
    };
    auto fail = [&] {
        if (stop.stop_requested())
            return 0;
        end(kLoginWorkerFailed);
        message(kLoginFailedMessage);
        return 0;
    };

    if (job.user.empty() || job.password.empty()) {
        message(kEmptyCredentialsMessage);
        return 0;
    }
    // Only the address and port go into the settings; the credentials stay with the worker.
    app.CSettingINI.SetTypedServer(job.server);
    app.CSettingINI.m_wWebPort = PortFromText(job.port);

    const ExchangeOptions options{job.timing, stop, {}};
    const LoginReply login = SendLoginRequest(app, job.user, job.password, options, kLoginReplySize);
    if (login.result != 1 || login.body.empty() ||
        ApplyLoginReply(app, login.body, LoginReplyRules{.checkProduct = false, .storeMacInSettings = false}) !=
            LoginReplyOutcome::Accepted)
        return fail();

    const auto info = RequestUpgradeDeviceInfo(app, job.timing, stop);
    if (!info)
        return fail();
    ApplySessionFacts(app, *info);
    if (stop.stop_requested())
        return 0;
    end(kLoginWorkerSucceeded);
    return 1;
}

}  // namespace session
