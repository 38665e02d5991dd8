// What a local peer sends on the companion player's link, as any bytes: the first byte picks how
// the socket splits the rest. The frames taken (up to a length past the limit, which makes the
// link unusable) do not depend on the split, each re-encodes to the bytes it came from, and the
// notices among them leave the run's player state within its range.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "recording/player/PlayerHandOver.h"
#include "recording/player/PlayerMessages.h"
#include "session/AppData.h"

namespace {

struct Taken {
    std::vector<std::vector<std::uint8_t>> frames;  // each frame encoded again
    bool bad = false;
    bool operator==(const Taken&) const = default;
};

// The link's read loop: each received piece is appended, then every whole frame taken.
Taken TakeFrames(std::span<const std::uint8_t> stream, std::size_t piece, session::AppData& app) {
    Taken taken;
    std::vector<std::uint8_t> input;
    for (std::size_t at = 0; at < stream.size() && !taken.bad; at += piece) {
        const auto received = stream.subspan(at, std::min(piece, stream.size() - at));
        input.insert(input.end(), received.begin(), received.end());
        for (;;) {
            const std::size_t before = input.size();
            auto frame = recording::TakePlayerFrame(input, taken.bad);
            if (!frame)
                break;
            if (frame->data.size() > recording::kPlayerFrameMaxData)
                std::abort();
            auto encoded = recording::EncodePlayerFrame(*frame);
            if (encoded.size() != before - input.size())
                std::abort();
            taken.frames.push_back(std::move(encoded));
            recording::OnPlayerNotice(app, static_cast<recording::PlayerConnection>(frame->wParam & 3), *frame);
        }
    }
    return taken;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    static session::AppData app;
    app.h_PlayerWindow = 1;
    app.dw_PlayerBlockSize = 0;
    const std::span<const std::uint8_t> stream(data + 1, size - 1);
    const Taken whole = TakeFrames(stream, stream.size() + 1, app);
    if (!(TakeFrames(stream, 1 + data[0] % 64, app) == whole))
        std::abort();
    std::size_t consumed = 0;
    for (const auto& frame : whole.frames) {
        if (!std::equal(frame.begin(), frame.end(), stream.begin() + consumed))
            std::abort();
        consumed += frame.size();
    }
    const std::uint32_t blockSize = app.dw_PlayerBlockSize;
    if (blockSize != 0 && blockSize < 1024)
        std::abort();
    return 0;
}
