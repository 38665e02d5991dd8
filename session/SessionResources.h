#pragma once
// The resources of one run and of one logged-in session, and their owner.
//
// Process resources (the kernel mailbox, the six process events, the kernel,
// terminate and init threads) live from start-up to exit. Session resources
// (the stream semaphores, the recorders' resources, the stream and start
// events, the lifetime watchdog, the receive, compose and show threads and the
// recorders' threads) are built at start-up, torn down and built again at
// every re-login, and released at exit.
//
// Events and semaphores are members of AppData: "creating" one brings it back
// to its start state, "closing" one clears it. Threads are AppData's
// WorkerThread members; stopping one means setting its stop events, then
// request stop and join.
//
// This object orders tear-down and rebuild: each runs whole under one lock, so
// a rebuild never starts before a tear-down has ended, whichever thread asks.
// Every release routine may run twice; the second run finds nothing to do.
//
// Order of use (the application's start-up and shut-down):
//   start-up:  InitialSemaphore, (settings, trace log, login dialog),
//              InitProcessResource, InitLoginResource, then the main window
//              calls SetFrameDisplay and sets the start events.
//   close:     BeginClose, ExitLoginResource, ExitProcessResource, (save
//              settings).
//   exit:      ExitLoginResource, ExitProcessResource, CloseSemaphores (or
//              simply destroy this object).

#include <atomic>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string_view>

#include "platform/Timing.h"
#include "platform/WorkerThread.h"

namespace session {

class AppData;

// A thread body this object starts but others provide; it gets this object's
// AppData and Timing.
using SessionThreadBody = std::function<void(AppData&, const platform::Timing&, std::stop_token)>;

// Starts a body on a thread object; false when the thread cannot be created.
using ThreadStarter = std::function<bool(platform::WorkerThread&, std::function<void(std::stop_token)>)>;

struct SessionHooks {
    // The re-login thread; empty: ReLoginThread.
    SessionThreadBody ReLoginThread;
    // The stream receive thread; empty: Jpeg_TCP_Get_Image_Data_Thread.
    SessionThreadBody ReceiveThread;
    // How every thread here is started; empty: WorkerThread::Start. Tests
    // make it fail to see a failure reported.
    ThreadStarter StartThread;
};

class SessionResources {
public:
    SessionResources(AppData& app, platform::Timing timing = {}, SessionHooks hooks = {});
    // Releases whatever still runs (the exit order above).
    ~SessionResources();
    SessionResources(const SessionResources&) = delete;
    SessionResources& operator=(const SessionResources&) = delete;

    // Each returns 1 on success, 0 on failure (reported in the trace log).
    // The stream semaphores back to their start counts, then the recorders'
    // resources. Only while no stream thread runs.
    int InitialSemaphore();
    int CloseSemaphores();
    // The process events and the kernel, terminate and init threads; 0 when
    // one of the threads cannot start.
    int InitProcessResource();
    int ExitProcessResource();
    // The session's events and threads; 0 at the first thread that cannot
    // start, leaving what was started to ExitLoginResource.
    int InitLoginResource();
    int ExitLoginResource();

    // The terminate thread's work (ExitLoginResource, CloseSemaphores) and
    // the init thread's (InitialSemaphore, InitLoginResource), each whole and
    // never overlapping; a rebuild over a session still up tears it down first.
    int TearDownSession();
    // 0 without a rebuild once a close has begun.
    int RebuildSession();

    // The main window's frame display (CTavrinDlg::DisplayFrame), run by the
    // kernel thread for each picture; it sets h_FinishShowImageJobEvent when
    // it has drawn. May be set or replaced while the threads run.
    void SetFrameDisplay(std::function<int()> display);
    // Draws the current picture; without a display, the picture counts as
    // drawn so the show thread goes on.
    int DisplayFrame();

    // The connect command: a disconnect is over; ends a running ReLoginThread
    // and starts a new one. False (reported) when it cannot start.
    bool StartReLoginThread();
    // The disconnect command, before it tears the session down: a stream
    // failure from now on starts no re-login; ends a running ReLoginThread.
    void BeginDisconnect();
    // An orderly close has begun (the close path, the lifetime limit): no
    // stream failure starts a re-login any more.
    void BeginClose();
    bool Closing() const { return closing_; }
    bool ClosingOrDisconnected() const { return closing_ || disconnected_; }
    // A stream failure after the tear-down: starts ReLoginThread unless a
    // close or a disconnect has begun. False when none was started.
    bool StartReLoginAfterFailure();

    AppData& App() const { return app_; }
    const platform::Timing& Timing() const { return timing_; }

private:
    bool StartThread(platform::WorkerThread& thread, std::string_view name,
                     std::function<void(std::stop_token)> body);
    bool StartHookThread(platform::WorkerThread& thread, std::string_view name,
                         const SessionThreadBody& body);
    bool RestartReLoginLocked();
    bool SessionThreadsAttached() const;
    void ResetProcessEvents();

    AppData& app_;
    const platform::Timing timing_;
    SessionHooks hooks_;

    std::recursive_mutex lifecycle_;  // tear-down and rebuild, one at a time
    std::mutex reloginLock_;          // h_ReLoginThread and the two marks below
    std::atomic<bool> closing_{false};
    std::atomic<bool> disconnected_{false};
    std::mutex displayLock_;
    std::function<int()> display_;
};

}  // namespace session
