#include "session/live/StreamReceiveThread.h"

#include <atomic>
#include <optional>

#include "platform/SyncObjects.h"
#include "platform/TickCount.h"
#include "platform/WorkerThread.h"
#include "session/AppData.h"
#include "session/net/BlockingSocket.h"
#include "session/net/CgiCommandTable.h"
#include "session/net/CgiRequest.h"
#include "session/net/CommandSender.h"
#include "session/live/StreamFramer.h"
#include "session/files/TraceLog.h"

namespace session {

namespace {

struct ExitRule {
    StreamExit exit;
    std::optional<std::int32_t> error;  // LastStreamError, or left as it was
    bool clearFlags;                    // dw_GetImageThreadRunning, dw_StreamReceiving
    bool postCode1;                     // re-login through the kernel thread
    const char* trace;                  // nullptr: no line
};

// The re-login after a receive failure sets and clears the flags itself.
constexpr ExitRule kExitRules[] = {
    {StreamExit::ConnectFailed, STREAM_ERR_CONNECT, true, true, "sClient.Connect failed"},
    {StreamExit::SendFailed, std::nullopt, true, true, "sClient.Write failed"},
    {StreamExit::Reset, std::nullopt, true, false, nullptr},
    {StreamExit::Stopped, STREAM_ERR_STOPPED, true, true,
     "dwResult == (WAIT_OBJECT_0 + 1) Get_Image_TimeOut_Message"},
    {StreamExit::SlotTimeout, STREAM_ERR_TIMEOUT, true, true, "dwResult == WAIT_TIMEOUT Get_Image_TimeOut_Message"},
    {StreamExit::HeaderReceiveFailed, std::nullopt, false, true, "if (RtpRecvLength == SOCKET_ERROR)"},
    {StreamExit::PayloadReceiveFailed, std::nullopt, false, true, "RtpRecvLength == SOCKET_ERROR"},
    {StreamExit::ThreadStopped, std::nullopt, true, false, nullptr},
};

const ExitRule& RuleFor(StreamExit exit) {
    for (const ExitRule& rule : kExitRules)
        if (rule.exit == exit)
            return rule;
    return kExitRules[0];
}

// The receive thread cannot watch events while it sits in a connect or a
// receive, so a small watcher turns the reset request and the stage's stop
// event into one stop token that ends every wait and socket call at once.
class StreamRequests {
public:
    StreamRequests(AppData& app, std::stop_token threadStop)
        : app_(app), threadStop_(threadStop), onThreadStop_(threadStop, [this] { source_.request_stop(); }) {
        watcher_.Start([this](std::stop_token stop) {
            const auto r = platform::WaitForAny(
                {&app_.h_NotifyGetJPEGImageThreadResetEvent, &app_.h_EndofGetJpegImageEvent}, platform::kInfinite,
                stop);
            if (!r.signalled())
                return;
            (r.index == 0 ? reset_ : stopEvent_).store(true);
            source_.request_stop();
        });
    }
    StreamRequests(const StreamRequests&) = delete;
    StreamRequests& operator=(const StreamRequests&) = delete;

    std::stop_token Token() const { return source_.get_token(); }

    // Why the token fired, if it did. A reset that came right behind the stop
    // event still wins: a close that asks for both must not start a re-login.
    std::optional<StreamExit> Reason() {
        if (reset_.load())
            return StreamExit::Reset;
        if (stopEvent_.load())
            return app_.h_NotifyGetJPEGImageThreadResetEvent.Wait(platform::Millis(0)) ? StreamExit::Reset
                                                                                       : StreamExit::Stopped;
        if (threadStop_.stop_requested())
            return StreamExit::ThreadStopped;
        return std::nullopt;
    }

private:
    AppData& app_;
    std::stop_token threadStop_;
    std::stop_source source_;
    std::atomic<bool> reset_{false};
    std::atomic<bool> stopEvent_{false};
    std::stop_callback<std::function<void()>> onThreadStop_;
    platform::WorkerThread watcher_;  // last: joined before the rest goes
};

class StreamSession {
public:
    StreamSession(AppData& app, const platform::Timing& timing, std::stop_token threadStop)
        : app_(app), timing_(timing), requests_(app, threadStop) {}

    StreamExit Run() {
        if (auto exit = ConnectAndRequest())
            return *exit;
        const HeaderLayout layout = app_.CRTPHeader.Layout();
        StreamFramer framer({layout, app_.CRTPHeader.LengthCountsHeader()},
                            [&](const FrameHeaderFields& fields) { app_.CRTPHeader.React(fields, layout); });
        for (;;) {
            if (auto why = requests_.Reason())
                return *why;
            // The next frame's first bytes are awaited before its slot: when a
            // frame has come in, the slot is usually still being decoded, and
            // by the time the next one arrives it is free, so this thread
            // wakes once a frame instead of twice. Bytes the framer already
            // holds go on at once.
            if (framer.Buffered() == 0 && !socket_.WaitReadable(timing_.streamReceiveTimeout, requests_.Token()))
                return requests_.Reason().value_or(StreamExit::HeaderReceiveFailed);
            const auto slotWait =
                platform::WaitForAny({&app_.h_SocketBufferFreeSem}, timing_.streamSlotWait, requests_.Token());
            if (!slotWait.signalled()) {
                if (slotWait.kind == platform::WaitResult::Kind::Timeout)
                    return StreamExit::SlotTimeout;
                return requests_.Reason().value_or(StreamExit::ThreadStopped);
            }
            if (auto exit = ReceiveFrame(framer))
                return *exit;
        }
    }

    void Close() { socket_.CloseQuietly(); }

private:
    std::optional<StreamExit> ConnectAndRequest() {
        const SocketAddress device(app_.CSettingINI.m_strServerName.Get(), app_.CSettingINI.m_wWebPort.load());
        try {
            socket_.Create(CBlockingSocket::kStream);
            socket_.SetSendChunkTimeout(timing_.sendChunkTimeout);
            socket_.Connect(device, timing_.connectTimeout, requests_.Token());
        } catch (const CBlockingSocketException&) {
            socket_.CloseQuietly();
            return requests_.Reason().value_or(StreamExit::ConnectFailed);
        }
        try {
            // Host: as every command names it, the local address of the route to the device.
            const std::string request =
                BuildStreamRequest(app_.SessionCookie.Get(), socket_.GetLocalAddress().ToText());
            if (request.empty())  // a cookie that cannot go on the request line
                throw CBlockingSocketException("Send");
            socket_.SendAll(request.data(), static_cast<int>(request.size()), timing_.streamSendTimeout,
                            requests_.Token());
        } catch (const CBlockingSocketException&) {
            socket_.CloseQuietly();
            return requests_.Reason().value_or(StreamExit::SendFailed);
        }
        return std::nullopt;
    }

    // Assembles one frame into the slot just taken and publishes it.
    std::optional<StreamExit> ReceiveFrame(StreamFramer& framer) {
        if (app_.dw_StreamReceiving.load() == 0)
            app_.dw_StreamReceiving.store(1);
        if (app_.dw_VideoConnected.load() == 0)
            app_.dw_VideoConnected.store(1);
        const std::uint16_t index = app_.w_SocketBufferWriteIndex.load();
        const auto slot = app_.lp_SocketBuffer.span().subspan(std::size_t{index} * kSocketSlotSize, kSocketSlotSize);
        framer.StartFrame(slot, &app_.lp_SlotInfo[index]);
        while (framer.Process() != StreamFramer::Result::FrameReady) {
            const auto area = framer.ReceiveArea();
            const int n = socket_.Receive(area.data(), static_cast<int>(area.size()), timing_.streamReceiveTimeout,
                                          requests_.Token());
            if (n <= 0) {
                if (auto why = requests_.Reason())
                    return why;
                return framer.CurrentState() == StreamFramer::State::Payload ? StreamExit::PayloadReceiveFailed
                                                                              : StreamExit::HeaderReceiveFailed;
            }
            framer.Commit(static_cast<std::size_t>(n));
        }
        app_.dw_ReceivedBytes.fetch_add(framer.LastFrameBytes());
        app_.w_SocketBufferWriteIndex.store(static_cast<std::uint16_t>((index + 1) % AppData::w_SocketBufferCount));
        app_.h_SocketBufferRelSem.Release();
        return std::nullopt;
    }

    AppData& app_;
    const platform::Timing& timing_;
    StreamRequests requests_;
    CBlockingSocket socket_;
};

void Finish(AppData& app, StreamExit exit, std::stop_token threadStop) {
    const ExitRule& rule = RuleFor(exit);
    if (rule.error)
        app.LastStreamError.store(*rule.error);
    if (rule.clearFlags) {
        app.dw_GetImageThreadRunning.store(0);
        app.dw_StreamReceiving.store(0);
    }
    if (exit == StreamExit::Reset)
        app.h_FeedBackForNotifyResetEvent.Set();
    if (rule.trace)
        WriteTraceLog(rule.trace);
    if (rule.postCode1)
        app.KernelMailbox.Post(Get_Image_TimeOut_Message, 0, threadStop);
}

}  // namespace

const char* ToString(StreamExit exit) {
    switch (exit) {
    case StreamExit::ConnectFailed: return "connect failed";
    case StreamExit::SendFailed: return "send failed";
    case StreamExit::Reset: return "reset";
    case StreamExit::Stopped: return "stopped";
    case StreamExit::SlotTimeout: return "slot time-out";
    case StreamExit::HeaderReceiveFailed: return "header receive failed";
    case StreamExit::PayloadReceiveFailed: return "payload receive failed";
    case StreamExit::ThreadStopped: return "thread stopped";
    }
    return "?";
}

std::string BuildStreamRequest(const std::string& cookie, const std::string& hostAddress) {
    // The command sender's request builder and header lines, without a body.
    CgiRequest request(CMD_GET_VIDEO);
    if (!request.AddParam("Cookie", cookie))
        return {};
    return FormatRequestHeader(request.Text(), std::nullopt, hostAddress);
}

int Jpeg_TCP_Get_Image_Data_Thread(AppData& app, const platform::Timing& timing, std::stop_token stop) {
    if (!app.h_StartToGetJpegImageEvent.Wait(platform::kInfinite, stop))
        return 0;
    WriteTraceLog("Got start event");
    app.dw_GetImageThreadRunning.store(1);
    // A reset left over from before this session is not meant for it.
    app.h_NotifyGetJPEGImageThreadResetEvent.Reset();
    app.h_Process_Reply_TerminateEvent.Reset();
    app.h_StartToShowImageEvent.Set();
    app.dw_StreamStartTick.exchange(platform::TickCount());
    app.dw_ReceivedBytes.exchange(0);
    app.dw_FramesShown.exchange(0);
    app.dw_RateFramesPrev.exchange(0);
    app.dw_RateFramesNow.exchange(0);

    StreamExit exit;
    {
        StreamSession session(app, timing, stop);
        exit = session.Run();
        session.Close();
    }
    Finish(app, exit, stop);
    return 0;
}

bool StartStreamReceiveThread(AppData& app, const platform::Timing& timing) {
    return app.h_GetJpegImageThread.Start(
        [&app, timing](std::stop_token stop) { Jpeg_TCP_Get_Image_Data_Thread(app, timing, std::move(stop)); });
}

}  // namespace session
