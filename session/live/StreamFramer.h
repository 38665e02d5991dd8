#pragma once
// Cuts the live stream into frames: header, then a JPEG picture of the length
// the header gives, then the next header, with no separator.
//
// Received bytes land in the framer's own buffer; whatever TCP does to the
// segments, the same bytes give the same accepted, dropped and resynchronised
// frames, because nothing is decided before the bytes it depends on are in.
// The picture goes straight into the slot the caller hands in, and never
// past its end: a frame longer than its slot is dropped.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "session/live/FrameHeaderParser.h"

namespace session {

// True when the bytes begin with a JPEG start of image followed by a
// quantisation table (FF D8 FF DB), as every picture of the stream does.
bool IsJpegFrameStart(std::span<const std::uint8_t> bytes);

class StreamFramer {
public:
    enum class State {
        Header,   // waiting for a whole header
        Probe,    // header read; checking the first picture bytes
        Payload,  // copying the picture into the slot
        Skip,     // passing over a frame that is not a picture
        Resync,   // lost: looking for the end of a picture (FF D9)
    };
    enum class Result {
        NeedMore,    // every buffered byte is used: receive more
        FrameReady,  // the slot holds a whole frame
        NoSlot,      // a header waits for a slot (StartFrame)
    };

    struct Stats {
        std::uint64_t accepted = 0;
        std::uint64_t emptyHeaders = 0;    // length 0: no frame
        std::uint64_t badHeaders = 0;      // header not parseable
        std::uint64_t droppedOversize = 0; // longer than the slot
        std::uint64_t droppedBadStart = 0; // the bytes behind the header are not FF D8
        std::uint64_t droppedNotJpeg = 0;  // FF D8 but no FF D8 FF DB, or too short
        std::uint64_t resyncs = 0;         // end markers found after a loss
        std::uint64_t discardedBytes = 0;  // bytes passed over while resynchronising

        friend bool operator==(const Stats&, const Stats&) = default;
    };

    struct Config {
        HeaderLayout layout = HeaderLayout::New;
        bool lengthCountsHeader = false;  // G66M: the new header's length includes the header
    };

    // Called once for every header parsed, before its frame is judged.
    using HeaderObserver = std::function<void(const FrameHeaderFields&)>;

    // One receive, as the device's stream is read.
    static constexpr std::size_t kChunkBytes = 1400;
    // A chunk plus the start of a header kept from the chunk before.
    static constexpr std::size_t kBufferBytes = 2048;
    // Bytes of a picture that are checked before it is accepted.
    static constexpr std::size_t kProbeBytes = 4;

    explicit StreamFramer(Config config, HeaderObserver onHeader = {});

    // The next frame goes into slot; its record into *info (zeroed first).
    // Valid until Process returns FrameReady.
    void StartFrame(std::span<std::uint8_t> slot, ImageSlotInfo* info);

    // Where the next receive goes; Commit the count received. At most
    // kChunkBytes of the framer's buffer, or, inside a picture with nothing
    // buffered, the rest of the picture in the slot itself. Empty only while a
    // ready frame's leftover fills the buffer, which Process drains first.
    std::span<std::uint8_t> ReceiveArea();
    void Commit(std::size_t received);
    // Copies as much of bytes as fits into the receive area; returns the count.
    std::size_t Feed(std::span<const std::uint8_t> bytes);

    // Runs the state machine over the buffered bytes.
    Result Process();

    State CurrentState() const { return state_; }
    const Stats& Statistics() const { return stats_; }
    std::size_t Buffered() const { return end_ - begin_; }
    // Header and picture bytes of the frame last made ready.
    std::uint32_t LastFrameBytes() const { return lastFrameBytes_; }

private:
    enum class Step { Continue, Stop, Ready };

    std::span<const std::uint8_t> Pending() const;
    void Consume(std::size_t n);
    void EnterResync();
    void DropFrame(std::uint64_t& counter, State next);
    Step StepHeader();
    Step StepProbe();
    Step StepPayload();
    Step StepSkip();
    Step StepResync();

    Config config_;
    HeaderObserver onHeader_;
    State state_ = State::Header;
    Stats stats_;

    std::uint8_t buffer_[kBufferBytes];
    std::size_t begin_ = 0;
    std::size_t end_ = 0;

    std::span<std::uint8_t> slot_;
    ImageSlotInfo* info_ = nullptr;
    ImageSlotInfo header_;          // the header being judged or copied
    std::uint32_t remaining_ = 0;   // picture bytes still to copy or skip
    std::uint32_t received_ = 0;    // picture bytes in the slot
    std::uint32_t lastFrameBytes_ = 0;
    bool directArea_ = false;       // the last receive area was the slot
};

const char* ToString(StreamFramer::State state);

}  // namespace session
