#include "recording/netbackup/BlockReader.h"

#include <algorithm>
#include <cstring>

namespace recording {

BlockReader::BlockReader(Receive receive, std::size_t bufferSize)
    : receive_(std::move(receive)), buffer_(std::max<std::size_t>(bufferSize, 1)) {}

bool BlockReader::ReadExact(std::span<std::uint8_t> out) {
    std::size_t filled = 0;
    while (filled < out.size()) {
        if (begin_ == end_) {
            // A long payload goes straight into its place; short reads refill the buffer.
            const std::size_t missing = out.size() - filled;
            if (missing >= buffer_.size()) {
                const int got = receive_(out.data() + filled, static_cast<int>(std::min<std::size_t>(missing, 1 << 30)));
                if (got <= 0)
                    return false;
                filled += static_cast<std::size_t>(got);
                continue;
            }
            const int got = receive_(buffer_.data(), static_cast<int>(buffer_.size()));
            if (got <= 0)
                return false;
            begin_ = 0;
            end_ = static_cast<std::size_t>(got);
        }
        const std::size_t take = std::min(end_ - begin_, out.size() - filled);
        std::memcpy(out.data() + filled, buffer_.data() + begin_, take);
        begin_ += take;
        filled += take;
    }
    return true;
}

}  // namespace recording
