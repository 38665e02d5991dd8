#include "session/live/FrameHistory.h"

#include <cstring>
#include <new>

#include "session/RecorderPort.h"

namespace recording {

bool FrameHistory::Allocate() {
    if (!frames_)
        frames_.reset(new (std::nothrow) std::uint8_t[kFrameHistoryCount * kFrameHistoryFrameBytes]);
    if (!entries_)
        entries_.reset(new (std::nothrow) FrameHistoryEntry[kFrameHistoryCount]);
    if (!scheduleBlock_)
        scheduleBlock_.reset(new (std::nothrow) std::uint8_t[kScheduleBlockBytes]());
    return Allocated();
}

void FrameHistory::Free() {
    frames_.reset();
    entries_.reset();
    scheduleBlock_.reset();
}

bool FrameHistory::Store(std::span<const std::uint8_t> frame, const FrameHistoryEntry& fields) {
    if (!Allocated() || frame.size() > kFrameHistoryFrameBytes)
        return false;
    const std::uint16_t index = w_WriteIndex.load();
    FrameHistoryEntry& entry = entries_[index];
    entry = fields;
    entry.dwLength = static_cast<std::uint32_t>(frame.size());
    if (!frame.empty())
        std::memcpy(frames_.get() + index * kFrameHistoryFrameBytes, frame.data(), frame.size());
    w_WriteIndex.store(index + 1u < kFrameHistoryCount ? index + 1 : 0);
    return true;
}

std::uint16_t FrameHistory::NewestIndex() const {
    const std::uint16_t index = w_WriteIndex.load();
    return index == 0 ? kFrameHistoryCount - 1 : index - 1;
}

std::span<const std::uint8_t> FrameHistory::Frame(std::size_t index) const {
    return {frames_.get() + index * kFrameHistoryFrameBytes, entries_[index].dwLength};
}

bool PushFrameHistory(FrameHistory& history, std::span<RecorderPort* const> recorders,
                      std::span<const std::uint8_t> frame, const FrameHistoryEntry& fields,
                      std::stop_token stop) {
    std::size_t taken = 0;
    auto giveBack = [&] {
        for (std::size_t i = 0; i < taken; ++i)
            if (auto* sem = recorders[i]->HistorySem())
                sem->Release();
    };
    for (; taken < recorders.size(); ++taken) {
        platform::Semaphore* sem = recorders[taken]->HistorySem();
        if (sem && !sem->Wait(platform::kInfinite, stop)) {
            giveBack();
            return false;
        }
    }
    if (!history.Store(frame, fields)) {
        giveBack();
        return false;
    }
    const std::uint16_t index = history.NewestIndex();
    for (RecorderPort* recorder : recorders) {
        platform::Semaphore* historySem = recorder->HistorySem();
        if (!historySem)
            continue;
        recorder->FrameStored(index);
        platform::Semaphore* readySem = recorder->FrameReadySem();
        if (readySem && recorder->IsWriting())
            readySem->Release();
        else
            historySem->Release();
    }
    return true;
}

}  // namespace recording
