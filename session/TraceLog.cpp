#include "session/TraceLog.h"

namespace session {

void TraceLog(int maxLines, const std::filesystem::path& programFolder) {}
void WriteTraceLog(std::string_view text) {}
void FreeTraceLog() {}

int DebugTraceLog::Open(const std::filesystem::path& programFolder) { return 0; }
int DebugTraceLog::Close() { return 1; }
bool DebugTraceLog::IsOpen() const { return m_hFile >= 0; }

}  // namespace session
