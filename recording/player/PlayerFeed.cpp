#include "recording/player/PlayerFeed.h"

namespace recording {

void PlayerFeed::Attach(std::uint64_t dialogId) {
    app_.dw_PlayerAck = 0;
    app_.dw_PlayerStopped = 0;
    app_.dw_PlayerBlockSize = 0;
    total_ = 0;
    notified_ = 0;
    if (const auto window = app_.h_PlayerWindow.load())
        link_.Post(window, WM_NETBK_ATTACH, 0, dialogId);
}

bool PlayerFeed::Following() const {
    return app_.dw_PlayerAck == 1 && app_.dw_PlayerStopped == 0;
}

void PlayerFeed::Notify(std::uint64_t upTo) {
    link_.Post(app_.h_PlayerWindow, WM_NETBK_DATA, 0, upTo - notified_);
    notified_ = upTo;
}

void PlayerFeed::DataAppended(std::uint32_t bytes) {
    total_ += bytes;
    if (Following() && total_ > notified_ + app_.dw_PlayerBlockSize)
        Notify(total_);
}

void PlayerFeed::Finished(bool complete) {
    if (!Following())
        return;
    if (complete && total_ > notified_)
        Notify(total_);
    link_.Post(app_.h_PlayerWindow, WM_NETBK_STATE, complete ? 0 : 1, 0);
}

void PlayerFeed::Failed(std::uint64_t cause) {
    if (const auto window = app_.h_PlayerWindow.load())
        link_.Post(window, WM_NETBK_STOP, 0, cause);
}

}  // namespace recording
