#include "simulator/FilledBlocks.h"

#include <cstddef>
#include <vector>

#include "simulator/DvrPageBlocks.h"
#include "simulator/PageSettings.h"

namespace devicesim {

namespace {

struct TextSpot {
    int option;
    std::size_t offset;
    std::size_t width;
    std::size_t count = 1;
    std::size_t length = 0;  // characters written (0: half the width)
};

bool FirmwareAtLeast(const DeviceProfile& profile, const char* reference) {
    // Four-character versions compare character by character; others pass.
    return profile.firmwareVersion.size() != 4 || profile.firmwareVersion >= reference;
}

std::vector<TextSpot> TextSpots(const DeviceProfile& profile) {
    const bool shortOrder = profile.UsesShortBlockOrder();
    std::vector<TextSpot> spots{
        {0, 24, 8},      {2, 8, 16, 5},   {2, 88, 16, 5},  {4, 8, 64},       {4, 72, 16},
        {4, 88, 16},     {4, 104, 16},    {4, 120, 16},    {4, 136, 48, 4},  {4, 328, 48},
        {4, 376, 32},    {4, 408, 32},    {5, 4, 32},      {5, 36, 16},      {5, 52, 16},
        {5, 68, 32},     {7, 20, 16},     {8, 8, 28},      {13, 116, 6, 16, 3},
    };
    if (FirmwareAtLeast(profile, shortOrder ? "1007" : "1052"))
        spots.insert(spots.end(), {{6, 4, 32}, {6, 36, 32}});
    else
        spots.insert(spots.end(), {{6, 36, 16}, {6, 52, 16}});
    if (shortOrder && FirmwareAtLeast(profile, "1003"))
        spots.push_back({7, 4, 16});  // the sender's continuation, ending before the name
    if (profile.productId == "R47T" && FirmwareAtLeast(profile, "1010"))
        spots.push_back({10, 44, 8, 2, 3});  // channel names
    return spots;
}

}  // namespace

void FillBlocks(DeviceProfile& profile) {
    for (int option = 0; option < kOptionAll; ++option) {
        if (option == kOptionOnline)
            continue;
        Bytes block(kOptionBlocks[option].size);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<std::uint8_t>(1 + (i * 37 + static_cast<std::size_t>(option) * 11) % 251);
        profile.blocks[option] = std::move(block);
    }
    for (const TextSpot& spot : TextSpots(profile)) {
        Bytes& block = profile.blocks[spot.option];
        const std::size_t length = spot.length ? spot.length : spot.width / 2;
        for (std::size_t n = 0; n < spot.count; ++n) {
            const std::size_t start = spot.offset + n * spot.width;
            for (std::size_t i = 0; i < spot.width; ++i)
                block[start + i] =
                    i < length ? static_cast<std::uint8_t>('A' + (spot.option + start + i) % 26) : 0;
        }
    }
    // The capability word steers the client (the DDNS provider among others): none.
    profile.SetCapability(0);
    if (!profile.UsesShortBlockOrder())
        SetDvrPageRows(profile);
    if (profile.productId == "R47T") {
        SetPeripherals(profile);
        SetServerAlarm(profile);
    }
    if (profile.productId == "R47T" || profile.productId == "G66M")
        SetSntp(profile);  // time from a server, zone 30, "ntp.lan"
}

}  // namespace devicesim
