#pragma once
// The recording rates a DVR offers, in frames a second: by its channel count,
// video standard (0 the 30-frame, 1 the 25-frame one) and recording mode
// (0 frame, 1 field, 2 CIF), four steps each halving the one before.

#include <array>
#include <cstdint>
#include <optional>

namespace config {

// 0 for 16 channels, 1 for 8, 2 for any other count.
int RecordRateRow(int channelCount);
// The four rates; none for a standard above 1 or a mode above 2.
std::optional<std::array<std::uint16_t, 4>> RecordRates(int channelCount, int videoType, int recordMode);

}  // namespace config
