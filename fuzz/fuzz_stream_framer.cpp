// Device bytes into the frame-header parser and the stream framer: neither may
// read or write out of bounds, and a frame never outgrows its slot.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "session/live/StreamFramer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // First byte: layout and length rule; second: receive size.
    const auto layout = (data[0] & 1) ? session::HeaderLayout::New : session::HeaderLayout::Old;
    const bool lengthCountsHeader = data[0] & 2;
    const std::size_t piece = 1 + data[1];
    data += 2;
    size -= 2;

    session::FrameHeaderFields fields;
    session::ParseFrameHeader({data, size}, layout, lengthCountsHeader, fields);

    session::StreamFramer framer({layout, lengthCountsHeader});
    std::vector<std::uint8_t> slot(4096);
    session::ImageSlotInfo info;
    framer.StartFrame(slot, &info);
    std::size_t offset = 0;
    while (offset < size) {
        offset += framer.Feed({data + offset, std::min(piece, size - offset)});
        while (framer.Process() == session::StreamFramer::Result::FrameReady) {
            if (info.dwLength > slot.size())
                std::abort();
            framer.StartFrame(slot, &info);
        }
    }
    return 0;
}
