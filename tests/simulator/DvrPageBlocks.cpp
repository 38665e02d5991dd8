#include "simulator/DvrPageBlocks.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace devicesim {

namespace {

void Put32(Bytes& block, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        block[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void Put16(Bytes& block, std::size_t offset, std::uint16_t value) {
    block[offset] = static_cast<std::uint8_t>(value);
    block[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

constexpr std::array<std::uint32_t, 7> kBauds{2400, 4800, 9600, 19200, 38400, 57600, 115200};

}  // namespace

void SetDvrPageRows(DeviceProfile& profile) {
    Bytes& live = profile.blocks[13];
    live.resize(kOptionBlocks[13].size);
    for (std::size_t c = 0; c < 16; ++c)
        live[84 + c] = static_cast<std::uint8_t>(c % 2);
    live[84 + 2] = 5;  // a covert value the lists lack

    Bytes& rec = profile.blocks[15];
    rec.resize(kOptionBlocks[15].size);
    for (std::size_t c = 0; c < 16; ++c)
        rec[20 + c] = static_cast<std::uint8_t>(c % 2);
    constexpr std::uint8_t kDays[7] = {1, 8, 10, 0, 9, 11, 3};
    constexpr std::uint16_t kStarts[7] = {0x0830, 0x0900, 0x1200, 0x0000, 0x1700, 0x0100, 0x1E00};
    constexpr std::uint16_t kEnds[7] = {0x1000, 0x111E, 0x1700, 0x0000, 0x1730, 0x0200, 0x1700};
    for (std::size_t r = 0; r < 7; ++r) {
        rec[87 + r] = kDays[r];
        Put16(rec, 94 + 2 * r, kStarts[r]);
        Put16(rec, 108 + 2 * r, kEnds[r]);
    }

    Bytes& rs485 = profile.blocks[10];
    rs485.resize(kOptionBlocks[10].size);
    for (std::size_t c = 0; c < 16; ++c) {
        rs485[12 + c] = static_cast<std::uint8_t>(c + 1);
        rs485[28 + c] = static_cast<std::uint8_t>(c % 2);
        rs485[44 + c] = static_cast<std::uint8_t>((c / 2) % 2);
        Put32(rs485, 60 + 4 * c, kBauds[c % kBauds.size()]);
    }
    rs485[28 + 0] = 3;                // a PTZ type the lists lack
    Put32(rs485, 60 + 4 * 1, 1200);  // a rate the speed list lacks

    for (std::size_t c = 0; c < 16; ++c) {
        live[308 + c] = static_cast<std::uint8_t>(c % 2);
        live[324 + c] = static_cast<std::uint8_t>(c % 16);
        live[340 + c] = static_cast<std::uint8_t>((c + 1) % 16);
        live[356 + c] = static_cast<std::uint8_t>((c + 2) % 16);
        live[372 + c] = static_cast<std::uint8_t>(3 * c);
        for (std::size_t j = 0; j < 24; ++j)
            live[388 + 24 * c + j] = static_cast<std::uint8_t>(c * 16 + j * 7);
    }
    Bytes& alarm = profile.blocks[11];
    alarm.resize(kOptionBlocks[11].size);
    alarm[2] = 4;    // pictures
    alarm[3] = 1;    // e-mail
    alarm[5] = 1;    // VGA pictures
    Put16(alarm, 6, 15);  // a time the DVR list lacks
    for (std::size_t c = 0; c < 16; ++c)
        alarm[8 + c] = static_cast<std::uint8_t>(c % 3);
    alarm[8 + 4] = 7;  // an alarm type the lists lack
}

void SetPeripherals(DeviceProfile& profile) {
    Bytes& peri = profile.blocks[16];
    peri.resize(kOptionBlocks[16].size);
    peri[2] = 25;
    peri[3] = 12;
    Put32(peri, 4, 1200);
    Put32(peri, 8, 9600);
    peri[12] = 1;
    peri[13] = 2;
}

void SetServerAlarm(DeviceProfile& profile) {
    Bytes& alarm = profile.blocks[11];
    alarm.resize(kOptionBlocks[11].size);
    alarm[2] = 12;   // pictures the list lacks
    alarm[3] = 3;    // e-mail and FTP
    alarm[5] = 2;    // 320 × 240 pictures
    Put16(alarm, 6, 1800);
    alarm[9] = 0x05;  // inputs 1 and 3 feed channel 2
}

}  // namespace devicesim
