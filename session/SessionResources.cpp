#include "session/SessionResources.h"

#include <string>

#include "platform/SyncObjects.h"
#include "session/AppData.h"
#include "session/live/DecodeThreads.h"
#include "session/ProcessThreads.h"
#include "session/login/ReLoginThread.h"
#include "session/live/StreamReceiveThread.h"
#include "session/files/TraceLog.h"

namespace session {

namespace {

void ResetEvents(std::initializer_list<platform::Event*> events) {
    for (auto* event : events)
        event->Reset();
}

}  // namespace

SessionResources::SessionResources(AppData& app, platform::Timing timing, SessionHooks hooks)
    : app_(app), timing_(timing), hooks_(std::move(hooks)) {
    if (!hooks_.ReLoginThread)
        hooks_.ReLoginThread = session::ReLoginThread;
    if (!hooks_.ReceiveThread)
        hooks_.ReceiveThread = Jpeg_TCP_Get_Image_Data_Thread;
    if (!hooks_.StartThread)
        hooks_.StartThread = [](platform::WorkerThread& thread, std::function<void(std::stop_token)> body) {
            return thread.Start(std::move(body));
        };
}

SessionResources::~SessionResources() {
    BeginClose();
    ExitLoginResource();
    ExitProcessResource();
    CloseSemaphores();
}

bool SessionResources::StartThread(platform::WorkerThread& thread, std::string_view name,
                                   std::function<void(std::stop_token)> body) {
    if (hooks_.StartThread(thread, std::move(body)))
        return true;
    WriteTraceLog("Cannot start " + std::string(name));
    return false;
}

bool SessionResources::StartHookThread(platform::WorkerThread& thread, std::string_view name,
                                       const SessionThreadBody& body) {
    return StartThread(thread, name,
                       [this, body](std::stop_token stop) { body(app_, timing_, std::move(stop)); });
}

// ---- Stream semaphores and the recorders' resources

int SessionResources::InitialSemaphore() {
    std::lock_guard lock(lifecycle_);
    app_.ResetStreamSemaphores();
    // Not tested: a recorder without its resources only records nothing.
    app_.CAlarmRecord().CreateResource();
    app_.CUserRecord().CreateResource();
    app_.CSchRecord().CreateResource();
    return 1;
}

int SessionResources::CloseSemaphores() {
    std::lock_guard lock(lifecycle_);
    app_.CAlarmRecord().CloseResource();
    app_.CUserRecord().CloseResource();
    app_.CSchRecord().CloseResource();
    return 1;
}

// ---- Process resources

void SessionResources::ResetProcessEvents() {
    ResetEvents({&app_.h_Process_Notify_TerminateEvent, &app_.h_Process_Reply_TerminateEvent,
                 &app_.h_Process_Notify_InitEvent, &app_.h_Process_Reply_InitEvent,
                 &app_.h_NotifyGetJPEGImageThreadResetEvent, &app_.h_FeedBackForNotifyResetEvent});
}

int SessionResources::InitProcessResource() {
    ResetProcessEvents();
    if (!StartThread(app_.h_Process_Terminate_Thread, "Process_Terminate_Thread",
                     [this](std::stop_token stop) { Process_Terminate_Thread(*this, stop); }))
        return 0;
    if (!StartThread(app_.h_Process_Init_Thread, "Process_Init_Thread",
                     [this](std::stop_token stop) { Process_Init_Thread(*this, stop); }))
        return 0;
    if (!StartThread(app_.h_Process_KernelMessageThread, "Process_KernelMessageThread",
                     [this](std::stop_token stop) { Process_KernelMessageThread(*this, stop); }))
        return 0;
    return 1;
}

int SessionResources::ExitProcessResource() {
    BeginClose();
    // The stop request ends a code in progress (a stream failure waiting for
    // its tear-down) early; the exit code then finds the mailbox closed or
    // ends the thread itself. Either way the post returns.
    app_.h_Process_KernelMessageThread.RequestStop();
    if (app_.h_Process_KernelMessageThread.Running())
        app_.KernelMailbox.Post(Exit_Kernel_Message);

    app_.ControlFile.Clear();

    app_.h_UpgradeFirmwareThread.Stop();
    app_.h_Process_KernelMessageThread.Stop();
    // Nobody serves the mailbox any more: posters must not wait for the slot.
    app_.KernelMailbox.Close();
    {
        std::lock_guard lock(reloginLock_);
        app_.h_ReLoginThread.Stop();
    }

    ResetProcessEvents();

    // Both wait for their notify events, which their stop request ends; a
    // tear-down or rebuild in progress runs to its end first.
    app_.h_Process_Init_Thread.Stop();
    app_.h_Process_Terminate_Thread.Stop();
    return 1;
}

// ---- Session resources

int SessionResources::InitLoginResource() {
    std::lock_guard lock(lifecycle_);
    ResetEvents({&app_.h_StartToGetJpegImageEvent, &app_.h_EndofGetJpegImageEvent,
                 &app_.h_StartConnectionThreadEvent, &app_.h_EndConnectionThreadEvent});
    if (!StartThread(app_.h_ConnectionThread, "ConnectionLifetimeThread",
                     [this](std::stop_token stop) { ConnectionLifetimeThread(*this, stop); }))
        return 0;
    ResetEvents(
        {&app_.h_StartToShowImageEvent, &app_.h_EndofShowImageEvent, &app_.h_FinishShowImageJobEvent});
    app_.by_RecordChannel = 0;
    if (!StartHookThread(app_.h_GetJpegImageThread, "Jpeg_TCP_Get_Image_Data_Thread", hooks_.ReceiveThread))
        return 0;
    if (!StartThread(app_.h_ComposeImageDataThread, "Jpeg_Compose_Image_Data_Thread",
                     [this](std::stop_token stop) { Jpeg_Compose_Image_Data_Thread(app_, stop); }))
        return 0;
    if (!StartThread(app_.h_ShowImageDataThread, "Jpeg_Show_Image_Data_Thread",
                     [this](std::stop_token stop) { Jpeg_Show_Image_Data_Thread(app_, stop); }))
        return 0;
    // Not tested: without its thread a recorder only records nothing.
    app_.CAlarmRecord().CreateThread(app_.by_RecordChannel);
    app_.CUserRecord().CreateThread(app_.by_RecordChannel);
    return 1;
}

int SessionResources::ExitLoginResource() {
    std::lock_guard lock(lifecycle_);
    app_.h_NotifyGetJPEGImageThreadResetEvent.Set();
    app_.h_EndofShowImageEvent.Set();
    app_.h_EndofGetJpegImageEvent.Set();
    platform::SleepFor(timing_.tearDownSettle);

    app_.h_PlayAudioWavThread.Stop();
    app_.h_ConnectionThread.Stop();
    // A receive thread in its stream leaves on the reset and says so; one
    // that has ended, or still waits for its start, says nothing and is not
    // waited for (its stop request ends it as quietly).
    if (app_.h_GetJpegImageThread.Running() && app_.dw_StreamReceiving != 0)
        app_.h_FeedBackForNotifyResetEvent.Wait(timing_.receiveResetFeedbackWait);
    app_.h_GetJpegImageThread.Stop();
    app_.h_ComposeImageDataThread.Stop();
    app_.h_StartToGetJpegImageEvent.Reset();
    app_.h_EndofGetJpegImageEvent.Reset();
    app_.h_ShowImageDataThread.Stop();

    app_.CAlarmRecord().CloseThread();
    app_.CUserRecord().CloseThread();
    app_.CSchRecord().CloseThread();

    ResetEvents({&app_.h_StartToShowImageEvent, &app_.h_EndofShowImageEvent, &app_.h_FinishShowImageJobEvent,
                 &app_.h_StartConnectionThreadEvent, &app_.h_EndConnectionThreadEvent,
                 &app_.h_WaveOutDoneEvent, &app_.h_StopAudioWavEvent});
    return 1;
}

int SessionResources::TearDownSession() {
    std::lock_guard lock(lifecycle_);
    if (ExitLoginResource() == 0)
        return 0;
    return CloseSemaphores();
}

int SessionResources::RebuildSession() {
    std::lock_guard lock(lifecycle_);
    // Asked under the lock: a close tears down under it too, so a session
    // built after the close's tear-down would outlive the close.
    if (closing_)
        return 0;
    // A session still up (a disconnect before its stream ran) goes first:
    // starting over it would reset semaphores under running threads.
    if (SessionThreadsAttached() && TearDownSession() == 0)
        return 0;
    if (InitialSemaphore() == 0)
        return 0;
    // The old session's reset request and its answer must not reach the new
    // receive thread.
    ResetEvents({&app_.h_NotifyGetJPEGImageThreadResetEvent, &app_.h_FeedBackForNotifyResetEvent});
    return InitLoginResource();
}

bool SessionResources::SessionThreadsAttached() const {
    for (const auto* thread : {&app_.h_ConnectionThread, &app_.h_GetJpegImageThread,
                               &app_.h_ComposeImageDataThread, &app_.h_ShowImageDataThread})
        if (thread->Attached())
            return true;
    return false;
}

// ---- Frame display

void SessionResources::SetFrameDisplay(std::function<int()> display) {
    std::lock_guard lock(displayLock_);
    display_ = std::move(display);
}

int SessionResources::DisplayFrame() {
    std::function<int()> display;
    {
        std::lock_guard lock(displayLock_);
        display = display_;
    }
    if (display)
        return display();
    app_.h_FinishShowImageJobEvent.Set();
    return 1;
}

// ---- Re-login

bool SessionResources::RestartReLoginLocked() {
    app_.h_ReLoginThread.Stop();
    return StartHookThread(app_.h_ReLoginThread, "ReLoginThread", hooks_.ReLoginThread);
}

bool SessionResources::StartReLoginThread() {
    std::lock_guard lock(reloginLock_);
    if (closing_)
        return false;
    disconnected_ = false;
    return RestartReLoginLocked();
}

void SessionResources::BeginDisconnect() {
    std::lock_guard lock(reloginLock_);
    disconnected_ = true;
    app_.h_ReLoginThread.Stop();
}

void SessionResources::BeginClose() {
    std::lock_guard lock(reloginLock_);
    closing_ = true;
}

bool SessionResources::StartReLoginAfterFailure() {
    std::lock_guard lock(reloginLock_);
    if (closing_ || disconnected_)
        return false;
    return RestartReLoginLocked();
}

}  // namespace session
