#pragma once
// One reply of the simulated device and how its bytes go on the wire, plus
// the faults that bend it (status, silence, cut or split replies, garbage).

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace devicesim {

using Millis = std::chrono::milliseconds;

struct Reply {
    int status = 200;
    std::string reason = "OK";             // empty: a status line without a reason phrase
    std::vector<std::string> headers{"Content-Type: text/plain"};  // further lines, without CR LF
    std::string body;
    std::string contentLengthName = "Content-Length";  // empty: no length line
    std::optional<std::string> contentLengthValue;     // the line's value, when not the body size
    bool blankLine = true;                  // the empty line that ends the header
    std::optional<std::string> raw;         // sent as it stands instead of header and body

    // Wire shaping.
    std::size_t cutAfter = std::string::npos;  // close after this many bytes of the whole reply
    std::vector<std::size_t> pieces;           // sizes of separate writes; the rest goes in one
    Millis piecePause{3};                      // between two writes
    Millis delay{0};                           // before the first byte
    bool silent = false;             // send nothing; hold the connection until the client leaves
    bool closeWithoutReply = false;  // close at once, sending nothing

    static Reply Ok(std::string body = {});
    static Reply WithStatus(int status);

    std::string HeaderText() const;
    std::string WireBytes() const;  // header and body, cut at cutAfter
};

// The usual reason phrase of a status ("OK", "Accepted", "Not Found", ...).
std::string ReasonPhrase(int status);

// Holds replies back until the test opens it, so that a test sees the client
// wait for as long as it needs. It opens by itself after its limit, so that a
// test that failed before opening it still ends.
class ReplyGate {
public:
    explicit ReplyGate(Millis limit = Millis(20000)) : limit_(limit) {}
    void Open();
    void WaitUntilOpen();

private:
    const Millis limit_;
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

// A change applied to the reply that a path would give. Faults combine with +.
struct Fault {
    std::string name;
    std::function<void(Reply&)> apply;

    Fault operator+(const Fault& other) const;

    static Fault Status(int status);
    static Fault Silence();                          // no reply; the client's time-out ends it
    static Fault Delay(Millis delay);                // reply after a pause
    static Fault HeldBy(std::shared_ptr<ReplyGate> gate);  // reply once the gate opens
    static Fault CloseBeforeHeader();
    static Fault CloseInsideHeader(std::size_t bytes = 12);
    static Fault HeaderInSegments(std::size_t segmentSize = 1);  // the header in many small writes
    static Fault BodyInSegments(std::vector<std::size_t> bodyPieces);  // first piece with the header
    static Fault HeaderWithoutBlankLine();
    static Fault OversizeHeader(std::size_t headerBytes = 5000);
    static Fault OversizeBody(std::size_t bodyBytes = 8192);
    static Fault CutBody(std::size_t keptBytes);     // announces the whole body, sends only part
    static Fault NoContentLength();
    static Fault ContentLengthName(std::string name);   // e.g. "content-length"
    static Fault ContentLengthValue(std::string value); // e.g. " 12 ", "-1", "99999999999"
    static Fault Garbage(std::string bytes = "\x01\x02garbage\xff\xfe");
};

}  // namespace devicesim
