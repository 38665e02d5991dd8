#pragma once
// The DVR's network backup on /NetworkBk.cgi: no status line, just blocks
// {u32 length, u32 type} - data blocks whose bytes are a known function of
// the request's query and their offset, then the end block - and
// /CancelNB.cgi, which ends the backups running for that cookie. A script
// bends the stream: busy first, end before data, blocks of other types,
// mixed block sizes, headers split over segments, a cut, a stall, a rate.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/DeviceSimulator.h"

namespace devicesim {

struct BackupScript {
    std::vector<std::size_t> blockSizes{2048};  // used in turn
    std::optional<std::uint64_t> totalBytes{};  // default: Size MB of the request
    bool busyFirst = false;                     // a busy block and nothing else
    bool endFirst = false;                      // the end block before any data
    // Every n-th block (0: none) is preceded by a block of another type with a length and no payload.
    std::size_t otherTypeEvery = 0;
    std::uint32_t otherType = 2;
    std::uint32_t otherLength = 100;
    std::size_t headerSegment = 0;             // block headers leave in pieces of this size (0: whole)
    std::optional<std::uint64_t> cutAfter{};   // close after this many bytes of the reply
    std::optional<std::uint64_t> stallAfter{}; // after this many bytes send nothing more until the client leaves
    std::uint64_t bytesPerSecond = 0;          // 0: as fast as the client reads
};

// The payload byte at `offset` of a backup asked for with `query` (the text after '?').
std::uint8_t BackupPayloadByte(std::string_view query, std::uint64_t offset);
// The payload bytes from `offset` on.
std::string BackupPayload(std::string_view query, std::uint64_t offset, std::size_t count);

class NetworkBackupService {
public:
    // Takes over /NetworkBk.cgi and /CancelNB.cgi on the device.
    explicit NetworkBackupService(DeviceSimulator& device);

    void SetScript(BackupScript script);
    // Backups begun, and those ended by a cancel.
    std::size_t Started() const;
    std::size_t Cancelled() const;
    // Backups still sending.
    std::size_t Running() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace devicesim
