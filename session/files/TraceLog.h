#pragma once
// trace.log: a rolling list of the newest short lines about logging in, the
// stream and its recovery, written by any thread; and DebugTrace.log, created
// empty at start-up and held open until exit.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace session {

// Sets up the trace log: its line limit and trace.log in the given folder.
// Called once at start-up, before any thread that writes exists.
void TraceLog(int maxLines, const std::filesystem::path& programFolder);
// Appends one line (the text followed by CR LF); keeps only the newest
// maxLines lines. Callable from any thread; a line that cannot be written is
// lost. A trace.log larger than kTraceLogMaxBytes (not one of ours) is moved
// aside, reported on standard error, and a new one begins.
void WriteTraceLog(std::string_view text);
inline constexpr std::uintmax_t kTraceLogMaxBytes = 1 << 20;
// Forgets the path; later writes are dropped.
void FreeTraceLog();

class DebugTraceLog {
public:
    DebugTraceLog() = default;
    DebugTraceLog(const DebugTraceLog&) = delete;
    DebugTraceLog& operator=(const DebugTraceLog&) = delete;
    ~DebugTraceLog() { Close(); }

    // Replaces DebugTrace.log in the folder with an empty file and keeps it
    // open; 1 on success, 0 when the file cannot be created.
    int Open(const std::filesystem::path& programFolder);
    // Closes the file; may run twice. Returns 1.
    int Close();

    bool IsOpen() const;

private:
    std::unique_ptr<std::mutex> m_hLock;
    int m_hFile = -1;
    std::string m_strPath;
};

}  // namespace session
