#include "simulator/Reply.h"

#include <algorithm>
#include <utility>

namespace devicesim {

Reply Reply::Ok(std::string body) {
    Reply reply;
    reply.body = std::move(body);
    return reply;
}

Reply Reply::WithStatus(int status) {
    Reply reply;
    reply.status = status;
    reply.reason = ReasonPhrase(status);
    return reply;
}

std::string ReasonPhrase(int status) {
    switch (status) {
    case 200: return "OK";
    case 202: return "Accepted";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

std::string Reply::HeaderText() const {
    std::string text = "HTTP/1.1 " + std::to_string(status);
    if (!reason.empty())
        text += " " + reason;
    text += "\r\n";
    if (!contentLengthName.empty())
        text += contentLengthName + ": " + contentLengthValue.value_or(std::to_string(body.size())) + "\r\n";
    for (const auto& line : headers)
        text += line + "\r\n";
    if (blankLine)
        text += "\r\n";
    return text;
}

std::string Reply::WireBytes() const {
    std::string bytes = raw ? *raw : HeaderText() + body;
    if (cutAfter < bytes.size())
        bytes.resize(cutAfter);
    return bytes;
}

Fault Fault::operator+(const Fault& other) const {
    return {name + "+" + other.name, [first = apply, second = other.apply](Reply& reply) {
                first(reply);
                second(reply);
            }};
}

Fault Fault::Status(int status) {
    return {"status " + std::to_string(status), [status](Reply& reply) {
                reply.status = status;
                reply.reason = ReasonPhrase(status);
                reply.body.clear();
            }};
}

Fault Fault::Silence() {
    return {"silence", [](Reply& reply) {
                reply.silent = true;
                reply.closeWithoutReply = false;
            }};
}

void ReplyGate::Open() {
    {
        std::lock_guard lock(mutex_);
        open_ = true;
    }
    opened_.notify_all();
}

void ReplyGate::WaitUntilOpen() {
    std::unique_lock lock(mutex_);
    opened_.wait_for(lock, limit_, [&] { return open_; });
}

// The reply is shaped on the connection's thread, so waiting here holds it back.
Fault Fault::HeldBy(std::shared_ptr<ReplyGate> gate) {
    return {"held", [gate](Reply&) { gate->WaitUntilOpen(); }};
}

Fault Fault::Delay(Millis delay) {
    return {"delay", [delay](Reply& reply) { reply.delay = delay; }};
}

Fault Fault::CloseBeforeHeader() {
    return {"close before header", [](Reply& reply) { reply.closeWithoutReply = true; }};
}

Fault Fault::CloseInsideHeader(std::size_t bytes) {
    return {"close inside header", [bytes](Reply& reply) {
                reply.cutAfter = std::min(bytes, reply.HeaderText().size() - 1);
            }};
}

Fault Fault::HeaderInSegments(std::size_t segmentSize) {
    return {"header in segments", [segmentSize](Reply& reply) {
                const std::size_t header = reply.HeaderText().size();
                reply.pieces.clear();
                for (std::size_t sent = 0; sent < header; sent += segmentSize)
                    reply.pieces.push_back(std::min(segmentSize, header - sent));
            }};
}

Fault Fault::BodyInSegments(std::vector<std::size_t> bodyPieces) {
    return {"body in segments", [bodyPieces](Reply& reply) {
                reply.pieces.clear();
                for (std::size_t i = 0; i < bodyPieces.size(); ++i)
                    reply.pieces.push_back(bodyPieces[i] + (i == 0 ? reply.HeaderText().size() : 0));
                // Long enough apart that each piece reaches the client as its own receive.
                reply.piecePause = Millis(30);
            }};
}

Fault Fault::HeaderWithoutBlankLine() {
    return {"header without blank line", [](Reply& reply) {
                reply.blankLine = false;
                reply.body.clear();
            }};
}

Fault Fault::OversizeHeader(std::size_t headerBytes) {
    return {"oversize header", [headerBytes](Reply& reply) {
                const std::size_t now = reply.HeaderText().size();
                const std::string name = "X-Padding: ";
                if (headerBytes > now + name.size() + 2)
                    reply.headers.push_back(name + std::string(headerBytes - now - name.size() - 2, 'a'));
            }};
}

Fault Fault::OversizeBody(std::size_t bodyBytes) {
    return {"oversize body", [bodyBytes](Reply& reply) { reply.body.assign(bodyBytes, 'x'); }};
}

Fault Fault::CutBody(std::size_t keptBytes) {
    return {"cut body", [keptBytes](Reply& reply) {
                reply.cutAfter = reply.HeaderText().size() + std::min(keptBytes, reply.body.size());
            }};
}

Fault Fault::NoContentLength() {
    return {"no content length", [](Reply& reply) { reply.contentLengthName.clear(); }};
}

Fault Fault::ContentLengthName(std::string name) {
    return {"content length as " + name, [name](Reply& reply) { reply.contentLengthName = name; }};
}

Fault Fault::ContentLengthValue(std::string value) {
    return {"content length value " + value, [value](Reply& reply) { reply.contentLengthValue = value; }};
}

Fault Fault::Garbage(std::string bytes) {
    // No status line and no header end: the bytes are all the client gets.
    return {"garbage", [bytes](Reply& reply) { reply.raw = bytes; }};
}

}  // namespace devicesim
