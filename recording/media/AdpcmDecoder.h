#pragma once
// An IMA ADPCM decoder kept for completeness: nothing in the program plays
// ADPCM yet. Two 16-bit samples from each byte, the low nibble first.

#include <cstddef>
#include <cstdint>
#include <span>

namespace recording {

struct AdpcmState {
    std::int32_t stepIndex = 50;
    std::int32_t predictor = 0;
    friend bool operator==(const AdpcmState&, const AdpcmState&) = default;
};

// The decoder's own state, which goes on from call to call; starts at {50, 0}.
AdpcmState& DefaultAdpcmState();

// Decodes input.size() bytes into 2 × input.size() samples (as many as out
// holds); atStart receives the state before the first sample. Returns 0.
int DecodeADPCMC(std::span<const std::uint8_t> input, std::span<std::int16_t> out, AdpcmState& atStart,
                 AdpcmState& state = DefaultAdpcmState());

}  // namespace recording
