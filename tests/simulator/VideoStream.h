#pragma once
// The device's live stream on /Getvideo.cgi: no status line or reply header,
// just frames (header, then a JPEG picture) at a chosen rate, in the header
// layout that the session asked for with NEWHR at its device-information
// request. Faults bend the stream: writes split into small segments, garbage
// between frames, a header with a bad version, an oversize frame, a damaged
// picture, a stall, a closed connection; the header fields carry video loss,
// alarm and motion bits. The device's state picks the picture size (its
// resolution), the view channel a few frames after /SetChannel.cgi (CH 0 the
// multi-channel view, CH k channel k - 1; the frame's channel number is CH)
// and, for a G66M, the sensor byte
// of every header.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "simulator/DeviceSimulator.h"
#include "simulator/FrameEncoder.h"

namespace devicesim {

// A picture as the device sends it: the JPEG's application segments (JFIF,
// Exif) removed, so that it starts FF D8 FF DB. Anything not laid out that
// way is returned unchanged.
Bytes DevicePicture(const Bytes& jpeg);

struct StreamFault {
    enum class Kind { Garbage, BadVersion, Oversize, Picture, Stall, Close };
    Kind kind;
    Bytes garbage;              // Garbage, Picture: the bytes
    std::uint32_t length = 0;   // Oversize: the picture's length (the new header keeps 16 bits)

    static StreamFault Garbage(Bytes bytes) { return {Kind::Garbage, std::move(bytes), 0}; }
    // The next frame's new header says version 2 (the old layout has no version).
    static StreamFault BadVersion() { return {Kind::BadVersion, {}, 0}; }
    // A framed picture of that length before the next frame.
    static StreamFault Oversize(std::uint32_t length) { return {Kind::Oversize, {}, length}; }
    // A framed picture of these bytes as they stand (a damaged JPEG) before the next frame.
    static StreamFault Picture(Bytes jpeg) { return {Kind::Picture, std::move(jpeg), 0}; }
    // Sends nothing more and keeps the connection open until the client leaves.
    static StreamFault Stall() { return {Kind::Stall, {}, 0}; }
    static StreamFault Close() { return {Kind::Close, {}, 0}; }
};

class VideoStream {
public:
    // Takes over /Getvideo.cgi on the device; one stream per connection.
    explicit VideoStream(DeviceSimulator& device);

    // The pictures sent in turn (DevicePicture is applied to each).
    void SetPictures(std::vector<Bytes> jpegs);
    // The pictures sent while the device's resolution is reduced (RES=1 of
    // /Setresolution.cgi); without them the pictures above serve both.
    void SetReducedPictures(std::vector<Bytes> jpegs);
    // Frames a second; 0 sends as fast as the client reads.
    void SetFrameRate(int framesPerSecond);
    // Fields every frame header carries from now on (alarm, motion, video loss,
    // channel, text, ...); the length and stream time are the stream's own.
    void SetHeaderFields(const FrameHeaderValues& fields);
    // A header script: frames first to last (numbered as their stream time,
    // over every connection) carry these fields in place of those above,
    // e.g. an alarm or motion field; where scripts overlap, the later wins.
    void ScriptHeaderFields(std::size_t first, std::size_t last, const FrameHeaderValues& fields);
    // Writes leave in pieces of this many bytes (0: whole frames).
    void SetSegmentSize(std::size_t bytes);
    // Applied before the next frame of the running (or next) stream, in order.
    void InjectFault(StreamFault fault);

    // Frames sent on every connection so far; the stream time of frame n is n (from 1).
    std::size_t FramesSent() const;
    bool WaitForFrames(std::size_t count, Millis timeout) const;
    // True once a stream has reached a stall or close fault: its frames are all
    // out, and FramesSent() stays as it is.
    bool WaitForEnd(Millis timeout) const;
    // Streams that have begun (requests answered with frames).
    std::size_t StreamsStarted() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace devicesim
