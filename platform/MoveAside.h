#pragma once
// A file we cannot read as what it should be is never deleted or written over:
// it is renamed beside itself, "<name>.bad-<YYMMDD>T<hhmmss>", so a person can
// still look at it.

#include <ctime>
#include <filesystem>

#include "platform/AtomicFile.h"

namespace platform {

// Renames the file to its set-aside name for the local time; an existing file
// of that name is kept and "_2", "_3" ... is added instead. On success, moved
// receives the new path.
FileResult MoveFileAside(const std::filesystem::path& path, const std::tm& localTime,
                         std::filesystem::path* moved = nullptr);

}  // namespace platform
