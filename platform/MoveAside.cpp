#include "platform/MoveAside.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kMaxAsideNames = 1000;

std::string AsideSuffix(const std::tm& t) {
    char text[32];
    std::snprintf(text, sizeof text, ".bad-%02d%02d%02dT%02d%02d%02d", (t.tm_year + 1900) % 100,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

}  // namespace

FileResult MoveFileAside(const std::filesystem::path& path, const std::tm& localTime,
                         std::filesystem::path* moved) {
    const std::string base = path.string() + AsideSuffix(localTime);
    for (int n = 1; n <= kMaxAsideNames; ++n) {
        const std::string target = n == 1 ? base : base + "_" + std::to_string(n);
        // A hard link never replaces an existing name, which rename cannot promise.
        if (::link(path.c_str(), target.c_str()) != 0) {
            if (errno == EEXIST)
                continue;
            return {false, "cannot move " + path.string() + " aside: " + std::strerror(errno)};
        }
        if (::unlink(path.c_str()) != 0) {
            const std::string error = std::strerror(errno);
            ::unlink(target.c_str());
            return {false, "cannot move " + path.string() + " aside: " + error};
        }
        if (moved)
            *moved = target;
        return {true, {}};
    }
    return {false, "no free name to move " + path.string() + " aside"};
}

}  // namespace platform
