#include "session/DeviceCommandWorker.h"

#include <utility>

namespace session {

bool DeviceCommandWorker::Post(Job job) {
    std::lock_guard threadLock(threadMutex_);
    {
        std::lock_guard lock(mutex_);
        if (stopped_ || !job)
            return false;
        queue_.push_back(std::move(job));
    }
    wake_.Set();
    if (thread_.Attached())
        return true;
    if (thread_.Start([this](std::stop_token stop) { Run(stop); }))
        return true;
    std::lock_guard lock(mutex_);
    queue_.clear();
    return false;
}

void DeviceCommandWorker::Stop() {
    std::lock_guard threadLock(threadMutex_);
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        queue_.clear();
    }
    thread_.Stop();
    std::lock_guard lock(mutex_);
    running_ = false;
}

void DeviceCommandWorker::Restart() {
    std::lock_guard threadLock(threadMutex_);
    std::lock_guard lock(mutex_);
    stopped_ = false;
}

std::size_t DeviceCommandWorker::Pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size() + (running_ ? 1 : 0);
}

void DeviceCommandWorker::Run(std::stop_token stop) {
    while (!stop.stop_requested()) {
        Job job;
        {
            std::lock_guard lock(mutex_);
            if (!queue_.empty()) {
                job = std::move(queue_.front());
                queue_.pop_front();
                running_ = true;
            }
        }
        if (!job) {
            wake_.Wait(platform::kInfinite, stop);
            continue;
        }
        job(stop);
        std::lock_guard lock(mutex_);
        running_ = false;
    }
}

}  // namespace session
