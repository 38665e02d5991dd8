#include "resize/sse/LanczosWeights.h"

#include <cmath>
#include <cstddef>

#include "resize/generic/LanczosTable.h"

namespace resize::sse {

void LanczosWeights(const float* fractions, std::int32_t count, float* weights) {
    for (std::int32_t i = 0; i < count; ++i) {
        const float d0 = -2.0f - fractions[i];
        for (int j = 0; j < 6; ++j) {
            const float d = d0 + static_cast<float>(j);
            float weight = 0.0f;
            // At 3 or beyond (and for NaN) the tap lies outside the kernel.
            if (std::fabs(d) < 3.0f) {
                const float x = std::fabs(d) * 100.0f;
                const auto n = static_cast<int>(x);
                const float t = x - static_cast<float>(n);
                const float difference = LanczosTable[n + 1] - LanczosTable[n];
                const float product = difference * t;
                weight = product + LanczosTable[n];
            }
            weights[6 * static_cast<std::ptrdiff_t>(i) + j] = weight;
        }
    }
}

}  // namespace resize::sse
