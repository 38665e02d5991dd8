#pragma once
// The sheet's record of the page-editable values as loaded, taken from the
// as-loaded block copies when the sheet opens. The send routines compare the
// pages' values with it; only differences are written and stored.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace config {

class ConfigWorkingSet;
struct DeviceFacts;

// Alarm times in seconds by list index: video servers, N5H and G66M; the DVR family.
inline constexpr std::array<std::uint16_t, 6> kAlarmSecondsServer{3, 15, 30, 60, 1800, 65535};
inline constexpr std::array<std::uint16_t, 4> kAlarmSecondsDvr{5, 10, 20, 40};
std::span<const std::uint16_t> AlarmSecondsFor(const DeviceFacts& facts);
// The peripheral speed lists' rates, in list order.
inline constexpr std::array<std::uint32_t, 7> kPeripheralBaudTable{2400, 4800, 9600, 19200, 38400, 57600, 115200};
// The DDNS provider keys by list index.
inline constexpr std::array<const char*, 4> kDdnsProviders{"custom", "dyndns", "statdns", "varuzarer"};
// Capability bit: the device only takes the "varuzarer" provider.
inline constexpr std::uint32_t kCapabilityVaruzarer = 0x80;

struct LoadedConfigSnapshot {
    // Block 1.
    std::uint32_t ipAddress = 0, subnetMask = 0, gateway = 0;
    std::uint16_t webPort = 0;
    std::uint8_t networkType = 0;
    // Block 6 in the device's layout.
    std::string pppoeUser, pppoePassword;
    // Block 3.
    std::uint32_t dnsServer = 0;
    std::uint8_t dnsAuto = 0;
    // Block 4: DDNS and mail.
    std::uint8_t ddnsEnable = 0;
    std::string ddnsUser, ddnsPassword, ddnsDomain;
    int ddnsProvider = 0;  // a key none of the four: 0
    std::string mailSender;  // joined with its continuation
    std::string smtpServer, smtpPassword, smtpUser;
    std::uint8_t smtpAuth = 0;
    // Block 5; a text too long for the page is taken as empty.
    std::string ftpServer, ftpUser, ftpPassword, ftpDirectory;
    std::uint16_t ftpPort = 0;
    // Block 8.
    std::string sntpServer;
    std::uint8_t timeZone = 0, timeMode = 0;
    std::uint8_t serverMode = 0;  // 1 automatic (no server name), 0 named
    // Block 11.
    int alarmTimeIndex = 0, postAlarmIndex = 0;
    std::uint8_t alarmReaction = 0, pictureSize = 0, videoSource = 0;
    // Block 2.
    std::uint8_t maxUsers = 0;
    // Block 16.
    std::array<std::uint8_t, 2> peripheralId{}, peripheralModelIndex{}, peripheralSpeedIndex{};
    // DVR family: block 7's name (cut after 8 characters) and block 15's timer rows;
    // video server from "1010": the whole name and block 10's channel names.
    std::string deviceName;
    std::array<std::uint8_t, 7> timerDay{};
    std::array<std::uint16_t, 7> timerStart{}, timerEnd{};
    std::array<std::string, 2> channelNames;

    // Takes the values in the sheet's order. Block 4's bytes 71, 87, 407 and 439
    // are zeroed in both copies first, so its texts end inside their fields.
    static LoadedConfigSnapshot Load(ConfigWorkingSet& set);
};

}  // namespace config
