#include "session/net/DeviceRequest.h"

#include "session/net/CommandSender.h"

namespace session {

CgiRequest RequestWithCookie(std::uint8_t command, std::string_view cookie) {
    CgiRequest request(command);
    if (!cookie.empty())
        request.AddParam("Cookie", cookie);
    return request;
}

int SendDeviceRequest(AppData& app, const platform::Timing& timing, const CgiRequest& request,
                      std::stop_token stop, std::span<std::uint8_t> reply, std::uint32_t* replyLength,
                      LongReply longReply) {
    CommandOptions options;
    options.connectTimeout = timing.connectTimeout;
    options.sendTimeout = timing.commandTimeout;
    options.receiveTimeout = timing.commandTimeout;
    options.stop = std::move(stop);
    options.longReply = longReply;
    return SorelSendCommand(app, options, request.Command(), request.Text(), nullptr, 0, nullptr, reply,
                            replyLength);
}

}  // namespace session
