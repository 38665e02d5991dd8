#include "config/sheet/LoadedConfigSnapshot.h"

#include <algorithm>

#include "config/ConfigWorkingSet.h"
#include "session/DeviceFamily.h"

namespace config {

namespace {

template <typename Table, typename Code>
int IndexIn(const Table& table, Code code) {
    const auto found = std::find(table.begin(), table.end(), code);
    return found == table.end() ? 0 : static_cast<int>(found - table.begin());
}

// The first `count` characters (UTF-8 aware).
std::string FirstChars(const std::string& text, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == count)
            return text.substr(0, i);
    }
    return text;
}

std::size_t CharCount(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string TextOrEmpty(std::string text, std::size_t limit) { return CharCount(text) > limit ? std::string() : text; }

template <typename T>
T Narrow(std::int64_t value) {
    return static_cast<T>(value);
}

}  // namespace

std::span<const std::uint16_t> AlarmSecondsFor(const DeviceFacts& facts) {
    if (facts.IsDvr())
        return kAlarmSecondsDvr;
    return kAlarmSecondsServer;
}

LoadedConfigSnapshot LoadedConfigSnapshot::Load(ConfigWorkingSet& set) {
    const DeviceFacts& facts = set.Facts();
    const auto number = [&](std::uint8_t option, std::string_view name, std::size_t index = 0) {
        return set.Number(option, name, index);
    };
    const auto text = [&](std::uint8_t option, std::string_view name, std::size_t index = 0) {
        return set.Text(option, name, index);
    };
    LoadedConfigSnapshot s;
    s.ipAddress = Narrow<std::uint32_t>(number(1, "by_IpAddress"));
    s.subnetMask = Narrow<std::uint32_t>(number(1, "by_SubnetMask"));
    s.gateway = Narrow<std::uint32_t>(number(1, "by_Gateway"));
    s.webPort = Narrow<std::uint16_t>(number(1, "w_WebPort"));
    s.networkType = Narrow<std::uint8_t>(number(1, "by_NetworkType"));
    s.pppoeUser = text(6, "sz_PppoeUser");
    s.pppoePassword = text(6, "sz_PppoePassword");
    s.dnsServer = Narrow<std::uint32_t>(number(3, "by_DnsServer"));
    s.dnsAuto = Narrow<std::uint8_t>(number(3, "by_DnsAuto"));
    s.ddnsEnable = Narrow<std::uint8_t>(number(4, "by_DdnsEnable"));
    s.ddnsUser = text(4, "sz_DdnsUser");
    s.ddnsPassword = text(4, "sz_DdnsPassword");
    s.ddnsDomain = text(4, "sz_DdnsDomain");
    const std::string provider = text(4, "sz_DdnsProvider");
    if (provider == "varuzarer")
        s.ddnsProvider = facts.HasCapability(kCapabilityVaruzarer) ? 3 : 1;
    else
        s.ddnsProvider = IndexIn(std::array<std::string_view, 3>{"custom", "dyndns", "statdns"}, provider);

    const std::size_t endsInside[] = {71, 87, 407, 439};
    set.ClearLoadedBytes(4, endsInside);
    s.mailSender = text(4, "sz_MailSender");
    if (CharCount(s.mailSender) == 15) {
        std::string continuation;
        if (facts.SenderContinuesInSntpBlock())
            continuation = text(8, "sz_MailSenderExt");
        else if (facts.SenderContinuesInSystemBlock())
            continuation = text(7, "sz_MailSenderExt");
        s.mailSender += continuation;
    }
    s.smtpServer = text(4, "sz_SmtpServer");
    s.smtpPassword = text(4, "sz_SmtpPassword");
    s.smtpUser = text(4, "sz_SmtpUser");
    s.smtpAuth = Narrow<std::uint8_t>(number(4, "by_SmtpAuth"));

    s.ftpServer = TextOrEmpty(text(5, "sz_FtpServer"), 31);
    s.ftpUser = TextOrEmpty(text(5, "sz_FtpUser"), 15);
    s.ftpPassword = TextOrEmpty(text(5, "sz_FtpPassword"), 15);
    s.ftpDirectory = TextOrEmpty(text(5, "sz_FtpDirectory"), 31);
    s.ftpPort = Narrow<std::uint16_t>(number(5, "w_FtpPort"));

    s.sntpServer = text(8, "sz_SntpServer");
    s.timeZone = Narrow<std::uint8_t>(number(8, "by_TimeZone"));
    s.timeMode = Narrow<std::uint8_t>(number(8, "by_TimeSource"));
    s.serverMode = s.sntpServer.empty() ? 1 : 0;

    s.alarmTimeIndex = IndexIn(AlarmSecondsFor(facts), number(11, "w_AlarmDuration"));
    const auto pictures = number(11, "by_PostAlarmPictures");
    s.postAlarmIndex = pictures == 0 ? 0 : static_cast<int>(pictures - 1);
    s.alarmReaction = Narrow<std::uint8_t>(number(11, "by_AlarmReaction"));
    s.pictureSize = Narrow<std::uint8_t>(number(11, "by_PictureResolution"));
    // Byte 9 is the video source only on video servers; the snapshot takes the byte either way.
    s.videoSource = set.Working(11)[9];
    s.maxUsers = Narrow<std::uint8_t>(number(2, "by_MaxUsers"));

    for (std::size_t n = 0; n < 2; ++n) {
        const char* suffix[] = {"1", "2"};
        const std::string device = std::string("Device") + suffix[n];
        s.peripheralId[n] = Narrow<std::uint8_t>(number(16, "by_" + device + "Id"));
        s.peripheralModelIndex[n] =
            session::PeripheralModelToIndex(Narrow<std::uint8_t>(number(16, "by_" + device + "Model")));
        s.peripheralSpeedIndex[n] =
            static_cast<std::uint8_t>(IndexIn(kPeripheralBaudTable, number(16, "dw_" + device + "Baud")));
    }

    if (facts.IsDvr()) {
        s.deviceName = FirstChars(text(7, "sz_DeviceName"), 8);
        for (std::size_t r = 0; r < 7; ++r) {
            s.timerDay[r] = Narrow<std::uint8_t>(number(15, "by_TimerDay", r));
            s.timerStart[r] = Narrow<std::uint16_t>(number(15, "w_TimerStart", r));
            s.timerEnd[r] = Narrow<std::uint16_t>(number(15, "w_TimerEnd", r));
        }
    } else if (facts.HasChannelNames()) {
        s.deviceName = text(7, "sz_DeviceName");
        for (std::size_t n = 0; n < 2; ++n)
            s.channelNames[n] = FirstChars(text(10, "sz_ChannelName", n), 3);
    }
    return s;
}

}  // namespace config
