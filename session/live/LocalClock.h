#pragma once
// The PC's local date and time, to the second.

#include <ctime>

#include "session/SystemTime.h"

namespace session {

std::tm LocalCalendarTime();
// In the device's field layout; day of week and milliseconds are left 0, as
// the recorders and file names want.
SystemTime LocalTimeNow();
// The calendar time in the device's field layout, day of week included.
SystemTime ToSystemTime(const std::tm& local);

}  // namespace session
