#include "recording/recorders/SchRecord.h"

#include "recording/recorders/RecorderBase.h"

namespace recording {

bool CSchRecord::CreateResource() {
    ResetSemaphore(historySem_, 1);
    ResetSemaphore(readySem_, 0);
    stop_.Reset();
    done_.Reset();
    resources_ = true;
    return true;
}

std::array<ScheduleEntry, kScheduleEntryCount> CSchRecord::Schedule() const {
    std::lock_guard lock(lock_);
    return schedule_;
}

void CSchRecord::SetSchedule(const std::array<ScheduleEntry, kScheduleEntryCount>& entries) {
    std::lock_guard lock(lock_);
    schedule_ = entries;
}

}  // namespace recording
