// The network backup's "/NetworkBk.cgi" reply as any bytes: the first byte picks the reader's
// buffer size, the second how the connection splits what follows, and the rest is the block
// stream. The blocks read (data payloads until the end or busy block, or a payload over the
// limit) do not depend on the split or the buffer, no payload passes the limit, and the
// percentage of any total and size stays defined.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "recording/netbackup/BackupBlock.h"
#include "recording/netbackup/BlockReader.h"

namespace {

struct Outcome {
    std::vector<std::uint8_t> data;  // the data payloads, in order
    std::uint32_t last = 0;          // the block type that ended the read; 0 when the bytes ran out
    bool operator==(const Outcome&) const = default;
};

// The download thread's loop, without the file and the dialog.
Outcome ReadBlocks(std::span<const std::uint8_t> stream, std::size_t bufferSize, std::size_t split) {
    std::size_t at = 0;
    recording::BlockReader reader(
        [&](std::uint8_t* area, int capacity) {
            const std::size_t n = std::min({stream.size() - at, std::size_t(capacity), split});
            if (n == 0)
                return -1;
            std::copy_n(stream.data() + at, n, area);
            at += n;
            return int(n);
        },
        bufferSize);
    Outcome outcome;
    std::vector<std::uint8_t> payload;
    for (;;) {
        std::uint8_t head[recording::kBackupBlockHeaderSize];
        if (!reader.ReadExact(head))
            return outcome;
        const auto block = recording::ReadBackupBlockHeader(head);
        if (block.type == recording::BACKUP_BLOCK_DATA) {
            if (block.length > recording::kBackupBlockLimit) {
                outcome.last = block.type;
                return outcome;
            }
            payload.resize(block.length);
            if (!reader.ReadExact(payload))
                return outcome;
            outcome.data.insert(outcome.data.end(), payload.begin(), payload.end());
        } else if (block.type == recording::BACKUP_BLOCK_END || block.type == recording::BACKUP_BLOCK_BUSY) {
            outcome.last = block.type;
            return outcome;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t bufferSize = 1 + data[0] % 64;
    const std::size_t split = 1 + data[1] % 32;
    const std::span<const std::uint8_t> stream(data + 2, size - 2);

    const Outcome whole = ReadBlocks(stream, 65536, stream.size() + 1);
    if (whole.data.size() > stream.size())
        std::abort();
    if (!(ReadBlocks(stream, bufferSize, split) == whole))
        std::abort();

    const std::int32_t sizes[] = {0, 1, 5, -1, 2047, INT32_MAX, INT32_MIN};
    for (const std::int32_t sizeMb : sizes)
        recording::BackupPercentage(whole.data.size(), sizeMb);
    return 0;
}
