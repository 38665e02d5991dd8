#include "session/live/StreamFramer.h"

#include <algorithm>
#include <cstring>

namespace session {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kQuantTable = 0xDB;
constexpr std::uint8_t kEndOfImage = 0xD9;

}  // namespace

bool IsJpegFrameStart(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == kMarker && bytes[1] == kStartOfImage && bytes[2] == kMarker &&
           bytes[3] == kQuantTable;
}

const char* ToString(StreamFramer::State state) {
    switch (state) {
    case StreamFramer::State::Header: return "header";
    case StreamFramer::State::Probe: return "probe";
    case StreamFramer::State::Payload: return "payload";
    case StreamFramer::State::Skip: return "skip";
    case StreamFramer::State::Resync: return "resync";
    }
    return "?";
}

StreamFramer::StreamFramer(Config config, HeaderObserver onHeader)
    : config_(config), onHeader_(std::move(onHeader)) {}

void StreamFramer::StartFrame(std::span<std::uint8_t> slot, ImageSlotInfo* info) {
    slot_ = slot;
    info_ = info;
    if (info_)
        *info_ = ImageSlotInfo{};
}

std::span<std::uint8_t> StreamFramer::ReceiveArea() {
    // Inside a picture with nothing buffered, the picture's next bytes are
    // all that can come: they go straight into the slot, as many as are waiting.
    directArea_ = state_ == State::Payload && begin_ == end_ && remaining_ > 0;
    if (directArea_)
        return slot_.subspan(received_, remaining_);
    if (begin_ > 0) {
        std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    return {buffer_ + end_, std::min(kChunkBytes, kBufferBytes - end_)};
}

void StreamFramer::Commit(std::size_t received) {
    if (directArea_) {
        directArea_ = false;
        const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(received, remaining_));
        received_ += n;
        remaining_ -= n;
        return;
    }
    end_ += std::min(received, kBufferBytes - end_);
}

std::size_t StreamFramer::Feed(std::span<const std::uint8_t> bytes) {
    const auto area = ReceiveArea();
    const std::size_t n = std::min(area.size(), bytes.size());
    std::memcpy(area.data(), bytes.data(), n);
    Commit(n);
    return n;
}

std::span<const std::uint8_t> StreamFramer::Pending() const {
    return {buffer_ + begin_, end_ - begin_};
}

void StreamFramer::Consume(std::size_t n) {
    begin_ += n;
    if (begin_ == end_)
        begin_ = end_ = 0;
}

void StreamFramer::EnterResync() { state_ = State::Resync; }

void StreamFramer::DropFrame(std::uint64_t& counter, State next) {
    ++counter;
    remaining_ = header_.dwLength;
    state_ = next;
}

StreamFramer::Result StreamFramer::Process() {
    for (;;) {
        Step step = Step::Stop;
        switch (state_) {
        case State::Header:
            if (!info_)
                return Result::NoSlot;
            step = StepHeader();
            break;
        case State::Probe: step = StepProbe(); break;
        case State::Payload: step = StepPayload(); break;
        case State::Skip: step = StepSkip(); break;
        case State::Resync: step = StepResync(); break;
        }
        if (step == Step::Ready)
            return Result::FrameReady;
        if (step == Step::Stop)
            return Result::NeedMore;
    }
}

StreamFramer::Step StreamFramer::StepHeader() {
    const auto bytes = Pending();
    if (bytes.empty())
        return Step::Stop;
    FrameHeaderFields fields;
    switch (ParseFrameHeader(bytes, config_.layout, config_.lengthCountsHeader, fields)) {
    case HeaderParseStatus::Incomplete: return Step::Stop;
    case HeaderParseStatus::BadVersion:
    case HeaderParseStatus::BadLength:
        ++stats_.badHeaders;
        EnterResync();
        return Step::Continue;
    case HeaderParseStatus::Parsed: break;
    }
    header_ = fields.record;
    if (onHeader_)
        onHeader_(fields);
    Consume(header_.dwHeaderLength);
    if (header_.dwLength == 0) {
        // No picture: the bytes behind begin the next frame.
        ++stats_.emptyHeaders;
        return Step::Continue;
    }
    if (header_.dwLength > slot_.size()) {
        ++stats_.droppedOversize;
        EnterResync();
        return Step::Continue;
    }
    if (header_.dwLength < kProbeBytes) {
        DropFrame(stats_.droppedNotJpeg, State::Skip);
        return Step::Continue;
    }
    state_ = State::Probe;
    return Step::Continue;
}

StreamFramer::Step StreamFramer::StepProbe() {
    const auto bytes = Pending();
    if (bytes.size() < kProbeBytes)
        return Step::Stop;
    if (bytes[0] != kMarker || bytes[1] != kStartOfImage) {
        ++stats_.droppedBadStart;
        EnterResync();
        return Step::Continue;
    }
    if (!IsJpegFrameStart(bytes)) {
        // Framed, just not a picture: pass over it by its length.
        DropFrame(stats_.droppedNotJpeg, State::Skip);
        return Step::Continue;
    }
    received_ = 0;
    remaining_ = header_.dwLength;
    state_ = State::Payload;
    return Step::Continue;
}

StreamFramer::Step StreamFramer::StepPayload() {
    const auto bytes = Pending();
    if (bytes.empty() && remaining_ > 0)
        return Step::Stop;
    const std::size_t n = std::min<std::size_t>(bytes.size(), remaining_);
    std::memcpy(slot_.data() + received_, bytes.data(), n);
    received_ += static_cast<std::uint32_t>(n);
    remaining_ -= static_cast<std::uint32_t>(n);
    Consume(n);
    if (remaining_ > 0)
        return Step::Stop;
    *info_ = header_;
    lastFrameBytes_ = header_.dwHeaderLength + header_.dwLength;
    ++stats_.accepted;
    slot_ = {};
    info_ = nullptr;
    state_ = State::Header;
    return Step::Ready;
}

StreamFramer::Step StreamFramer::StepSkip() {
    const auto bytes = Pending();
    const std::size_t n = std::min<std::size_t>(bytes.size(), remaining_);
    remaining_ -= static_cast<std::uint32_t>(n);
    Consume(n);
    if (remaining_ > 0)
        return Step::Stop;
    state_ = State::Header;
    return Step::Continue;
}

StreamFramer::Step StreamFramer::StepResync() {
    const auto bytes = Pending();
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == kMarker && bytes[i + 1] == kEndOfImage) {
            stats_.discardedBytes += i + 2;
            ++stats_.resyncs;
            Consume(i + 2);
            state_ = State::Header;
            return Step::Continue;
        }
    }
    // Keep a last FF: its D9 may be the first byte of the next receive.
    const std::size_t keep = (!bytes.empty() && bytes.back() == kMarker) ? 1 : 0;
    stats_.discardedBytes += bytes.size() - keep;
    Consume(bytes.size() - keep);
    return Step::Stop;
}

}  // namespace session
