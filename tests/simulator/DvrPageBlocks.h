#pragma once
// Page values of the simulated devices' blocks that the camera, timer,
// PTZ-device and peripheral pages read, with a few values those pages'
// lists do not know (covert 5, day code 11, time 30:00, PTZ type 3, baud
// 1200, peripheral model 12).

#include "simulator/DeviceProfile.h"

namespace devicesim {

// DVRLIVE covert flags, DVRREC recording flags and timer rows, RS485 PTZ rows.
void SetDvrPageRows(DeviceProfile& profile);
// PERI: device 1 model 25 at 1200 baud, device 2 model 12 at 9600 baud, IDs 1 and 2.
void SetPeripherals(DeviceProfile& profile);

}  // namespace devicesim
