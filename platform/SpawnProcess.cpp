#include "platform/SpawnProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <algorithm>
#include <mutex>

extern char** environ;

namespace platform {

namespace {

std::mutex g_childrenLock;
std::vector<pid_t> g_children;

// Collects the children that have ended; called with g_childrenLock held.
void ReapEndedChildren() {
    std::erase_if(g_children, [](pid_t pid) {
        const pid_t r = ::waitpid(pid, nullptr, WNOHANG);
        return r == pid || r < 0;
    });
}

class SpawnAttributes {
public:
    SpawnAttributes() {
        ok_ = ::posix_spawnattr_init(&attr_) == 0;
        if (!ok_)
            return;
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        // Our own signal mask and ignored signals (SIGPIPE) are not the player's
        // business.
        ok_ = ::posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                                     POSIX_SPAWN_SETSIGDEF) == 0 &&
              ::posix_spawnattr_setpgroup(&attr_, 0) == 0 &&
              ::posix_spawnattr_setsigmask(&attr_, &none) == 0 &&
              ::posix_spawnattr_setsigdefault(&attr_, &all) == 0;
    }
    ~SpawnAttributes() { ::posix_spawnattr_destroy(&attr_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    bool ok() const { return ok_; }
    const posix_spawnattr_t* get() const { return &attr_; }

private:
    posix_spawnattr_t attr_;
    bool ok_ = false;
};

}  // namespace

bool SpawnDetachedProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    const std::string path = program.string();
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    SpawnAttributes attributes;
    if (!attributes.ok())
        return false;
    std::lock_guard lock(g_childrenLock);
    ReapEndedChildren();
    pid_t pid = 0;
    if (::posix_spawn(&pid, path.c_str(), nullptr, attributes.get(), argv.data(), environ) != 0)
        return false;
    g_children.push_back(pid);
    return true;
}

}  // namespace platform
