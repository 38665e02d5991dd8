#include "session/net/CommandSender.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "platform/AsciiText.h"
#include "session/AppData.h"
#include "session/net/BlockingSocket.h"
#include "session/net/CgiCommandTable.h"

namespace session {

namespace {

using platform::EqualsIgnoringAsciiCase;
using platform::TrimBlanks;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A target the request line can carry as it stands: a path, and nothing that
// would end the line or the target early (CgiRequest has escaped the values).
bool IsSafeTarget(std::string_view target) {
    if (target.empty() || target.front() != '/')
        return false;
    return std::none_of(target.begin(), target.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte >= 0x7F;
    });
}

std::optional<std::uint32_t> ParseLength(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty() || text.size() > 10 || !std::all_of(text.begin(), text.end(), IsDigit))
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text)
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > 0x7FFFFFFFu)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::string FormatRequestHeader(std::string_view target, std::optional<std::uint32_t> bodyLength,
                                std::string_view hostAddress) {
    std::string header = "GET ";
    header.append(target).append(" HTTP/1.1\r\nAccept: */* \r\nAccept-Language: zh-tw\r\n");
    if (bodyLength)
        header.append("Content-Length: ").append(std::to_string(*bodyLength)).append("\r\n");
    header.append(
        "Accept-Encoding: gzip, deflate\r\n"
        "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)\r\n");
    header.append("Host: ").append(hostAddress).append("\r\nConnection: Keep-Alive\r\n\r\n");
    return header;
}

int IsNumericHost(std::string_view host) {
    for (char c : host)
        if (c != '.' && !IsDigit(c))
            return 1;
    return 2;
}

std::optional<ReplyHeader> ParseReplyHeader(std::string_view header) {
    if (header.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::size_t lineEnd = header.find("\r\n");
    std::string_view statusLine = header.substr(0, lineEnd);
    // Some devices write the protocol name in lower case; the letter case never mattered to the client.
    if (!EqualsIgnoringAsciiCase(statusLine.substr(0, 5), "HTTP/"))
        return std::nullopt;
    std::size_t blank = statusLine.find(' ');
    if (blank == std::string_view::npos || statusLine.size() < blank + 4)
        return std::nullopt;
    std::string_view code = statusLine.substr(blank + 1, 3);
    if (!std::all_of(code.begin(), code.end(), IsDigit))
        return std::nullopt;
    if (statusLine.size() > blank + 4 && statusLine[blank + 4] != ' ')
        return std::nullopt;  // more than three digits
    ReplyHeader reply;
    reply.status = (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');

    // The first Content-Length line counts, as the device sends one.
    std::size_t lineStart = lineEnd == std::string_view::npos ? header.size() : lineEnd + 2;
    while (lineStart < header.size()) {
        lineEnd = header.find("\r\n", lineStart);
        std::string_view line = header.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd == std::string_view::npos ? header.size() : lineEnd + 2;
        std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || !EqualsIgnoringAsciiCase(TrimBlanks(line.substr(0, colon)), "Content-Length"))
            continue;
        reply.contentLength = ParseLength(line.substr(colon + 1));
        reply.lengthValid = reply.contentLength.has_value();
        break;
    }
    return reply;
}

namespace {

void ReportWrongAddress(AppData& app, const CommandOptions& options) {
    if (options.wrongAddressNotice)
        options.wrongAddressNotice();
    else
        app.Ui().ShowMessageText(std::string(kWrongAddressText));
}

}  // namespace

int SorelSendCommand(AppData& app, const CommandOptions& options, std::uint8_t command, std::string_view request,
                     const std::uint8_t* body, std::uint32_t bodyLength, StatusRecord* status,
                     std::span<std::uint8_t> reply, std::uint32_t* replyLength) {
    std::uint32_t received = 0;
    auto setLength = [&](std::uint32_t length) {
        received = length;
        if (replyLength != nullptr)
            *replyLength = length;
    };
    // Failures after a status was read leave it for the caller.
    auto failWithStatus = [&](int code) {
        if (status != nullptr)
            status->nStatus = code;
        return 0;
    };
    setLength(0);
    if (command >= kCgiCommandCount || !IsSafeTarget(request))
        return 0;
    if (body == nullptr)
        bodyLength = 0;

    CSettingINI& settings = app.CSettingINI;
    CBlockingSocket socket;
    try {
        socket.Create(CBlockingSocket::kStream);
    } catch (const CBlockingSocketException&) {
        return 0;
    }
    const std::string server = settings.m_strServerName.Get();
    if (server.empty())
        return 0;

    const std::uint16_t port = settings.m_wWebPort;
    SocketAddress address;
    if (IsNumericHost(server) == 2) {
        address = SocketAddress(server, port);
        if (!address.IsValid()) {
            ReportWrongAddress(app, options);
            return 0;
        }
    } else {
        try {
            // A stop ends the wait for the name server at once.
            address = CBlockingSocket::GetHostByName(server, port, options.stop);
        } catch (const CBlockingSocketException&) {
            if (!options.stop.stop_requested())
                ReportWrongAddress(app, options);
            return 0;
        }
        if (command == CMD_LOGIN) {
            // Keep the name as typed, so a later login resolves it again.
            settings.m_szServerAddress = server.substr(0, kServerAddressMax);
            settings.m_strServerName = address.ToText();
        }
    }

    std::string requestBytes;
    try {
        socket.Connect(address, options.connectTimeout, options.stop);
        requestBytes = FormatRequestHeader(request, body ? std::optional(bodyLength) : std::nullopt,
                                           socket.GetLocalAddress().ToText());
        if (requestBytes.size() + bodyLength > kRequestLimit)
            return 0;
        if (body != nullptr)
            requestBytes.append(reinterpret_cast<const char*>(body), bodyLength);
        socket.Send(requestBytes.data(), static_cast<int>(requestBytes.size()), options.sendTimeout, options.stop);
    } catch (const CBlockingSocketException&) {
        return 0;
    }
    if (command == CMD_REBOOT)
        return 1;  // the device restarts without answering

    // The header: bounded in bytes, however many receives it takes, and in
    // time: a device that sends a byte now and then cannot hold the command
    // longer than one receive time-out.
    char area[kReplyHeaderLimit];
    std::size_t held = 0;
    std::size_t headerEnd = std::string_view::npos;
    const auto headerDeadline = std::chrono::steady_clock::now() + options.receiveTimeout;
    while (headerEnd == std::string_view::npos) {
        if (held == sizeof area)
            return 0;
        const auto left = std::chrono::duration_cast<Millis>(headerDeadline - std::chrono::steady_clock::now());
        if (left <= Millis(0))
            return 0;
        const int piece = static_cast<int>(std::min(kReceivePiece, sizeof area - held));
        const int got = socket.Receive(area + held, piece, left, options.stop);
        if (got < 0)
            return 0;
        const std::size_t searchFrom = held >= 3 ? held - 3 : 0;
        held += static_cast<std::size_t>(got);
        std::size_t found = std::string_view(area + searchFrom, held - searchFrom).find("\r\n\r\n");
        if (found != std::string_view::npos)
            headerEnd = searchFrom + found + 4;
    }

    const auto header = ParseReplyHeader(std::string_view(area, headerEnd));
    if (!header)
        return 0;
    if (header->status != 200)
        return failWithStatus(header->status);

    // The device has taken the command: a new port or address it was given
    // applies from now on, whatever the rest of the reply looks like.
    if (app.g_fPendingWebPort.exchange(false))
        settings.m_wWebPort = app.g_wPendingWebPort.load();
    if (app.g_fPendingServerName.exchange(false))
        settings.m_strServerName = app.g_strPendingServerName.Get();

    if (!header->lengthValid)
        return failWithStatus(200);

    const std::uint32_t contentLength = header->contentLength.value_or(0);
    if (contentLength == 0 || reply.empty())
        return 1;  // nothing to read, or nowhere to put it
    std::uint32_t wanted = contentLength;
    if (contentLength > reply.size()) {
        if (options.longReply != LongReply::CutToArea)
            return failWithStatus(200);
        wanted = static_cast<std::uint32_t>(reply.size());  // the rest stays unread
    }

    // Bytes that came with the header, up to the announced length; later ones are not body.
    const std::size_t early = std::min<std::size_t>(held - headerEnd, wanted);
    std::memcpy(reply.data(), area + headerEnd, early);
    setLength(static_cast<std::uint32_t>(early));
    while (received < wanted) {
        const int got = socket.Receive(reply.data() + received, static_cast<int>(wanted - received),
                                       options.receiveTimeout, options.stop);
        if (got < 0)
            return failWithStatus(200);  // cut short: the length says how much came
        setLength(received + static_cast<std::uint32_t>(got));
    }
    return 1;
}

int SorelSendCommand(std::uint8_t command, std::string_view request, const std::uint8_t* body,
                     std::uint32_t bodyLength, StatusRecord* status, std::span<std::uint8_t> reply,
                     std::uint32_t* replyLength, Millis sendTimeout, Millis receiveTimeout, std::stop_token stop) {
    if (g_lpApp == nullptr)
        return 0;
    CommandOptions options;
    options.sendTimeout = sendTimeout;
    options.receiveTimeout = receiveTimeout;
    options.stop = std::move(stop);
    return SorelSendCommand(*g_lpApp, options, command, request, body, bodyLength, status, reply, replyLength);
}

}  // namespace session
