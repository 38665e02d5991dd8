#include "session/live/LocalClock.h"

namespace session {

std::tm LocalCalendarTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

SystemTime LocalTimeNow() {
    const std::tm local = LocalCalendarTime();
    SystemTime t;
    t.wYear = static_cast<std::uint16_t>(local.tm_year + 1900);
    t.wMonth = static_cast<std::uint16_t>(local.tm_mon + 1);
    t.wDay = static_cast<std::uint16_t>(local.tm_mday);
    t.wHour = static_cast<std::uint16_t>(local.tm_hour);
    t.wMinute = static_cast<std::uint16_t>(local.tm_min);
    t.wSecond = static_cast<std::uint16_t>(local.tm_sec);
    return t;
}

}  // namespace session
