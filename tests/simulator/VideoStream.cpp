#include "simulator/VideoStream.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <deque>
#include <optional>
#include <string_view>

namespace devicesim {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kFirstAppSegment = 0xE0;
constexpr std::uint8_t kLastAppSegment = 0xEF;
// The device's picture follows /SetChannel.cgi this many frames later.
constexpr int kFramesBeforeChannelSwitch = 3;

// A stand-in picture for oversize frames: JPEG start, filler without FF, end marker.
Bytes FillerPicture(std::uint32_t length) {
    Bytes p(length, 0x5A);
    const std::uint8_t start[] = {0xFF, 0xD8, 0xFF, 0xDB};
    for (std::size_t i = 0; i < 4 && i < p.size(); ++i)
        p[i] = start[i];
    if (p.size() >= 6) {
        p[p.size() - 2] = 0xFF;
        p[p.size() - 1] = 0xD9;
    }
    return p;
}

}  // namespace

Bytes DevicePicture(const Bytes& jpeg) {
    if (jpeg.size() < 4 || jpeg[0] != kMarker || jpeg[1] != kStartOfImage)
        return jpeg;
    std::size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos] == kMarker && jpeg[pos + 1] >= kFirstAppSegment &&
           jpeg[pos + 1] <= kLastAppSegment) {
        const std::size_t segment = 2 + (std::size_t{jpeg[pos + 2]} << 8 | jpeg[pos + 3]);
        if (pos + segment > jpeg.size())
            return jpeg;
        pos += segment;
    }
    Bytes out{kMarker, kStartOfImage};
    out.insert(out.end(), jpeg.begin() + static_cast<long>(pos), jpeg.end());
    return out;
}

struct VideoStream::Shared {
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<Bytes> pictures{FillerPicture(64)};
    std::vector<Bytes> reducedPictures;
    int framesPerSecond = 25;
    FrameHeaderValues fields;
    struct ScriptEntry {
        std::size_t first, last;
        FrameHeaderValues fields;
    };
    std::vector<ScriptEntry> script;
    std::size_t segmentSize = 0;
    std::deque<StreamFault> faults;
    std::size_t framesSent = 0;
    std::size_t streamsStarted = 0;
    std::size_t endsReached = 0;  // stalls and closes whose bytes went out

    void Serve(DeviceSimulator& device, const Request& request, Connection& connection);
    // The fields of frame n (from 1), under the lock.
    const FrameHeaderValues& FieldsOf(std::size_t n) const {
        for (auto e = script.rbegin(); e != script.rend(); ++e)
            if (n >= e->first && n <= e->last)
                return e->fields;
        return fields;
    }
};

namespace {

// Sends in pieces of segment bytes (0: at once); small pieces leave as segments of their own.
bool SendBytes(Connection& connection, const Bytes& bytes, std::size_t segment) {
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (segment == 0)
        return connection.Send(all);
    for (std::size_t pos = 0; pos < all.size(); pos += segment) {
        if (!connection.Send(all.substr(pos, segment)) || !connection.Pause(Millis(1)))
            return false;
    }
    return true;
}

Bytes Frame(FrameHeaderValues header, const Bytes& picture, session::HeaderLayout layout) {
    header.length = static_cast<std::uint32_t>(picture.size());
    Bytes bytes = EncodeFrameHeader(header, layout);
    bytes.insert(bytes.end(), picture.begin(), picture.end());
    return bytes;
}

}  // namespace

void VideoStream::Shared::Serve(DeviceSimulator& device, const Request& request, Connection& connection) {
    const std::string cookie = request.Param("Cookie").value_or("");
    if (device.Profile().checkCookie && !device.IsSession(cookie))
        return;  // the device drops a stream request it does not know
    const auto layout = device.NewHeaderRequested(cookie) ? session::HeaderLayout::New : session::HeaderLayout::Old;
    {
        std::lock_guard lock(mutex);
        ++streamsStarted;
    }
    changed.notify_all();
    // The channel set by /SetChannel.cgi: a new stream starts on it, a running
    // one shows it a few frames after the request (-1: none was set).
    int askedChannel = device.State().channel;
    int shownChannel = askedChannel;
    int switchIn = 0;
    for (std::size_t n = 0;; ++n) {
        // What the device's own settings put into this frame.
        bool reduced = false;
        std::optional<std::uint8_t> sensor;
        std::optional<int> retr;
        int channel = -1;
        device.Update([&](DeviceState& state) {
            reduced = state.resolution == 1;
            if (state.profile.productId == "G66M")
                sensor = state.sensorByte;
            retr = state.retr;
            channel = state.channel;
        });
        if (channel != askedChannel) {
            askedChannel = channel;
            switchIn = kFramesBeforeChannelSwitch;
        }
        if (switchIn > 0 && --switchIn == 0)
            shownChannel = askedChannel;
        Bytes bytes;
        std::size_t segment;
        Millis pause{0};
        std::optional<StreamFault::Kind> end;  // Stall or Close after the bytes
        {
            std::lock_guard lock(mutex);
            FrameHeaderValues header = FieldsOf(framesSent + 1);
            if (sensor)
                header.sensorMode = sensor;
            if (retr)
                header.retr = static_cast<std::uint8_t>(*retr);
            // CH 0 is the multi-channel view, CH k the view of channel k - 1;
            // the frame's channel number is the shown channel as CH numbers it.
            if (shownChannel >= 0) {
                header.multiView = shownChannel == 0;
                header.viewChannel = static_cast<std::uint8_t>(shownChannel == 0 ? 0 : shownChannel - 1);
                header.channel = static_cast<std::uint8_t>(shownChannel);
            }
            segment = segmentSize;
            if (framesPerSecond > 0)
                pause = Millis(1000 / framesPerSecond);
            while (!faults.empty() && !end) {
                StreamFault fault = std::move(faults.front());
                faults.pop_front();
                switch (fault.kind) {
                case StreamFault::Kind::Garbage:
                    bytes.insert(bytes.end(), fault.garbage.begin(), fault.garbage.end());
                    break;
                case StreamFault::Kind::BadVersion: header.version = 2; break;
                case StreamFault::Kind::Oversize:
                case StreamFault::Kind::Picture: {
                    const Bytes& picture =
                        fault.kind == StreamFault::Kind::Picture ? fault.garbage : FillerPicture(fault.length);
                    const Bytes frame = Frame(fields, picture, layout);
                    bytes.insert(bytes.end(), frame.begin(), frame.end());
                    break;
                }
                case StreamFault::Kind::Stall:
                case StreamFault::Kind::Close: end = fault.kind; break;
                }
            }
            if (!end) {
                header.streamTime = static_cast<std::uint32_t>(framesSent + 1);
                const auto& set = reduced && !reducedPictures.empty() ? reducedPictures : pictures;
                const Bytes frame = Frame(header, set[n % set.size()], layout);
                bytes.insert(bytes.end(), frame.begin(), frame.end());
            }
        }
        if (!SendBytes(connection, bytes, segment))
            return;
        if (end) {
            {
                std::lock_guard lock(mutex);
                ++endsReached;
            }
            changed.notify_all();
            if (*end == StreamFault::Kind::Stall)
                connection.WaitUntilClientLeaves();
            return;
        }
        {
            std::lock_guard lock(mutex);
            ++framesSent;
        }
        changed.notify_all();
        if (pause.count() > 0 && !connection.Pause(pause))
            return;
    }
}

VideoStream::VideoStream(DeviceSimulator& device) : shared_(std::make_shared<Shared>()) {
    device.SetConnectionHandler("/Getvideo.cgi",
                                [shared = shared_](DeviceSimulator& d, const Request& r, Connection& c) {
                                    int on = 1;
                                    ::setsockopt(c.Handle(), SOL_TCP, TCP_NODELAY, &on, sizeof on);
                                    shared->Serve(d, r, c);
                                });
}

void VideoStream::SetReducedPictures(std::vector<Bytes> jpegs) {
    std::lock_guard lock(shared_->mutex);
    shared_->reducedPictures.clear();
    for (const Bytes& jpeg : jpegs)
        shared_->reducedPictures.push_back(DevicePicture(jpeg));
}

void VideoStream::SetPictures(std::vector<Bytes> jpegs) {
    std::lock_guard lock(shared_->mutex);
    shared_->pictures.clear();
    for (const auto& jpeg : jpegs)
        shared_->pictures.push_back(DevicePicture(jpeg));
    if (shared_->pictures.empty())
        shared_->pictures.push_back(FillerPicture(64));
}

void VideoStream::SetFrameRate(int framesPerSecond) {
    std::lock_guard lock(shared_->mutex);
    shared_->framesPerSecond = framesPerSecond;
}

void VideoStream::SetHeaderFields(const FrameHeaderValues& fields) {
    std::lock_guard lock(shared_->mutex);
    shared_->fields = fields;
}

void VideoStream::ScriptHeaderFields(std::size_t first, std::size_t last, const FrameHeaderValues& fields) {
    std::lock_guard lock(shared_->mutex);
    shared_->script.push_back({first, last, fields});
}

void VideoStream::SetSegmentSize(std::size_t bytes) {
    std::lock_guard lock(shared_->mutex);
    shared_->segmentSize = bytes;
}

void VideoStream::InjectFault(StreamFault fault) {
    std::lock_guard lock(shared_->mutex);
    shared_->faults.push_back(std::move(fault));
}

std::size_t VideoStream::FramesSent() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->framesSent;
}

bool VideoStream::WaitForFrames(std::size_t count, Millis timeout) const {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, timeout, [&] { return shared_->framesSent >= count; });
}

bool VideoStream::WaitForEnd(Millis timeout) const {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, timeout, [&] { return shared_->endsReached > 0; });
}

std::size_t VideoStream::StreamsStarted() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->streamsStarted;
}

}  // namespace devicesim
