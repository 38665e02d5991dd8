#include "simulator/DemoProfile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace devicesim {

namespace {

void Put16(Bytes& block, std::size_t offset, std::uint16_t value) {
    block[offset] = static_cast<std::uint8_t>(value);
    block[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(Bytes& block, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A text into its field, zero-padded (never longer than the field).
void PutText(Bytes& block, std::size_t offset, std::size_t width, std::string_view text) {
    std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(offset), width, 0);
    std::copy_n(text.begin(), std::min(text.size(), width), block.begin() + static_cast<std::ptrdiff_t>(offset));
}

void PutAddress(Bytes& block, std::size_t offset, std::array<std::uint8_t, 4> address) {
    std::copy(address.begin(), address.end(), block.begin() + static_cast<std::ptrdiff_t>(offset));
}

Bytes& Block(DeviceProfile& profile, int option) {
    Bytes& block = profile.blocks[option];
    block.assign(kOptionBlocks[static_cast<std::size_t>(option)].size, 0);
    return block;
}

// The local time `days` days and `minutes` minutes before `now`.
std::tm Before(std::time_t now, int days, int minutes) {
    const std::time_t then = now - static_cast<std::time_t>(days) * 86400 - static_cast<std::time_t>(minutes) * 60;
    std::tm local{};
    localtime_r(&then, &local);
    return local;
}

std::array<std::uint8_t, 6> DeviceTime(const std::tm& t) {
    return {static_cast<std::uint8_t>(t.tm_year + 1900 - 2000), static_cast<std::uint8_t>(t.tm_mon + 1),
            static_cast<std::uint8_t>(t.tm_mday), static_cast<std::uint8_t>(t.tm_hour),
            static_cast<std::uint8_t>(t.tm_min), static_cast<std::uint8_t>(t.tm_sec)};
}

// A 32-byte log record: event word, the time, channel, user and result.
Bytes LogEntry(std::uint32_t event, const std::tm& t, std::uint8_t channel = 0, std::string_view user = {}) {
    Bytes record(32, 0);
    Put32(record, 0, event);
    const auto time = DeviceTime(t);
    std::copy(time.begin(), time.end(), record.begin() + 4);
    record[10] = channel;
    std::copy_n(user.begin(), std::min<std::size_t>(user.size(), 15), record.begin() + 11);
    return record;
}

constexpr std::string_view kCameraNames[16] = {"GATE",  "YARD",  "DOOR",  "HALL",  "SHOP",  "DESK",  "STORE", "BACK",
                                               "PARK1", "PARK2", "ROOF",  "LIFT",  "STAIR", "OFFICE", "GARAGE", "FENCE"};

void SetNetwork(DeviceProfile& profile) {
    Bytes& inf = Block(profile, 0);
    PutText(inf, 24, 8, "R41T");  // the model token; capability word 0
    Bytes& ip = Block(profile, 1);
    PutAddress(ip, 4, {192, 168, 1, 64});
    PutAddress(ip, 8, {255, 255, 255, 0});
    PutAddress(ip, 12, {192, 168, 1, 1});
    Put16(ip, 16, 80);
    Bytes& dns = Block(profile, 3);
    PutAddress(dns, 4, {192, 168, 1, 1});
    Bytes& smtp = Block(profile, 4);
    smtp[4] = 1;  // the mail server asks for a login
    PutText(smtp, 8, 64, "mail.example.com");
    PutText(smtp, 72, 16, "dvr@example.com");
    PutText(smtp, 136, 48, "security@example.com");
    PutText(smtp, 136 + 48, 48, "owner@example.com");
    PutText(smtp, 376, 32, "dvr@example.com");
    PutText(smtp, 408, 32, "mail-secret");
    Bytes& ftp = Block(profile, 5);
    PutText(ftp, 4, 32, "ftp.example.com");
    PutText(ftp, 36, 16, "dvr");
    PutText(ftp, 52, 16, "ftp-secret");
    PutText(ftp, 68, 32, "/alarms");
    Put16(ftp, 100, 21);
    Bytes& pppoe = Block(profile, 6);  // the layout of firmware from "1052"
    PutText(pppoe, 4, 32, "shop@isp.example");
    PutText(pppoe, 36, 32, "dsl-secret");
    Bytes& system = Block(profile, 7);
    PutText(system, 20, 16, "Shop DVR");
    Bytes& sntp = Block(profile, 8);
    sntp[2] = 1;   // UTC+01:00
    sntp[5] = 30;  // its zone in the client's list
}

void SetAccounts(DeviceProfile& profile) {
    Bytes& secure = Block(profile, 2);
    secure[2] = 5;  // at most five users at once
    struct Account {
        std::string_view name, password;
        std::uint8_t level;
        std::int32_t minutes;  // -1: no limit
    };
    const Account accounts[] = {
        {profile.userName, profile.password, 30, -1},
        {"operator", "op-2468", 20, 1440},
        {"guest", "guest", 10, 60},
    };
    for (std::size_t n = 0; n < std::size(accounts); ++n) {
        PutText(secure, 8 + 16 * n, 16, accounts[n].name);
        PutText(secure, 88 + 16 * n, 16, accounts[n].password);
        secure[168 + n] = accounts[n].level;
        Put32(secure, 176 + 4 * n, static_cast<std::uint32_t>(accounts[n].minutes));
    }
}

void SetCameras(DeviceProfile& profile) {
    Bytes& live = Block(profile, 13);
    for (std::size_t c = 0; c < 16; ++c) {
        live[4 + c] = 128;   // brightness
        live[20 + c] = 128;  // contrast
        live[36 + c] = 128;  // hue
        live[52 + c] = 128;  // saturation
        PutText(live, 116 + 6 * c, 6, kCameraNames[c]);
        live[308 + c] = c < 4 ? 1 : 0;  // motion detection on the first four
        live[324 + c] = 8;
        live[340 + c] = 8;
        live[356 + c] = 8;
        live[372 + c] = 3;
        std::fill_n(live.begin() + static_cast<std::ptrdiff_t>(388 + 24 * c), 24, 0xFF);  // the whole picture
    }
    Bytes& rec = Block(profile, 15);
    for (std::size_t c = 0; c < 16; ++c)
        rec[20 + c] = 1;
    // Weekdays 08:00-18:00 and the weekend 10:00-14:00 (days: the client's list).
    constexpr std::uint8_t kDays[7] = {8, 9, 0, 0, 0, 0, 0};
    constexpr std::uint16_t kStarts[7] = {0x0800, 0x0A00};
    constexpr std::uint16_t kEnds[7] = {0x1200, 0x0E00};
    for (std::size_t r = 0; r < 7; ++r) {
        rec[87 + r] = kDays[r];
        Put16(rec, 94 + 2 * r, kStarts[r]);
        Put16(rec, 108 + 2 * r, kEnds[r]);
    }
    Bytes& rs485 = Block(profile, 10);
    for (std::size_t c = 0; c < 16; ++c) {
        rs485[12 + c] = static_cast<std::uint8_t>(c + 1);
        Put32(rs485, 60 + 4 * c, 2400);
    }
    rs485[28] = 1;  // channel 1's PTZ camera
    rs485[44] = 1;  // speaks Pelco
    Bytes& alarm = Block(profile, 11);
    alarm[2] = 3;  // pictures sent per alarm
    alarm[3] = 1;  // by e-mail
    Put16(alarm, 6, 10);
    Block(profile, 9);
    Block(profile, 14);
    Block(profile, 16);
}

void SetOnlineUsers(DeviceProfile& profile) {
    // The demo client itself (over the loopback), and an operator on the shop's network.
    Bytes online(2 * 24, 0);
    PutText(online, 0, 16, profile.userName);
    PutAddress(online, 16, {127, 0, 0, 1});
    online[20] = 30;  // level
    online[21] = 0;   // watching the DVR's own view
    online[22] = 0;   // full size
    online[23] = 1;
    PutText(online, 24, 16, "operator");
    PutAddress(online, 24 + 16, {192, 168, 1, 23});
    online[24 + 20] = 20;
    online[24 + 21] = 2;
    online[24 + 22] = 1;
    online[24 + 23] = 2;
    profile.blocks[kOptionOnline] = std::move(online);
}

void SetClock(DeviceProfile& profile, std::time_t now) {
    const std::tm t = Before(now, 0, 0);
    const std::pair<const char*, int> items[] = {{"YEAR", t.tm_year + 1900}, {"MONTH", t.tm_mon + 1},
                                                 {"DAY", t.tm_mday},          {"HOUR", t.tm_hour},
                                                 {"MINUTE", t.tm_min},        {"SECOND", t.tm_sec}};
    for (const auto& [key, value] : items)
        for (auto& item : profile.dvrDate)
            if (item.first == key)
                item.second = value;
}

void SetRecordings(DeviceProfile& profile, std::time_t now) {
    profile.disks = {0, 1};
    // Oldest first: three days of alarms, motion, manual clips and the daily schedule.
    for (int day = 3; day >= 0; --day) {
        auto& first = profile.recordedEvents[day >= 2 ? 0 : 1];
        first.push_back(SearchEntry(32, DeviceTime(Before(now, day, 600))));           // timer
        first.push_back(SearchEntry(16 + (day % 4), DeviceTime(Before(now, day, 420))));  // motion
        first.push_back(SearchEntry(static_cast<std::uint8_t>(day % 2), DeviceTime(Before(now, day, 300))));  // alarm
        first.push_back(SearchEntry(48, DeviceTime(Before(now, day, 120))));           // manual
    }
    profile.recordedEvents[1].push_back(SearchEntry(240, DeviceTime(Before(now, 0, 30))));  // system
}

void SetLog(DeviceProfile& profile, std::time_t now) {
    profile.log = {
        LogEntry(0x1, Before(now, 3, 900)),                       // POWER ON
        LogEntry(0x10000, Before(now, 3, 899)),                   // DHCP SUCCESS
        LogEntry(0x100, Before(now, 2, 600), 0, "operator"),      // REMOTE LOGIN
        LogEntry(0x2, Before(now, 2, 420), 7),                    // VIDEO LOSS
        LogEntry(0x8, Before(now, 1, 300)),                       // EMAIL FAILED
        LogEntry(0x20, Before(now, 1, 200), 0, "operator"),       // KEY LOCK
        LogEntry(0x40, Before(now, 1, 190), 0, "operator"),       // KEY UNLOCK
        LogEntry(0x100, Before(now, 0, 5), 0, profile.userName),  // REMOTE LOGIN
    };
}

}  // namespace

DeviceProfile DemoProfile(std::time_t now) {
    DeviceProfile profile;
    profile.productId = "R41T";
    profile.firmwareVersion = "1060";
    profile.hostName = "SHOP-DVR";
    profile.macAddress = "0012A5D3E401";
    profile.multiChannel = 1;
    profile.slaves = {{1, 1, 1}};  // a Pelco PTZ camera at address 1
    SetNetwork(profile);
    SetAccounts(profile);
    SetCameras(profile);
    SetOnlineUsers(profile);
    SetClock(profile, now);
    SetRecordings(profile, now);
    SetLog(profile, now);
    return profile;
}

}  // namespace devicesim
