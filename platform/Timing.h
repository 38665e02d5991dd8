#pragma once
// Every duration the program waits for, in one value, so tests can shorten them.
// The defaults are the values the device protocol and the program's behaviour call for.

#include <chrono>

namespace platform {

struct Timing {
    using ms = std::chrono::milliseconds;

    // Socket layer
    ms connectTimeout{10000};
    ms sendTimeout{10000};
    ms receiveTimeout{10000};
    // SendAll's wait for room before each piece, whatever time-out its caller names.
    ms sendChunkTimeout{5000};

    // Device commands (one CGI request per connection)
    ms commandTimeout{15000};  // send and receive time-out of an ordinary command
    ms rs485CommandTimeout{20000};  // send and receive time-out of a panel key's RS-485 command

    // Device search
    ms searchDuration{10000};         // a search listens at most this long...
    ms searchReplyWait{5000};         // ...and stops early after this long without a reply
    ms setIpAnswerWait{12000};        // answer to a network settings change
    ms resetAnswerWait{7000};         // answer to a reset of the network settings
    ms searchAnimationPeriod{300};    // the searching caption's dots

    // Configuration option blocks
    ms sysCfgQueryTimeout{45000};  // send and receive time-out of a block query; stores use commandTimeout

    // Live stream (the receive thread; its connect uses connectTimeout)
    ms streamSendTimeout{10000};     // sending the stream request
    ms streamSlotWait{10000};        // for a free receive slot
    ms streamReceiveTimeout{20000};  // each receive of the stream

    // Re-login: the pause after a failed attempt is reloginFirstWait, then the
    // back-off wait (reloginBackoffStep more every 2,000 pauses, at most
    // reloginBackoffMax), then reloginLastWait.
    ms reloginFirstWait{3000};
    ms reloginBackoffStep{3000};
    ms reloginBackoffMax{30000};
    ms reloginLastWait{2000};
    ms tooManyUsersWait{20000};       // extra wait after a refusal for too many users
    ms sessionRebuildTimeout{5000};   // for the init thread's answer to a rebuild
    ms sessionTeardownTimeout{10000}; // for the terminate thread's answer to a tear-down
    ms startEventDelay{2000};         // between the rebuild and the start events

    // Login dialog and its tools
    ms loginAnimatePeriod{350};       // one step of the login progress bar
    ms connectingDotPeriod{300};      // the connecting pop-up's moving dots
    ms copyProgramStartDelay{500};    // the copy dialog shows itself before it copies

    // Session tear-down (its answer is awaited for sessionTeardownTimeout)
    ms tearDownSettle{100};             // between the stop events and stopping the session threads
    ms receiveResetFeedbackWait{2000};  // for the receive thread to leave on a tear-down

    // Lifetime watchdog: it counts one second of use per lifetimeTick
    ms lifetimeStartDelay{1000};          // after its start event, before counting
    ms lifetimeTick{1000};
    ms lifetimeResetFeedbackWait{5000};  // for the receive thread to leave when the time is up
    ms lifetimeCloseDelay{1000};          // between the status text and the close

    // Main window: the disconnect command tears the session down itself
    // (its answer is awaited for sessionTeardownTimeout)
    ms disconnectFeedbackWait{5000};  // for the receive thread to leave

    // Firmware upload (chunk requests, the version and cancel requests use
    // commandTimeout; the hand-built requests and raw pieces sendTimeout)
    ms firmwareRequestPause{3000};    // after each DVR stream upload request, before its bytes
    ms firmwareKeepAlivePause{2000};  // once after the image stream path's keep-alive request
    ms firmwareReplyTimeout{15000};   // the one receive after a stream upload's last piece

    // Companion player following a network backup
    ms playerHelloWait{10000};   // for a started player to say hello on the link
    ms playerAnswerWait{5000};   // each send to the player and each record's answer
    ms runPlayerDelay{1000};     // from "Start" in a finished backup to the player's start on the file
};

}  // namespace platform
