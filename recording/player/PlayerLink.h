#pragma once
// The client's side of the companion player's link: starting the player,
// finding it (its hello on the link stands for its main window), sending it
// records and notices, and hearing its acknowledgement and stop. One Linux
// implementation (UnixPlayerLink) and a test fake.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

#include "platform/SyncObjects.h"
#include "recording/player/PlayerMessages.h"

namespace recording {

// A player's connection on the link (its "window"); 0 is none.
using PlayerConnection = std::uint32_t;

struct PlayerHello {
    enum class Kind {
        Hello,         // the process said hello on `connection`
        Timeout,       // no hello in time
        Gone,          // the process ended or hung up first
        OtherProcess,  // the hello named another process
        Stopped,       // the wait was asked to stop
    };
    Kind kind = Kind::Timeout;
    PlayerConnection connection = 0;
};

class PlayerLink {
public:
    virtual ~PlayerLink() = default;

    // Where the link listens; the lock files lie beside it.
    virtual std::filesystem::path Folder() const = 0;
    // Starts the program with the arguments and the link's address in its
    // environment; its process id, or 0 when it could not be started.
    virtual pid_t StartPlayer(const std::filesystem::path& program, const std::vector<std::string>& arguments) = 0;
    // Waits at most `timeout` for the process's hello.
    virtual PlayerHello WaitForHello(pid_t pid, platform::Millis timeout, std::stop_token stop) = 0;
    // The connection is still open and the process still runs.
    virtual bool IsAlive(PlayerConnection connection, pid_t pid) = 0;
    // Sends a copy-data record and waits (bounded) until the player has answered it.
    virtual bool SendRecord(PlayerConnection connection, std::uint32_t record, std::span<const std::uint8_t> data) = 0;
    // Posts a notice; false when the player cannot take it now.
    virtual bool Post(PlayerConnection connection, std::uint32_t message, std::uint32_t wParam,
                      std::uint64_t lParam) = 0;
    // Closes the connection; the process is left to run (and reaped when it ends).
    virtual void Forget(PlayerConnection connection) = 0;

    // The player's own notices (acknowledgement, stop) with the connection they came
    // on; called on the link's thread.
    using NoticeHandler = std::function<void(PlayerConnection, const PlayerFrame&)>;
    virtual void SetNoticeHandler(NoticeHandler handler) = 0;
};

}  // namespace recording
