#pragma once
// The one device-command worker of a run: device requests from the main window,
// the configuration sheet and the recording dialogs run here one after another,
// in the order they were posted, so the GUI thread never waits for a device.
// Each job gets the worker's stop token, which it hands to the command sender:
// Stop ends a request in flight at once and drops the jobs still waiting.

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>

#include "platform/SyncObjects.h"
#include "platform/WorkerThread.h"

namespace session {

class DeviceCommandWorker {
public:
    using Job = std::function<void(std::stop_token)>;

    DeviceCommandWorker() = default;
    ~DeviceCommandWorker() { Stop(); }
    DeviceCommandWorker(const DeviceCommandWorker&) = delete;
    DeviceCommandWorker& operator=(const DeviceCommandWorker&) = delete;

    // Queues a job; the thread starts with the first one. False once stopped,
    // or when no thread can be started (the job is then dropped).
    bool Post(Job job);
    // Asks the running job to stop, drops the waiting ones and joins. Posts
    // made afterwards are refused until Restart.
    void Stop();
    // Accepts jobs again after a Stop (a new session of the same run).
    void Restart();
    // Jobs queued or running.
    std::size_t Pending() const;

private:
    void Run(std::stop_token stop);

    mutable std::mutex mutex_;  // queue, flags
    std::deque<Job> queue_;
    bool running_ = false;  // a job is executing
    bool stopped_ = false;
    platform::Event wake_;
    std::mutex threadMutex_;  // start and stop of the thread; never taken by the thread
    platform::WorkerThread thread_;
};

}  // namespace session
