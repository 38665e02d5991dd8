#include "session/files/TraceLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <system_error>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/MoveAside.h"
#include "session/live/LocalClock.h"

namespace session {

namespace {

// The trace log's state; the mutex also serialises every writer's read and
// rewrite of the file, so lines of different threads never mix.
struct TraceLogState {
    std::mutex lock;
    std::filesystem::path path;  // empty: not set up, or freed
    int maxLines = 300;
};

TraceLogState& State() {
    static TraceLogState state;
    return state;
}

// The file's lines, each with its own line end; a last line cut short of one
// gets CR LF, so the next line starts on a line of its own.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end + 1));
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

void TraceLog(int maxLines, const std::filesystem::path& programFolder) {
    auto& state = State();
    std::lock_guard guard(state.lock);
    state.maxLines = maxLines > 0 ? maxLines : 1;
    state.path = programFolder / "trace.log";
}

void WriteTraceLog(std::string_view text) {
    auto& state = State();
    std::lock_guard guard(state.lock);
    if (state.path.empty())
        return;
    std::string old;
    if (const auto read = platform::ReadWholeFile(state.path, old, kTraceLogMaxBytes); read.tooLarge) {
        std::filesystem::path aside;
        if (!platform::MoveFileAside(state.path, LocalCalendarTime(), &aside))
            return;  // the line is lost, the file kept
        std::fprintf(stderr, "%s; moved to %s\n", read.error.c_str(), aside.c_str());
    } else if (std::error_code ec; !read && std::filesystem::exists(state.path, ec)) {
        return;  // unreadable: rewriting would lose its lines
    }
    const auto lines = SplitLines(old);
    // Keep the newest lines so that the file ends with maxLines lines, even
    // when it held more than that.
    const std::size_t keep = std::min(lines.size(), static_cast<std::size_t>(state.maxLines - 1));
    std::string content;
    for (std::size_t i = lines.size() - keep; i < lines.size(); ++i) {
        content += lines[i];
        if (content.back() != '\n')
            content += "\r\n";
    }
    content += text;
    content += "\r\n";
    platform::ReplaceFileAtomically(state.path, content);  // a failed write loses only this line
}

void FreeTraceLog() {
    auto& state = State();
    std::lock_guard guard(state.lock);
    state.path.clear();
}

int DebugTraceLog::Open(const std::filesystem::path& programFolder) {
    m_strPath = (programFolder / "DebugTrace.log").string();
    if (m_hFile < 0) {
        m_hFile = ::open(m_strPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (m_hFile < 0)
            return 0;
    }
    if (!m_hLock)
        m_hLock = std::make_unique<std::mutex>();
    return 1;
}

int DebugTraceLog::Close() {
    if (m_hFile >= 0) {
        ::close(m_hFile);
        m_hFile = -1;
    }
    m_hLock.reset();
    return 1;
}

bool DebugTraceLog::IsOpen() const { return m_hFile >= 0; }

}  // namespace session
