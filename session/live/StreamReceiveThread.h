#pragma once
// The first stage of the live-video pipeline: one run is one stream session.
//
// It waits for the start event, opens its own connection to the device's web
// port, sends one /Getvideo.cgi request with the session cookie and reads the
// endless reply as frames (header, then JPEG picture), each into a free
// receive slot that it hands to the compose thread. Every way the stream ends
// closes the connection and, except a reset request or the thread's own stop,
// posts mailbox code 1 so that the kernel thread tears the session down and
// logs in again.
//
// Every wait and every socket call also ends on a reset request, on the stream
// stage's stop event and on the thread's stop; the reset is seen first when
// several come together, so an orderly close never starts a re-login.

#include <cstdint>
#include <stop_token>
#include <string>

#include "platform/Timing.h"

namespace session {

class AppData;

// LastStreamError: why the receive thread last ended a stream.
inline constexpr std::int32_t STREAM_ERR_RECEIVE = 4097;  // a header cut short (not with the buffered framer)
inline constexpr std::int32_t STREAM_ERR_CONNECT = 4098;
inline constexpr std::int32_t STREAM_ERR_STOPPED = 4099;
inline constexpr std::int32_t STREAM_ERR_TIMEOUT = 4100;

// The ways one stream session ends.
enum class StreamExit {
    ConnectFailed,
    SendFailed,
    Reset,            // reset request: quiet, acknowledged with h_FeedBackForNotifyResetEvent
    Stopped,          // h_EndofGetJpegImageEvent
    SlotTimeout,      // no free slot in time
    HeaderReceiveFailed,
    PayloadReceiveFailed,
    ThreadStopped,    // the thread's own stop request: quiet
};
const char* ToString(StreamExit exit);

// The stream request, CR LF after each line and an empty line at the end: the
// cookie goes on the line as every command's values do (a blank as %20); one
// holding a control byte gives an empty text, and nothing is sent.
std::string BuildStreamRequest(const std::string& cookie, const std::string& hostAddress);

// The thread body; always returns 0.
int Jpeg_TCP_Get_Image_Data_Thread(AppData& app, const platform::Timing& timing, std::stop_token stop);

// Starts the body on app.h_GetJpegImageThread; false when it cannot start.
bool StartStreamReceiveThread(AppData& app, const platform::Timing& timing);

}  // namespace session
