#pragma once
// The companion player: the recordings' playback program, which lives in the
// program folder beside the client and runs as a process of its own.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace session {

inline constexpr std::string_view kCompanionPlayerName = "ravelle";

// Starts `program` with each argument as one argument of its own (no shell
// splits or reads them), in its own process group, with this process's
// environment and current folder. False when it could not be started.
bool StartProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments);

// The player in `programFolder`, started with the arguments.
bool StartCompanionPlayer(const std::filesystem::path& programFolder, const std::vector<std::string>& arguments);

}  // namespace session
