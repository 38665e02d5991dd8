// The block layouts as the device's wire format gives them, typed row by row
// from the format itself and never read from the field tables: every field's
// offset, width, count, spacing and the devices that carry it, and every
// option's name and size.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "config/blocks/BlockFieldTable.h"
#include "session/net/OptionBlocks.h"

namespace config {
namespace {

struct LayoutRow {
    int option;
    std::string_view name;
    std::size_t offset, width, count, stride;
    DeviceFacts on;                    // a device that carries the field
    std::optional<DeviceFacts> notOn;  // one that does not
};

const DeviceFacts kDvr{"R41T", "1060"};
const DeviceFacts kServer{"R47T", "1010"};

const LayoutRow kRows[] = {
    {0, "dw_Capability", 20, 4, 1, 0, kDvr, {}},
    {0, "sz_ModelToken", 24, 8, 1, 0, kServer, {}},
    {1, "by_IpAddress", 4, 4, 1, 0, kDvr, {}},
    {1, "by_SubnetMask", 8, 4, 1, 0, kDvr, {}},
    {1, "by_Gateway", 12, 4, 1, 0, kDvr, {}},
    {1, "w_WebPort", 16, 2, 1, 0, kDvr, {}},
    {1, "by_NetworkType", 22, 1, 1, 0, kDvr, {}},
    {2, "by_MaxUsers", 2, 1, 1, 0, kDvr, {}},
    {2, "sz_UserName", 8, 16, 5, 16, kDvr, {}},
    {2, "sz_Password", 88, 16, 5, 16, kDvr, {}},
    {2, "by_UserLevel", 168, 1, 5, 1, kDvr, {}},
    {2, "dw_UserActivity", 176, 4, 5, 4, kDvr, {}},
    {3, "by_DnsAuto", 3, 1, 1, 0, kDvr, {}},
    {3, "by_DnsServer", 4, 4, 1, 0, kDvr, {}},
    {4, "by_SmtpAuth", 4, 1, 1, 0, kDvr, {}},
    {4, "by_DdnsEnable", 5, 1, 1, 0, kDvr, {}},
    {4, "sz_SmtpServer", 8, 64, 1, 0, kDvr, {}},
    {4, "sz_MailSender", 72, 16, 1, 0, kDvr, {}},
    {4, "sz_DdnsProvider", 88, 16, 1, 0, kDvr, {}},
    {4, "sz_DdnsUser", 104, 16, 1, 0, kDvr, {}},
    {4, "sz_DdnsPassword", 120, 16, 1, 0, kDvr, {}},
    {4, "sz_MailRecipient", 136, 48, 4, 48, kDvr, {}},
    {4, "sz_DdnsDomain", 328, 48, 1, 0, kDvr, {}},
    {4, "sz_SmtpUser", 376, 32, 1, 0, kDvr, {}},
    {4, "sz_SmtpPassword", 408, 32, 1, 0, kDvr, {}},
    {5, "sz_FtpServer", 4, 32, 1, 0, kDvr, {}},
    {5, "sz_FtpUser", 36, 16, 1, 0, kDvr, {}},
    {5, "sz_FtpPassword", 52, 16, 1, 0, kDvr, {}},
    {5, "sz_FtpDirectory", 68, 32, 1, 0, kDvr, {}},
    {5, "w_FtpPort", 100, 2, 1, 0, kDvr, {}},
    // PPPoE: the new layout from "1052" (DVR) or "1007" (the others), the old one before.
    {6, "sz_PppoeUser", 4, 32, 1, 0, {"R41T", "1052"}, {}},
    {6, "sz_PppoePassword", 36, 32, 1, 0, {"R47T", "1007"}, {}},
    {6, "sz_PppoeUser", 36, 16, 1, 0, {"R41T", "1051"}, {}},
    {6, "sz_PppoePassword", 52, 16, 1, 0, {"G66M", "1006"}, {}},
    // The sender's continuation: block 7 on video servers, N5H and G66M from
    // "1003"; block 8's text on DVRs from "1027".
    {7, "sz_MailSenderExt", 4, 32, 1, 0, {"N52H", "1003"}, DeviceFacts{"R47T", "1002"}},
    {7, "sz_DeviceName", 20, 16, 1, 0, kDvr, {}},
    {8, "by_TzHours", 2, 1, 1, 0, kDvr, {}},
    {8, "by_TzMinutes", 3, 1, 1, 0, kDvr, {}},
    {8, "by_TimeZone", 5, 1, 1, 0, kDvr, {}},
    {8, "by_TimeSource", 6, 1, 1, 0, kDvr, {}},
    {8, "sz_SntpServer", 8, 28, 1, 0, kServer, {}},
    {8, "sz_MailSenderExt", 8, 28, 1, 0, {"R42T", "1027"}, DeviceFacts{"R42T", "1026"}},
    // RS-485: the DVR's rows per channel; a video server from "1010" keeps two channel names.
    {10, "by_PtzAddress", 12, 1, 16, 1, kDvr, kServer},
    {10, "by_PtzEnable", 28, 1, 16, 1, kDvr, kServer},
    {10, "by_PtzProtocol", 44, 1, 16, 1, kDvr, kServer},
    {10, "dw_PtzBaud", 60, 4, 16, 4, kDvr, kServer},
    {10, "sz_ChannelName", 44, 8, 2, 8, kServer, DeviceFacts{"R47T", "1009"}},
    {11, "by_PostAlarmPictures", 2, 1, 1, 0, kDvr, {}},
    {11, "by_AlarmReaction", 3, 1, 1, 0, kDvr, {}},
    {11, "by_PictureResolution", 5, 1, 1, 0, kDvr, {}},
    {11, "w_AlarmDuration", 6, 2, 1, 0, kDvr, {}},
    {11, "by_AlarmInputType", 8, 1, 16, 1, kDvr, kServer},
    {11, "by_VideoSource", 9, 1, 1, 0, kServer, kDvr},
    {13, "by_Brightness", 4, 1, 16, 1, kDvr, {}},
    {13, "by_Contrast", 20, 1, 16, 1, kDvr, {}},
    {13, "by_Hue", 36, 1, 16, 1, kDvr, {}},
    {13, "by_Saturation", 52, 1, 16, 1, kDvr, {}},
    {13, "by_Covert", 84, 1, 16, 1, kDvr, {}},
    {13, "sz_ChannelName", 116, 6, 16, 6, kDvr, {}},
    {13, "by_MotionEnable", 308, 1, 16, 1, kDvr, {}},
    {13, "by_MotionLS", 324, 1, 16, 1, kDvr, {}},
    {13, "by_MotionSS", 340, 1, 16, 1, kDvr, {}},
    {13, "by_MotionTS", 356, 1, 16, 1, kDvr, {}},
    {13, "by_MotionRE", 372, 1, 16, 1, kDvr, {}},
    {13, "by_MotionArea", 388, 24, 16, 24, kDvr, {}},
    {15, "by_ChannelRecord", 20, 1, 16, 1, kDvr, {}},
    {15, "by_TimerDay", 87, 1, 7, 1, kDvr, {}},
    {15, "w_TimerStart", 94, 2, 7, 2, kDvr, {}},
    {15, "w_TimerEnd", 108, 2, 7, 2, kDvr, {}},
    {16, "by_Device1Model", 2, 1, 1, 0, kServer, {}},
    {16, "by_Device2Model", 3, 1, 1, 0, kServer, {}},
    {16, "dw_Device1Baud", 4, 4, 1, 0, kServer, {}},
    {16, "dw_Device2Baud", 8, 4, 1, 0, kServer, {}},
    {16, "by_Device1Id", 12, 1, 1, 0, kServer, {}},
    {16, "by_Device2Id", 13, 1, 1, 0, kServer, {}},
};

TEST(BlockLayout, EveryFieldSitsWhereTheWireFormatPutsIt) {
    for (const LayoutRow& row : kRows) {
        SCOPED_TRACE(std::to_string(row.option) + " " + std::string(row.name) + " on " + row.on.productId + " " +
                     row.on.firmware);
        const BlockField* field = FindField(static_cast<std::uint8_t>(row.option), row.name, row.on);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->Offset(0), row.offset);
        EXPECT_EQ(field->width, row.width);
        EXPECT_EQ(field->count, row.count);
        if (row.count > 1) {
            EXPECT_EQ(field->Offset(1) - field->Offset(0), row.stride);
        }
        EXPECT_LE(field->End(), session::kSysCfgOptions[static_cast<std::size_t>(row.option)].size);
        if (row.notOn) {
            const BlockField* absent = FindField(static_cast<std::uint8_t>(row.option), row.name, *row.notOn);
            EXPECT_TRUE(absent == nullptr || absent->Offset(0) != row.offset || absent->width != row.width)
                << "also on " << row.notOn->productId << " " << row.notOn->firmware;
        }
    }
}

TEST(BlockLayout, OptionNamesAndSizes) {
    struct Option {
        std::string_view name;
        std::size_t size;
    };
    const Option options[] = {{"INF", 44},     {"IP", 24},       {"SECURE", 196}, {"DNS", 12},     {"SMTP", 440},
                              {"FTP", 104},    {"PPPOE", 68},    {"SYSTEM", 36},  {"SNTP", 36},    {"IMG", 12},
                              {"RS485", 124},  {"ALARM", 24},    {"ONLINE", 240}, {"DVRLIVE", 772}, {"DVROSD", 20},
                              {"DVRREC", 132}, {"PERI", 16},     {"ALL", 0}};
    ASSERT_EQ(std::size(options), session::kSysCfgOptions.size());
    for (std::size_t option = 0; option < std::size(options); ++option) {
        EXPECT_EQ(session::kSysCfgOptions[option].name, options[option].name) << option;
        EXPECT_EQ(session::kSysCfgOptions[option].size, options[option].size) << option;
    }
}

}  // namespace
}  // namespace config
