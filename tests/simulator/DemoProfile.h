#pragma once
// The device of the client's --demo run: a 16-channel DVR with current
// firmware, so every page of the client is there to try. Its settings read as
// a real installation's (names, addresses, accounts, cameras, schedules), a
// Pelco PTZ camera is linked to channel 1, its disks hold a few days of
// recordings, its event log has entries and the demo client is among its
// online users. The test profiles (ForProduct, with their filler bytes and
// faults) stay as they are.

#include <ctime>

#include "simulator/DeviceProfile.h"

namespace devicesim {

// Dates (recordings, log, the DVR's clock) are laid out around `now`.
DeviceProfile DemoProfile(std::time_t now = std::time(nullptr));

}  // namespace devicesim
