#pragma once
// What one download tells the companion player: the attach when its dialog
// opens, a data notice each time more than a block has been appended since
// the last one, and the end or stop notice. Attach runs on the GUI thread,
// the rest on the download thread; the shared state is AppData's atomics.

#include <cstdint>

#include "recording/player/PlayerLink.h"
#include "session/AppData.h"

namespace recording {

class PlayerFeed {
public:
    PlayerFeed(session::AppData& app, PlayerLink& link) : app_(app), link_(link) {}

    // The download dialog opens: the last download's acknowledgement is cleared
    // and a known player is told which dialog to acknowledge.
    void Attach(std::uint64_t dialogId);
    // The player acknowledged and has not stopped.
    bool Following() const;
    // A block was appended to the file.
    void DataAppended(std::uint32_t bytes);
    // The download ended: complete (the rest is announced first) or early
    // (cancel, an end block without data, a busy block).
    void Finished(bool complete);
    // The download failed (NETBK_STOP_NETWORK or NETBK_STOP_FILE): a known
    // player hears it, acknowledged or not.
    void Failed(std::uint64_t cause);

private:
    void Notify(std::uint64_t upTo);

    session::AppData& app_;
    PlayerLink& link_;
    std::uint64_t total_ = 0;
    std::uint64_t notified_ = 0;
};

}  // namespace recording
