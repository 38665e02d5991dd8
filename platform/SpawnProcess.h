#pragma once
// Starting another program without waiting for it.

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// Starts the program with the arguments, each handed over as one argument
// whatever it contains (argv[0] is the program's path), in a process group of
// its own, with this process's environment and default signal handling. False
// when the program cannot be started (missing, not executable). Children that
// have ended are reaped on later calls, so none lingers for long.
bool SpawnDetachedProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments);

}  // namespace platform
