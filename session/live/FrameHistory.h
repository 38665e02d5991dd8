#pragma once
// The ring of the last 20 compressed live frames from which the recorders
// write their files. The compose thread stores every frame (PushFrameHistory);
// a recorder that is handed a frame reads the newest entry while the ring
// stands still, because the next push first waits for that recorder's history
// semaphore.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stop_token>

#include "session/SystemTime.h"

namespace recording {

inline constexpr std::size_t kFrameHistoryCount = 20;
// One ring slot holds what one receive slot can hold.
inline constexpr std::size_t kFrameHistoryFrameBytes = 102400;
inline constexpr std::uint32_t kFrameHistoryMarker = 0x01234567;
inline constexpr std::size_t kScheduleBlockBytes = 160;

// The metadata of one ring slot; the recorders copy it into their frame tags.
struct FrameHistoryEntry {
    std::uint32_t dwFrameNumber = 0;  // 0 in the ring; a recorder numbers its own copy
    std::uint32_t dwLength = 0;       // JPEG bytes in the slot
    std::uint32_t dwMarker = 0;       // kFrameHistoryMarker
    std::uint8_t byReserved = 0;
    std::uint8_t byStatus = 0;
    std::uint8_t byChannel = 0;       // the selected-channel setting
    std::uint32_t dwVideoLoss = 0;    // 1: stored while the device reported video loss
    session::SystemTime stStoreTime;  // local time of the push; day of week and milliseconds 0
    std::uint32_t dwStreamTime = 0;   // the frame header's stream time
    std::uint16_t wWidth = 0;         // size of the decoded picture
    std::uint16_t wHeight = 0;

    friend bool operator==(const FrameHistoryEntry&, const FrameHistoryEntry&) = default;
};

class FrameHistory {
public:
    FrameHistory() = default;
    FrameHistory(const FrameHistory&) = delete;
    FrameHistory& operator=(const FrameHistory&) = delete;

    // Allocates the frame area, the entries and the schedule block, each only
    // when missing; false when one could not be had.
    bool Allocate();
    void Free();
    bool Allocated() const { return frames_ && entries_ && scheduleBlock_; }

    // Stores a frame at the write index and advances it (19 wraps to 0). The
    // entry is zeroed, then takes fields and the byte count. A frame larger
    // than a slot, or a ring not allocated, is refused and nothing changes.
    bool Store(std::span<const std::uint8_t> frame, const FrameHistoryEntry& fields);

    // The entry the next store fills; once the ring has wrapped, the oldest.
    std::uint16_t WriteIndex() const { return w_WriteIndex.load(); }
    // The entry stored last (the one before the write index).
    std::uint16_t NewestIndex() const;
    const FrameHistoryEntry& Entry(std::size_t index) const { return entries_[index]; }
    // Slot i's stored bytes (its entry's length of them).
    std::span<const std::uint8_t> Frame(std::size_t index) const;
    std::span<const std::uint8_t> ScheduleBlock() const { return {scheduleBlock_.get(), kScheduleBlockBytes}; }

    // Starts at 0 with the object and is never reset, not by a re-login either.
    std::atomic<std::uint16_t> w_WriteIndex{0};

private:
    std::unique_ptr<std::uint8_t[]> frames_;
    std::unique_ptr<FrameHistoryEntry[]> entries_;
    std::unique_ptr<std::uint8_t[]> scheduleBlock_;
};

class RecorderPort;

// Stores a frame in the history and hands it to the recorders, given in the
// order alarm, manual, schedule. First takes every recorder's history
// semaphore in that order (no time-out, but a stop request ends the wait);
// after the store tells each recorder the new entry's index, then releases
// the frame-ready semaphore of a recorder that is writing a file and gives
// the history semaphore straight back to one that is not. A recorder without
// semaphores takes no part.
// Returns false, with every semaphore it took given back and nothing stored,
// when the stop was requested or the frame was refused (see Store).
bool PushFrameHistory(FrameHistory& history, std::span<RecorderPort* const> recorders,
                      std::span<const std::uint8_t> frame, const FrameHistoryEntry& fields,
                      std::stop_token stop = {});

}  // namespace recording
