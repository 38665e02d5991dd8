#pragma once
// The companion player: the recordings' playback program, which lives in the
// program folder beside the client and runs as a process of its own.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace session {

inline constexpr std::string_view kCompanionPlayerName = "ravelle";

// Starts `program` with each argument as one argument of its own (no shell
// splits or reads them), in its own process group, with this process's
// environment plus `extraEnvironment` ("NAME=value" entries) and current
// folder. Returns the process id, or 0 when it could not be started. Nothing
// has to wait for the process: finished children are reaped at the next start
// or the next ProgramRunning.
pid_t SpawnProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& extraEnvironment = {});
bool StartProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments);

// True while a process started by SpawnProgram has not ended; an ended one is reaped.
bool ProgramRunning(pid_t pid);

// The player as shipped files are found: in `programFolder`, else in the
// installed data folders (the program folder's path when neither has it).
std::filesystem::path CompanionPlayerPath(const std::filesystem::path& programFolder);

// The player (CompanionPlayerPath), started with the arguments.
bool StartCompanionPlayer(const std::filesystem::path& programFolder, const std::vector<std::string>& arguments);

}  // namespace session
