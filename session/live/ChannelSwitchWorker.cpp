#include "session/live/ChannelSwitchWorker.h"

namespace session {

void ChannelSwitchWorker::SetSwitcher(Switcher switcher) {
    std::lock_guard lock(mutex_);
    switcher_ = std::move(switcher);
}

void ChannelSwitchWorker::Request(int channel) {
    {
        std::lock_guard lock(mutex_);
        if (!switcher_)
            return;
        pending_ = channel;
    }
    {
        std::lock_guard lock(threadMutex_);
        if (!thread_.Running()) {
            thread_.Join();  // a body that has returned leaves its thread attached
            thread_.Start([this](std::stop_token stop) { Run(std::move(stop)); });
        }
    }
    wake_.Set();
}

void ChannelSwitchWorker::Stop() {
    {
        std::lock_guard lock(threadMutex_);
        thread_.Stop();
    }
    std::lock_guard lock(mutex_);
    pending_ = 0;
}

void ChannelSwitchWorker::Run(std::stop_token stop) {
    while (wake_.Wait(platform::kInfinite, stop)) {
        int channel;
        Switcher switcher;
        {
            std::lock_guard lock(mutex_);
            channel = pending_;
            pending_ = 0;
            switcher = switcher_;
        }
        if (channel > 0 && switcher)
            switcher(channel, stop);
    }
}

}  // namespace session
