#pragma once
// Hands a starting network backup to the companion player: forgets a player
// that is gone, reuses one that still runs (record 1, the new path) or starts
// a new one with a new backup lock (record 2, the lock's name), and keeps the
// player's acknowledgement and stop in AppData. It may wait for a new player's
// hello (bounded, stoppable), so it runs on a worker, not the GUI thread.

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

#include "platform/Timing.h"
#include "recording/player/PlayerLink.h"
#include "session/AppData.h"

namespace recording {

inline constexpr unsigned kPlayerStartFailedMessage = 4108;
inline constexpr unsigned kPlayerNotFoundMessage = 4113;
inline constexpr const char* kCreateLockFailedText = "Create mutex error";
inline constexpr const char* kDynamicLoadArgument = "DYNAMICLOAD=1";

// "NETWORKBK_<tick>", the tick count read as a signed 32-bit number.
std::string NetworkBackupLockName(std::uint32_t tickCount);

class PlayerHandOver {
public:
    using TickSource = std::function<std::uint32_t()>;
    PlayerHandOver(session::AppData& app, PlayerLink& link, const platform::Timing& timing, TickSource tick = {});
    ~PlayerHandOver();
    PlayerHandOver(const PlayerHandOver&) = delete;
    PlayerHandOver& operator=(const PlayerHandOver&) = delete;

    // False only when the backup lock cannot be created: the Start ends there.
    // Every other failure is shown and the download goes on without a player.
    bool HandOver(const std::string& filePath, bool dynamicLoad, std::stop_token stop = {});

private:
    void ForgetPlayer();

    session::AppData& app_;
    PlayerLink& link_;
    const platform::Millis helloWait_;
    const TickSource tick_;
};

// The player's own notices: an acknowledgement counts only from the recorded
// player's connection; a stop from anyone.
void OnPlayerNotice(session::AppData& app, PlayerConnection from, const PlayerFrame& frame);

}  // namespace recording
