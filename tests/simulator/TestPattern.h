#pragma once
// The simulator's own live picture: a bright bar moving across a grey field.

#include <vector>

#include "simulator/DeviceProfile.h"

namespace devicesim {

// One JPEG per bar position, 352 x 288 unless another size is given.
std::vector<Bytes> MovingBarPictures(int width = 352, int height = 288);

struct PictureSize {
    int width = 0;
    int height = 0;
};
// The full or reduced picture of the profile's family and video standard
// (VIDEOMODE 1 is PAL).
PictureSize StandardPictureSize(const DeviceProfile& profile, bool reduced);

}  // namespace devicesim
