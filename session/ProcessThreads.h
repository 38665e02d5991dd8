#pragma once
// The threads that serve the logged-in device as a whole.
//
// The kernel thread takes one mailbox code at a time: it draws each decoded
// picture, recovers from a stream failure (tear-down, then a new login),
// starts the companion player on a downloaded file, reloads or stops the
// alarm sound (codes no part of the program posts), and ends at shut-down.
// Drawing and recovery run on this one thread, so they never overlap.
// The terminate and init threads tear the session down and build it up again
// on request, each answering through its reply event. The lifetime watchdog,
// one per session, counts the minutes of use the device granted and closes
// the application when they are used up.
//
// Each body returns its exit code (0) and ends at once on its stop request.

#include <cstdint>
#include <stop_token>
#include <string>

namespace session {

class AppData;
class SessionResources;

// Follows the downloaded file on the companion player's command line.
inline constexpr const char* kPlayerConvertArgument = "CONVERT=0";
// "Błąd uruchomienia pliku odtwarzacza"
inline constexpr unsigned kPlayerStartFailedMessage = 4108;
inline constexpr const char* kLifeTimeUpText = "Life time is Up.Application shutdown later";

int Process_KernelMessageThread(SessionResources& resources, std::stop_token stop);
int Process_Terminate_Thread(SessionResources& resources, std::stop_token stop);
int Process_Init_Thread(SessionResources& resources, std::stop_token stop);
int ConnectionLifetimeThread(SessionResources& resources, std::stop_token stop);

// Starts the companion player from the program folder on a downloaded file,
// with the file and "CONVERT=0" as its two arguments, and does not wait for
// it. False when it cannot be started.
bool RunDownloadedFileInPlayer(const AppData& app, const std::string& file);

// Whether the seconds counted have used up the granted minutes; a negative
// grant is unlimited.
bool LifetimeUsedUp(std::int32_t lifetimeMinutes, std::uint32_t secondsCounted);

}  // namespace session
