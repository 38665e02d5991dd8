#pragma once
// SorelSendCommand: one device command on one new TCP connection. It sends a
// GET with the device's fixed header lines (and a binary body when given),
// reads the reply's header and body within fixed bounds, and succeeds (1) only
// for status 200. The login command also resolves a host name and rewrites the
// server setting to the dotted address reached; the reboot command succeeds
// once sent and reads nothing. After a status-200 reply a pending web port or
// device address left by the network page is applied.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>

#include "platform/Timing.h"

namespace session {

class AppData;

using Millis = std::chrono::milliseconds;

// Bounds of one exchange: the request (header and body) and the reply header.
inline constexpr std::size_t kRequestLimit = 4096;
inline constexpr std::size_t kReplyHeaderLimit = 4096;
inline constexpr std::size_t kReceivePiece = 1460;  // most bytes asked of one header receive
inline constexpr std::size_t kServerAddressMax = 255;  // m_szServerAddress keeps this many characters
inline constexpr std::string_view kWrongAddressText = "IP Address is wrong.";

// The status record a caller may pass: the sender writes the HTTP status into
// the second integer whenever a reply's status was read and the command failed
// (so also 200 for a body cut short or too large for the reply buffer).
struct StatusRecord {
    std::int32_t nReserved = 0;
    std::int32_t nStatus = 0;
};

// A reply body longer than the caller's area: refused (binary replies, whose
// length is part of their meaning), or, for the few text replies whose
// callers read only what fits, cut to the area and used.
enum class LongReply { Refuse, CutToArea };

struct CommandOptions {
    Millis connectTimeout{platform::Timing{}.connectTimeout};
    Millis sendTimeout{platform::Timing{}.commandTimeout};     // wait for room before each send
    // Wait for data before each receive; also the most the whole reply header may take.
    Millis receiveTimeout{platform::Timing{}.commandTimeout};
    std::stop_token stop;  // a stop request ends a blocked exchange at once (result 0)
    // Called instead of showing "IP Address is wrong." when the server's
    // address cannot be found (a caller that retries tells the user once).
    std::function<void()> wrongAddressNotice;
    LongReply longReply = LongReply::Refuse;
};

// The request header as the device expects it, byte for byte; the
// Content-Length line only when a body is sent (between Accept-Language and
// Accept-Encoding). Host is this computer's own address.
std::string FormatRequestHeader(std::string_view target, std::optional<std::uint32_t> bodyLength,
                                std::string_view hostAddress);

// What the sender takes from a reply header (status line to the blank line).
struct ReplyHeader {
    int status = 0;
    std::optional<std::uint32_t> contentLength;  // absent: no Content-Length line
    bool lengthValid = true;  // false: a Content-Length that is not a decimal number up to 2^31-1
};
// nullopt for a header that is not a reply: no "HTTP/" status line with a
// three-digit status (the reason phrase is optional), or a zero byte in it.
// The Content-Length name is matched in any letter case, with blanks allowed
// around the colon and the value.
std::optional<ReplyHeader> ParseReplyHeader(std::string_view header);

// 2 when the text holds only digits and dots (also when empty), else 1.
int IsNumericHost(std::string_view host);

// The exchange with the device named by app's settings (m_strServerName,
// m_wWebPort). `request` is the target built by CgiRequest; an empty or unsafe
// one is refused. A null body sends no Content-Length. The reply body goes to
// `reply` (its size is the capacity: a longer body fails unless
// options.longReply cuts it) and its length to
// *replyLength. Returns 1 or 0; "IP Address is wrong." goes to app's UI port.
// With LongReply::CutToArea a longer body fills the area and the rest is left
// unread (the connection closes with it); nothing is written past the area.
int SorelSendCommand(AppData& app, const CommandOptions& options, std::uint8_t command, std::string_view request,
                     const std::uint8_t* body, std::uint32_t bodyLength, StatusRecord* status,
                     std::span<std::uint8_t> reply, std::uint32_t* replyLength);

// The same on g_lpApp, with the usual connect time-out.
int SorelSendCommand(std::uint8_t command, std::string_view request, const std::uint8_t* body,
                     std::uint32_t bodyLength, StatusRecord* status, std::span<std::uint8_t> reply,
                     std::uint32_t* replyLength, Millis sendTimeout, Millis receiveTimeout,
                     std::stop_token stop = {});

}  // namespace session
