#pragma once
// A thread that is only ever stopped cooperatively: request, then join.

#include <atomic>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

namespace platform {

class WorkerThread {
public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread() { Stop(); }

    // Starts the body on a new thread; false (and nothing running) when the
    // system cannot create one or a thread is still attached.
    bool Start(std::function<void(std::stop_token)> body);

    void RequestStop() { thread_.request_stop(); }
    // Joins a finished or stopping thread. Called from the thread itself it
    // detaches instead, since a thread cannot wait for its own end.
    void Join();
    void Stop() {
        RequestStop();
        Join();
    }

    // Started and its body has not returned yet.
    bool Running() const { return finished_ && !finished_->load(); }
    bool Attached() const { return thread_.joinable(); }
    std::stop_token Token() const { return thread_.get_stop_token(); }

private:
    std::jthread thread_;
    std::shared_ptr<std::atomic<bool>> finished_;
};

}  // namespace platform
