#include "recording/media/AdpcmDecoder.h"

#include <algorithm>
#include <array>

namespace recording {

namespace {

constexpr std::array<std::int32_t, 89> kStepTable = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

constexpr std::array<std::int32_t, 16> kIndexTable = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

std::int16_t DecodeNibble(std::uint8_t code, AdpcmState& s) {
    const std::int32_t step = kStepTable[static_cast<std::size_t>(s.stepIndex)];
    const std::int32_t magnitude = code & 7;
    const std::int32_t diff = step * (2 * magnitude + 1) / 8;
    s.predictor = std::clamp(s.predictor + ((code & 8) ? -diff : diff), -32768, 32767);
    s.stepIndex = std::clamp(s.stepIndex + kIndexTable[code], 0, 88);
    return static_cast<std::int16_t>(s.predictor);
}

}  // namespace

AdpcmState& DefaultAdpcmState() {
    static AdpcmState state;
    return state;
}

int DecodeADPCMC(std::span<const std::uint8_t> input, std::span<std::int16_t> out, AdpcmState& atStart,
                 AdpcmState& state) {
    // A state from outside is brought into the tables' range first.
    state.stepIndex = std::clamp(state.stepIndex, 0, 88);
    atStart = state;
    std::size_t n = 0;
    for (std::uint8_t byte : input) {
        for (std::uint8_t code : {static_cast<std::uint8_t>(byte & 0x0F), static_cast<std::uint8_t>(byte >> 4)}) {
            if (n >= out.size())
                return 0;
            out[n++] = DecodeNibble(code, state);
        }
    }
    return 0;
}

}  // namespace recording
