#include "session/tools/CompanionPlayer.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <mutex>

#include "platform/ProgramFolder.h"

extern char** environ;

namespace session {
namespace {

// Children that may still run. Nothing waits for them, so finished ones are
// collected at the next start instead of staying behind as zombies.
std::mutex g_childrenMutex;
std::vector<pid_t> g_children;

void CollectFinishedChildren() {
    std::erase_if(g_children, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

}  // namespace

bool StartProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> texts;
    texts.push_back(program.string());
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& t : texts)
        argv.push_back(t.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0)
        return false;
    // A process group of its own, so a Ctrl+C meant for the client leaves it alone.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::lock_guard lock(g_childrenMutex);
    CollectFinishedChildren();
    pid_t pid = 0;
    const int error = posix_spawn(&pid, texts.front().c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return false;
    g_children.push_back(pid);
    return true;
}

bool StartCompanionPlayer(const std::filesystem::path& programFolder, const std::vector<std::string>& arguments) {
    const auto program = platform::FindShippedFile(programFolder, kCompanionPlayerName);
    return StartProgram(program.value_or(programFolder / std::string(kCompanionPlayerName)), arguments);
}

}  // namespace session
