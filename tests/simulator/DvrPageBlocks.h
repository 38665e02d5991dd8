#pragma once
// Page values of the simulated devices' blocks that the camera, timer,
// PTZ-device, peripheral, detection and alarm pages read, with a few values
// those pages' lists do not know (covert 5, day code 11, time 30:00, PTZ type
// 3, baud 1200, peripheral model 12, alarm type 7, 15 s on a DVR, 12 pictures).

#include "simulator/DeviceProfile.h"

namespace devicesim {

// DVRLIVE covert flags and motion detection, DVRREC recording flags and timer
// rows, RS485 PTZ rows, ALARM values (15 s, VGA pictures, alarm type 7 on channel 5).
void SetDvrPageRows(DeviceProfile& profile);
// PERI: device 1 model 25 at 1200 baud, device 2 model 12 at 9600 baud, IDs 1 and 2.
void SetPeripherals(DeviceProfile& profile);
// ALARM of a video server: 12 pictures, e-mail and FTP, 1800 s, video source 0x05.
void SetServerAlarm(DeviceProfile& profile);

}  // namespace devicesim
