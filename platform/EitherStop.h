#pragma once
// One stop token that fires when either of two does: a job on a worker ends
// when the worker stops or when the window it works for goes away.

#include <functional>
#include <stop_token>
#include <utility>

namespace platform {

class EitherStop {
public:
    EitherStop(std::stop_token a, std::stop_token b)
        : onA_(std::move(a), [this] { source_.request_stop(); }), onB_(std::move(b), [this] { source_.request_stop(); }) {}
    EitherStop(const EitherStop&) = delete;
    EitherStop& operator=(const EitherStop&) = delete;

    std::stop_token Token() const { return source_.get_token(); }

private:
    std::stop_source source_;  // first: a callback may run while the others are made
    std::stop_callback<std::function<void()>> onA_, onB_;
};

}  // namespace platform
