#pragma once
// The re-login thread: after a disconnection or a failed stream it logs in
// again, without limit, pausing longer the longer it fails; after a good login
// and device-information exchange it rebuilds the session through the process
// init thread and starts the lifetime and stream threads, then ends.
//
// States: starting, attempting (login, device information, retry pause, over
// and over), restarting the session. A stop request ends any wait or request
// at once and the thread returns without touching the session.

#include <cstdint>
#include <stop_token>

#include "platform/Timing.h"

namespace session {

class AppData;

// Status codes posted to the main window (UiPort::ShowStatus).
inline constexpr int kStatusElapsed = 0;         // value: seconds since the thread started
inline constexpr int kStatusStartLogin = 1;      // "Start login"
inline constexpr int kStatusLoginFailed = 3;     // "Login process is failed,wait a moment !!"
inline constexpr int kStatusConnected = 5;       // link button connected
inline constexpr int kStatusDisconnected = 6;    // link button not connected
inline constexpr int kStatusTooManyUsers = 7;    // "System relogin too many user.Wait for 40 sec!! ..."

// Control id of the main window's PTZ-control button.
inline constexpr std::uint16_t kPtzControlButtonId = 8312;
// Tool button flag of the record button and its recording picture.
inline constexpr std::uint32_t kRecordButtonFlag = 0x20;

// The back-off part of a retry pause, given the pauses made before it:
// reloginBackoffStep more every 2,000 pauses, at most reloginBackoffMax.
platform::Timing::ms RetryBackoffWait(std::uint64_t pausesBefore, const platform::Timing& timing);

// The thread's routine.
void ReLoginThread(AppData& app, const platform::Timing& timing, std::stop_token stop);

// What the connect command and the kernel thread call: ends a running
// re-login (stop and join) and starts a new one on app.h_ReLoginThread.
// False when the thread cannot be created.
bool StartReLoginThread(AppData& app, const platform::Timing& timing);
// Ends a running re-login (the disconnect command, shut-down).
void StopReLoginThread(AppData& app);

// The session restart, in two calls. RequestSessionRebuild asks
// Process_Init_Thread to re-create the session's semaphores and threads
// (h_Process_Notify_InitEvent) and waits for its answer
// (h_Process_Reply_InitEvent); false when none came in time or a stop came.
bool RequestSessionRebuild(AppData& app, const platform::Timing& timing, std::stop_token stop);
// Sets the lifetime thread's and then the stream receive thread's start events.
void SendStartEvents(AppData& app);
// Asks Process_Terminate_Thread to tear the session down and waits for its
// answer (a half-done rebuild is torn down before it is tried again).
bool RequestSessionTeardown(AppData& app, const platform::Timing& timing, std::stop_token stop);

}  // namespace session
