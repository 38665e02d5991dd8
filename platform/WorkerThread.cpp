#include "platform/WorkerThread.h"

#include <system_error>

namespace platform {

bool WorkerThread::Start(std::function<void(std::stop_token)> body) {
    if (thread_.joinable())
        return false;
    auto finished = std::make_shared<std::atomic<bool>>(false);
    auto published = std::make_shared<std::atomic<bool>>(false);
    try {
        thread_ = std::jthread([body = std::move(body), finished, published](std::stop_token stop) {
            // The body may use this object (to join itself, say) only once Start has stored the thread.
            published->wait(false);
            body(std::move(stop));
            finished->store(true);
        });
    } catch (const std::system_error&) {
        return false;
    }
    finished_ = std::move(finished);
    published->store(true);
    published->notify_all();
    return true;
}

void WorkerThread::Join() {
    if (!thread_.joinable())
        return;
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else
        thread_.join();
}

}  // namespace platform
