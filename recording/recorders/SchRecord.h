#pragma once
// The schedule recorder: its hand-over semaphores, events and ten schedule
// windows, which the schedule pages edit. It has no thread (nothing starts
// one), so it takes part in every push without ever being active.

#include <array>
#include <cstdint>
#include <mutex>

#include "platform/SyncObjects.h"
#include "session/RecorderPort.h"

namespace recording {

struct ScheduleEntry {
    std::uint32_t dwStartTime = 0;  // calendar time values
    std::uint32_t dwEndTime = 0;
    std::uint32_t dwEnabled = 0;
    friend bool operator==(const ScheduleEntry&, const ScheduleEntry&) = default;
};
inline constexpr std::size_t kScheduleEntryCount = 10;

class CSchRecord : public RecorderPort {
public:
    bool CreateResource() override;
    void CloseResource() override { resources_ = false; }
    bool CreateThread(std::uint8_t) override { return false; }
    platform::Semaphore* HistorySem() override { return resources_ ? &historySem_ : nullptr; }
    platform::Semaphore* FrameReadySem() override { return resources_ ? &readySem_ : nullptr; }

    std::array<ScheduleEntry, kScheduleEntryCount> Schedule() const;
    void SetSchedule(const std::array<ScheduleEntry, kScheduleEntryCount>& entries);

private:
    platform::Semaphore historySem_{1, 1};
    platform::Semaphore readySem_{0, 1};
    platform::Event stop_, done_;
    std::atomic<bool> resources_{false};
    mutable std::mutex lock_;
    std::array<ScheduleEntry, kScheduleEntryCount> schedule_{};
};

}  // namespace recording
