#pragma once
// The windows' own device requests (pages, main-window commands, tool bars):
// a command with the session's cookie first, sent with the ordinary command
// time-outs on the calling thread, which is never the GUI thread.

#include <cstdint>
#include <span>
#include <stop_token>
#include <string_view>

#include "platform/Timing.h"
#include "session/net/CgiRequest.h"
#include "session/net/CommandSender.h"

namespace session {

class AppData;

// The command's request with "Cookie" when the cookie is not empty.
CgiRequest RequestWithCookie(std::uint8_t command, std::string_view cookie);

// Sends the request; the reply body goes to `reply` (a longer one fails, or is
// cut to it with LongReply::CutToArea) and its length to *replyLength. 1 for a
// status-200 reply, else 0.
int SendDeviceRequest(AppData& app, const platform::Timing& timing, const CgiRequest& request,
                      std::stop_token stop = {}, std::span<std::uint8_t> reply = {},
                      std::uint32_t* replyLength = nullptr, LongReply longReply = LongReply::Refuse);

}  // namespace session
