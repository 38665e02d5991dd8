#pragma once
// Waits until another thread of this process sleeps in the kernel, as /proc
// shows it: a test that must cut a blocking call short first sees the thread
// inside it, where a fixed pause only hopes it got there.

#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>

#include "support/WaitUntil.h"

namespace testutil {

// A thread's kernel id, published once the thread runs; 0 before.
class ThreadId {
public:
    // Called by the thread itself.
    void Publish() { tid_ = ::gettid(); }
    pid_t Get() const { return tid_; }

private:
    std::atomic<pid_t> tid_{0};
};

// The scheduler state letter of the thread ('R' running, 'S' sleeping, ...).
inline char ThreadState(pid_t tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto end = line.rfind(')');  // the name in parentheses may hold anything
    return end != std::string::npos && end + 2 < line.size() ? line[end + 2] : '?';
}

// True once the published thread sleeps; false when it does not after the limit.
inline bool WaitUntilSleeping(const ThreadId& thread,
                              std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    return WaitUntil([&] { return thread.Get() != 0 && ThreadState(thread.Get()) == 'S'; }, limit);
}

}  // namespace testutil
