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

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& t : texts)
        pointers.push_back(t.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

pid_t SpawnProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& extraEnvironment) {
    std::vector<std::string> texts;
    texts.push_back(program.string());
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    auto argv = Pointers(texts);

    std::vector<std::string> environment;
    for (char** e = environ; e && *e; ++e) {
        const std::string_view entry(*e);
        const auto replaced = std::any_of(extraEnvironment.begin(), extraEnvironment.end(), [&](const std::string& x) {
            const auto eq = x.find('=');
            return entry.substr(0, entry.find('=')) == std::string_view(x).substr(0, eq);
        });
        if (!replaced)
            environment.emplace_back(entry);
    }
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    auto envp = Pointers(environment);

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0)
        return 0;
    // A process group of its own, so a Ctrl+C meant for the client leaves it alone.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::lock_guard lock(g_childrenMutex);
    CollectFinishedChildren();
    pid_t pid = 0;
    const int error = posix_spawn(&pid, texts.front().c_str(), nullptr, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return 0;
    g_children.push_back(pid);
    return pid;
}

bool StartProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    return SpawnProgram(program, arguments) != 0;
}

bool ProgramRunning(pid_t pid) {
    std::lock_guard lock(g_childrenMutex);
    const auto it = std::find(g_children.begin(), g_children.end(), pid);
    if (it == g_children.end())
        return false;
    if (::waitpid(pid, nullptr, WNOHANG) == 0)
        return true;
    g_children.erase(it);
    return false;
}

std::filesystem::path CompanionPlayerPath(const std::filesystem::path& programFolder) {
    return platform::FindShippedFile(programFolder, kCompanionPlayerName)
        .value_or(programFolder / std::string(kCompanionPlayerName));
}

bool StartCompanionPlayer(const std::filesystem::path& programFolder, const std::vector<std::string>& arguments) {
    return StartProgram(CompanionPlayerPath(programFolder), arguments);
}

}  // namespace session
