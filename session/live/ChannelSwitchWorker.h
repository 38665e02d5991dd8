#pragma once
// Runs the channel switches that frame headers ask for (a motion alarm shows
// its channel) on a thread of their own: a switch sends a device command,
// which must never hold up the stream's receive thread. Requests do not
// queue: while a switch runs, a newer request replaces the waiting one.

#include <functional>
#include <mutex>
#include <stop_token>

#include "platform/SyncObjects.h"
#include "platform/WorkerThread.h"

namespace session {

class ChannelSwitchWorker {
public:
    // Switches the displayed channel (1-16); the stop token ends a command in flight.
    using Switcher = std::function<void(int channel, std::stop_token stop)>;

    ChannelSwitchWorker() = default;
    ~ChannelSwitchWorker() { Stop(); }
    ChannelSwitchWorker(const ChannelSwitchWorker&) = delete;
    ChannelSwitchWorker& operator=(const ChannelSwitchWorker&) = delete;

    // Without a switcher, requests are dropped.
    void SetSwitcher(Switcher switcher);
    // Never blocks; starts the worker at the first request.
    void Request(int channel);
    // Ends the worker (a running switch is asked to stop) and drops a waiting request.
    void Stop();

private:
    void Run(std::stop_token stop);

    std::mutex mutex_;  // switcher and pending request
    Switcher switcher_;
    int pending_ = 0;  // 0: nothing waiting
    platform::Event wake_;
    std::mutex threadMutex_;  // start and stop of the thread; never taken by the thread
    platform::WorkerThread thread_;
};

}  // namespace session
