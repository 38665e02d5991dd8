#include "config/blocks/BlockFieldTable.h"

#include <array>

namespace config {

namespace {

using C = FieldCodec;
using G = FieldGate;

// {option, name, offset, width, codec, count, stride, maxChars, gate}
constexpr BlockField kInf[] = {
    {0, "dw_Capability", 20, 4, C::U32},
    {0, "sz_ModelToken", 24, 8, C::Text},
};
constexpr BlockField kIp[] = {
    {1, "by_IpAddress", 4, 4, C::Ipv4},
    {1, "by_SubnetMask", 8, 4, C::Ipv4},
    {1, "by_Gateway", 12, 4, C::Ipv4},
    {1, "w_WebPort", 16, 2, C::U16},
    {1, "by_NetworkType", 22, 1, C::U8},
};
constexpr BlockField kSecure[] = {
    {2, "by_MaxUsers", 2, 1, C::U8},
    {2, "sz_UserName", 8, 16, C::Text, 5},
    {2, "sz_Password", 88, 16, C::Text, 5},
    {2, "by_UserLevel", 168, 1, C::U8, 5},
    {2, "dw_UserActivity", 176, 4, C::Minutes, 5},
};
constexpr BlockField kDns[] = {
    {3, "by_DnsAuto", 3, 1, C::U8},
    {3, "by_DnsServer", 4, 4, C::Ipv4},
};
// Server, sender, user and password always end inside their fields (bytes 71,
// 87, 407 and 439 stay zero), so they take one character less than their width.
constexpr BlockField kSmtp[] = {
    {4, "by_SmtpAuth", 4, 1, C::U8},
    {4, "by_DdnsEnable", 5, 1, C::U8},
    {4, "sz_SmtpServer", 8, 64, C::Text, 1, 0, 63},
    {4, "sz_MailSender", 72, 16, C::Text, 1, 0, 15},
    {4, "sz_DdnsProvider", 88, 16, C::Text},
    {4, "sz_DdnsUser", 104, 16, C::Text},
    {4, "sz_DdnsPassword", 120, 16, C::Text},
    {4, "sz_MailRecipient", 136, 48, C::Text, 4},
    {4, "sz_DdnsDomain", 328, 48, C::Text},
    {4, "sz_SmtpUser", 376, 32, C::Text, 1, 0, 31},
    {4, "sz_SmtpPassword", 408, 32, C::Text, 1, 0, 31},
};
constexpr BlockField kFtp[] = {
    {5, "sz_FtpServer", 4, 32, C::Text},
    {5, "sz_FtpUser", 36, 16, C::Text},
    {5, "sz_FtpPassword", 52, 16, C::Text},
    {5, "sz_FtpDirectory", 68, 32, C::Text},
    {5, "w_FtpPort", 100, 2, C::U16},
};
constexpr BlockField kPppoe[] = {
    {6, "sz_PppoeUser", 4, 32, C::Text, 1, 0, 31, G::NewPppoe},
    {6, "sz_PppoePassword", 36, 32, C::Text, 1, 0, 31, G::NewPppoe},
    {6, "sz_PppoeUser", 36, 16, C::Text, 1, 0, 15, G::OldPppoe},
    {6, "sz_PppoePassword", 52, 16, C::Text, 1, 0, 15, G::OldPppoe},
};
// The continuation area overlaps the device name; a sender store clears both.
constexpr BlockField kSystem[] = {
    {7, "sz_MailSenderExt", 4, 32, C::Text, 1, 0, 27, G::SenderInSystem},
    {7, "sz_DeviceName", 20, 16, C::Text},
};
constexpr BlockField kSntp[] = {
    {8, "by_TzHours", 2, 1, C::S8},
    {8, "by_TzMinutes", 3, 1, C::S8},
    {8, "by_TimeZone", 5, 1, C::U8},
    {8, "by_TimeSource", 6, 1, C::U8},
    {8, "sz_SntpServer", 8, 28, C::Text},
    {8, "sz_MailSenderExt", 8, 28, C::Text, 1, 0, 27, G::SenderInSntp},
};
constexpr BlockField kRs485[] = {
    {10, "by_PtzAddress", 12, 1, C::U8, 16, 0, 0, G::PtzRows},
    {10, "by_PtzEnable", 28, 1, C::U8, 16, 0, 0, G::PtzRows},
    {10, "by_PtzProtocol", 44, 1, C::U8, 16, 0, 0, G::PtzRows},
    {10, "dw_PtzBaud", 60, 4, C::U32, 16, 0, 0, G::PtzRows},
    {10, "sz_ChannelName", 44, 8, C::Text, 2, 0, 3, G::ChannelNames},
};
constexpr BlockField kAlarm[] = {
    {11, "by_PostAlarmPictures", 2, 1, C::U8},
    {11, "by_AlarmReaction", 3, 1, C::U8},
    {11, "by_PictureResolution", 5, 1, C::U8},
    {11, "w_AlarmDuration", 6, 2, C::U16},
    {11, "by_AlarmInputType", 8, 1, C::U8, 16, 0, 0, G::Dvr},
    {11, "by_VideoSource", 9, 1, C::U8, 1, 0, 0, G::VideoServer},
};
constexpr BlockField kDvrLive[] = {
    {13, "by_Brightness", 4, 1, C::U8, 16},
    {13, "by_Contrast", 20, 1, C::U8, 16},
    {13, "by_Hue", 36, 1, C::U8, 16},
    {13, "by_Saturation", 52, 1, C::U8, 16},
    {13, "by_Covert", 84, 1, C::U8, 16},
    {13, "sz_ChannelName", 116, 6, C::Text, 16},
    {13, "by_MotionEnable", 308, 1, C::U8, 16},
    {13, "by_MotionLS", 324, 1, C::U8, 16},
    {13, "by_MotionSS", 340, 1, C::U8, 16},
    {13, "by_MotionTS", 356, 1, C::U8, 16},
    {13, "by_MotionRE", 372, 1, C::U8, 16},
    {13, "by_MotionArea", 388, 24, C::Area, 16},
};
constexpr BlockField kDvrRec[] = {
    {15, "by_ChannelRecord", 20, 1, C::U8, 16},
    {15, "by_TimerDay", 87, 1, C::U8, 7},
    {15, "w_TimerStart", 94, 2, C::U16, 7},
    {15, "w_TimerEnd", 108, 2, C::U16, 7},
};
constexpr BlockField kPeri[] = {
    {16, "by_Device1Model", 2, 1, C::U8},
    {16, "by_Device2Model", 3, 1, C::U8},
    {16, "dw_Device1Baud", 4, 4, C::U32},
    {16, "dw_Device2Baud", 8, 4, C::U32},
    {16, "by_Device1Id", 12, 1, C::U8},
    {16, "by_Device2Id", 13, 1, C::U8},
};

// By option number; IMG (9), ONLINE (12, its rows belong to the online-users
// page), DVROSD (14) and ALL name nothing here.
constexpr std::array<std::span<const BlockField>, 17> kTables{{
    kInf, kIp, kSecure, kDns, kSmtp, kFtp, kPppoe, kSystem, kSntp, {}, kRs485, kAlarm, {}, kDvrLive, {},
    kDvrRec, kPeri,
}};

}  // namespace

std::span<const BlockField> FieldsOf(std::uint8_t option) {
    return option < kTables.size() ? kTables[option] : std::span<const BlockField>();
}

bool Applies(const BlockField& field, const DeviceFacts& facts) {
    switch (field.gate) {
    case G::Always: return true;
    case G::NewPppoe: return facts.UsesNewPppoeLayout();
    case G::OldPppoe: return !facts.UsesNewPppoeLayout();
    case G::SenderInSystem: return facts.SenderContinuesInSystemBlock();
    case G::SenderInSntp: return facts.SenderContinuesInSntpBlock();
    case G::ChannelNames: return facts.HasChannelNames();
    case G::PtzRows: return !facts.HasChannelNames();
    case G::Dvr: return facts.IsDvr();
    case G::VideoServer: return facts.IsVideoServer();
    }
    return false;
}

const BlockField* FindField(std::uint8_t option, std::string_view name, const DeviceFacts& facts) {
    for (const BlockField& field : FieldsOf(option))
        if (field.name == name && Applies(field, facts))
            return &field;
    return nullptr;
}

}  // namespace config
