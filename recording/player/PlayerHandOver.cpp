#include "recording/player/PlayerHandOver.h"

#include <algorithm>
#include <limits>

#include "platform/FileLock.h"
#include "platform/TickCount.h"
#include "session/tools/CompanionPlayer.h"

namespace recording {

std::string NetworkBackupLockName(std::uint32_t tickCount) {
    return "NETWORKBK_" + std::to_string(static_cast<std::int32_t>(tickCount));
}

PlayerHandOver::PlayerHandOver(session::AppData& app, PlayerLink& link, const platform::Timing& timing,
                               TickSource tick)
    : app_(app), link_(link), helloWait_(timing.playerHelloWait), tick_(tick ? std::move(tick) : platform::TickCount) {
    link_.SetNoticeHandler([&app](PlayerConnection from, const PlayerFrame& frame) { OnPlayerNotice(app, from, frame); });
}

PlayerHandOver::~PlayerHandOver() {
    link_.SetNoticeHandler({});
}

void PlayerHandOver::ForgetPlayer() {
    if (const auto window = app_.h_PlayerWindow.exchange(0))
        link_.Forget(window);
    app_.dw_PlayerProcessID = 0;
    app_.h_NetworkBackupMutex.Set(nullptr);
}

bool PlayerHandOver::HandOver(const std::string& filePath, bool dynamicLoad, std::stop_token stop) {
    // 1. A player whose connection closed or whose process ended is forgotten.
    if (app_.h_PlayerWindow != 0 && !link_.IsAlive(app_.h_PlayerWindow, app_.dw_PlayerProcessID))
        ForgetPlayer();
    // 2. Without the option nothing follows the download.
    if (!dynamicLoad) {
        ForgetPlayer();
        return true;
    }
    // 3. A player still running from an earlier backup takes the new path; one
    // that cannot take it is forgotten and a new one started.
    if (app_.dw_PlayerStarted != 0 && app_.dw_PlayerProcessID != 0 && app_.h_PlayerWindow != 0) {
        app_.Ui().LowerMainWindow();
        const auto record = ZeroFilledRecord(filePath, kRecordNewPathSize);
        if (record && link_.SendRecord(app_.h_PlayerWindow, kRecordNewPath, *record))
            return true;
        ForgetPlayer();
    }
    // 4.1 A new lock with a new name.
    app_.h_NetworkBackupMutex.Set(nullptr);
    const std::string name = NetworkBackupLockName(tick_());
    app_.sz_NetworkBackupMutexName = name;
    auto lock = platform::FileLock::Create(link_.Folder() / name);
    if (!lock) {
        app_.Ui().ShowMessageText(kCreateLockFailedText);
        return false;
    }
    app_.h_NetworkBackupMutex.Set(std::move(lock));
    // 4.2 The player, on the file.
    const pid_t pid = link_.StartPlayer(session::CompanionPlayerPath(app_.CSettingINI.m_strAppPath.Get()),
                                        {filePath, kDynamicLoadArgument});
    if (pid == 0) {
        app_.Ui().ShowMessageBox(kPlayerStartFailedMessage);
        return true;
    }
    // 4.3
    app_.dw_PlayerStarted = 1;
    app_.dw_PlayerProcessID = pid;
    app_.Ui().LowerMainWindow();
    // 4.4-4.6 Its hello stands for its window.
    const PlayerHello hello = link_.WaitForHello(pid, helloWait_, stop);
    switch (hello.kind) {
        case PlayerHello::Kind::Hello:
            break;
        case PlayerHello::Kind::Stopped:
            app_.dw_PlayerProcessID = 0;
            return true;
        case PlayerHello::Kind::Timeout:
            app_.dw_PlayerProcessID = 0;
            app_.Ui().ShowMessageBox(kPlayerStartFailedMessage);
            return true;
        case PlayerHello::Kind::Gone:
        case PlayerHello::Kind::OtherProcess:
            app_.dw_PlayerProcessID = 0;
            app_.Ui().ShowMessageBox(kPlayerNotFoundMessage);
            return true;
    }
    app_.h_PlayerWindow = hello.connection;
    // 4.7 The lock's name, answered before the hand-over returns.
    link_.SendRecord(hello.connection, kRecordLockName, *ZeroFilledRecord(name, kRecordLockNameSize));
    return true;
}

void OnPlayerNotice(session::AppData& app, PlayerConnection from, const PlayerFrame& frame) {
    if (frame.message == WM_NETBK_ACK) {
        if (from == 0 || from != app.h_PlayerWindow)
            return;
        const std::uint64_t size = frame.wParam == 0 ? 102400 : std::uint64_t{frame.wParam} * 1024;
        app.dw_PlayerBlockSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, std::numeric_limits<std::uint32_t>::max()));
        app.dw_PlayerAck = 1;
    } else if (frame.message == WM_NETBK_STOP) {
        app.dw_PlayerStopped = 1;
    }
}

}  // namespace recording
