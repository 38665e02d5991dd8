#pragma once
// Reads the backup stream through a buffer of its own, so a block costs no
// receive call of its own and the result does not depend on how TCP splits
// the bytes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace recording {

class BlockReader {
public:
    // One receive into the area: the bytes received, or -1 for a failure, a
    // time-out, a stop or a closed connection.
    using Receive = std::function<int(std::uint8_t* area, int capacity)>;
    explicit BlockReader(Receive receive, std::size_t bufferSize = 65536);

    // Fills `out` whole; false when a receive fails first.
    bool ReadExact(std::span<std::uint8_t> out);

private:
    Receive receive_;
    std::vector<std::uint8_t> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

}  // namespace recording
