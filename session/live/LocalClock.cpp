#include "session/live/LocalClock.h"

namespace session {

std::tm LocalCalendarTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

SystemTime ToSystemTime(const std::tm& local) {
    SystemTime t;
    t.wYear = static_cast<std::uint16_t>(local.tm_year + 1900);
    t.wMonth = static_cast<std::uint16_t>(local.tm_mon + 1);
    t.wDayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
    t.wDay = static_cast<std::uint16_t>(local.tm_mday);
    t.wHour = static_cast<std::uint16_t>(local.tm_hour);
    t.wMinute = static_cast<std::uint16_t>(local.tm_min);
    t.wSecond = static_cast<std::uint16_t>(local.tm_sec);
    return t;
}

SystemTime LocalTimeNow() {
    SystemTime t = ToSystemTime(LocalCalendarTime());
    t.wDayOfWeek = 0;
    return t;
}

}  // namespace session
