#pragma once
// The SSE build's Lanczos weights: the generic build's table look-up with every operation one
// single-precision operation.

#include <cstdint>

namespace resize::sse {

// Six weights per fraction f, in tap order: the tap distance d = (-2 - f) + j, +0 at |d| >= 3,
// else x = |d| x 100, n = x truncated, weight = (T[n + 1] - T[n]) x (x - n) + T[n] with T the
// LanczosTable. Fractions within 2^-23 of 0 or 1 give exactly the weights of 0 or 1 (d is
// rounded at magnitudes of 2 to 3). Writes 6 x count floats; nothing for a count of 0 or less.
void LanczosWeights(const float* fractions, std::int32_t count, float* weights);

}  // namespace resize::sse
