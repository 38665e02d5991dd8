#include "recording/player/BackupFileAppend.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace recording {

bool AppendToBackupFile(session::AppData& app, const std::filesystem::path& file,
                        std::span<const std::uint8_t> bytes, platform::Millis lockWait, std::stop_token stop) {
    const auto lock = app.h_NetworkBackupMutex.Get();
    const auto hold = lock ? lock->Acquire(lockWait, stop) : std::nullopt;
    if (lock && !hold)
        return false;
    // The download made the file; one that is gone since ends the download.
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A block that does not fit (a full disk) leaves nothing of itself.
    const off_t before = ::lseek(fd, 0, SEEK_END);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    if (written != bytes.size() && before >= 0)
        (void)!::ftruncate(fd, before);
    const bool closed = ::close(fd) == 0;
    return written == bytes.size() && closed;
}

}  // namespace recording
