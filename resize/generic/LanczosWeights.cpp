#include <cmath>

#include "resize/generic/LanczosTable.h"

namespace resize::generic {

namespace {
float WeightAtDistance(double distance) {
    const double magnitude = std::fabs(distance);
    if (!(magnitude < 3.0)) {  // at 3 or beyond (NaN too): outside the kernel
        return 0.0f;
    }
    const double u = 100.0 * magnitude;
    const auto n = static_cast<int>(u);
    const double low = LanczosTable[n];
    const double high = LanczosTable[n + 1];
    return static_cast<float>(low + (u - n) * (high - low));
}
}  // namespace

void LanczosWeights(const float* fractions, std::int32_t count, float* weights) {
    for (std::int32_t i = 0; i < count; ++i) {
        double distance = -2.0 - static_cast<double>(fractions[i]);
        for (int j = 0; j < 6; ++j) {
            weights[6 * i + j] = WeightAtDistance(distance);
            distance += 1.0;
        }
    }
}

}  // namespace resize::generic
