#pragma once
// The PC's local date and time, to the second, in the device's field layout.

#include "session/SystemTime.h"

namespace session {

// Day of week and milliseconds are left 0, as the recorders and file names want.
SystemTime LocalTimeNow();

}  // namespace session
