#pragma once
// The simulator's own live picture: a bright bar moving across a grey field.

#include <vector>

#include "simulator/DeviceProfile.h"

namespace devicesim {

// One JPEG per bar position, 352 x 288.
std::vector<Bytes> MovingBarPictures();

}  // namespace devicesim
