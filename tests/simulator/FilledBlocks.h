#pragma once
// Configuration blocks a simulated device starts with: every byte a
// recognisable non-zero pattern, and each text field a short text padded
// with zeros, laid out as the device's product and firmware place them.

#include "simulator/DeviceProfile.h"

namespace devicesim {

// Fills every fixed block of the profile (ONLINE stays empty).
void FillBlocks(DeviceProfile& profile);

}  // namespace devicesim
