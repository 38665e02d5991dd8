#include "config/dvr/RecordRateTable.h"

namespace config {

namespace {

// Step 0 by channel row, standard and mode.
constexpr std::uint16_t kBaseRates[3][2][3] = {
    {{120, 240, 480}, {100, 200, 400}},
    {{60, 120, 240}, {50, 100, 200}},
    {{30, 60, 120}, {25, 50, 100}},
};

}  // namespace

int RecordRateRow(int channelCount) {
    switch (channelCount) {
    case 16: return 0;
    case 8: return 1;
    default: return 2;
    }
}

std::optional<std::array<std::uint16_t, 4>> RecordRates(int channelCount, int videoType, int recordMode) {
    if (videoType < 0 || videoType > 1 || recordMode < 0 || recordMode > 2)
        return std::nullopt;
    const std::uint16_t base = kBaseRates[RecordRateRow(channelCount)][videoType][recordMode];
    return std::array<std::uint16_t, 4>{base, static_cast<std::uint16_t>(base / 2),
                                        static_cast<std::uint16_t>(base / 4), static_cast<std::uint16_t>(base / 8)};
}

}  // namespace config
