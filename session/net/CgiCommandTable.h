#pragma once
// The device's CGI commands: one row per command code, the code being the
// row's index. Paths go on the wire with exactly this letter case.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace session {

struct CgiCommandRow {
    std::int32_t code;
    std::string_view path;
};

inline constexpr std::uint8_t CMD_LOGIN = 0;
inline constexpr std::uint8_t CMD_GET_VIDEO = 1;
inline constexpr std::uint8_t CMD_SET_CHANNEL = 2;
inline constexpr std::uint8_t CMD_SET_RESOLUTION = 3;
inline constexpr std::uint8_t CMD_SET_QUALITY = 4;
inline constexpr std::uint8_t CMD_SET_BRCSSA = 5;
inline constexpr std::uint8_t CMD_GET_SYS_CFG = 6;
inline constexpr std::uint8_t CMD_PERIOD_COMMAND = 7;
inline constexpr std::uint8_t CMD_SET_SYS_CFG = 8;
inline constexpr std::uint8_t CMD_UPGRADE_FW = 9;
inline constexpr std::uint8_t CMD_GET_ONLINE_USER = 10;
inline constexpr std::uint8_t CMD_RS485_CMD = 11;
inline constexpr std::uint8_t CMD_SET_SOREL = 12;
inline constexpr std::uint8_t CMD_REBOOT = 13;
inline constexpr std::uint8_t CMD_GET_DEVICE_INFO = 14;
inline constexpr std::uint8_t CMD_GET_LOG = 15;
inline constexpr std::uint8_t CMD_SET_RETR = 16;
inline constexpr std::uint8_t CMD_GET_DVR_HDD = 17;
inline constexpr std::uint8_t CMD_NETWORK_BK = 18;
inline constexpr std::uint8_t CMD_PTZ_RESET = 19;
inline constexpr std::uint8_t CMD_GET_COLOR = 20;
inline constexpr std::uint8_t CMD_SET_COLOR = 21;
inline constexpr std::uint8_t CMD_SYNC_TIME = 22;
inline constexpr std::uint8_t CMD_GET_SEARCH_LIST = 23;
inline constexpr std::uint8_t CMD_GET_VERSION = 24;
inline constexpr std::uint8_t CMD_CANCEL_NB = 25;
inline constexpr std::uint8_t CMD_GET_VERSION2 = 26;
inline constexpr std::uint8_t CMD_GET_DVR_NAME = 27;
inline constexpr std::uint8_t CMD_GET_DEFAULT_LANG = 28;
inline constexpr std::uint8_t CMD_GET_INDEX_LANG = 29;
inline constexpr std::uint8_t CMD_OV9653_ZOOM = 30;
inline constexpr std::uint8_t CMD_OV9653_ROTATE = 31;
inline constexpr std::uint8_t CMD_CLEAR_LOG = 32;
inline constexpr std::uint8_t CMD_GET_DVR_DATE = 33;
inline constexpr std::uint8_t CMD_SET_DVR_DATE = 34;
inline constexpr std::uint8_t CMD_GET_RECORD_SETTING = 35;
inline constexpr std::uint8_t CMD_SET_RECORD_SETTING = 36;
inline constexpr std::uint8_t CMD_CANCEL_UPFW = 37;
inline constexpr std::uint8_t CMD_SET_BUZZER = 38;
inline constexpr std::uint8_t CMD_SEARCH_PLAYBACK = 39;

inline constexpr std::size_t kCgiCommandCount = 40;

inline constexpr std::array<CgiCommandRow, kCgiCommandCount> CgiCommandTable{{
    {CMD_LOGIN, "/Login.cgi"},
    {CMD_GET_VIDEO, "/Getvideo.cgi"},
    {CMD_SET_CHANNEL, "/SetChannel.cgi"},
    {CMD_SET_RESOLUTION, "/Setresolution.cgi"},
    {CMD_SET_QUALITY, "/Setquality.cgi"},
    {CMD_SET_BRCSSA, "/Setbrcssa.cgi"},
    {CMD_GET_SYS_CFG, "/GetSysCfg.cgi"},
    {CMD_PERIOD_COMMAND, "/Periodcommand.cgi"},
    {CMD_SET_SYS_CFG, "/SetSysCfg.cgi"},
    {CMD_UPGRADE_FW, "/UpgradeFW.cgi"},
    {CMD_GET_ONLINE_USER, "/GetOnlineUser.cgi"},
    {CMD_RS485_CMD, "/RS485Cmd.cgi"},
    {CMD_SET_SOREL, "/SetSorel.cgi"},
    {CMD_REBOOT, "/Reboot.cgi"},
    {CMD_GET_DEVICE_INFO, "/Getdeviceinfo.cgi"},
    {CMD_GET_LOG, "/Getlog.cgi"},
    {CMD_SET_RETR, "/SetRetr.cgi"},
    {CMD_GET_DVR_HDD, "/GetDvrHDD.cgi"},
    {CMD_NETWORK_BK, "/NetworkBk.cgi"},
    {CMD_PTZ_RESET, "/PTZReset.cgi"},
    {CMD_GET_COLOR, "/GetColor.cgi"},
    {CMD_SET_COLOR, "/SetColor.cgi"},
    {CMD_SYNC_TIME, "/SyncTime.cgi"},
    {CMD_GET_SEARCH_LIST, "/GetSearchList.cgi"},
    {CMD_GET_VERSION, "/GetVersion.cgi"},
    {CMD_CANCEL_NB, "/CancelNB.cgi"},
    {CMD_GET_VERSION2, "/GetVersion.cgi"},
    {CMD_GET_DVR_NAME, "/GetDvrName.cgi"},
    {CMD_GET_DEFAULT_LANG, "/getDefaultLang.cgi"},
    {CMD_GET_INDEX_LANG, "/getIndexLang.cgi"},
    {CMD_OV9653_ZOOM, "/OV9653Zoom.cgi"},
    {CMD_OV9653_ROTATE, "/OV9653Rotate.cgi"},
    {CMD_CLEAR_LOG, "/ClearLog.cgi"},
    {CMD_GET_DVR_DATE, "/GetDvrDate.cgi"},
    {CMD_SET_DVR_DATE, "/SetDvrDate.cgi"},
    {CMD_GET_RECORD_SETTING, "/GetRecordSetting.cgi"},
    {CMD_SET_RECORD_SETTING, "/SetRecordSetting.cgi"},
    {CMD_CANCEL_UPFW, "/CancelUPFW.cgi"},
    {CMD_SET_BUZZER, "/SetBuzzer.cgi"},
    {CMD_SEARCH_PLAYBACK, "/SearchPlayBack.cgi"},
}};

// The path of a command code; empty for a code outside the table.
constexpr std::string_view CgiCommandPath(unsigned code) {
    return code < kCgiCommandCount ? CgiCommandTable[code].path : std::string_view();
}

}  // namespace session
