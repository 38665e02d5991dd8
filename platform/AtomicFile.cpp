#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

FileResult Fail(const std::string& what) {
    return {false, what + ": " + std::strerror(errno)};
}

// Writes the content to a new temporary file beside the path; on success its
// name is left in temp for the caller to rename or link.
FileResult WriteTemporary(const std::filesystem::path& path,
                          const std::function<bool(std::FILE*)>& writer, std::string& temp) {
    temp = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return Fail("cannot create a temporary file beside " + path.string());
    // mkstemp makes the file private; keep the old file's mode, or an ordinary one.
    struct stat old {};
    ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(temp.c_str());
        return Fail("cannot open " + temp);
    }
    const bool written = writer(file);
    const bool flushed = written && std::fflush(file) == 0 && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !flushed || !closed) {
        ::unlink(temp.c_str());
        errno = savedErrno;
        return Fail(written ? "cannot write " + path.string() : "writing " + path.string() + " failed");
    }
    return {true, {}};
}

// A writer that puts the whole content into the file.
std::function<bool(std::FILE*)> ContentWriter(std::string_view content) {
    return [content](std::FILE* f) { return std::fwrite(content.data(), 1, content.size(), f) == content.size(); };
}

}  // namespace

FileResult ReplaceFileAtomically(const std::filesystem::path& path,
                                 const std::function<bool(std::FILE*)>& writer) {
    std::string temp;
    if (auto result = WriteTemporary(path, writer, temp); !result)
        return result;
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const auto result = Fail("cannot replace " + path.string());
        ::unlink(temp.c_str());
        return result;
    }
    return {true, {}};
}

FileResult CreateFileAtomically(const std::filesystem::path& path, std::string_view content) {
    std::string temp;
    auto result = WriteTemporary(path, ContentWriter(content), temp);
    if (!result)
        return result;
    // A hard link fails with EEXIST instead of replacing, which rename cannot promise.
    if (::link(temp.c_str(), path.c_str()) != 0) {
        const bool exists = errno == EEXIST;
        result = Fail("cannot create " + path.string());
        result.exists = exists;
    }
    ::unlink(temp.c_str());
    return result;
}

FileResult ReplaceFileAtomically(const std::filesystem::path& path, std::string_view content) {
    return ReplaceFileAtomically(path, ContentWriter(content));
}

FileResult ReadWholeFile(const std::filesystem::path& path, std::string& content, std::uintmax_t maxBytes) {
    content.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return Fail("cannot open " + path.string());
    FileResult tooLarge{false, path.string() + " is larger than " + std::to_string(maxBytes) + " bytes"};
    tooLarge.tooLarge = true;
    struct stat info {};
    if (::fstat(::fileno(f), &info) == 0 && static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        std::fclose(f);
        return tooLarge;
    }
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        if (n > maxBytes - content.size()) {  // grew while being read
            std::fclose(f);
            content.clear();
            return tooLarge;
        }
        content.append(buffer, n);
    }
    const bool bad = std::ferror(f);
    std::fclose(f);
    if (bad) {
        content.clear();
        return Fail("cannot read " + path.string());
    }
    return {true, {}};
}

}  // namespace platform
